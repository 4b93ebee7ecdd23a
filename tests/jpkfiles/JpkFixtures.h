// Shared helpers of the JPK file tests: the official schema bundle kept next to the
// source tree, and pointing the program at it for a scope.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "jpkfiles/SchemaValidation.h"
#include "tests/support/TempDir.h"

namespace velkar::test {

// The schema folder found from the source tree ("shared/xsd" above it).
inline std::string SchemaDir() {
  static const std::string dir = FindSchemaDir(SchemaDirCandidates{{}, {}, {}, {SourceDir()}});
  if (dir.empty()) ADD_FAILURE() << "no shared/xsd folder above " << SourceDir();
  return dir;
}

// Sets VELKAR_XSD_DIR to the bundle for a scope, so the program's own look-up finds it
// first whatever the configuration says.
class SchemaDirForProgram {
 public:
  SchemaDirForProgram() {
    if (const char* old = std::getenv("VELKAR_XSD_DIR")) old_ = old;
    setenv("VELKAR_XSD_DIR", SchemaDir().c_str(), 1);
  }
  ~SchemaDirForProgram() {
    if (old_)
      setenv("VELKAR_XSD_DIR", old_->c_str(), 1);
    else
      unsetenv("VELKAR_XSD_DIR");
  }
  SchemaDirForProgram(const SchemaDirForProgram&) = delete;
  SchemaDirForProgram& operator=(const SchemaDirForProgram&) = delete;

 private:
  std::optional<std::string> old_;
};

}  // namespace velkar::test
