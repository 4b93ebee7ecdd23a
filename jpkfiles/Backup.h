// Backup copies of JPK files, kept in the "backup" folder beside the file.
#pragma once

#include <string>

namespace velkar {

// Backup prefixes: the namespace-prefix repair, and the JPK_V7M editor.
inline constexpr char kRepairBackupPrefix = '~';
inline constexpr char kEditorBackupPrefix = '_';

// Moves `fileName` into the sub-folder "backup" of its folder (created when missing; the
// folder itself when that cannot be made) under `prefix` + its own name, replacing an
// older backup of that name, and returns the backup's full name. A relative name is taken
// from the current folder. Raises "Unable to delete backup file:\r" + backup name when the
// older backup cannot be removed, "Unable to create backup file:\r" + backup name when the
// file cannot be moved.
std::string MoveToBackup(const std::string& fileName, char prefix);

}  // namespace velkar
