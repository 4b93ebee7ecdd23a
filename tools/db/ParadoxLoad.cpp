// Loading a Paradox table into the session's SQLite database through our own reader.
#include "base/Error.h"
#include "tools/db/Session.h"
#include "tools/db/Store.h"
#include "tools/db/paradox/ParadoxTable.h"

namespace velkar::db {

namespace {

ColumnType ColumnTypeOf(paradox::FieldType type) {
  using paradox::FieldType;
  switch (type) {
    case FieldType::Alpha:
    case FieldType::Memo: return ColumnType::Text;
    case FieldType::Date: return ColumnType::Date;
    case FieldType::Time: return ColumnType::Time;
    case FieldType::Timestamp: return ColumnType::Timestamp;
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc: return ColumnType::Integer;
    case FieldType::Currency:
    case FieldType::Number:
    case FieldType::Bcd: return ColumnType::Float;
    case FieldType::Logical: return ColumnType::Boolean;
    case FieldType::Blob:
    case FieldType::FormattedMemo:
    case FieldType::Ole:
    case FieldType::Graphic:
    case FieldType::Bytes: return ColumnType::Binary;
  }
  return ColumnType::Any;
}

}  // namespace

void LoadParadoxTable(const std::string& path, Session& session, TableBuilder& builder) {
  paradox::ReadOptions options;
  options.defaultCodePage = session.ParadoxCodePage();
  options.warn = [&session](const std::string& message) { session.Warn(message); };
  paradox::ParadoxTable table = paradox::ParadoxTable::Open(path, options);

  std::vector<Column> columns;
  for (const paradox::FieldDef& field : table.Header().fields)
    columns.push_back({field.name, ColumnTypeOf(field.type), field.size, 0});
  builder.Define(std::move(columns));

  SqliteStatement& row = builder.Row();
  table.ForEachRecord([&](const std::vector<paradox::Value>& values) {
    for (size_t i = 0; i < values.size(); ++i) {
      const paradox::Value& v = values[i];
      int index = static_cast<int>(i) + 1;
      switch (v.kind) {
        case paradox::Value::Kind::Null: row.BindNull(index); break;
        case paradox::Value::Kind::Text: row.BindText(index, v.text); break;
        case paradox::Value::Kind::Integer: row.BindInt(index, v.integer); break;
        case paradox::Value::Kind::Number: row.BindDouble(index, v.number); break;
        case paradox::Value::Kind::Boolean: row.BindInt(index, v.boolean ? 1 : 0); break;
        case paradox::Value::Kind::Binary: row.BindBlob(index, v.text); break;
      }
    }
    builder.AddRow();
    return true;
  });
}

}  // namespace velkar::db
