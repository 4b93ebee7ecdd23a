// Writers of amounts from the current record of a source table into the elements of a
// JPK row (K_10 ... K_43 of JPK_V7M, P_13_x / P_14_x of JPK_FA).
#pragma once

#include <string>

namespace velkar {

namespace db {
class TDataSet;
}
namespace xml {
class TXMLNode;
}

// V := round2 of `field` read as a number, negated when `negate`. When `force` is set or
// V is not 0, the child `element` of `row` gets V (created after the existing children
// when absent). Negating 0 gives 0, never "-0".
void SetAmountElement(const xml::TXMLNode& row, const db::TDataSet& table, const std::string& element,
                      const std::string& field, bool negate, bool force);

// A net amount and its tax: the net element is written when the net or the rounded tax
// is not 0, the tax element only when the tax is not 0; the net always comes first.
void SetNetTaxElements(const xml::TXMLNode& row, const db::TDataSet& table, const std::string& netElement,
                       const std::string& netField, const std::string& taxElement, const std::string& taxField,
                       bool negate);

}  // namespace velkar
