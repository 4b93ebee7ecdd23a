// Amounts from source records into JPK row elements.
#include "tools/AmountElements.h"

#include "model/xml/XmlNode.h"
#include "tools/Money.h"
#include "tools/db/Table.h"

namespace velkar {

void SetAmountElement(const xml::TXMLNode& row, const db::TDataSet& table, const std::string& element,
                      const std::string& field, bool negate, bool force) {
  double value = round2(table.FieldByName(field).AsFloat());
  if (negate && value != 0) value = -value;
  if (force || value != 0) row.SetChildFloat(element, value + 0.0);  // + 0.0: no negative zero
}

void SetNetTaxElements(const xml::TXMLNode& row, const db::TDataSet& table, const std::string& netElement,
                       const std::string& netField, const std::string& taxElement, const std::string& taxField,
                       bool negate) {
  double tax = round2(table.FieldByName(taxField).AsFloat());
  SetAmountElement(row, table, netElement, netField, negate, tax != 0);
  SetAmountElement(row, table, taxElement, taxField, negate, false);
}

}  // namespace velkar
