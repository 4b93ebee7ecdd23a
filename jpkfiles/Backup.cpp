// The backup move.
#include "jpkfiles/Backup.h"

#include <cstdio>
#include <filesystem>

#include "base/Error.h"
#include "base/Paths.h"

namespace fs = std::filesystem;

namespace velkar {

std::string MoveToBackup(const std::string& fileName, char prefix) {
  if (fileName.find('\0') != std::string::npos || fileName.empty()) Fail("Nieprawidłowa nazwa pliku: %s", fileName);
  // An absolute name, so that a bare file name gets its backup beside it and not at the
  // root of the file system.
  std::string full = ExpandFileName(fileName);
  std::string dir = ExtractFileDir(full);
  std::string backupDir = IncludeTrailingPathDelimiter(dir) + "backup";
  std::error_code ec;
  if (!DirectoryExists(backupDir)) fs::create_directories(backupDir, ec);
  std::string folder = DirectoryExists(backupDir) ? backupDir : dir;
  std::string backupName = IncludeTrailingPathDelimiter(folder) + prefix + ExtractFileName(full);

  if (fs::exists(fs::symlink_status(backupName, ec))) {
    if (!fs::remove(backupName, ec) || ec) Fail("Unable to delete backup file:\r%s", backupName);
  }
  if (std::rename(full.c_str(), backupName.c_str()) != 0) Fail("Unable to create backup file:\r%s", backupName);
  return backupName;
}

}  // namespace velkar
