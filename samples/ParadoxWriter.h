// Writes Paradox tables for the sample databases (through pxlib's writer): a table
// definition, records set field by field, text converted from UTF-8 to the table's code
// page. Every value is checked against its field before it reaches pxlib, which
// overwrites memory on a text longer than its field.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "base/DateTime.h"

namespace velkar::samples {

enum class FieldType { Alpha, Date, Short, Long, AutoInc, Number, Currency };

struct FieldDef {
  std::string name;
  FieldType type;
  int size = 0;  // characters of an Alpha field (1 to 255); other types have fixed sizes
};

struct TableDef {
  std::vector<FieldDef> fields;
  int keyFields = 0;    // the first keyFields fields form the primary key (a .PX is written)
  int codePage = 1250;  // code page of the text: 1250 or 852
};

// A field value: absent (NULL), text, whole number, decimal number or date.
using FieldValue = std::variant<std::monostate, std::string, long long, double, DateTime>;

class ParadoxWriter;

// One record being filled; fields not set stay NULL.
class Record {
 public:
  Record& Set(const std::string& field, FieldValue value);
  // One overload per kind of value, so that no number is silently converted to another.
  Record& Set(const std::string& field, const char* text) { return Set(field, FieldValue(std::string(text))); }
  Record& Set(const std::string& field, const std::string& text) { return Set(field, FieldValue(text)); }
  Record& Set(const std::string& field, int number) { return Set(field, FieldValue(static_cast<long long>(number))); }
  Record& Set(const std::string& field, long long number) { return Set(field, FieldValue(number)); }
  Record& Set(const std::string& field, double number) { return Set(field, FieldValue(number)); }
  Record& Set(const std::string& field, const DateTime& date) { return Set(field, FieldValue(date)); }

 private:
  friend class ParadoxWriter;
  explicit Record(const ParadoxWriter& table);
  const ParadoxWriter* table_;
  std::vector<FieldValue> values_;
};

// Creates `path` + ".db" (replacing an existing table) and appends records in the order
// given; a keyed table must receive its records in key order. Errors are velkar::Error
// naming the table and field.
class ParadoxWriter {
 public:
  // `expectedRecords` chooses the block size: large tables get 16 KiB blocks so that
  // they stay within the 65535 blocks a table can have.
  ParadoxWriter(const std::string& path, const TableDef& def, std::int64_t expectedRecords = 0);
  ~ParadoxWriter();
  ParadoxWriter(const ParadoxWriter&) = delete;
  ParadoxWriter& operator=(const ParadoxWriter&) = delete;

  Record NewRecord() const { return Record(*this); }
  void Append(const Record& record);
  // Writes the primary index of a keyed table and closes the files.
  void Close();

  const std::string& Name() const { return name_; }
  bool HasField(const std::string& field) const { return index_.contains(field); }
  std::int64_t Count() const { return count_; }

 private:
  friend class Record;
  int FieldIndex(const std::string& field) const;
  void Check(int result, const char* what);

  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::string path_;
  std::string name_;
  TableDef def_;
  std::map<std::string, int> index_;
  std::int64_t count_ = 0;
};

// Paradox day number of a date (0001-01-01 is day 1).
long ParadoxDayNumber(const DateTime& date);

}  // namespace velkar::samples
