// RAII wrappers over the SQLite connection and statements.
#include "tools/db/Sqlite.h"

#include <utility>

#include "base/Error.h"

namespace velkar::db {

namespace {

bool Contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

}  // namespace

std::string PolishSqliteMessage(const std::string& english) {
  const char* words = "błąd SQL";
  if (Contains(english, "Expression tree is too large") || Contains(english, "parser stack overflow") ||
      Contains(english, "too many terms") || Contains(english, "too many levels"))
    return Format("Wyrażenie filtra jest zbyt złożone (%s)", english);
  if (Contains(english, "not authorized")) words = "operacja niedozwolona w zapytaniu";
  else if (Contains(english, "no such function")) words = "nieznana funkcja";
  else if (Contains(english, "no such table")) words = "nieznana tabela";
  else if (Contains(english, "no such column")) words = "nieznana kolumna";
  else if (Contains(english, "cannot modify") || Contains(english, "readonly")) words = "tabeli nie można zmieniać";
  else if (Contains(english, "too big")) words = "tekst lub dane są za duże";
  else if (Contains(english, "syntax error") || Contains(english, "incomplete input")) words = "błąd składni SQL";
  else if (Contains(english, "interrupted")) words = "zapytanie przerwane";
  else if (Contains(english, "out of memory")) words = "brak pamięci";
  return Format("%s (%s)", words, english);
}

[[noreturn]] void FailSql(const std::string& context, const std::string& english) {
  std::string polish = PolishSqliteMessage(english);
  if (polish.starts_with("Wyrażenie filtra")) throw Error(polish);
  Fail("%s: %s", context, polish);
}

SqliteDatabase::SqliteDatabase() {
  if (sqlite3_open_v2(":memory:", &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK) {
    std::string message = db_ ? sqlite3_errmsg(db_) : "brak pamięci";
    sqlite3_close(db_);
    db_ = nullptr;
    Fail("Nie można utworzyć bazy danych w pamięci: %s", message);
  }
  // Text comparison in filters follows the source engines: case-sensitive, and LIKE too.
  Exec("PRAGMA case_sensitive_like = ON", "Ustawienie bazy danych");
}

SqliteDatabase::~SqliteDatabase() { sqlite3_close_v2(db_); }

void SqliteDatabase::Exec(const std::string& sql, const std::string& context) {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
    std::string text = message ? message : LastError();
    sqlite3_free(message);
    FailSql(context, text);
  }
}

std::string SqliteDatabase::LastError() const { return sqlite3_errmsg(db_); }

std::string SqliteDatabase::LastErrorInPolish() const { return PolishSqliteMessage(LastError()); }

SqliteStatement::SqliteStatement(SqliteDatabase& db, std::string_view sql, const std::string& context) {
  if (TryPrepare(db, sql) != SQLITE_OK) FailSql(context, db.LastError());
  if (!stmt_) Fail("%s: puste polecenie SQL", context);
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(stmt_); }

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept : stmt_(std::exchange(other.stmt_, nullptr)) {}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
  if (this != &other) {
    sqlite3_finalize(stmt_);
    stmt_ = std::exchange(other.stmt_, nullptr);
  }
  return *this;
}

int SqliteStatement::TryPrepare(SqliteDatabase& db, std::string_view sql, std::string_view* tail) {
  sqlite3_finalize(stmt_);
  stmt_ = nullptr;
  const char* rest = nullptr;
  int rc = sqlite3_prepare_v2(db.Handle(), sql.data(), static_cast<int>(sql.size()), &stmt_, &rest);
  if (tail) *tail = rest ? sql.substr(static_cast<size_t>(rest - sql.data())) : std::string_view();
  return rc;
}

void SqliteStatement::BindNull(int index) { sqlite3_bind_null(stmt_, index); }
void SqliteStatement::BindInt(int index, std::int64_t value) { sqlite3_bind_int64(stmt_, index, value); }
void SqliteStatement::BindDouble(int index, double value) { sqlite3_bind_double(stmt_, index, value); }

void SqliteStatement::BindText(int index, std::string_view value) {
  sqlite3_bind_text64(stmt_, index, value.data(), value.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
}

void SqliteStatement::BindBlob(int index, std::string_view value) {
  sqlite3_bind_blob64(stmt_, index, value.data(), value.size(), SQLITE_TRANSIENT);
}

bool SqliteStatement::Step(const std::string& context) {
  int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  std::string message = sqlite3_errmsg(sqlite3_db_handle(stmt_));
  sqlite3_reset(stmt_);
  FailSql(context, message);
}

void SqliteStatement::Reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

std::string SqliteStatement::ColumnText(int column) const {
  const void* data = sqlite3_column_blob(stmt_, column);
  int size = sqlite3_column_bytes(stmt_, column);
  return data ? std::string(static_cast<const char*>(data), static_cast<size_t>(size)) : std::string();
}

std::string SqliteStatement::ColumnName(int column) const {
  const char* name = sqlite3_column_name(stmt_, column);
  return name ? name : "";
}

std::string QuoteIdentifier(std::string_view name) {
  std::string result = "\"";
  for (char c : name) {
    if (c == '"') result += '"';
    result += c;
  }
  return result + '"';
}

std::string QuoteLiteral(std::string_view text) {
  std::string result = "'";
  for (char c : text) {
    if (c == '\'') result += '\'';
    result += c;
  }
  return result + '\'';
}

}  // namespace velkar::db
