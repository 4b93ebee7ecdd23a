// Record helpers of the register readers.
#include "generate/RegisterRecords.h"

#include "base/Error.h"
#include "model/xml/XmlNode.h"
#include "tools/Money.h"
#include "tools/db/FilterExpression.h"
#include "tools/db/Table.h"

namespace velkar {

std::string DateOf(const db::TDataSet& table, const std::string& field) {
  std::string text = table.FieldByName(field).AsString();
  // "yyyy-MM-dd hh:mm:ss" of a Timestamp field: the date part is the JPK date.
  if (text.size() > 10 && (text[10] == ' ' || text[10] == 'T')) text.resize(10);
  return text;
}

namespace {

bool IsTimestampField(const db::TTable& table, const std::string& field) {
  std::vector<std::string> names = table.FieldNames();
  std::vector<db::ColumnType> types = table.FieldTypes();
  std::string folded = db::FoldFieldName(field);
  for (size_t i = 0; i < names.size() && i < types.size(); ++i)
    if (db::FoldFieldName(names[i]) == folded) return types[i] == db::ColumnType::Timestamp;
  return false;
}

}  // namespace

void OpenRegisterForMonth(db::TTable& users, db::TTable& reg, const std::string& field, const DateTime& date) {
  std::string first = FormatDate(StartOfMonth(date));
  reg.Filter = Format("(%s >= %s) and (%s <= %s)", field, first, field, FormatDate(EndOfMonth(date)));
  OpenRegister(users, reg);
  // Times of day of the last day lie after its midnight: a Timestamp field is bounded by
  // the first day of the next month instead (the filter takes effect at First()).
  if (IsTimestampField(reg, field))
    reg.Filter = Format("(%s >= %s) and (%s < %s)", field, first, field, FormatDate(StartOfMonth(IncMonth(StartOfMonth(date), 1))));
}

void WriteAmount(const xml::TXMLNode& row, const std::string& element, double value, bool force) {
  double rounded = round2(value) + 0.0;  // + 0.0: no negative zero
  if (force || rounded != 0) row.SetChildFloat(element, rounded);
}

void SetAmountPair(const xml::TXMLNode& row, const db::TDataSet& table, const std::string& netElement,
                   const std::string& netField, const std::string& taxElement, const std::string& taxField,
                   bool negate) {
  double net = round2(table.FieldByName(netField).AsFloat());
  double tax = round2(table.FieldByName(taxField).AsFloat());
  if (net == 0 && tax == 0) return;
  WriteAmount(row, netElement, negate ? -net : net, true);
  WriteAmount(row, taxElement, negate ? -tax : tax, true);
}

CloseOnExit::CloseOnExit(db::TTable& first, db::TTable& second) : first_(first), second_(second) {
  first_.Close();
  second_.Close();
}

CloseOnExit::~CloseOnExit() {
  first_.Close();
  second_.Close();
}

void LinkContractors(db::TTable& users, db::TTable& reg, const std::string& folder, const char* registerField) {
  users.DatabaseName = folder;
  users.TableName = "Users";
  users.IndexFieldNames = "Number";
  users.MasterSource = &reg;
  users.MasterFields = registerField;
}

void OpenRegister(db::TTable& users, db::TTable& reg) {
  reg.Filtered = true;
  users.Open();
  reg.Open();
}

}  // namespace velkar
