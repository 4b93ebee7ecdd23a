// Typed reading of field values.
#include "tools/db/Field.h"

#include <charconv>
#include <cmath>
#include <utility>

#include "base/Error.h"
#include "base/Text.h"
#include "tools/Money.h"

namespace velkar::db {

Field Field::OfText(std::string text) {
  Field f;
  f.kind_ = Kind::Text;
  f.text_ = std::move(text);
  return f;
}

Field Field::OfInteger(long long value) {
  Field f;
  f.kind_ = Kind::Integer;
  f.integer_ = value;
  return f;
}

Field Field::OfFloat(double value) {
  Field f;
  f.kind_ = Kind::Float;
  f.number_ = value;
  return f;
}

Field Field::OfBoolean(bool value) {
  Field f;
  f.kind_ = Kind::Boolean;
  f.integer_ = value ? 1 : 0;
  return f;
}

Field Field::OfBinary(std::string bytes) {
  Field f;
  f.kind_ = Kind::Binary;
  f.text_ = std::move(bytes);
  return f;
}

Field& Field::Named(std::string fieldName, std::string tableName) {
  fieldName_ = std::move(fieldName);
  tableName_ = std::move(tableName);
  return *this;
}

std::string FormatNumber(double value) {
  if (!std::isfinite(value)) return std::isnan(value) ? "NaN" : (value < 0 ? "-Inf" : "Inf");
  if (value == 0) return "0";  // also for -0
  char buffer[400];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  return ec == std::errc() ? std::string(buffer, end) : std::string();
}

std::string Field::AsString() const {
  switch (kind_) {
    case Kind::Null: return {};
    case Kind::Integer: return std::to_string(integer_);
    case Kind::Float: return FormatNumber(number_);
    case Kind::Boolean: return integer_ ? "True" : "False";
    case Kind::Text:
    case Kind::Binary: return text_;
  }
  return {};
}

long long Field::AsInteger() const {
  switch (kind_) {
    case Kind::Null: return 0;
    case Kind::Integer:
    case Kind::Boolean: return integer_;
    case Kind::Float: {
      double rounded = RoundHalfAway(number_, 0);
      if (!std::isfinite(rounded) || std::fabs(rounded) >= 9.2e18)
        Fail("Wartość %s pola %s tabeli %s nie mieści się w liczbie całkowitej", FormatNumber(number_), fieldName_,
             tableName_);
      return static_cast<long long>(rounded);
    }
    case Kind::Text:
    case Kind::Binary: {
      std::string text = Trim(text_);
      long long value = 0;
      if (text.empty()) return 0;
      if (!TryParseInt(text, value))
        Fail("Wartość \"%s\" pola %s tabeli %s nie jest liczbą całkowitą", text_, fieldName_, tableName_);
      return value;
    }
  }
  return 0;
}

double Field::AsFloat() const {
  switch (kind_) {
    case Kind::Null: return 0;
    case Kind::Integer:
    case Kind::Boolean: return static_cast<double>(integer_);
    case Kind::Float: return number_;
    case Kind::Text:
    case Kind::Binary: {
      std::string text = Trim(text_);
      double value = 0;
      if (text.empty()) return 0;
      if (!TryParseDouble(text, value) || !std::isfinite(value))
        Fail("Wartość \"%s\" pola %s tabeli %s nie jest liczbą", text_, fieldName_, tableName_);
      return value;
    }
  }
  return 0;
}

bool Field::AsBoolean() const {
  switch (kind_) {
    case Kind::Null: return false;
    case Kind::Integer:
    case Kind::Boolean: return integer_ != 0;
    case Kind::Float: return number_ != 0;
    case Kind::Text:
    case Kind::Binary: {
      std::string text = ToLowerAscii(Trim(text_));
      for (const char* yes : {"t", "true", "y", "yes", "1"})
        if (text == yes) return true;
      for (const char* no : {"", "f", "false", "n", "no", "0"})
        if (text == no) return false;
      Fail("Wartość \"%s\" pola %s tabeli %s nie jest wartością logiczną", text_, fieldName_, tableName_);
    }
  }
  return false;
}

}  // namespace velkar::db
