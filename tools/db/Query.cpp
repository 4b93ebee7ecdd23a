// TQuery: preparing SQL with on-demand tables, parameters, results and batch copy.
#include "tools/db/Query.h"

#include <chrono>
#include <set>

#include "base/Error.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "tools/db/FilterExpression.h"
#include "tools/db/Session.h"

namespace velkar::db {

// --- SqlText

void SqlText::LoadFromFile(const std::string& fileName) {
  std::string text = ReadWholeFile(NativePath(fileName));
  if (StartsWith(text, "\xEF\xBB\xBF")) text.erase(0, 3);
  Lines = SplitLines(text);
  source_ = fileName;
}

void SqlText::SaveToFile(const std::string& fileName) const { WriteFileAtomically(NativePath(fileName), Text()); }

std::string SqlText::Text() const {
  std::string text;
  for (const std::string& line : Lines) text += line + "\n";
  return text;
}

void SqlText::SetText(const std::string& text) {
  Lines = SplitLines(text);
  source_.clear();
}

// --- parameters

std::vector<std::string> SqlParameterNames(const std::string& sql) {
  std::vector<std::string> names;
  std::set<std::string> seen;
  auto isNameChar = [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
  };
  size_t i = 0;
  while (i < sql.size()) {
    char c = sql[i];
    if (c == '\'' || c == '"' || c == '`' || c == '[') {
      char close = c == '[' ? ']' : c;
      size_t end = sql.find(close, i + 1);
      i = end == std::string::npos ? sql.size() : end + 1;  // a doubled quote reopens: same effect
    } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      size_t end = sql.find('\n', i);
      i = end == std::string::npos ? sql.size() : end + 1;
    } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
      size_t end = sql.find("*/", i + 2);
      i = end == std::string::npos ? sql.size() : end + 2;
    } else if (c == ':' && i + 1 < sql.size() && isNameChar(sql[i + 1]) && !(sql[i + 1] >= '0' && sql[i + 1] <= '9')) {
      size_t start = ++i;
      while (i < sql.size() && isNameChar(sql[i])) ++i;
      std::string name = sql.substr(start, i - start);
      if (seen.insert(FoldFieldName(name)).second) names.push_back(name);
    } else {
      ++i;
    }
  }
  return names;
}

// --- one run of the SQL text: its statements, the tables they name, the parameters

class TQuery::Run {
 public:
  explicit Run(TQuery& query) : query_(query), store_(query.session_->Tables()) {}
  ~Run() {
    if (views_.empty()) return;
    store_.ParkStatements();
    for (const std::string& view : views_) {
      std::string sql = "DROP VIEW IF EXISTS temp." + QuoteIdentifier(view);
      sqlite3_exec(store_.Db().Handle(), sql.c_str(), nullptr, nullptr, nullptr);
    }
  }
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  // Prepares the next statement of `sql` (which then holds the rest); false when only
  // blanks and comments are left.
  bool Prepare(std::string_view& sql, SqliteStatement& statement) {
    std::set<std::string> loaded;
    for (;;) {
      std::string_view tail;
      if (statement.TryPrepare(store_.Db(), sql, &tail) == SQLITE_OK) {
        sql = tail;
        return statement.Valid();
      }
      std::string message = store_.Db().LastError();
      const std::string missing = "no such table: ";
      if (!StartsWith(message, missing) || !loaded.insert(FoldFieldName(message.substr(missing.size()))).second)
        FailSql("Błąd w zapytaniu " + query_.Describe(), message);
      LoadTable(message.substr(missing.size()));
    }
  }

  void Bind(SqliteStatement& statement) {
    sqlite3_stmt* handle = statement.Handle();
    for (int i = 1; i <= sqlite3_bind_parameter_count(handle); ++i) {
      const char* raw = sqlite3_bind_parameter_name(handle, i);
      if (!raw) Fail("Zapytanie %s: parametry bez nazwy (?) nie są obsługiwane, potrzebne :Nazwa", query_.Describe());
      std::string name = raw + 1;
      auto it = query_.params_.find(FoldFieldName(name));
      if (it == query_.params_.end() || !it->second.Bound())
        Fail("Brak wartości parametru %s zapytania %s", name, query_.Describe());
      const Field& value = it->second.Value();
      switch (value.GetKind()) {
        case Field::Kind::Null: statement.BindNull(i); break;
        case Field::Kind::Integer:
        case Field::Kind::Boolean: statement.BindInt(i, value.AsInteger()); break;
        case Field::Kind::Float: statement.BindDouble(i, value.AsFloat()); break;
        case Field::Kind::Text: statement.BindText(i, value.AsString()); break;
        case Field::Kind::Binary: statement.BindBlob(i, value.AsString()); break;
      }
    }
  }

 private:
  void LoadTable(const std::string& name) {
    std::string folder = query_.DatabaseName.empty() ? std::string()
                                                     : IncludeTrailingPathDelimiter(NativePath(query_.DatabaseName));
    std::shared_ptr<StoredTable> table = store_.OpenTable(folder + name);
    used_.push_back(table);
    store_.ParkStatements();
    store_.Db().Exec("CREATE TEMP VIEW " + QuoteIdentifier(name) + " AS SELECT * FROM main." +
                         QuoteIdentifier(table->sqlName),
                     "Zapytanie " + query_.Describe());
    views_.push_back(name);
  }

  TQuery& query_;
  Store& store_;
  std::vector<std::string> views_;
  std::vector<std::shared_ptr<StoredTable>> used_;
};

// --- TQuery

void TQuery::PrepareRows(Run& run, SqliteStatement& statement) const {
  std::string text = SQL.Text();
  std::string_view rest = text;
  if (!run.Prepare(rest, statement)) Fail("Zapytanie %s nie zawiera polecenia SQL", Describe());
  {
    SqliteStatement next;
    if (run.Prepare(rest, next))
      Fail("Zapytanie %s zawiera więcej niż jedno polecenie (do kilku poleceń służy ExecSQL)", Describe());
  }
  if (statement.ColumnCount() == 0)
    Fail("Zapytanie %s nie zwraca wierszy (do takich poleceń służy ExecSQL)", Describe());
  run.Bind(statement);
}

TQuery::TQuery(Session* session) : session_(session ? session : &DefaultSession()), result_(session_) {}

TQuery::~TQuery() { Close(); }

std::string TQuery::Describe() const { return SQL.Source().empty() ? "SQL" : SQL.Source(); }

TParam& TQuery::ParamByName(const std::string& name) {
  std::string key = FoldFieldName(name);
  for (const std::string& present : SqlParameterNames(SQL.Text())) {
    if (FoldFieldName(present) != key) continue;
    TParam& param = params_[key];
    param.Name = present;
    return param;
  }
  Fail("Zapytanie %s nie ma parametru %s", Describe(), name);
}

void TQuery::Open() {
  Close();
  Store& store = session_->Tables();
  Run run(*this);
  SqliteStatement statement;
  PrepareRows(run, statement);
  int count = statement.ColumnCount();

  std::vector<Column> columns;
  for (int i = 0; i < count; ++i)
    columns.push_back({statement.ColumnName(i), TypeFromDeclared(sqlite3_column_decltype(statement.Handle(), i)), 0, 0});
  TableBuilder builder(store, "wynik zapytania " + Describe(), false);
  builder.Define(std::move(columns));
  sqlite3_stmt* insert = builder.Row().Handle();
  std::string context = "Zapytanie " + Describe();
  while (statement.Step(context)) {
    for (int i = 0; i < count; ++i) sqlite3_bind_value(insert, i + 1, sqlite3_column_value(statement.Handle(), i));
    builder.AddRow();
  }
  statement = SqliteStatement();
  resultTable_ = builder.Finish();
  result_.OpenStored(resultTable_, "wyniku zapytania " + Describe());
}

namespace {

// Stops the statement running on `db` once its time is up: SQLite calls back every few
// thousand steps, a non-zero answer interrupts it.
class Deadline {
 public:
  Deadline(sqlite3* db, int seconds) : db_(db) {
    if (seconds <= 0) return;
    end_ = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    sqlite3_progress_handler(db_, 10000, &Deadline::Check, this);
  }
  ~Deadline() { sqlite3_progress_handler(db_, 0, nullptr, nullptr); }
  Deadline(const Deadline&) = delete;
  Deadline& operator=(const Deadline&) = delete;
  bool Passed() const { return passed_; }

 private:
  static int Check(void* self) {
    auto* deadline = static_cast<Deadline*>(self);
    deadline->passed_ = std::chrono::steady_clock::now() >= deadline->end_;
    return deadline->passed_ ? 1 : 0;
  }

  sqlite3* db_;
  std::chrono::steady_clock::time_point end_;
  bool passed_ = false;
};

}  // namespace

void TQuery::StreamRows(const Limits& limits, const std::function<void(const std::vector<std::string>&)>& onColumns,
                        const std::function<void(const std::vector<Field>&)>& onRow) {
  Close();
  Store& store = session_->Tables();
  Run run(*this);
  SqliteStatement statement;
  PrepareRows(run, statement);
  int count = statement.ColumnCount();

  // The columns as a result table would have them, so that values read the same way.
  StoredTable shape;
  shape.fullName = "wynik zapytania " + Describe();
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    names.push_back(statement.ColumnName(i));
    shape.columns.push_back({names.back(), TypeFromDeclared(sqlite3_column_decltype(statement.Handle(), i)), 0, 0});
  }
  onColumns(names);
  std::vector<Field> row(static_cast<size_t>(count));
  std::string context = "Zapytanie " + Describe();
  Deadline deadline(store.Db().Handle(), limits.maxSeconds);
  long long rows = 0;
  for (;;) {
    bool more = false;
    try {
      more = statement.Step(context);
    } catch (const Error&) {
      if (deadline.Passed())
        Fail("Zapytanie %s trwało dłużej niż %d s i zostało przerwane (opcja --timeout)", Describe(), limits.maxSeconds);
      throw;
    }
    if (!more) break;
    if (limits.maxRows > 0 && rows == limits.maxRows)
      Fail("Zapytanie %s zwróciło więcej niż %lld wierszy; wypisano pierwsze %lld (opcja --limit)", Describe(),
           limits.maxRows, limits.maxRows);
    for (int i = 0; i < count; ++i) row[static_cast<size_t>(i)] = shape.ReadField(statement, i, i);
    onRow(row);
    ++rows;
  }
}

void TQuery::Close() {
  result_.Close();
  if (resultTable_) session_->Tables().Retire(std::move(resultTable_));
  resultTable_.reset();
}

void TQuery::ExecSQL() {
  Run run(*this);
  std::string text = SQL.Text();
  std::string_view rest = text;
  std::string context = "Zapytanie " + Describe();
  bool any = false;
  for (;;) {
    SqliteStatement statement;
    if (!run.Prepare(rest, statement)) break;
    any = true;
    run.Bind(statement);
    while (statement.Step(context)) {
    }
  }
  if (!any) Fail("Zapytanie %s nie zawiera polecenia SQL", Describe());
}

void TQuery::BatchCopy(TTable& target) {
  if (!Active()) Open();
  if (target.Active()) Fail("Tabela %s musi być zamknięta przed skopiowaniem do niej wyniku zapytania", target.FullName());
  Store& store = session_->Tables();
  TableBuilder builder(store, target.FullName(), false);
  builder.Define(resultTable_->columns);
  store.Db().Exec("INSERT INTO " + QuoteIdentifier(builder.SqlName()) + " SELECT * FROM " +
                      QuoteIdentifier(resultTable_->sqlName) + " ORDER BY " + resultTable_->rowidName,
                  "Kopiowanie wyniku zapytania " + Describe() + " do tabeli " + target.FullName());
  store.AddSessionTable(target.FullName(), builder.Finish());
}

}  // namespace velkar::db
