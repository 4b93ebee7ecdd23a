// make-buchalter-templates FOLDER: writes B5SPEX.dbf, B5ESEX.dbf, B5ZAEX.dbf and
// B5EZEX.dbf into FOLDER (the repository keeps them in Buchalter/Empty/).
#include <iostream>

#include "base/Paths.h"
#include "tools/db/buchalter/BuchalterTemplates.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "Użycie: make-buchalter-templates FOLDER" << std::endl;
    return 2;
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
