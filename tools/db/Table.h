// TTable: a table of the session walked record by record, in the desktop-engine manner the
// program's readers are written in: name, index order, filter and master-detail link are
// set, the table is opened, then First / Next / Eof and FieldByName.
//
// The table is loaded into the session's SQLite database (see Store); its order, filter
// and link become indexed SQL, so moving the master re-queries the detail through an
// index instead of scanning it. Changing IndexFieldNames, Filter, Filtered, MasterSource
// or MasterFields of an open table takes effect at the next call, on its first record.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "tools/db/Field.h"
#include "tools/db/Sqlite.h"
#include "tools/db/Store.h"

namespace velkar::db {

class Session;
class TQuery;

// What the CSV export and other generic readers walk: a table or a query's result.
class TDataSet {
 public:
  virtual ~TDataSet() = default;
  virtual void First() = 0;
  virtual void Next() = 0;
  virtual bool Eof() const = 0;
  virtual Field FieldByName(const std::string& name) const = 0;
  virtual std::vector<std::string> FieldNames() const = 0;
  virtual std::vector<ColumnType> FieldTypes() const = 0;
};

class TTable : public TDataSet, private StatementHolder {
 public:
  explicit TTable(Session* session = nullptr);
  ~TTable() override;
  TTable(const TTable&) = delete;
  TTable& operator=(const TTable&) = delete;

  std::string DatabaseName;     // folder, ends with a separator
  std::string TableName;        // no extension = Paradox "<name>.db"; "x.dbf" = dBASE
  std::string IndexFieldNames;  // "Number" or "A;B": record order, master-detail key, FindKey key
  std::string Filter;
  bool Filtered = false;
  TTable* MasterSource = nullptr;  // detail positioned on records whose index fields equal
  std::string MasterFields;        // the master's current values of these fields ("A;B")

  // Opens the table; raises a Polish error for a missing table, an unknown index field, a
  // filter that cannot be parsed or a link without index fields.
  void Open();
  void Close();
  bool Active() const { return table_ != nullptr; }

  void First() override;
  void Next() override;
  // True with no record, and after Next() on the last one (which stays current).
  bool Eof() const override;
  long long RecordCount() const;

  // The current record's field; NULL when there is no record. An unknown field raises a
  // Polish error naming the field and the table.
  Field FieldByName(const std::string& name) const override;
  bool HasField(const std::string& name) const;
  std::vector<std::string> FieldNames() const override;
  std::vector<ColumnType> FieldTypes() const override;

  // Moves to the first record whose index fields (IndexFieldNames, else the primary
  // index) equal `keyValues` (the leading ones, as text); false leaves the record as it was.
  bool FindKey(const std::vector<std::string>& keyValues);

  std::string FullName() const;

  // Changing records: only tables of the session (a batch copy's target); the source
  // tables are read-only. Post() stores the edited values in the current record.
  void Edit();
  void SetAsString(const std::string& name, const std::string& value);
  void SetAsInteger(const std::string& name, long long value);
  void SetAsFloat(const std::string& name, double value);
  void Post();
  void Cancel();

  // Gives a session table the primary index on `fields` ("A;B"): its own order becomes the
  // index order and FindKey searches it. Raises when the records repeat a key.
  void AddPrimaryIndex(const std::string& fields);

 private:
  friend class TQuery;
  void OpenStored(std::shared_ptr<StoredTable> table, std::string description);
  void ParkStatements() override;
  Store& GetStore() const;
  std::string Describe() const;
  int ColumnOf(const std::string& name) const;
  std::vector<int> ColumnsOf(const std::string& list) const;
  void Sync() const;
  void Plan() const;
  void Requery() const;
  void BindLink(SqliteStatement& statement) const;
  bool EnsureFetched() const;
  void SetValue(const std::string& name, Field value);
  void PostIfEditing();

  Session* session_;
  std::shared_ptr<StoredTable> table_;
  std::string description_;  // "tabeli X" or "wyniku zapytania Y", for messages

  // The settings the current record set was made with.
  mutable std::string appliedIndex_, appliedFilter_, appliedMasterFields_;
  mutable bool appliedFiltered_ = false;
  mutable TTable* appliedMaster_ = nullptr;

  mutable std::vector<int> orderColumns_;
  mutable std::vector<std::string> masterFieldNames_;
  mutable std::string whereSql_;
  mutable std::string orderSql_;
  mutable SqliteStatement rowidQuery_;
  mutable SqliteStatement fetch_;
  mutable std::vector<SqliteStatement> findQueries_;  // by number of key values
  mutable std::vector<Field> linkValues_;
  mutable bool linkEmpty_ = false;

  mutable std::vector<std::int64_t> rowids_;
  mutable size_t pos_ = 0;
  mutable bool eof_ = true;
  mutable std::int64_t fetched_ = -1;
  mutable std::unordered_map<std::int64_t, size_t> positions_;
  mutable std::uint64_t moveStamp_ = 0;
  mutable std::uint64_t seenMasterStamp_ = 0;
  mutable bool syncing_ = false;

  bool editing_ = false;
  std::vector<std::pair<int, Field>> edits_;
};

}  // namespace velkar::db
