// dBASE field values, byte for byte: how a value is written into a field of the record
// and read back. Numbers and dates are formatted here, in the fixed machine format,
// because shapelib's own number writer and reader follow the C library's locale.
#pragma once

#include <shapefil.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/db/Field.h"

namespace velkar::db {

// The language driver byte of Mazovia (code page 620) in a dBASE header.
constexpr int kMazoviaLanguageDriver = 0x69;

struct DbfFieldInfo {
  std::string name;
  char type = 'C';  // C text, N / F number, D date, L logical
  int width = 0;
  int decimals = 0;
  int offset = 0;  // in the record, after the deletion flag
};

// The field's bytes (exactly `width` of them) for `value`: text converted to Windows-1250
// and, with `mazovia`, its Polish letters to Mazovia, cut to the width; numbers rounded
// half away from zero to the field's decimals and right-aligned; dates as yyyymmdd; a
// text value given to a number or date field is converted first. NULL or empty text
// leaves the field blank. Raises a Polish error naming the field and `tableName` for a
// text that is not a number or date, and for a number too wide for the field.
std::string FormatDbfValue(const DbfFieldInfo& field, const Field& value, bool mazovia, const std::string& tableName);

// Opens a dBASE table with shapelib (`access` "rb" or "rb+"). shapelib's own English
// complaints ("fread(70) failed on DBF file.") are kept, not printed: DbfLibraryDetail()
// gives the last one as " (text)" for a Polish message, or "" when there was none.
DBFHandle OpenDbf(const std::string& path, const char* access);
std::string DbfLibraryDetail();

// The fields of an open table; raises a Polish error naming `tableName` when the header
// places a field outside the record.
std::vector<DbfFieldInfo> ReadDbfFields(DBFHandle dbf, const std::string& tableName);

// Raises "Tabela T: pole X: typ Y nieobsługiwany" for a field of a type the reader does not
// decode (Visual FoxPro currency, date-time, integer, double, timestamp, autoincrement,
// memo pointers...): their bytes are no text and must not be shown as such.
void RequireReadableDbfFields(const std::vector<DbfFieldInfo>& fields, const std::string& tableName);

// The value held in a field's bytes: blank is NULL, N/F numbers (whole numbers when the
// field has no decimals), D dates as "yyyy-MM-dd", L logical, C text decoded by `decode`.
// Raises a Polish error naming the field and table for a number or date it cannot read.
Field ParseDbfValue(const DbfFieldInfo& field, std::string_view bytes, const std::string& tableName,
                    const std::function<std::string(const std::string&)>& decode);

}  // namespace velkar::db
