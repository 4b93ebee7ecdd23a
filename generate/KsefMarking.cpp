// KSeF numbers and markers of generated register rows.
#include "generate/KsefMarking.h"

#include "base/Text.h"
#include "ksef/Ksef.h"
#include "tools/db/FilterExpression.h"
#include "tools/db/Table.h"

namespace velkar {

namespace {

constexpr const char* kNumberField = "NrKSeF";

// The name of the table's text field "NrKSeF" as the table spells it; "" when it has none.
std::string NumberFieldOf(const db::TTable& reg) {
  std::vector<std::string> names = reg.FieldNames();
  std::vector<db::ColumnType> types = reg.FieldTypes();
  const std::string wanted = db::FoldFieldName(kNumberField);
  for (std::size_t i = 0; i < names.size() && i < types.size(); ++i)
    if (db::FoldFieldName(names[i]) == wanted && types[i] == db::ColumnType::Text) return names[i];
  return {};
}

}  // namespace

KsefRowMarking::KsefRowMarking(const v7m::IXMLJPK& document, const db::TTable& reg) : reg_(reg) {
  active_ = v7m::StructureOfJpkV7(document) == v7m::V7Structure::V3;
  if (active_) field_ = NumberFieldOf(reg);
}

std::string KsefRowMarking::NumberOfRecord() const {
  return field_.empty() ? std::string() : Trim(reg_.FieldByName(field_).AsString());
}

void KsefRowMarking::Sale(const v7m::IXMLJPK_Ewidencja_SprzedazWiersz& row, const std::string& typDokumentu,
                          const std::string& dowod) const {
  if (!active_) return;
  std::string number = NumberOfRecord();
  if (!number.empty())
    SetRowKsef(row, KsefMarker::NrKSeF, CheckKsefNumber(number, dowod));
  else
    SetRowKsef(row, SaleRowMarker(typDokumentu));
}

void KsefRowMarking::Purchase(const v7m::IXMLJPK_Ewidencja_ZakupWiersz& row, const std::string& dokumentZakupu,
                              bool imp, const std::string& dowod) const {
  if (!active_) return;
  std::string number = NumberOfRecord();
  if (!number.empty())
    SetRowKsef(row, KsefMarker::NrKSeF, CheckKsefNumber(number, dowod));
  else
    SetRowKsef(row, PurchaseRowMarker(dokumentZakupu, imp));
}

}  // namespace velkar
