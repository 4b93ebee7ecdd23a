// The configuration file reader: a sectioned key=value profile file. Section names and
// keys are compared without regard to case; values are trimmed of surrounding blanks.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "base/DateTime.h"

namespace velkar {

class TIniFile {
 public:
  // Reads the whole file (UTF-8, or Windows-1250 when it is not valid UTF-8).
  // Throws velkar::Error when the file cannot be read.
  explicit TIniFile(const std::string& fileName);
  // A configuration given as text (tests, fuzzing).
  static TIniFile FromText(const std::string& fileName, const std::string& text);

  const std::string& FileName() const { return fileName_; }
  bool SectionExists(const std::string& section) const;
  bool ValueExists(const std::string& section, const std::string& key) const;
  std::optional<std::string> Find(const std::string& section, const std::string& key) const;

  std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const;
  // A whole number; a missing or non-numeric value gives the default.
  long long ReadInteger(const std::string& section, const std::string& key, long long defaultValue) const;
  // A whole number from `min` to `max`. A missing value, or one with no digits in it, gives
  // the default; a number outside the range, too long to read or written wrongly ("0x-354")
  // raises an error naming the key, instead of being cut to something else.
  long long ReadIntegerInRange(const std::string& section, const std::string& key, long long defaultValue,
                               long long min, long long max) const;
  // A "yyyy-MM-dd" date; a missing or empty value gives the default, anything else that
  // is not a date raises "Niepoprawna data w kluczu KEY: VALUE".
  DateTime ReadRequiredDate(const std::string& section, const std::string& key, const DateTime& defaultValue) const;
  // 0 is no, any other whole number yes; a missing or non-numeric value gives the default.
  bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
  // "yyyy-MM-dd"; a missing or unreadable value gives the default.
  DateTime ReadDate(const std::string& section, const std::string& key, const DateTime& defaultValue) const;

 private:
  TIniFile() = default;
  void Parse(const std::string& text);

  std::string fileName_;
  std::map<std::string, std::map<std::string, std::string>> sections_;  // lower-case names
};

// Converts text in Windows-1250 to UTF-8 unless it already is valid UTF-8.
std::string ToUtf8FromWindows1250IfNeeded(const std::string& text);

}  // namespace velkar
