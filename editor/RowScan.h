// One pass over the children of a register row that finds every field the editor reads,
// so totalling a register costs one walk of its rows (the row readers, the recalculation
// and the declaration use it). Reads libxml2 nodes directly and changes nothing.
#pragma once

#include <libxml/tree.h>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace velkar::rowscan {

// The first child element of each name the editor reads (null when missing), in the
// row's own namespace.
struct RowFields {
  const xmlNode* lp = nullptr;  // LpSprzedazy or LpZakupu
  const xmlNode* nrKontrahenta = nullptr;
  const xmlNode* nazwaKontrahenta = nullptr;
  const xmlNode* typDokumentu = nullptr;
  const xmlNode* korektaPodstawyOpodt = nullptr;
  const xmlNode* dowodZakupu = nullptr;
  std::array<const xmlNode*, 48> k{};  // K_10 ... K_47 at their numbers
  const xmlNode* k360 = nullptr;       // K_360 (JPK_V7M(3): tax on unreturned deposits)
};

enum class RowKind { Sale, Purchase };

void Scan(const xmlNode* row, RowKind kind, RowFields& fields);

// The first child element `name` of `node` in its namespace, or null.
const xmlNode* FindChild(const xmlNode* node, std::string_view name);

// The first child element of each of `names` (in `node`'s namespace), found in one walk;
// `found` has a place per name and gets null for a name that is missing.
void FindChildren(const xmlNode* node, std::initializer_list<std::string_view> names, const xmlNode** found);

// The text of an element; `scratch` holds it when it is not one text node.
std::string_view Text(const xmlNode* element, std::string& scratch);

// The next sibling that is an element, or null.
const xmlNode* NextElement(const xmlNode* node);
// The first child element, or null.
const xmlNode* FirstElement(const xmlNode* node);
bool NameIs(const xmlNode* node, std::string_view name);

// An amount field (schema type TKwotowy: a decimal number of at most 18 digits, 2 of them
// after the point; further decimals are rounded away), rounded to 2 places; 0 when
// missing or blank. Anything else ("NaN",
// "INF", "1e400", "12 500,00", too many digits) raises xml::EConvertError naming the field
// (see DescribeField).
double Amount(const xmlNode* field);
// An amount field as written (the exact decimal read as a double), checked as above.
double RawAmount(const xmlNode* field);

// A whole-number element of the file: 0 when missing or blank; a text that is not a whole
// number of at most `maxDigits` digits raises xml::EConvertError naming the element.
std::int64_t WholeNumber(const xmlNode* field, int maxDigits = 18);

// The element as the user finds it: "Wiersz sprzedaży 12, K_19" for a field of the 12th
// sale row, "Wiersz zakupu 3, K_43" for a purchase row, else "Element P_38 (linia 57
// pliku)".
std::string DescribeField(const xmlNode* field);

// Reads every amount field K_10 ... K_47 and K_360 of the row, so one that is not a JPK amount is
// reported (RawAmount's error) even where no total adds it.
void CheckAmounts(const RowFields& fields);

// Sale row is of type "FP".
bool IsFP(const RowFields& fields);
double SaleNet(const RowFields& fields);
double SaleTax(const RowFields& fields);
double PurchaseNet(const RowFields& fields);
double PurchaseTax(const RowFields& fields);

}  // namespace velkar::rowscan
