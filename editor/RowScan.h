// One pass over the children of a register row that finds every field the editor reads,
// so totalling a register costs one walk of its rows (the row readers, the recalculation
// and the declaration use it). Reads libxml2 nodes directly and changes nothing.
#pragma once

#include <libxml/tree.h>

#include <array>
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

// An amount field: XmlStrToFloat of its text, rounded to 2 places; 0 when missing.
double Amount(const xmlNode* field);
// An amount field as written (the exact decimal read as a double); 0 when missing.
double RawAmount(const xmlNode* field);

// Sale row is of type "FP".
bool IsFP(const RowFields& fields);
double SaleNet(const RowFields& fields);
double SaleTax(const RowFields& fields);
double PurchaseNet(const RowFields& fields);
double PurchaseTax(const RowFields& fields);

}  // namespace velkar::rowscan
