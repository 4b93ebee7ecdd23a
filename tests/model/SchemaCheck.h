// Validation of a written JPK file against the official schema with xmllint and the offline
// XSD bundle, for tests that check namespaces and element order end to end. The bundle is
// looked for in VELKAR_XSD_DIR, else in shared/xsd above the source tree.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/RunCommand.h"
#include "tests/support/TempDir.h"

namespace velkar::test {

inline std::string XsdDir() {
  if (const char* dir = std::getenv("VELKAR_XSD_DIR"); dir != nullptr && *dir) return dir;
  for (std::filesystem::path p = SourceDir(); !p.empty() && p != p.root_path(); p = p.parent_path())
    if (std::filesystem::exists(p / "shared/xsd/catalog.xml")) return (p / "shared/xsd").string();
  return "";
}

inline bool CanValidate() { return !XsdDir().empty() && std::filesystem::exists("/usr/bin/xmllint"); }

// "" when `xmlFile` validates against `schema` (a path inside the bundle), else xmllint's report.
inline std::string SchemaErrors(const std::string& schema, const std::string& xmlFile) {
  std::string dir = XsdDir();
  setenv("XML_CATALOG_FILES", (dir + "/catalog.xml").c_str(), 1);
  CommandResult r = RunProgram("/usr/bin/xmllint", {"--nonet", "--noout", "--schema", dir + "/" + schema, xmlFile});
  return r.exitCode == 0 ? "" : r.err + r.out;
}

}  // namespace velkar::test
