// Text of dBASE tables: UTF-8 to Windows-1250 (the engine's own translation of the
// program's text) and the Mazovia rewrite of the 18 Polish letters that Buchalter reads.
#pragma once

#include <string>

namespace velkar::db {

// UTF-8 to Windows-1250; a character that code page lacks becomes "?".
std::string Utf8ToCp1250(const std::string& utf8);
// Windows-1250 to UTF-8.
std::string Cp1250ToUtf8(const std::string& bytes);

// Program-to-table direction: each byte of the 18 Polish letters in Windows-1250 is
// replaced by the Mazovia byte of the same letter (Ą A5→8F ... ż BF→A7); every other byte
// is copied unchanged. "Łódź" in Windows-1250 becomes 9C A2 64 A6.
std::string ToMazovia(const std::string& cp1250);
// The reverse, for reading tables written that way: the 18 Mazovia letters back to
// Windows-1250, other bytes unchanged.
std::string FromMazovia(const std::string& bytes);

}  // namespace velkar::db
