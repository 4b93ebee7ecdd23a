// The run-time files of the JPK_KR generation in the current working directory: the two
// query files it reads, and the copy of the last query loaded.
#pragma once

#include <string>

#include "tools/db/Query.h"

namespace velkar {

inline constexpr const char* kZoisSqlFile = "SQL/zois.sql";
inline constexpr const char* kDziennikSqlFile = "SQL/dziennik.sql";
inline constexpr const char* kLastQueryFile = "qry.sql";

// Loads a query file into `sql` and writes its text to kLastQueryFile as well.
inline void LoadLedgerQuery(db::SqlText& sql, const std::string& fileName) {
  sql.LoadFromFile(fileName);
  sql.SaveToFile(kLastQueryFile);
}

}  // namespace velkar
