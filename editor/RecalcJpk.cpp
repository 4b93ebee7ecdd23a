// RecalcJPK: row numbers, contractor placeholders, purchase document numbers and the two
// control records of the register, written only where they differ.
#include <cmath>
#include <string>

#include "base/Error.h"
#include "base/Text.h"
#include "editor/JpkVatDlg.h"
#include "editor/RegisterEdit.h"
#include "editor/RowScan.h"
#include "model/xml/XmlValues.h"
#include "tools/Money.h"

namespace velkar {

namespace regedit {

bool IsWordByte(unsigned char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
}

bool MentionsBrak(std::string_view text) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  for (size_t i = 0; i + 4 <= text.size(); ++i) {
    if (lower(text[i]) != 'b' || lower(text[i + 1]) != 'r' || lower(text[i + 2]) != 'a' || lower(text[i + 3]) != 'k')
      continue;
    bool startsWord = i == 0 || !IsWordByte(static_cast<unsigned char>(text[i - 1]));
    bool endsWord = i + 4 == text.size() || !IsWordByte(static_cast<unsigned char>(text[i + 4]));
    if (startsWord && endsWord) return true;
  }
  return false;
}

void SetIfDifferent(const Editable& doc, const xmlNode* field, std::string_view value) {
  std::string scratch;
  if (rowscan::Text(field, scratch) != value) doc.Node(field).SetText(value);
}

void SetNumberIfDifferent(const Editable& doc, const xmlNode* field, std::int64_t value) {
  std::string scratch;
  std::string_view text = rowscan::Text(field, scratch);
  try {
    if (!xml::XmlTrim(text).empty() && xml::XmlStrToInt64(text) == value) return;
  } catch (const xml::EConvertError&) {
    // Not a number: it is replaced by the right one.
  }
  doc.Node(field).SetText(xml::XmlIntToStr(value));
}

void SetAmountIfDifferent(const Editable& doc, const xmlNode* field, double value) {
  std::string wanted = xml::XmlFloatToStr(value);
  std::string scratch;
  std::string_view text = rowscan::Text(field, scratch);
  try {
    if (xml::XmlFloatToStr(xml::XmlStrToFloat(text)) == wanted) return;
  } catch (const xml::EConvertError&) {
    // Not a number: it is replaced by the sum.
  }
  doc.Node(field).SetText(wanted);
}

}  // namespace regedit

namespace {

using regedit::Editable;

// LiczbaWierszy... and Podatek... of a control record, in that order.
void WriteControl(const Editable& doc, const xml::TXMLNode& ctrl, const char* countName, std::int64_t count,
                  const char* sumName, double sum) {
  // The control sum is an amount too (TKwotowy: at most 16 digits before the point); a
  // larger one would be written in exponent form, which no schema-valid file holds.
  if (!(std::fabs(sum) < 1e16))
    Fail("%s: suma %s jest poza zakresem kwoty (najwyżej 18 cyfr, w tym 2 po przecinku)", sumName,
         xml::XmlFloatToStr(sum));
  const xmlNode* countField = rowscan::FindChild(ctrl.ConstDOMNode(), countName);
  if (!countField) {
    xml::TXMLNode first = ctrl.ChildNodes().Count() > 0 ? ctrl.ChildNodes().First() : xml::TXMLNode();
    ctrl.AddChildBefore(countName, first).SetText(xml::XmlIntToStr(count));
  } else {
    regedit::SetNumberIfDifferent(doc, countField, count);
  }
  const xmlNode* sumField = rowscan::FindChild(ctrl.ConstDOMNode(), sumName);
  if (!sumField)
    ctrl.AddChild(sumName).SetText(xml::XmlFloatToStr(sum));
  else
    regedit::SetAmountIfDifferent(doc, sumField, sum);
}

}  // namespace

void TJpkVatDlg::RecalcJPK(const v7m::IXMLJPK& GJPK) {
  if (!GJPK) return;
  xml::TXMLNode ewidencja = GJPK.FindChild("Ewidencja");
  if (!ewidencja) return;
  BusyCursor busy;
  Editable doc{GJPK.OwnerDocument()};
  rowscan::RowFields fields;
  std::string scratch;

  // Sale rows: from the first SprzedazWiersz to the first element without LpSprzedazy.
  // Where a walk stops is where the next part of the register normally begins, so the
  // control records are found there without walking the rows again.
  std::int64_t saleCount = 0;
  double saleTax = 0;
  const xmlNode* firstSale = rowscan::FindChild(ewidencja.ConstDOMNode(), "SprzedazWiersz");
  const xmlNode* stop = nullptr;
  for (const xmlNode* row = firstSale; row; row = rowscan::NextElement(row)) {
    rowscan::Scan(row, rowscan::RowKind::Sale, fields);
    if (!fields.lp) {
      stop = row;
      break;
    }
    rowscan::CheckAmounts(fields);  // a wrong amount is found at opening, not at some later total
    regedit::SetNumberIfDifferent(doc, fields.lp, ++saleCount);
    for (const xmlNode* contractor : {fields.nrKontrahenta, fields.nazwaKontrahenta})
      if (contractor && regedit::MentionsBrak(rowscan::Text(contractor, scratch)))
        regedit::SetIfDifferent(doc, contractor, "BRAK");
    saleTax = round2(saleTax + rowscan::SaleTax(fields));
  }

  // SprzedazCtrl stands after the sale rows and before the purchase part.
  xml::TXMLNode sprzedazCtrl =
      stop && rowscan::NameIs(stop, "SprzedazCtrl") ? doc.Node(stop) : ewidencja.FindChild("SprzedazCtrl");
  if (!sprzedazCtrl) {
    xml::TXMLNode before = ewidencja.FindChild("ZakupWiersz");
    if (!before) before = ewidencja.FindChild("ZakupCtrl");
    sprzedazCtrl = ewidencja.AddChildBefore("SprzedazCtrl", before);
  }
  WriteControl(doc, sprzedazCtrl, "LiczbaWierszySprzedazy", saleCount, "PodatekNalezny", saleTax);

  // Purchase rows.
  std::int64_t purchaseCount = 0;
  double purchaseTax = 0;
  const xmlNode* afterCtrl = rowscan::NextElement(sprzedazCtrl.ConstDOMNode());
  const xmlNode* firstPurchase = afterCtrl && rowscan::NameIs(afterCtrl, "ZakupWiersz")
                                     ? afterCtrl
                                     : rowscan::FindChild(ewidencja.ConstDOMNode(), "ZakupWiersz");
  stop = nullptr;
  for (const xmlNode* row = firstPurchase; row; row = rowscan::NextElement(row)) {
    rowscan::Scan(row, rowscan::RowKind::Purchase, fields);
    if (!fields.lp) {
      stop = row;
      break;
    }
    rowscan::CheckAmounts(fields);
    regedit::SetNumberIfDifferent(doc, fields.lp, ++purchaseCount);
    purchaseTax = round2(purchaseTax + rowscan::PurchaseTax(fields));
    if (fields.dowodZakupu) {
      std::string_view dowod = rowscan::Text(fields.dowodZakupu, scratch);
      std::string trimmed = Trim(dowod);
      if (trimmed.size() != dowod.size()) doc.Node(fields.dowodZakupu).SetText(trimmed);
    }
    // K_46 (art. 89b ust. 1 correction of input tax) can only lower the tax.
    if (fields.k[46] && rowscan::Amount(fields.k[46]) > 0)
      Fail("Powinna być wartość ujemna.\rDokument: %s Pole %s",
           fields.dowodZakupu ? std::string(rowscan::Text(fields.dowodZakupu, scratch)) : std::string(), "K_46");
  }

  xml::TXMLNode zakupCtrl =
      stop && rowscan::NameIs(stop, "ZakupCtrl") ? doc.Node(stop) : ewidencja.FindChild("ZakupCtrl");
  if (!zakupCtrl) zakupCtrl = ewidencja.AddChild("ZakupCtrl");
  WriteControl(doc, zakupCtrl, "LiczbaWierszyZakupow", purchaseCount, "PodatekNaliczony", purchaseTax);
}

}  // namespace velkar
