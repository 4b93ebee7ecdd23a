// A thin RAII layer over the SQLite C API: the connection of a session and its prepared
// statements. SQLite failures become velkar::Error with the Polish context the caller gives.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace velkar::db {

class SqliteStatement;

// SQLite's English error text in Polish words, the original following in parentheses;
// the depth errors of an over-nested expression become "Wyrażenie filtra jest zbyt złożone".
std::string PolishSqliteMessage(const std::string& english);
// Raises "<context>: " + the Polish message (the depth error on its own).
[[noreturn]] void FailSql(const std::string& context, const std::string& english);

class SqliteDatabase {
 public:
  // Opens a private in-memory database.
  SqliteDatabase();
  ~SqliteDatabase();
  SqliteDatabase(const SqliteDatabase&) = delete;
  SqliteDatabase& operator=(const SqliteDatabase&) = delete;

  sqlite3* Handle() const { return db_; }
  // Runs statements without results; raises "<context>: <SQLite's message>".
  void Exec(const std::string& sql, const std::string& context);
  // SQLite's message of the last failure on this connection.
  std::string LastError() const;  // SQLite's own (English) text
  std::string LastErrorInPolish() const;

 private:
  sqlite3* db_ = nullptr;
};

class SqliteStatement {
 public:
  SqliteStatement() = default;
  // Prepares the first statement of `sql`; raises "<context>: <SQLite's message>".
  SqliteStatement(SqliteDatabase& db, std::string_view sql, const std::string& context);
  ~SqliteStatement();
  SqliteStatement(SqliteStatement&& other) noexcept;
  SqliteStatement& operator=(SqliteStatement&& other) noexcept;
  SqliteStatement(const SqliteStatement&) = delete;
  SqliteStatement& operator=(const SqliteStatement&) = delete;

  // Prepares without raising: the SQLite result code, and the text after the statement.
  int TryPrepare(SqliteDatabase& db, std::string_view sql, std::string_view* tail = nullptr);

  bool Valid() const { return stmt_ != nullptr; }
  sqlite3_stmt* Handle() const { return stmt_; }

  void BindNull(int index);
  void BindInt(int index, std::int64_t value);
  void BindDouble(int index, double value);
  void BindText(int index, std::string_view value);
  void BindBlob(int index, std::string_view value);
  // Steps once: true with a row, false when done; raises "<context>: <message>".
  bool Step(const std::string& context);
  void Reset();

  int ColumnCount() const { return sqlite3_column_count(stmt_); }
  int ColumnType(int column) const { return sqlite3_column_type(stmt_, column); }
  std::int64_t ColumnInt(int column) const { return sqlite3_column_int64(stmt_, column); }
  double ColumnDouble(int column) const { return sqlite3_column_double(stmt_, column); }
  std::string ColumnText(int column) const;
  std::string ColumnName(int column) const;

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

// "name" with embedded quotes doubled: an SQL identifier for any field name.
std::string QuoteIdentifier(std::string_view name);
// 'text' with embedded quotes doubled.
std::string QuoteLiteral(std::string_view text);

}  // namespace velkar::db
