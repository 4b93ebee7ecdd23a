// The backup move and the backup copy.
#include "jpkfiles/Backup.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "base/Error.h"
#include "base/Paths.h"

namespace fs = std::filesystem;

namespace velkar {

std::string BackupNameFor(const std::string& fileName, char prefix) {
  if (fileName.find('\0') != std::string::npos || fileName.empty()) Fail("Nieprawidłowa nazwa pliku: %s", fileName);
  // An absolute name, so that a bare file name gets its backup beside it and not at the
  // root of the file system.
  std::string full = ExpandFileName(fileName);
  std::string dir = ExtractFileDir(full);
  std::string backupDir = IncludeTrailingPathDelimiter(dir) + "backup";
  std::error_code ec;
  if (!DirectoryExists(backupDir)) fs::create_directories(backupDir, ec);
  std::string folder = DirectoryExists(backupDir) ? backupDir : dir;
  return IncludeTrailingPathDelimiter(folder) + prefix + ExtractFileName(full);
}

std::string MoveToBackup(const std::string& fileName, char prefix) {
  std::string full = ExpandFileName(fileName);
  std::string backupName = BackupNameFor(fileName, prefix);
  std::error_code ec;
  if (fs::exists(fs::symlink_status(backupName, ec))) {
    if (!fs::remove(backupName, ec) || ec)
      Fail("Nie można usunąć starej kopii zapasowej:\r%s (%s)", backupName, ec ? ec.message() : "?");
  }
  if (std::rename(full.c_str(), backupName.c_str()) != 0)
    Fail("Nie można utworzyć kopii zapasowej:\r%s (%s)", backupName, std::strerror(errno));
  return backupName;
}

std::string CopyToBackup(const std::string& fileName, char prefix, std::string_view content) {
  std::string backupName = BackupNameFor(fileName, prefix);
  try {
    WriteFileAtomically(backupName, content);
  } catch (const Error& error) {
    Fail("Nie można utworzyć kopii zapasowej:\r%s (%s)", backupName, error.what());
  }
  return backupName;
}

}  // namespace velkar
