// Temporary folders and files for tests.
#include "tests/support/TempDir.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <vector>

namespace velkar::test {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "velkar-test-XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (!mkdtemp(name.data())) throw std::runtime_error("mkdtemp failed");
  path_ = std::string(name.data()) + "/";
}

TempDir::~TempDir() {
  std::error_code ec;
  // Folders made read-only by a test get their rights back so they can be removed.
  for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ec))
    if (entry.is_directory(ec)) std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Write(const std::string& name, const std::string& content) const {
  std::string path = File(name);
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary);
  out << content;
  return path;
}

ChangeDir::ChangeDir(const std::string& dir) : previous_(std::filesystem::current_path().string()) {
  std::filesystem::current_path(dir);
}

ChangeDir::~ChangeDir() {
  std::error_code ec;
  std::filesystem::current_path(previous_, ec);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

std::string SourceDir() {
  return VELKAR_SOURCE_DIR;
}

}  // namespace velkar::test
