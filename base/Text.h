// Small text helpers shared by every subsystem (UTF-8 everywhere).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velkar {

std::string Trim(std::string_view text);
std::string ToLowerAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWith(std::string_view text, std::string_view prefix);
bool EndsWith(std::string_view text, std::string_view suffix);
std::vector<std::string> SplitLines(std::string_view text);
std::string ReplaceAll(std::string text, std::string_view from, std::string_view to);

// Whole-number and decimal parsing in the program's fixed format ("." as decimal point,
// no thousands separator); nothing else is accepted.
bool TryParseInt(std::string_view text, long long& out);
bool TryParseDouble(std::string_view text, double& out);

}  // namespace velkar
