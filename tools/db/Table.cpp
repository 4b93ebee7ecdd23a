// TTable: record sets as lists of SQLite row ids, fetched one record at a time.
#include "tools/db/Table.h"

#include "base/Error.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "tools/db/FilterExpression.h"
#include "tools/db/Session.h"

namespace velkar::db {

namespace {

std::vector<std::string> SplitNames(const std::string& list) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(';', start);
    if (end == std::string::npos) end = list.size();
    std::string name = Trim(std::string_view(list).substr(start, end - start));
    if (!name.empty()) names.push_back(name);
    start = end + 1;
  }
  return names;
}

void BindField(SqliteStatement& statement, int index, const Field& value) {
  switch (value.GetKind()) {
    case Field::Kind::Null: statement.BindNull(index); break;
    case Field::Kind::Integer:
    case Field::Kind::Boolean: statement.BindInt(index, value.AsInteger()); break;
    case Field::Kind::Float: statement.BindDouble(index, value.AsFloat()); break;
    case Field::Kind::Text: statement.BindText(index, value.AsString()); break;
    case Field::Kind::Binary: statement.BindBlob(index, value.AsString()); break;
  }
}

}  // namespace

TTable::TTable(Session* session) : session_(session ? session : &DefaultSession()) {}

TTable::~TTable() { Close(); }

Store& TTable::GetStore() const { return session_->Tables(); }

std::string TTable::FullName() const {
  if (DatabaseName.empty() && TableName.empty() && table_) return table_->fullName;
  std::string folder = DatabaseName.empty() ? std::string() : IncludeTrailingPathDelimiter(NativePath(DatabaseName));
  return folder + NativePath(TableName);
}

std::string TTable::Describe() const { return description_.empty() ? "tabeli " + FullName() : description_; }

void TTable::Open() {
  if (Active()) return;
  OpenStored(GetStore().OpenTable(FullName()), {});
}

void TTable::OpenStored(std::shared_ptr<StoredTable> table, std::string description) {
  table_ = std::move(table);
  description_ = std::move(description);
  GetStore().Register(this);
  try {
    Plan();
    Requery();
  } catch (...) {
    Close();
    throw;
  }
}

void TTable::Close() {
  if (!Active()) return;
  editing_ = false;
  edits_.clear();
  rowidQuery_ = SqliteStatement();
  fetch_ = SqliteStatement();
  columnOf_.clear();
  findQueries_.clear();
  rowids_.clear();
  positions_.clear();
  linkValues_.clear();
  fetched_ = -1;
  eof_ = true;
  ++moveStamp_;
  Store& store = GetStore();
  store.Unregister(this);
  table_.reset();
  store.Retire(nullptr);  // drops what nobody uses any more
}

void TTable::ParkStatements() {
  if (fetch_.Valid()) fetch_.Reset();
  fetched_ = -1;
}

int TTable::ColumnOf(const std::string& name) const {
  auto cached = columnOf_.find(name);
  if (cached != columnOf_.end()) return cached->second;
  int column = table_->FindColumn(name);
  if (column < 0) Fail("Brak pola \"%s\" w %s", name, Describe());
  columnOf_.emplace(name, column);
  return column;
}

std::vector<int> TTable::ColumnsOf(const std::string& list) const {
  std::vector<int> columns;
  for (const std::string& name : SplitNames(list)) columns.push_back(ColumnOf(name));
  return columns;
}

void TTable::Plan() const {
  appliedIndex_ = IndexFieldNames;
  appliedFilter_ = Filter;
  appliedFiltered_ = Filtered;
  appliedMaster_ = MasterSource;
  appliedMasterFields_ = MasterFields;
  Store& store = GetStore();
  const std::string& table = QuoteIdentifier(table_->sqlName);

  orderColumns_ = Trim(IndexFieldNames).empty() ? table_->primaryKey : ColumnsOf(IndexFieldNames);
  whereSql_.clear();
  std::vector<std::string> conditions;
  if (Filtered && !Trim(Filter).empty()) {
    FilterTranslation filter = TranslateFilter(Filter, table_->ColumnNames(), FullName());
    for (int column : filter.columns) store.EnsureIndex(*table_, {column});
    whereSql_ = "(" + filter.sql + ")";
    conditions.push_back(whereSql_);
  }
  masterFieldNames_.clear();
  if (MasterSource) {
    if (MasterSource == this) Fail("Tabela %s nie może być swoją tabelą nadrzędną", FullName());
    masterFieldNames_ = SplitNames(MasterFields);
    if (masterFieldNames_.empty()) Fail("Tabela %s: brak pól tabeli nadrzędnej (MasterFields)", FullName());
    if (orderColumns_.size() < masterFieldNames_.size())
      Fail("Tabela %s: powiązanie z tabelą nadrzędną wymaga tylu pól indeksu (IndexFieldNames), ile jest pól "
           "MasterFields (%s)",
           FullName(), MasterFields);
    for (size_t i = 0; i < masterFieldNames_.size(); ++i)
      conditions.push_back(QuoteIdentifier(table_->columns[static_cast<size_t>(orderColumns_[i])].name) + " = ?");
  }
  store.EnsureIndex(*table_, orderColumns_);

  orderSql_ = " ORDER BY ";
  for (int column : orderColumns_) orderSql_ += QuoteIdentifier(table_->columns[static_cast<size_t>(column)].name) + ", ";
  orderSql_ += table_->rowidName;
  std::string where;
  for (const std::string& condition : conditions) where += (where.empty() ? " WHERE " : " AND ") + condition;
  readContext_ = "Odczyt " + Describe();
  rowidQuery_ =
      SqliteStatement(store.Db(), "SELECT " + table_->rowidName + " FROM " + table + where + orderSql_, readContext_);
  // Records are read by a forward scan from the wanted row id: a walk in row id order (the
  // order a source file keeps its records in, which a linked detail follows from one master
  // record to the next) steps the open scan instead of searching the table for every record.
  fetch_ = SqliteStatement(store.Db(),
                           "SELECT *, " + table_->rowidName + " FROM " + table + " WHERE " + table_->rowidName +
                               " >= ? ORDER BY " + table_->rowidName,
                           readContext_);
  findQueries_.clear();
  fetched_ = -1;
}

void TTable::BindLink(SqliteStatement& statement) const {
  for (size_t i = 0; i < linkValues_.size(); ++i) BindField(statement, static_cast<int>(i) + 1, linkValues_[i]);
}

void TTable::Requery() const {
  rowids_.clear();
  positions_.clear();
  linkValues_.clear();
  linkEmpty_ = false;
  if (MasterSource) {
    seenMasterStamp_ = MasterSource->moveStamp_;
    // A closed or empty master, or a NULL key, leaves the detail empty.
    if (!MasterSource->Active() || MasterSource->rowids_.empty()) linkEmpty_ = true;
    for (size_t i = 0; !linkEmpty_ && i < masterFieldNames_.size(); ++i) {
      Field value = MasterSource->FieldByName(masterFieldNames_[i]);
      if (value.IsNull()) linkEmpty_ = true;
      linkValues_.push_back(value);
    }
  }
  if (!linkEmpty_) {
    rowidQuery_.Reset();
    BindLink(rowidQuery_);
    while (rowidQuery_.Step(readContext_)) rowids_.push_back(rowidQuery_.ColumnInt(0));
    rowidQuery_.Reset();
  }
  pos_ = 0;
  eof_ = rowids_.empty();
  ++moveStamp_;  // the scan stays where it is: the next record is often just ahead of it
}

void TTable::Sync() const {
  if (!Active()) Fail("Tabela %s nie jest otwarta", FullName());
  if (syncing_) Fail("Tabela %s: powiązania tabel nadrzędnych i podrzędnych tworzą cykl", FullName());
  syncing_ = true;
  try {
    if (IndexFieldNames != appliedIndex_ || Filter != appliedFilter_ || Filtered != appliedFiltered_ ||
        MasterSource != appliedMaster_ || MasterFields != appliedMasterFields_) {
      Plan();
      if (MasterSource && MasterSource->Active()) MasterSource->Sync();
      Requery();
    } else if (MasterSource) {
      if (MasterSource->Active()) MasterSource->Sync();
      if (MasterSource->moveStamp_ != seenMasterStamp_) Requery();
    }
  } catch (...) {
    syncing_ = false;
    throw;
  }
  syncing_ = false;
}

bool TTable::EnsureFetched() const {
  if (rowids_.empty()) return false;
  std::int64_t rowid = rowids_[pos_];
  if (fetched_ == rowid) return true;
  // A row a few records ahead of the scan's is reached by stepping; anything else seeks.
  constexpr std::int64_t kMaxSteps = 32;
  const int rowidColumn = static_cast<int>(table_->columns.size());
  if (fetched_ >= 0 && rowid > fetched_ && rowid - fetched_ <= kMaxSteps) {
    std::int64_t at = fetched_;
    fetched_ = -1;  // until the scan stands on a row again
    while (at < rowid && fetch_.Step(readContext_)) at = fetch_.ColumnInt(rowidColumn);
    if (at == rowid) {
      fetched_ = rowid;
      return true;
    }
  }
  fetched_ = -1;
  fetch_.Reset();
  fetch_.BindInt(1, rowid);
  if (!fetch_.Step(readContext_) || fetch_.ColumnInt(rowidColumn) != rowid) {
    fetch_.Reset();
    return false;
  }
  fetched_ = rowid;
  return true;
}

void TTable::PostIfEditing() {
  if (editing_) Post();
}

void TTable::First() {
  Sync();
  PostIfEditing();
  pos_ = 0;
  eof_ = rowids_.empty();
  ++moveStamp_;
}

void TTable::Next() {
  Sync();
  PostIfEditing();
  if (pos_ + 1 < rowids_.size()) {
    ++pos_;
    ++moveStamp_;
  } else {
    eof_ = true;
  }
}

bool TTable::Eof() const {
  Sync();
  return eof_;
}

long long TTable::RecordCount() const {
  Sync();
  return static_cast<long long>(rowids_.size());
}

Field TTable::FieldByName(const std::string& name) const {
  Sync();
  int column = ColumnOf(name);
  for (const auto& [editedColumn, value] : edits_)
    if (editing_ && editedColumn == column) return value;
  if (!EnsureFetched()) return Field::Null().Named(table_->columns[static_cast<size_t>(column)].name, FullName());
  return table_->ReadField(fetch_, column, column);
}

bool TTable::HasField(const std::string& name) const {
  if (table_) return table_->FindColumn(name) >= 0;
  auto table = GetStore().OpenTable(FullName());
  return table->FindColumn(name) >= 0;
}

std::vector<std::string> TTable::FieldNames() const {
  if (!Active()) Fail("Tabela %s nie jest otwarta", FullName());
  return table_->ColumnNames();
}

std::vector<ColumnType> TTable::FieldTypes() const {
  if (!Active()) Fail("Tabela %s nie jest otwarta", FullName());
  std::vector<ColumnType> types;
  for (const Column& column : table_->columns) types.push_back(column.type);
  return types;
}

bool TTable::FindKey(const std::vector<std::string>& keyValues) {
  Sync();
  PostIfEditing();
  if (orderColumns_.empty()) Fail("Tabela %s nie ma indeksu do wyszukiwania (IndexFieldNames)", FullName());
  if (keyValues.empty() || keyValues.size() > orderColumns_.size())
    Fail("Tabela %s: wyszukiwanie podaje %d wartości klucza, a indeks ma %d pól", FullName(),
         static_cast<int>(keyValues.size()), static_cast<int>(orderColumns_.size()));
  if (linkEmpty_ || rowids_.empty()) return false;
  if (findQueries_.size() < keyValues.size()) findQueries_.resize(keyValues.size());
  SqliteStatement& find = findQueries_[keyValues.size() - 1];
  if (!find.Valid()) {
    std::string where;
    if (!whereSql_.empty()) where = whereSql_;
    for (size_t i = 0; i < masterFieldNames_.size(); ++i)
      where += std::string(where.empty() ? "" : " AND ") +
               QuoteIdentifier(table_->columns[static_cast<size_t>(orderColumns_[i])].name) + " = ?";
    for (size_t i = 0; i < keyValues.size(); ++i)
      where += std::string(where.empty() ? "" : " AND ") +
               QuoteIdentifier(table_->columns[static_cast<size_t>(orderColumns_[i])].name) + " = ?";
    find = SqliteStatement(GetStore().Db(),
                           "SELECT " + table_->rowidName + " FROM " + QuoteIdentifier(table_->sqlName) + " WHERE " +
                               where + orderSql_ + " LIMIT 1",
                           "Wyszukiwanie w " + Describe());
  }
  find.Reset();
  BindLink(find);
  for (size_t i = 0; i < keyValues.size(); ++i)
    find.BindText(static_cast<int>(linkValues_.size() + i) + 1, keyValues[i]);
  bool found = find.Step("Wyszukiwanie w " + Describe());
  std::int64_t rowid = found ? find.ColumnInt(0) : 0;
  find.Reset();
  if (!found) return false;
  if (positions_.empty())
    for (size_t i = 0; i < rowids_.size(); ++i) positions_.emplace(rowids_[i], i);
  auto it = positions_.find(rowid);
  if (it == positions_.end()) return false;
  pos_ = it->second;
  eof_ = false;
  ++moveStamp_;
  return true;
}

void TTable::Edit() {
  Sync();
  if (table_->readOnly) Fail("Tabela %s jest tylko do odczytu", FullName());
  if (rowids_.empty()) Fail("Tabela %s: brak bieżącego rekordu do zmiany", FullName());
  editing_ = true;
  edits_.clear();
}

void TTable::SetValue(const std::string& name, Field value) {
  Sync();
  int column = ColumnOf(name);
  if (!editing_) Fail("Tabela %s nie jest w trybie zmiany rekordu (pole %s)", FullName(), name);
  value.Named(table_->columns[static_cast<size_t>(column)].name, FullName());
  for (auto& [editedColumn, edited] : edits_)
    if (editedColumn == column) {
      edited = std::move(value);
      return;
    }
  edits_.emplace_back(column, std::move(value));
}

void TTable::SetAsString(const std::string& name, const std::string& value) { SetValue(name, Field::OfText(value)); }
void TTable::SetAsInteger(const std::string& name, long long value) { SetValue(name, Field::OfInteger(value)); }
void TTable::SetAsFloat(const std::string& name, double value) { SetValue(name, Field::OfFloat(value)); }

void TTable::Post() {
  if (!editing_) return;
  editing_ = false;
  if (edits_.empty() || rowids_.empty()) return;
  std::string sets;
  for (const auto& [column, value] : edits_)
    sets += (sets.empty() ? "" : ", ") + QuoteIdentifier(table_->columns[static_cast<size_t>(column)].name) + " = ?";
  Store& store = GetStore();
  store.ParkStatements();
  SqliteStatement update(store.Db(),
                         "UPDATE " + QuoteIdentifier(table_->sqlName) + " SET " + sets + " WHERE " +
                             table_->rowidName + " = ?",
                         "Zapis rekordu w " + Describe());
  int index = 1;
  for (const auto& [column, value] : edits_) BindField(update, index++, value);
  update.BindInt(index, rowids_[pos_]);
  edits_.clear();
  update.Step("Zapis rekordu w " + Describe());
}

void TTable::Cancel() {
  editing_ = false;
  edits_.clear();
}

void TTable::AddPrimaryIndex(const std::string& fields) {
  std::shared_ptr<StoredTable> table = table_ ? table_ : GetStore().OpenTable(FullName());
  if (table->readOnly) Fail("Tabela %s jest tylko do odczytu", FullName());
  std::vector<int> columns;
  for (const std::string& name : SplitNames(fields)) {
    int column = table->FindColumn(name);
    if (column < 0) Fail("Brak pola \"%s\" w tabeli %s", name, FullName());
    columns.push_back(column);
  }
  if (columns.empty()) Fail("Tabela %s: indeks główny bez pól", FullName());
  GetStore().EnsureIndex(*table, columns, true);
  table->primaryKey = columns;
  if (Active()) {
    Plan();
    Requery();
  }
}

}  // namespace velkar::db
