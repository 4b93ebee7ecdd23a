// Test helpers: a temporary folder removed at the end of a test, and file writers.
#pragma once

#include <string>

namespace velkar::test {

class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }  // with a trailing separator
  std::string File(const std::string& name) const { return path_ + name; }
  std::string Write(const std::string& name, const std::string& content) const;

 private:
  std::string path_;
};

// Changes the working directory for a scope.
class ChangeDir {
 public:
  explicit ChangeDir(const std::string& dir);
  ~ChangeDir();
  ChangeDir(const ChangeDir&) = delete;
  ChangeDir& operator=(const ChangeDir&) = delete;

 private:
  std::string previous_;
};

std::string ReadFile(const std::string& path);
// The folder of the source tree (set by CTest).
std::string SourceDir();

}  // namespace velkar::test
