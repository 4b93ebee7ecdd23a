// Table filters: the desktop-engine filter syntax the readers send, translated into an
// SQL condition for SQLite.
//
// Accepted: field names bare (SaleDate) or in square brackets ([Period Id]), case-insensitive;
// numbers (12, 12.5); texts in single or double quotes ('abc', "abc", '' for a quote);
// dates written without quotes as yyyy-MM-dd (2024-03-01: compared as the date text the
// tables hold, never computed as 2024 - 3 - 1); NULL, TRUE, FALSE; = <> != < > <= >=;
// + - * /; AND, OR, NOT; IS [NOT] NULL; parentheses. "Field = NULL" means IS NULL.
#pragma once

#include <string>
#include <vector>

namespace velkar::db {

struct FilterTranslation {
  std::string sql;           // an SQL condition, field names quoted as SQL identifiers
  std::vector<int> columns;  // indexes into the field list of the fields the filter compares
};

// Translates `filter` for a table with the fields `fieldNames`. Raises a Polish error
// naming `tableName` (and the field, for an unknown one) when the text cannot be parsed.
FilterTranslation TranslateFilter(const std::string& filter, const std::vector<std::string>& fieldNames,
                                  const std::string& tableName);

// Field names compare without regard to letter case, Polish letters included.
std::string FoldFieldName(const std::string& name);

}  // namespace velkar::db
