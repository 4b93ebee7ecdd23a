// TDbfTable: a dBASE table made from an empty template and filled record by record, its
// text translated to the Mazovia code page (the Buchalter import tables).
//
// Creation copies TemplateFolder + Name + ".dbf" to DatabaseName + Name + Year + ".dbf".
// The table is filled in a working copy next to the target; Close() (or the destructor)
// puts it in place of the target in one step, so a failed run never leaves a half-written
// file where a good one was. Records appended but not posted are not kept.
#pragma once

#include <string>
#include <vector>

#include "tools/db/DbfFormat.h"
#include "tools/db/Field.h"

namespace velkar::db {

class Session;

class TDbfTable {
 public:
  // Raises a Polish error naming the table when the template or the target folder is
  // missing.
  TDbfTable(Session* session, const std::string& databaseName, const std::string& templateFolder,
            const std::string& year, const std::string& name);
  ~TDbfTable();
  TDbfTable(const TDbfTable&) = delete;
  TDbfTable& operator=(const TDbfTable&) = delete;

  std::string DatabaseName;  // the target folder, with a trailing separator
  std::string TableName;     // Name + Year + ".dbf"
  std::string FullName() const { return DatabaseName + TableName; }

  void Open();
  void Close();
  // Drops the working copy: the target stays as it was (a run that failed part-way, when
  // several tables must appear together or not at all).
  void Discard();
  bool Active() const { return dbf_ != nullptr; }

  // A new record at the end (a record still being filled is posted first).
  void Append();
  // Sets a field of the record being filled; the template's field type decides the
  // conversion (see FormatDbfValue). Raises a Polish error for an unknown field, a value
  // the field cannot take, or when no record is being filled.
  void SetAsString(const std::string& fieldName, const std::string& value);
  void SetAsInteger(const std::string& fieldName, long long value);
  void SetAsFloat(const std::string& fieldName, double value);
  void SetAsBoolean(const std::string& fieldName, bool value);
  void Post();
  void Cancel();

  bool HasField(const std::string& fieldName) const;
  // The template's type of the field ('C', 'N', 'D' ...); 0 when there is no such field.
  char FieldType(const std::string& fieldName) const;
  long long RecordCount() const;

 private:
  void Set(const std::string& fieldName, const Field& value);
  void Commit();

  Session* session_;
  std::string work_;  // the working copy
  DBFHandle dbf_ = nullptr;
  std::vector<DbfFieldInfo> fields_;
  std::string record_;
  bool appending_ = false;
  bool committed_ = false;
};

}  // namespace velkar::db
