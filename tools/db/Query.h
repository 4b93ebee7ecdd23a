// TQuery: SQL over the tables of a folder, run on the session's SQLite database.
//
// A table the SQL names (details, "details", details.db) is loaded on demand from the
// query's DatabaseName folder, as a Paradox table, and seen under that name while the
// statement runs; a session table of that folder (a batch copy's target) is found first.
// Named parameters are written :Name. The result is held as a table of the session and
// walked like a table; BatchCopy copies it into a session table under a table's name.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tools/db/Field.h"
#include "tools/db/Table.h"

namespace velkar::db {

class SqliteStatement;

class Session;

// The lines of an SQL text (line 4 of a query is SQL[3]).
class SqlText {
 public:
  std::vector<std::string> Lines;
  void LoadFromFile(const std::string& fileName);  // raises a Polish error naming the file
  void SaveToFile(const std::string& fileName) const;
  std::string Text() const;
  void SetText(const std::string& text);
  void Clear() { Lines.clear(); }
  std::string& operator[](size_t index) { return Lines.at(index); }
  size_t size() const { return Lines.size(); }
  // The file last loaded, for messages ("" for text set directly).
  const std::string& Source() const { return source_; }

 private:
  std::string source_;
};

class TParam {
 public:
  std::string Name;
  void SetAsInteger(long long value) { Set(Field::OfInteger(value)); }
  void SetAsFloat(double value) { Set(Field::OfFloat(value)); }
  void SetAsString(const std::string& value) { Set(Field::OfText(value)); }
  void Clear() { Set(Field::Null()); }  // NULL
  void Set(Field value) {
    value_ = std::move(value);
    bound_ = true;
  }
  const Field& Value() const { return value_; }
  bool Bound() const { return bound_; }

 private:
  Field value_;
  bool bound_ = false;
};

// The names of the :Name parameters of an SQL text, in order of first use; text in quotes,
// brackets and comments is skipped.
std::vector<std::string> SqlParameterNames(const std::string& sql);

class TQuery : public TDataSet {
 public:
  explicit TQuery(Session* session = nullptr);
  ~TQuery() override;
  TQuery(const TQuery&) = delete;
  TQuery& operator=(const TQuery&) = delete;

  std::string DatabaseName;  // the folder of the tables the SQL names
  SqlText SQL;

  // The parameter `name` of the SQL (letter case ignored); raises when the SQL has none
  // of that name. Values are kept while the SQL changes.
  TParam& ParamByName(const std::string& name);

  // Runs the SQL (one statement giving rows) and holds its result. Raises a Polish error
  // for a missing table, a parameter without a value or an SQL error.
  void Open();
  void Close();
  bool Active() const { return result_.Active(); }
  // Runs statements that give no rows (several, separated by ";").
  void ExecSQL();

  // Runs the SQL (one statement giving rows) without keeping its result: `onColumns` gets
  // the column names, then `onRow` each row as SQLite makes it, so that an endless query
  // shows its rows and holds no memory for them. After `maxRows` rows (0: no limit), a
  // further row raises "Zapytanie X zwróciło więcej niż N wierszy..."; after `maxSeconds`
  // (0: no limit) the statement is stopped with "Zapytanie X trwało dłużej niż S s...".
  struct Limits {
    long long maxRows = 0;
    int maxSeconds = 0;
  };
  void StreamRows(const Limits& limits, const std::function<void(const std::vector<std::string>&)>& onColumns,
                  const std::function<void(const std::vector<Field>&)>& onRow);

  void First() override { result_.First(); }
  void Next() override { result_.Next(); }
  bool Eof() const override { return result_.Eof(); }
  long long RecordCount() const { return result_.RecordCount(); }
  Field FieldByName(const std::string& name) const override { return result_.FieldByName(name); }
  bool HasField(const std::string& name) const { return result_.HasField(name); }
  std::vector<std::string> FieldNames() const override { return result_.FieldNames(); }
  std::vector<ColumnType> FieldTypes() const override { return result_.FieldTypes(); }

  // Copies the whole result (opening the query if needed) into a new session table named
  // target.FullName(), replacing one of that name; `target` must be closed.
  void BatchCopy(TTable& target);

 private:
  class Run;
  std::string Describe() const;
  // Prepares the one statement of the SQL, which must give rows, and binds its parameters.
  void PrepareRows(Run& run, SqliteStatement& statement) const;

  Session* session_;
  std::map<std::string, TParam> params_;  // by folded name
  TTable result_;
  std::shared_ptr<StoredTable> resultTable_;
};

}  // namespace velkar::db
