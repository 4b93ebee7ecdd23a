// Backup copies of JPK files, kept in the "backup" folder beside the file.
#pragma once

#include <string>
#include <string_view>

namespace velkar {

// Backup prefixes: the namespace-prefix repair, and the JPK_V7M editor.
inline constexpr char kRepairBackupPrefix = '~';
inline constexpr char kEditorBackupPrefix = '_';

// The backup name of `fileName`: the sub-folder "backup" of its folder (created when
// missing; the folder itself when that cannot be made) + `prefix` + its own name. A
// relative name is taken from the current folder.
std::string BackupNameFor(const std::string& fileName, char prefix);

// Moves `fileName` to its backup name, replacing an older backup of that name, and returns
// the backup's full name. Raises "Nie można usunąć starej kopii zapasowej:\r" + backup name
// when the older backup cannot be removed, "Nie można utworzyć kopii zapasowej:\r" + backup
// name when the file cannot be moved (the system's reason follows in parentheses).
std::string MoveToBackup(const std::string& fileName, char prefix);

// Writes `content` (the file as it is) under the backup name of `fileName` through a
// temporary file, so that an older backup is replaced whole or not at all; the file itself
// is not touched. Returns the backup's full name; raises "Nie można utworzyć kopii
// zapasowej:\r" + backup name when it cannot be written.
std::string CopyToBackup(const std::string& fileName, char prefix, std::string_view content);

}  // namespace velkar
