// One field's value in a table's current record, read through the typed getters the
// program's readers use. A NULL value reads as empty text, 0 or false.
#pragma once

#include <string>

namespace velkar::db {

class Field {
 public:
  enum class Kind { Null, Integer, Float, Text, Boolean, Binary };

  Field() = default;
  static Field Null() { return {}; }
  static Field OfText(std::string text);
  static Field OfInteger(long long value);
  static Field OfFloat(double value);
  static Field OfBoolean(bool value);
  static Field OfBinary(std::string bytes);

  // Text: dates as "yyyy-MM-dd", numbers with "." and no exponent (the shortest text that
  // reads back as the same number), logical values as "True" / "False", NULL as "".
  std::string AsString() const;
  // Whole number: a fraction is rounded half away from zero; text must be a whole number
  // (empty text is 0). Anything else raises a Polish error naming the field and table.
  long long AsInteger() const;
  // Number: text must be a number written with "." (empty text is 0); else a Polish error.
  double AsFloat() const;
  // Logical: numbers are true when not 0; text T/True/Y/Yes/1 or F/False/N/No/0/empty.
  bool AsBoolean() const;
  bool IsNull() const { return kind_ == Kind::Null; }
  Kind GetKind() const { return kind_; }

  // The field's and table's names, used in conversion errors.
  const std::string& FieldName() const { return fieldName_; }
  const std::string& TableName() const { return tableName_; }
  Field& Named(std::string fieldName, std::string tableName);

 private:
  Kind kind_ = Kind::Null;
  std::string text_;
  long long integer_ = 0;
  double number_ = 0;
  std::string fieldName_;
  std::string tableName_;
};

// The shortest "." text that reads back as `value`, without an exponent ("12.5", "100").
std::string FormatNumber(double value);

}  // namespace velkar::db
