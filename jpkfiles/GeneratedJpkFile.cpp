// The temporary file of a generated JPK file and its move into place on save.
#include "jpkfiles/GeneratedJpkFile.h"

#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "app/Settings.h"
#include "base/Error.h"
#include "base/Paths.h"

namespace velkar {

std::string GeneratedJpkFolder() {
  std::string saveDir = NativePath(Settings().SaveDir);
  if (!saveDir.empty() && DirectoryExists(saveDir)) return IncludeTrailingPathDelimiter(saveDir);
  std::error_code error;
  std::filesystem::path temp = std::filesystem::temp_directory_path(error);
  return IncludeTrailingPathDelimiter(error ? std::string("/tmp") : temp.string());
}

GeneratedJpkFile::GeneratedJpkFile(xml::IXMLDocument document, size_t batch) {
  std::string pattern = GeneratedJpkFolder() + ".velkar-jpk-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = mkstemp(name.data());
  if (fd < 0) Fail("Nie można utworzyć pliku tymczasowego %s (%s)", pattern, std::strerror(errno));
  ::close(fd);
  tempPath_ = name.data();
  try {
    writer_ = std::make_unique<xml::TXMLStreamedSave>(std::move(document), tempPath_, batch);
  } catch (...) {
    std::remove(tempPath_.c_str());
    throw;
  }
}

GeneratedJpkFile::~GeneratedJpkFile() {
  writer_.reset();  // closes the file first
  if (!moved_) std::remove(tempPath_.c_str());
}

void GeneratedJpkFile::MoveTo(const std::string& target) {
  if (!finished_ || moved_) Fail("Plik %s nie został wygenerowany w całości", target);
  bool renamed = false;
  ReplaceFileAtomically(target, [&](const std::string& slot) {
    // Same file system: the generated file simply takes the slot's name; otherwise it is
    // copied there.
    if (std::rename(tempPath_.c_str(), slot.c_str()) == 0) {
      renamed = true;
      return;
    }
    if (errno != EXDEV) Fail("Nie można zapisać pliku %s (%s)", target, std::strerror(errno));
    std::error_code error;
    std::filesystem::copy_file(tempPath_, slot, std::filesystem::copy_options::overwrite_existing, error);
    if (error) Fail("Nie można zapisać pliku %s (%s)", target, error.message());
  });
  if (!renamed) std::remove(tempPath_.c_str());
  moved_ = true;
}

}  // namespace velkar
