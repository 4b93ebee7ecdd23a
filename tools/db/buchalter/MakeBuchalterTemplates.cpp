// make-buchalter-templates FOLDER: writes B5SPEX.dbf, B5ESEX.dbf, B5ZAEX.dbf and
// B5EZEX.dbf into FOLDER (the repository keeps them in Buchalter/Empty/).
// make-buchalter-templates --markdown: prints their layout as the tables of
// docs/buchalter-templates.md.
#include <iostream>

#include "base/Paths.h"
#include "tools/db/buchalter/BuchalterTemplates.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "Użycie: make-buchalter-templates FOLDER | --markdown" << std::endl;
    return 2;
  }
  if (std::string(argv[1]) == "--markdown") {
    const char* types[] = {"C", "text", "N", "number", "D", "date"};
    for (const auto& table : velkar::db::buchalter::BuchalterTemplates()) {
      std::cout << "### " << table.name << ".dbf: " << table.meaning << "\n\n"
                << "| Field | Type | Width | Decimals | Meaning |\n|---|---|---|---|---|\n";
      for (const auto& field : table.fields) {
        std::string type(1, field.type);
        for (int i = 0; i < 6; i += 2)
          if (type == types[i]) type += " (" + std::string(types[i + 1]) + ")";
        std::cout << "| " << field.name << " | " << type << " | " << field.width << " | " << field.decimals << " | "
                  << field.meaning << " |\n";
      }
      std::cout << "\n";
    }
    return 0;
  }
  try {
    std::string folder = velkar::IncludeTrailingPathDelimiter(argv[1]);
    for (const auto& table : velkar::db::buchalter::BuchalterTemplates()) {
      velkar::db::buchalter::WriteTemplate(table, folder + table.name + ".dbf");
      std::cout << folder << table.name << ".dbf\n";
    }
  } catch (const std::exception& error) {
    std::cerr << error.what() << std::endl;
    return 1;
  }
  return 0;
}
