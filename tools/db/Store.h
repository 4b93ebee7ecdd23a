// The tables of a session, held in its in-memory SQLite database: Paradox and dBASE tables
// loaded from their files (read-only copies, reused while the files stay unchanged),
// session tables made by the program (a query's result, a batch copy), and the indexes
// that filters, orders, master-detail links and key searches use.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "tools/db/Field.h"
#include "tools/db/Sqlite.h"

namespace velkar::db {

class Session;
class Store;

enum class ColumnType { Text, Integer, Float, Boolean, Date, Time, Timestamp, Binary, Any };

struct Column {
  std::string name;
  ColumnType type = ColumnType::Any;
  int size = 0;      // characters of a text, width of a dBASE number
  int decimals = 0;  // decimals of a dBASE number
};

// The SQL declared type that stores a column type (its affinity keeps numbers numbers
// and dates text), and the type back from a declared type (query results).
std::string DeclaredType(ColumnType type);
ColumnType TypeFromDeclared(const char* declared);

struct FileStamp {
  std::string path;
  std::int64_t size = 0;
  std::int64_t modified = 0;
  bool operator==(const FileStamp&) const = default;
};

struct StoredTable {
  std::string sqlName;   // the SQLite table
  std::string rowidName = "rowid";  // "_rowid_" or "oid" when a field is called rowid
  std::string fullName;  // the file or session name, as messages show it
  std::vector<Column> columns;
  std::vector<int> primaryKey;  // columns of the primary index (session tables)
  bool readOnly = true;
  std::vector<FileStamp> stamps;     // the files it was loaded from
  std::set<std::string> indexes;     // indexes made so far, by column list
  std::vector<std::string> folded;   // column names folded for look-up

  // The column of `name` (letter case ignored), or -1.
  int FindColumn(const std::string& name) const;
  std::vector<std::string> ColumnNames() const;
  // The value of `column` in the current row of `statement`, read at `statementColumn`.
  Field ReadField(const SqliteStatement& statement, int statementColumn, int column) const;
};

// Something that keeps a statement open on a stored table; it resets it when asked, so
// that tables can be dropped or indexed.
class StatementHolder {
 public:
  virtual void ParkStatements() = 0;

 protected:
  ~StatementHolder() = default;
};

// Creates a table of the store and fills it; dropped again unless Finish() is reached.
class TableBuilder {
 public:
  TableBuilder(Store& store, std::string fullName, bool readOnly);
  ~TableBuilder();
  TableBuilder(const TableBuilder&) = delete;
  TableBuilder& operator=(const TableBuilder&) = delete;

  // Creates the SQL table; names that repeat (or are empty) get a "_2" ... suffix.
  void Define(std::vector<Column> columns);
  const std::vector<Column>& Columns() const { return table_->columns; }
  const std::string& SqlName() const { return table_->sqlName; }
  // Binds values of the next row (columns counted from 0), then AddRow() stores it.
  SqliteStatement& Row() { return insert_; }
  void Bind(int column, const Field& value);
  void AddRow();
  std::shared_ptr<StoredTable> Finish(std::vector<FileStamp> stamps = {});

 private:
  Store& store_;
  std::shared_ptr<StoredTable> table_;
  SqliteStatement insert_;
  std::string context_;
  bool open_ = false;
  bool finished_ = false;
};

class Store {
 public:
  explicit Store(Session& session);
  ~Store();
  Store(const Store&) = delete;
  Store& operator=(const Store&) = delete;

  Session& GetSession() const { return session_; }
  SqliteDatabase& Db() { return db_; }

  // The table `fullName`: a session table of that name, else a file: "x.dbf" is a dBASE
  // table, anything else a Paradox table ("x" or "x.db"; the name's letter case may differ
  // from the file's). Raises "Brak tabeli ..." when neither exists.
  std::shared_ptr<StoredTable> OpenTable(const std::string& fullName);
  // The session table `fullName`, or nothing.
  std::shared_ptr<StoredTable> FindSessionTable(const std::string& fullName) const;
  // Makes `table` the session table `fullName`, replacing one of that name.
  void AddSessionTable(const std::string& fullName, std::shared_ptr<StoredTable> table);

  // Makes sure an index on `columns` exists (unique: raises when rows repeat a key).
  void EnsureIndex(StoredTable& table, const std::vector<int>& columns, bool unique = false);
  // A table nobody will open again by name (a closed query's result).
  void Retire(std::shared_ptr<StoredTable> table);
  // Drops loaded and retired tables that no table or query uses any more.
  void DropUnused();

  void Register(StatementHolder* holder) { holders_.insert(holder); }
  void Unregister(StatementHolder* holder) { holders_.erase(holder); }
  void ParkStatements();

  std::string NewSqlName(const char* prefix);

 private:
  friend class TableBuilder;
  std::shared_ptr<StoredTable> LoadFile(const std::string& path, bool dbase);
  void Collect();

  Session& session_;
  SqliteDatabase db_;
  std::map<std::string, std::shared_ptr<StoredTable>> files_;          // by canonical path
  std::map<std::string, std::shared_ptr<StoredTable>> sessionTables_;  // by folded full name
  std::vector<std::shared_ptr<StoredTable>> retired_;
  std::set<StatementHolder*> holders_;
  std::uint64_t counter_ = 0;
};

// The file of the table `fullName` (see Store::OpenTable), or "" when it does not exist;
// `dbase` tells the format.
std::string FindTableFile(const std::string& fullName, bool& dbase);
// A file in `folder` whose name equals `name` without regard to letter case; "" if none.
std::string FindFileNoCase(const std::string& folder, const std::string& name);
FileStamp StampOf(const std::string& path);

// Fills `builder` from a Paradox table / a dBASE table (both defined in their own files).
void LoadParadoxTable(const std::string& path, Session& session, TableBuilder& builder);
void LoadDbfTable(const std::string& path, TableBuilder& builder);

}  // namespace velkar::db
