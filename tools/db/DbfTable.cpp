// TDbfTable: template copy, appending records through shapelib, atomic replacement.
#include "tools/db/DbfTable.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "base/DateTime.h"
#include "base/Error.h"
#include "base/Paths.h"
#include "tools/db/FilterExpression.h"
#include "tools/db/Session.h"
#include "tools/db/Store.h"

namespace fs = std::filesystem;

namespace velkar::db {

TDbfTable::TDbfTable(Session* session, const std::string& databaseName, const std::string& templateFolder,
                     const std::string& year, const std::string& name)
    : session_(session ? session : &DefaultSession()) {
  DatabaseName = IncludeTrailingPathDelimiter(NativePath(databaseName));
  TableName = name + year + ".dbf";
  std::string folder = IncludeTrailingPathDelimiter(NativePath(templateFolder));
  std::string source = FileExists(folder + name + ".dbf") ? folder + name + ".dbf" : FindFileNoCase(folder, name + ".dbf");
  if (source.empty()) Fail("Brak wzorca tabeli %s: nie ma pliku %s", TableName, folder + name + ".dbf");
  if (!DirectoryExists(DatabaseName)) Fail("Brak folderu %s na tabelę %s", DatabaseName, TableName);

  // The working copy ends in ".dbf": shapelib opens base name + ".dbf" whatever it is given.
  std::string pattern = DatabaseName + "." + ChangeFileExt(TableName, "") + ".XXXXXX.dbf";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  int fd = mkstemps(buffer.data(), 4);
  if (fd < 0) Fail("Nie można utworzyć tabeli %s (%s)", FullName(), std::strerror(errno));
  ::close(fd);
  work_ = buffer.data();
  std::error_code ec;
  fs::copy_file(source, work_, fs::copy_options::overwrite_existing, ec);
  if (ec) {
    std::remove(work_.c_str());
    Fail("Nie można skopiować wzorca %s do tabeli %s (%s)", source, FullName(), ec.message());
  }
}

TDbfTable::~TDbfTable() {
  try {
    if (Active()) Close();
    else if (!committed_) Commit();
  } catch (const std::exception& error) {
    session_->Warn(error.what());
  }
  std::remove(work_.c_str());
}

void TDbfTable::Open() {
  if (Active()) return;
  dbf_ = OpenDbf(work_, "rb+");
  if (!dbf_) Fail("Nie można otworzyć tabeli %s: wzorzec nie jest tabelą dBASE%s", FullName(), DbfLibraryDetail());
  try {
    fields_ = ReadDbfFields(dbf_, FullName());
  } catch (...) {
    DBFClose(dbf_);
    dbf_ = nullptr;
    throw;
  }
  committed_ = false;
}

void TDbfTable::Close() {
  if (!Active()) return;
  appending_ = false;
  DateTime today = Clock::Today();
  DBFSetLastModifiedDate(dbf_, today.year - 1900, today.month, today.day);
  DBFClose(dbf_);
  dbf_ = nullptr;
  Commit();
}

void TDbfTable::Discard() {
  appending_ = false;
  if (Active()) DBFClose(dbf_);
  dbf_ = nullptr;
  committed_ = true;  // nothing left to put in place
}

void TDbfTable::Commit() {
  ReplaceFileAtomically(FullName(), [this](const std::string& temp) {
    std::error_code ec;
    fs::copy_file(work_, temp, fs::copy_options::overwrite_existing, ec);
    if (ec) Fail("Nie można zapisać tabeli %s (%s)", FullName(), ec.message());
  });
  committed_ = true;
}

void TDbfTable::Append() {
  if (!Active()) Fail("Tabela %s nie jest otwarta", FullName());
  if (appending_) Post();
  record_.assign(static_cast<size_t>(dbf_->nRecordLength), ' ');
  appending_ = true;
}

void TDbfTable::Set(const std::string& fieldName, const Field& value) {
  if (!appending_) Fail("Tabela %s: brak dopisywanego rekordu (pole %s)", FullName(), fieldName);
  std::string key = FoldFieldName(fieldName);
  for (const DbfFieldInfo& field : fields_) {
    if (FoldFieldName(field.name) != key) continue;
    Field named = value;
    named.Named(field.name, FullName());
    std::string bytes = FormatDbfValue(field, named, true, FullName());
    record_.replace(static_cast<size_t>(field.offset), static_cast<size_t>(field.width), bytes);
    return;
  }
  Fail("Brak pola \"%s\" w tabeli %s", fieldName, FullName());
}

void TDbfTable::SetAsString(const std::string& fieldName, const std::string& value) {
  Set(fieldName, Field::OfText(value));
}
void TDbfTable::SetAsInteger(const std::string& fieldName, long long value) {
  Set(fieldName, Field::OfInteger(value));
}
void TDbfTable::SetAsFloat(const std::string& fieldName, double value) { Set(fieldName, Field::OfFloat(value)); }
void TDbfTable::SetAsBoolean(const std::string& fieldName, bool value) { Set(fieldName, Field::OfBoolean(value)); }

void TDbfTable::Post() {
  if (!appending_) return;
  if (!DBFWriteTuple(dbf_, DBFGetRecordCount(dbf_), record_.data()))
    Fail("Nie można zapisać rekordu w tabeli %s%s", FullName(), DbfLibraryDetail());
  appending_ = false;
}

void TDbfTable::Cancel() { appending_ = false; }

bool TDbfTable::HasField(const std::string& fieldName) const {
  std::string key = FoldFieldName(fieldName);
  for (const DbfFieldInfo& field : fields_)
    if (FoldFieldName(field.name) == key) return true;
  return false;
}

char TDbfTable::FieldType(const std::string& fieldName) const {
  std::string key = FoldFieldName(fieldName);
  for (const DbfFieldInfo& field : fields_)
    if (FoldFieldName(field.name) == key) return field.type;
  return 0;
}

long long TDbfTable::RecordCount() const { return Active() ? DBFGetRecordCount(dbf_) : 0; }

}  // namespace velkar::db
