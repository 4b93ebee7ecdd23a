// Tables and query results as CSV (RFC 4180): UTF-8, a header line, fields quoted when
// they hold a comma, a quote or a line break, records ended by CR LF.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tools/db/Table.h"

namespace velkar::db {

// One field as CSV: quoted (with doubled quotes) only when it needs to be.
std::string CsvField(const std::string& text);

// The text of a value in CSV: dates yyyy-MM-dd, numbers with "." (Field::AsString), raw
// bytes of BLOb fields as 0x and hexadecimal digits.
std::string CsvValue(const Field& value);

// Writes the header and every record of `data` from its first one. `fields` chooses and
// orders the fields (all when empty); an unknown one raises a Polish error naming it and
// `tableName`.
void WriteCsv(TDataSet& data, const std::vector<std::string>& fields, const std::string& tableName, std::ostream& out);

}  // namespace velkar::db
