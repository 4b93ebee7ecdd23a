// Readers of JPK_V7M(2) register rows and declaration positions that never create what
// they look for, and the totals of one register row. The editor totals its register with
// them; the exchange writers read rows with them too.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/xml/XmlNode.h"

namespace velkar {

// The text of the child element `name` of `node`; "" when there is no such child.
std::string ChildText(const xml::TXMLNode& node, std::string_view name);

// The child's text as an amount ("." as decimal point), rounded half away from zero to
// 2 places; 0 when the child is missing. A text that is not a number raises
// xml::EConvertError.
double ChildAmount(const xml::TXMLNode& node, std::string_view name);

// Declaration positions are whole złoty of at most 14 digits (the schema's totalDigits).
inline constexpr int kPositionDigits = 14;
inline constexpr std::int64_t kPositionLimit = 99999999999999;

// The whole-number value of the declaration position named like `name` with its first
// character replaced by "P" ("K_16" reads "P_16"); 0 when it is missing or empty. A text
// that is not a whole number of at most 14 digits raises xml::EConvertError naming the
// element and its line.
std::int64_t PositionValue(const xml::TXMLNode& positions, std::string_view name);

// Totals of one row (each partial sum rounded half away from zero to 2 places). A sale
// row of type "FP" (an invoice for a receipt sale already reported) counts nothing.
// Net of a sale: K_10 + K_11 + K_13 + K_15 + K_17 + K_19 + K_21 + K_22 + K_23 + K_25 +
// K_27 + K_29 + K_31 (K_12 and K_14 are parts of K_11 and K_13).
double SaleNetOfRow(const xml::TXMLNode& row);
// Output tax: K_16 + K_18 + K_20 + K_24 + K_26 + K_28 + K_30 + K_32 + K_33 + K_34 − K_35 − K_36
// (− K_360 in a JPK_V7M(3) row).
double SaleTaxOfRow(const xml::TXMLNode& row);
// Purchase net: K_40 + K_42.
double PurchaseNetOfRow(const xml::TXMLNode& row);
// Input tax: K_41 + K_43 + K_44 + K_45 + K_46 + K_47.
double PurchaseTaxOfRow(const xml::TXMLNode& row);

}  // namespace velkar
