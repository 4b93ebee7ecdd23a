// The four empty dBASE tables the Buchalter export is made from (Buchalter/Empty/): their
// field codes, types and widths, and the writer that creates them.
#pragma once

#include <string>
#include <vector>

namespace velkar::db::buchalter {

struct TemplateField {
  const char* name;  // the field code
  char type;         // C text, N number, D date
  int width;
  int decimals;
  const char* meaning;  // for docs/buchalter-templates.md
};

struct Template {
  const char* name;  // B5SPEX, B5ESEX, B5ZAEX, B5EZEX
  const char* meaning;
  std::vector<TemplateField> fields;
};

const std::vector<Template>& BuchalterTemplates();

// Writes `table` as an empty dBASE III table with the Mazovia language driver and a fixed
// header date, so the same definition always gives the same bytes. Replaces `path`
// atomically; raises a Polish error naming the file.
void WriteTemplate(const Template& table, const std::string& path);

}  // namespace velkar::db::buchalter
