// The one-pass row scan and the row totals built on it.
#include "editor/RowScan.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "base/Error.h"
#include "model/xml/XmlErrors.h"
#include "model/xml/XmlValues.h"
#include "tools/Money.h"

namespace velkar::rowscan {

namespace {

bool SameNamespace(const xmlNode* a, const xmlNode* b) {
  if (a->ns == b->ns) return true;
  const xmlChar* ha = a->ns ? a->ns->href : nullptr;
  const xmlChar* hb = b->ns ? b->ns->href : nullptr;
  if (!ha || !hb) return (!ha || !*ha) && (!hb || !*hb);
  return xmlStrEqual(ha, hb) != 0;
}

bool Is(const xmlChar* name, const char* literal) {
  return std::strcmp(reinterpret_cast<const char*>(name), literal) == 0;
}

void Keep(const xmlNode*& slot, const xmlNode* node) {
  if (!slot) slot = node;
}

}  // namespace

const xmlNode* NextElement(const xmlNode* node) {
  for (node = node->next; node; node = node->next)
    if (node->type == XML_ELEMENT_NODE) return node;
  return nullptr;
}

const xmlNode* FirstElement(const xmlNode* node) {
  for (const xmlNode* child = node->children; child; child = child->next)
    if (child->type == XML_ELEMENT_NODE) return child;
  return nullptr;
}

bool NameIs(const xmlNode* node, std::string_view name) {
  const char* own = reinterpret_cast<const char*>(node->name);
  return own && std::strncmp(own, name.data(), name.size()) == 0 && own[name.size()] == 0;
}

const xmlNode* FindChild(const xmlNode* node, std::string_view name) {
  for (const xmlNode* child = node->children; child; child = child->next)
    if (child->type == XML_ELEMENT_NODE && NameIs(child, name) && SameNamespace(child, node)) return child;
  return nullptr;
}

void FindChildren(const xmlNode* node, std::initializer_list<std::string_view> names, const xmlNode** found) {
  size_t missing = names.size();
  for (size_t i = 0; i < names.size(); ++i) found[i] = nullptr;
  for (const xmlNode* child = node->children; child && missing > 0; child = child->next) {
    if (child->type != XML_ELEMENT_NODE || !SameNamespace(child, node)) continue;
    size_t i = 0;
    for (std::string_view name : names) {
      if (!found[i] && NameIs(child, name)) {
        found[i] = child;
        --missing;
      }
      ++i;
    }
  }
}

std::string_view Text(const xmlNode* element, std::string& scratch) {
  const xmlNode* first = element->children;
  if (!first) return {};
  if (!first->next && (first->type == XML_TEXT_NODE || first->type == XML_CDATA_SECTION_NODE))
    return first->content ? std::string_view(reinterpret_cast<const char*>(first->content)) : std::string_view();
  scratch.clear();
  for (const xmlNode* child = first; child; child = child->next)
    if ((child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE) && child->content)
      scratch += reinterpret_cast<const char*>(child->content);
  return scratch;
}

void Scan(const xmlNode* row, RowKind kind, RowFields& fields) {
  fields = RowFields{};
  for (const xmlNode* child = row->children; child; child = child->next) {
    if (child->type != XML_ELEMENT_NODE || !SameNamespace(child, row)) continue;
    const xmlChar* name = child->name;
    if (name[0] == 'K' && name[1] == '_' && name[2] >= '0' && name[2] <= '9' && name[3] >= '0' && name[3] <= '9' &&
        name[4] == 0) {
      int number = (name[2] - '0') * 10 + (name[3] - '0');
      if (number >= 10 && number <= 47) Keep(fields.k[static_cast<size_t>(number)], child);
    } else if (Is(name, "K_360")) {
      Keep(fields.k360, child);
    } else if (kind == RowKind::Sale) {
      if (Is(name, "LpSprzedazy"))
        Keep(fields.lp, child);
      else if (Is(name, "NrKontrahenta"))
        Keep(fields.nrKontrahenta, child);
      else if (Is(name, "NazwaKontrahenta"))
        Keep(fields.nazwaKontrahenta, child);
      else if (Is(name, "TypDokumentu"))
        Keep(fields.typDokumentu, child);
      else if (Is(name, "KorektaPodstawyOpodt"))
        Keep(fields.korektaPodstawyOpodt, child);
    } else {
      if (Is(name, "LpZakupu"))
        Keep(fields.lp, child);
      else if (Is(name, "DowodZakupu"))
        Keep(fields.dowodZakupu, child);
    }
  }
}

std::string DescribeField(const xmlNode* field) {
  std::string name = reinterpret_cast<const char*>(field->name);
  const xmlNode* row = field->parent;
  if (row && row->type == XML_ELEMENT_NODE) {
    const char* rowKind = NameIs(row, "SprzedazWiersz") ? "sprzedaży" : NameIs(row, "ZakupWiersz") ? "zakupu" : nullptr;
    if (rowKind) {
      // The row's place among the rows of its kind (the error path only walks back).
      int number = 1;
      for (const xmlNode* before = row->prev; before; before = before->prev)
        if (before->type == XML_ELEMENT_NODE && before->name && xmlStrEqual(before->name, row->name)) ++number;
      return Format("Wiersz %s %d, %s", rowKind, number, name);
    }
  }
  long line = xmlGetLineNo(field);
  return line > 0 ? Format("Element %s (linia %d pliku)", name, line) : "Element " + name;
}

namespace {

// TKwotowy: [+-]digits[.digits], at most 18 digits of which at most 2 after the point
// (leading zeros of the whole part and trailing zeros of the fraction do not count). More
// decimals are rounded to 2 places by the readers, so only the digits kept count.
enum class AmountForm { Ok, NotANumber, TooLong };

AmountForm CheckAmountForm(std::string_view t) {
  size_t i = 0, n = t.size();
  if (i < n && (t[i] == '+' || t[i] == '-')) ++i;
  size_t wholeStart = i;
  while (i < n && t[i] >= '0' && t[i] <= '9') ++i;
  size_t wholeEnd = i, fractionStart = i, fractionEnd = i;
  if (i < n && t[i] == '.') {
    fractionStart = ++i;
    while (i < n && t[i] >= '0' && t[i] <= '9') ++i;
    fractionEnd = i;
  }
  if (i != n || (wholeEnd == wholeStart && fractionEnd == fractionStart)) return AmountForm::NotANumber;
  while (wholeStart < wholeEnd && t[wholeStart] == '0') ++wholeStart;
  while (fractionEnd > fractionStart && t[fractionEnd - 1] == '0') --fractionEnd;
  size_t fraction = std::min<size_t>(fractionEnd - fractionStart, 2);
  return (wholeEnd - wholeStart) + fraction > 18 ? AmountForm::TooLong : AmountForm::Ok;
}

[[noreturn]] void BadNumber(const xmlNode* field, std::string_view text, const char* problem) {
  throw xml::EConvertError(DescribeField(field) + ": " + Format(problem, std::string(text)));
}

}  // namespace

double RawAmount(const xmlNode* field) {
  if (!field) return 0;
  std::string scratch;
  std::string_view text = Text(field, scratch);
  std::string_view t = xml::XmlTrim(text);
  if (t.empty()) return 0;
  switch (CheckAmountForm(t)) {
    case AmountForm::NotANumber: BadNumber(field, text, "'%s' nie jest poprawną liczbą");
    case AmountForm::TooLong:
      BadNumber(field, text, "'%s' nie mieści się w kwocie (najwyżej 18 cyfr, w tym 2 po przecinku)");
    case AmountForm::Ok: break;
  }
  if (t[0] == '+') t.remove_prefix(1);
  double value = 0;
  std::from_chars(t.data(), t.data() + t.size(), value);
  return value;
}

std::int64_t WholeNumber(const xmlNode* field, int maxDigits) {
  if (!field) return 0;
  std::string scratch;
  std::string_view text = Text(field, scratch);
  std::string_view t = xml::XmlTrim(text);
  if (t.empty()) return 0;
  size_t i = t[0] == '+' || t[0] == '-' ? 1 : 0;
  size_t digits = 0, significant = 0;
  for (size_t k = i; k < t.size(); ++k) {
    if (t[k] < '0' || t[k] > '9') BadNumber(field, text, "'%s' nie jest poprawną liczbą całkowitą");
    ++digits;
    if (significant > 0 || t[k] != '0') ++significant;
  }
  if (digits == 0) BadNumber(field, text, "'%s' nie jest poprawną liczbą całkowitą");
  if (significant > static_cast<size_t>(maxDigits) || significant > 18)
    BadNumber(field, text, Format("'%%s' jest poza zakresem (najwyżej %d cyfr)", maxDigits).c_str());
  std::int64_t value = 0;
  std::from_chars(t.data() + (t[0] == '+' ? 1 : 0), t.data() + t.size(), value);
  return value;
}

double Amount(const xmlNode* field) { return field ? round2(RawAmount(field)) : 0.0; }

void CheckAmounts(const RowFields& fields) {
  for (const xmlNode* field : fields.k)
    if (field) RawAmount(field);
  if (fields.k360) RawAmount(fields.k360);
}

bool IsFP(const RowFields& fields) {
  if (!fields.typDokumentu) return false;
  std::string scratch;
  return Text(fields.typDokumentu, scratch) == "FP";
}

namespace {

// sum := round2(sum ± K_n) for each listed field in turn (a missing field adds 0 and
// leaves the rounded sum as it is).
double Sum(const RowFields& fields, std::initializer_list<int> plus, std::initializer_list<int> minus = {}) {
  double sum = 0;
  for (int n : plus)
    if (const xmlNode* field = fields.k[static_cast<size_t>(n)]) sum = round2(sum + Amount(field));
  for (int n : minus)
    if (const xmlNode* field = fields.k[static_cast<size_t>(n)]) sum = round2(sum - Amount(field));
  return sum;
}

}  // namespace

double SaleNet(const RowFields& fields) {
  if (IsFP(fields)) return 0;
  return Sum(fields, {10, 11, 13, 15, 17, 19, 21, 22, 23, 25, 27, 29, 31});
}

double SaleTax(const RowFields& fields) {
  if (IsFP(fields)) return 0;
  double tax = Sum(fields, {16, 18, 20, 24, 26, 28, 30, 32, 33, 34}, {35, 36});
  // K_360 stands only in JPK_V7M(3) rows; it lowers the output tax as K_35 and K_36 do.
  return fields.k360 ? round2(tax - Amount(fields.k360)) : tax;
}

double PurchaseNet(const RowFields& fields) { return Sum(fields, {40, 42}); }
double PurchaseTax(const RowFields& fields) { return Sum(fields, {41, 43, 44, 45, 46, 47}); }

}  // namespace velkar::rowscan
