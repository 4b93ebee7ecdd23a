// The session's tables in SQLite: loading, reuse, indexes and dropping.
#include "tools/db/Store.h"

#include <filesystem>

#include "base/Error.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "tools/db/FilterExpression.h"
#include "tools/db/Session.h"

namespace fs = std::filesystem;

namespace velkar::db {

namespace {

std::string SessionKey(const std::string& fullName) {
  std::string name = NativePath(fullName);
  if (EqualsNoCase(ExtractFileExt(name), ".db")) name = ChangeFileExt(name, "");
  return FoldFieldName(ExpandFileName(name));
}

}  // namespace

std::string DeclaredType(ColumnType type) {
  switch (type) {
    case ColumnType::Text: return "TEXT";
    case ColumnType::Integer: return "INTEGER";
    case ColumnType::Float: return "REAL";
    case ColumnType::Boolean: return "BOOLEAN_INT";
    case ColumnType::Date: return "DATE_TEXT";
    case ColumnType::Time: return "TIME_TEXT";
    case ColumnType::Timestamp: return "TIMESTAMP_TEXT";
    case ColumnType::Binary: return "BLOB";
    case ColumnType::Any: return "";
  }
  return "";
}

ColumnType TypeFromDeclared(const char* declared) {
  if (!declared) return ColumnType::Any;
  std::string d = ToLowerAscii(declared);
  if (d == "boolean_int") return ColumnType::Boolean;
  if (d == "date_text") return ColumnType::Date;
  if (d == "time_text") return ColumnType::Time;
  if (d == "timestamp_text") return ColumnType::Timestamp;
  if (d.find("int") != std::string::npos) return ColumnType::Integer;
  if (d.find("char") != std::string::npos || d.find("text") != std::string::npos) return ColumnType::Text;
  if (d.find("real") != std::string::npos || d.find("floa") != std::string::npos || d.find("doub") != std::string::npos)
    return ColumnType::Float;
  if (d == "blob") return ColumnType::Binary;
  return ColumnType::Any;
}

int StoredTable::FindColumn(const std::string& name) const {
  std::string key = FoldFieldName(Trim(name));
  for (size_t i = 0; i < folded.size(); ++i)
    if (folded[i] == key) return static_cast<int>(i);
  return -1;
}

std::vector<std::string> StoredTable::ColumnNames() const {
  std::vector<std::string> names;
  for (const Column& c : columns) names.push_back(c.name);
  return names;
}

Field StoredTable::ReadField(const SqliteStatement& statement, int statementColumn, int column) const {
  Field value;
  switch (statement.ColumnType(statementColumn)) {
    case SQLITE_INTEGER:
      value = columns[static_cast<size_t>(column)].type == ColumnType::Boolean
                  ? Field::OfBoolean(statement.ColumnInt(statementColumn) != 0)
                  : Field::OfInteger(statement.ColumnInt(statementColumn));
      break;
    case SQLITE_FLOAT: value = Field::OfFloat(statement.ColumnDouble(statementColumn)); break;
    case SQLITE_TEXT: value = Field::OfText(statement.ColumnText(statementColumn)); break;
    case SQLITE_BLOB: value = Field::OfBinary(statement.ColumnText(statementColumn)); break;
    default: break;
  }
  value.Named(columns[static_cast<size_t>(column)].name, fullName);
  return value;
}

// --- TableBuilder

TableBuilder::TableBuilder(Store& store, std::string fullName, bool readOnly) : store_(store) {
  table_ = std::make_shared<StoredTable>();
  table_->fullName = std::move(fullName);
  table_->readOnly = readOnly;
  table_->sqlName = store.NewSqlName(readOnly ? "px_" : "st_");
  context_ = "Wczytanie tabeli " + table_->fullName;
}

TableBuilder::~TableBuilder() {
  if (open_ && !finished_) {
    insert_ = SqliteStatement();
    store_.ParkStatements();
    sqlite3_exec(store_.Db().Handle(), "ROLLBACK TO load; RELEASE load", nullptr, nullptr, nullptr);
  }
}

void TableBuilder::Define(std::vector<Column> columns) {
  std::set<std::string> used;
  std::string sql = "CREATE TABLE " + QuoteIdentifier(table_->sqlName) + " (";
  std::string values;
  for (size_t i = 0; i < columns.size(); ++i) {
    Column& c = columns[i];
    std::string name = Trim(c.name).empty() ? "Field" : c.name;
    std::string candidate = name;
    for (int n = 2; used.contains(FoldFieldName(candidate)); ++n) candidate = name + "_" + std::to_string(n);
    c.name = candidate;
    used.insert(FoldFieldName(candidate));
    table_->folded.push_back(FoldFieldName(candidate));
    sql += (i ? ", " : "") + QuoteIdentifier(c.name) + " " + DeclaredType(c.type);
    values += (i ? ", ?" : "?");
  }
  if (columns.empty()) Fail("Tabela %s nie ma pól", table_->fullName);
  for (const char* name : {"rowid", "_rowid_", "oid"}) {
    if (used.contains(name)) continue;
    table_->rowidName = name;
    break;
  }
  sql += ")";
  table_->columns = std::move(columns);
  store_.ParkStatements();
  store_.Db().Exec("SAVEPOINT load", "Wczytanie tabeli " + table_->fullName);
  open_ = true;
  store_.Db().Exec(sql, "Wczytanie tabeli " + table_->fullName);
  insert_ = SqliteStatement(store_.Db(), "INSERT INTO " + QuoteIdentifier(table_->sqlName) + " VALUES (" + values + ")",
                            "Wczytanie tabeli " + table_->fullName);
}

void TableBuilder::Bind(int column, const Field& value) {
  int index = column + 1;
  switch (value.GetKind()) {
    case Field::Kind::Null: insert_.BindNull(index); break;
    case Field::Kind::Integer:
    case Field::Kind::Boolean: insert_.BindInt(index, value.AsInteger()); break;
    case Field::Kind::Float: insert_.BindDouble(index, value.AsFloat()); break;
    case Field::Kind::Text: insert_.BindText(index, value.AsString()); break;
    case Field::Kind::Binary: insert_.BindBlob(index, value.AsString()); break;
  }
}

void TableBuilder::AddRow() {
  insert_.Step(context_);
  insert_.Reset();
}

std::shared_ptr<StoredTable> TableBuilder::Finish(std::vector<FileStamp> stamps) {
  insert_ = SqliteStatement();
  store_.Db().Exec("RELEASE load", "Wczytanie tabeli " + table_->fullName);
  finished_ = true;
  table_->stamps = std::move(stamps);
  return table_;
}

// --- Store

Store::Store(Session& session) : session_(session) {}

Store::~Store() {
  holders_.clear();
  files_.clear();
  sessionTables_.clear();
  retired_.clear();
}

std::string Store::NewSqlName(const char* prefix) { return prefix + std::to_string(++counter_); }

void Store::ParkStatements() {
  for (StatementHolder* holder : holders_) holder->ParkStatements();
}

std::string FindFileNoCase(const std::string& folder, const std::string& name) {
  std::error_code ec;
  std::string dir = folder.empty() ? CurrentDir() : folder;
  std::string wanted = FoldFieldName(name);
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::string candidate = it->path().filename().string();
    if (FoldFieldName(candidate) == wanted && it->is_regular_file(ec)) return it->path().string();
  }
  return {};
}

std::string FindTableFile(const std::string& fullName, bool& dbase) {
  std::string name = NativePath(fullName);
  std::string ext = ToLowerAscii(ExtractFileExt(name));
  dbase = ext == ".dbf";
  std::string file = (dbase || ext == ".db") ? name : name + ".db";
  if (FileExists(file)) return file;
  return FindFileNoCase(ExtractFilePath(file), ExtractFileName(file));
}

FileStamp StampOf(const std::string& path) {
  std::error_code ec;
  FileStamp stamp;
  stamp.path = path;
  stamp.size = static_cast<std::int64_t>(fs::file_size(path, ec));
  auto time = fs::last_write_time(path, ec);
  stamp.modified = ec ? 0 : static_cast<std::int64_t>(time.time_since_epoch().count());
  return stamp;
}

std::shared_ptr<StoredTable> Store::FindSessionTable(const std::string& fullName) const {
  auto it = sessionTables_.find(SessionKey(fullName));
  return it == sessionTables_.end() ? nullptr : it->second;
}

void Store::AddSessionTable(const std::string& fullName, std::shared_ptr<StoredTable> table) {
  std::string key = SessionKey(fullName);
  auto it = sessionTables_.find(key);
  if (it != sessionTables_.end()) retired_.push_back(it->second);
  sessionTables_[key] = std::move(table);
  Collect();
}

std::shared_ptr<StoredTable> Store::OpenTable(const std::string& fullName) {
  if (auto table = FindSessionTable(fullName)) return table;
  bool dbase = false;
  std::string path = FindTableFile(fullName, dbase);
  if (path.empty()) {
    std::string shown = NativePath(fullName);
    if (!dbase && !EqualsNoCase(ExtractFileExt(shown), ".db")) shown += ".db";
    Fail("Brak tabeli %s", shown);
  }
  std::error_code ec;
  std::string key = fs::weakly_canonical(path, ec).string();
  if (ec) key = ExpandFileName(path);

  std::vector<FileStamp> stamps{StampOf(path)};
  if (!dbase) {
    std::string memo = FindFileNoCase(ExtractFilePath(path), ChangeFileExt(ExtractFileName(path), ".mb"));
    if (!memo.empty()) stamps.push_back(StampOf(memo));
  }
  auto cached = files_.find(key);
  if (cached != files_.end()) {
    if (cached->second->stamps == stamps) return cached->second;
    retired_.push_back(cached->second);
    files_.erase(cached);
  }
  Collect();
  TableBuilder builder(*this, path, true);
  if (dbase) LoadDbfTable(path, builder);
  else LoadParadoxTable(path, session_, builder);
  auto table = builder.Finish(std::move(stamps));
  files_[key] = table;
  return table;
}

void Store::EnsureIndex(StoredTable& table, const std::vector<int>& columns, bool unique) {
  if (columns.empty()) return;
  std::string key = unique ? "u" : "i";
  std::string list;
  for (int c : columns) {
    key += ":" + std::to_string(c);
    list += (list.empty() ? "" : ", ") + QuoteIdentifier(table.columns[static_cast<size_t>(c)].name);
  }
  if (table.indexes.contains(key)) return;
  ParkStatements();
  std::string name = table.sqlName + "_" + std::to_string(table.indexes.size() + 1);
  std::string sql = std::string("CREATE ") + (unique ? "UNIQUE " : "") + "INDEX " + QuoteIdentifier(name) + " ON " +
                    QuoteIdentifier(table.sqlName) + " (" + list + ")";
  if (sqlite3_exec(db_.Handle(), sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
    if (unique && sqlite3_errcode(db_.Handle()) == SQLITE_CONSTRAINT)
      Fail("Tabela %s: wartości pól %s powtarzają się, indeks główny nie może powstać", table.fullName, list);
    Fail("Tabela %s: nie można utworzyć indeksu (%s): %s", table.fullName, list, db_.LastErrorInPolish());
  }
  table.indexes.insert(key);
}

void Store::Retire(std::shared_ptr<StoredTable> table) {
  if (table) retired_.push_back(std::move(table));
  Collect();
}

void Store::Collect() {
  bool parked = false;
  for (auto it = retired_.begin(); it != retired_.end();) {
    if (it->use_count() > 1) {  // still open somewhere
      ++it;
      continue;
    }
    if (!parked) ParkStatements();
    parked = true;
    std::string sql = "DROP TABLE IF EXISTS " + QuoteIdentifier((*it)->sqlName);
    sqlite3_exec(db_.Handle(), sql.c_str(), nullptr, nullptr, nullptr);
    it = retired_.erase(it);
  }
}

void Store::DropUnused() {
  for (auto* map : {&files_, &sessionTables_}) {
    for (auto it = map->begin(); it != map->end();) {
      if (it->second.use_count() == 1) {
        retired_.push_back(it->second);
        it = map->erase(it);
      } else {
        ++it;
      }
    }
  }
  Collect();
}

}  // namespace velkar::db
