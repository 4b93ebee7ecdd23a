// dBASE field values: formatting for writing and parsing for reading, locale-free.
#include "tools/db/DbfFormat.h"

#include <charconv>
#include <cmath>

#include "base/DateTime.h"
#include "base/Error.h"
#include "base/Text.h"
#include "tools/Money.h"
#include "tools/db/Mazovia.h"

namespace velkar::db {

namespace {

std::string Blank(int width) { return std::string(static_cast<size_t>(width), ' '); }

std::string FormatFixed(double value, int decimals) {
  char buffer[400];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return ec == std::errc() ? std::string(buffer, end) : std::string();
}

std::string FormatNumberField(const DbfFieldInfo& field, const Field& value, const std::string& tableName) {
  double number = 0;
  if (value.GetKind() == Field::Kind::Text || value.GetKind() == Field::Kind::Binary) {
    std::string text = Trim(value.AsString());
    if (text.empty()) return Blank(field.width);
    if (!TryParseDouble(text, number) || !std::isfinite(number))
      Fail("Wartość \"%s\" pola %s tabeli %s nie jest liczbą", value.AsString(), field.name, tableName);
  } else {
    number = value.AsFloat();
  }
  std::string text = FormatFixed(RoundHalfAway(number, field.decimals), field.decimals);
  if (static_cast<int>(text.size()) > field.width || text.empty())
    Fail("Wartość %s nie mieści się w polu %s tabeli %s (szerokość %d, miejsca po przecinku %d)",
         FormatNumber(number), field.name, tableName, field.width, field.decimals);
  return Blank(field.width - static_cast<int>(text.size())) + text;
}

std::string FormatDateField(const DbfFieldInfo& field, const Field& value, const std::string& tableName) {
  std::string text = Trim(value.AsString());
  if (text.empty()) return Blank(field.width);
  auto date = value.GetKind() == Field::Kind::Text ? ParseDate(text) : std::nullopt;
  if (!date) Fail("Wartość \"%s\" pola %s tabeli %s nie jest datą", value.AsString(), field.name, tableName);
  std::string digits = Format("%04d%02d%02d", date->year, date->month, date->day);
  if (field.width < 8) Fail("Pole daty %s tabeli %s ma szerokość %d zamiast 8", field.name, tableName, field.width);
  return digits + Blank(field.width - 8);
}

}  // namespace

std::string FormatDbfValue(const DbfFieldInfo& field, const Field& value, bool mazovia, const std::string& tableName) {
  if (value.IsNull()) return Blank(field.width);
  switch (field.type) {
    case 'N':
    case 'F': return FormatNumberField(field, value, tableName);
    case 'D': return FormatDateField(field, value, tableName);
    case 'L': return (value.AsBoolean() ? "T" : "F") + Blank(field.width - 1);
    default: {
      std::string bytes = Utf8ToCp1250(value.AsString());
      if (mazovia) bytes = ToMazovia(bytes);
      // dBASE text fields hold what fits, as every dBASE engine writes them.
      if (static_cast<int>(bytes.size()) > field.width) bytes.resize(static_cast<size_t>(field.width));
      return bytes + Blank(field.width - static_cast<int>(bytes.size()));
    }
  }
}

Field ParseDbfValue(const DbfFieldInfo& field, std::string_view bytes, const std::string& tableName,
                    const std::function<std::string(const std::string&)>& decode) {
  std::string raw(bytes);
  size_t end = raw.find_last_not_of(std::string(" \0", 2));
  if (end == std::string::npos) return Field::Null().Named(field.name, tableName);
  Field value;
  if (field.type == 'N' || field.type == 'F') {
    std::string text = Trim(raw);
    long long whole = 0;
    double number = 0;
    if (field.decimals == 0 && TryParseInt(text, whole)) value = Field::OfInteger(whole);
    else if (TryParseDouble(text, number)) value = Field::OfFloat(number);
    else Fail("Tabela %s: pole %s zawiera \"%s\" zamiast liczby", tableName, field.name, text);
  } else if (field.type == 'D') {
    std::string text = Trim(raw);
    if (text == "00000000") return Field::Null().Named(field.name, tableName);
    std::string iso = text.size() == 8 ? text.substr(0, 4) + "-" + text.substr(4, 2) + "-" + text.substr(6, 2) : text;
    if (text.find_first_not_of("0123456789") != std::string::npos || !ParseDate(iso))
      Fail("Tabela %s: pole %s zawiera \"%s\" zamiast daty", tableName, field.name, text);
    value = Field::OfText(iso);
  } else if (field.type == 'L') {
    char c = raw[raw.find_first_not_of(' ')];
    if (c == 'T' || c == 't' || c == 'Y' || c == 'y') value = Field::OfBoolean(true);
    else if (c == 'F' || c == 'f' || c == 'N' || c == 'n') value = Field::OfBoolean(false);
  } else {
    value = Field::OfText(decode(raw.substr(0, end + 1)));
  }
  return value.Named(field.name, tableName);
}

}  // namespace velkar::db
