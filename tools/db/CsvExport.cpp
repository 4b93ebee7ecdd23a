// CSV output of tables and query results.
#include "tools/db/CsvExport.h"

#include "base/Error.h"
#include "tools/db/FilterExpression.h"

namespace velkar::db {

std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + '"';
}

std::string CsvValue(const Field& value) {
  if (value.GetKind() != Field::Kind::Binary) return value.AsString();
  static const char kHex[] = "0123456789ABCDEF";
  std::string bytes = value.AsString();
  std::string text = "0x";
  for (unsigned char c : bytes) {
    text += kHex[c >> 4];
    text += kHex[c & 15];
  }
  return text;
}

void WriteCsv(TDataSet& data, const std::vector<std::string>& fields, const std::string& tableName, std::ostream& out) {
  std::vector<std::string> all = data.FieldNames();
  std::vector<std::string> chosen;
  for (const std::string& wanted : fields) {
    std::string found;
    for (const std::string& name : all)
      if (FoldFieldName(name) == FoldFieldName(wanted)) found = name;
    if (found.empty()) Fail("Brak pola \"%s\" w tabeli %s", wanted, tableName);
    chosen.push_back(found);
  }
  if (fields.empty()) chosen = all;

  for (size_t i = 0; i < chosen.size(); ++i) out << (i ? "," : "") << CsvField(chosen[i]);
  out << "\r\n";
  for (data.First(); !data.Eof(); data.Next()) {
    for (size_t i = 0; i < chosen.size(); ++i) out << (i ? "," : "") << CsvField(CsvValue(data.FieldByName(chosen[i])));
    out << "\r\n";
  }
}

}  // namespace velkar::db
