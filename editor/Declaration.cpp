// The VAT-7 part of a JPK_V7M file (VAT-7(22) in JPK_V7M(2), VAT-7(23) in JPK_V7M(3)): rebuilt from the register rows
// and the position edits ("Przelicz deklarację"), or removed ("Usuń deklarację").
#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/Error.h"
#include "base/Text.h"
#include "model/xml/XmlErrors.h"
#include "editor/JpkVatDlg.h"
#include "editor/RowReaders.h"
#include "editor/RowScan.h"
#include "jpkfiles/JpkHeaders.h"
#include "jpkfiles/JpkLoadSave.h"
#include "jpkfiles/NodeCopy.h"
#include "model/xml/XmlValues.h"
#include "tools/Money.h"
#include "tools/NumberInput.h"

namespace velkar {

namespace {

// Declaration positions P_10 ... P_69 by number, and the three-digit ones the editor
// writes: P_360 (JPK_V7M(3)), P_540 and P_560 (refund terms). P_660 is never written.
struct Positions {
  std::array<std::optional<std::int64_t>, 70> p;
  std::optional<std::int64_t> p360, p540, p560;
  std::optional<std::string> p61;
  std::optional<std::string> ordzu;

  const std::optional<std::int64_t>& Slot(int n) const {
    switch (n) {
      case 360:
        return p360;
      case 540:
        return p540;
      case 560:
        return p560;
      default:
        return p[static_cast<size_t>(n)];
    }
  }
  std::optional<std::int64_t>& Slot(int n) {
    return const_cast<std::optional<std::int64_t>&>(std::as_const(*this).Slot(n));
  }
  std::int64_t operator[](int n) const { return Slot(n).value_or(0); }
  void Set(int n, std::int64_t value) { Slot(n) = value; }
  std::int64_t Sum(std::initializer_list<int> plus, std::initializer_list<int> minus = {}) const {
    std::int64_t sum = 0;
    for (int n : plus) sum += (*this)[n];
    for (int n : minus) sum -= (*this)[n];
    return sum;
  }

  // Element name and text, in the order of PozycjeSzczegolowe of both schemas (P_360 is set
  // only for JPK_V7M(3), P_57 only for JPK_V7M(2)).
  std::vector<std::pair<std::string, std::string>> InSchemaOrder() const {
    std::vector<std::pair<std::string, std::string>> out;
    auto number = [&](int n) {
      if (const std::optional<std::int64_t>& value = Slot(n))
        out.emplace_back("P_" + std::to_string(n), xml::XmlIntToStr(*value));
    };
    for (int n = 10; n <= 36; ++n) number(n);
    number(360);
    for (int n = 37; n <= 54; ++n) number(n);
    for (int n : {540, 55, 56, 560, 57, 58, 59, 60}) number(n);
    if (p61) out.emplace_back("P_61", *p61);
    for (int n = 62; n <= 69; ++n) number(n);
    if (ordzu) out.emplace_back("P_ORDZU", *ordzu);
    return out;
  }
};

// The position a register total gives, whole złoty with halves away from zero; a total
// the declaration cannot hold (more than 14 digits) is refused, never wrapped.
std::int64_t PositionOfTotal(int k, double total) {
  return CheckedWhole(RoundHalfAway(total, 0), Format("Pozycja P_%d (najwyżej 14 cyfr)", k),
                      static_cast<double>(kPositionLimit) + 1);
}

// What the register rows give the declaration.
struct RegisterSums {
  std::array<double, 48> total{};
  std::array<bool, 48> found{};
  double k360 = 0;  // K_360 of the sale rows (JPK_V7M(3))
  bool k360Found = false;
  double correctionBase = 0;
  double correctionTax = 0;
};

// Sums K_10 ... K_36 and K_360 of the sale rows (rows of type FP skipped) and K_40 ... K_47 of the
// purchase rows, in one walk of the register. A sale row marked KorektaPodstawyOpodt
// (art. 89a ust. 1 correction) may only carry amounts of 0 or below; the first offending
// row of the lowest position is reported, as a walk position by position would.
RegisterSums SumRegister(const xml::TXMLNode& ewidencja) {
  RegisterSums sums;
  if (!ewidencja) return sums;
  std::array<const xmlNode*, 48> offending{};
  rowscan::RowFields fields;
  for (const xmlNode* row = rowscan::FirstElement(ewidencja.ConstDOMNode()); row; row = rowscan::NextElement(row)) {
    bool sale = rowscan::NameIs(row, "SprzedazWiersz");
    if (!sale && !rowscan::NameIs(row, "ZakupWiersz")) continue;
    rowscan::Scan(row, sale ? rowscan::RowKind::Sale : rowscan::RowKind::Purchase, fields);
    if (sale && rowscan::IsFP(fields)) continue;
    if (fields.k360) {
      sums.k360 += rowscan::RawAmount(fields.k360);
      sums.k360Found = true;
    }
    int from = sale ? 10 : 40, to = sale ? 36 : 47;
    for (int k = from; k <= to; ++k) {
      const xmlNode* field = fields.k[static_cast<size_t>(k)];
      if (!field) continue;
      double value = rowscan::RawAmount(field);
      sums.found[static_cast<size_t>(k)] = true;
      sums.total[static_cast<size_t>(k)] += value;
      if (!sale || !fields.korektaPodstawyOpodt) continue;
      if (value > 0) {
        if (!offending[static_cast<size_t>(k)]) offending[static_cast<size_t>(k)] = row;
      } else if (k == 15 || k == 17 || k == 19) {
        sums.correctionBase += value;
      } else if (k == 16 || k == 18 || k == 20) {
        sums.correctionTax += value;
      }
    }
  }
  for (const xmlNode* row : offending) {
    if (!row) continue;
    rowscan::Scan(row, rowscan::RowKind::Sale, fields);
    std::string scratch;
    std::string lp = fields.lp ? std::string(rowscan::Text(fields.lp, scratch)) : std::string();
    Fail("KorektaPodstawyOpodt: Powinna być wartość ujemna.\rPozycja: %s", lp);
  }
  return sums;
}

// The child `name` of `parent`, created before the first of `followers` that exists
// (appended when none does), so the children keep the schema's order.
xml::TXMLNode EnsureChild(const xml::TXMLNode& parent, const char* name, std::initializer_list<const char*> followers) {
  if (xml::TXMLNode child = parent.FindChild(name)) return child;
  for (const char* follower : followers)
    if (xml::TXMLNode before = parent.FindChild(follower)) return parent.AddChildBefore(name, before);
  return parent.AddChild(name);
}

}  // namespace

std::optional<std::int64_t> TJpkVatDlg::EditValue(TLabeledEdit& edit, const char* position) {
  if (Trim(edit.Text).empty()) return std::nullopt;
  try {
    return ParseWholeInput(edit.Text, kPositionDigits);
  } catch (const Error& error) {
    ActiveControl = &edit;
    throw xml::EConvertError(Format("Pole %s: %s", position, error.what()));
  }
}

bool TJpkVatDlg::RefuseDeclaration(const std::string& message, TEdit& edit) {
  ActiveControl = &edit;
  ShowWarning(message);
  edit.BackColor = Color::Red;
  Ui().WindowChanged(*this);
  Ui().PauseWithRepaint(500);
  edit.BackColor = Color::Window;
  Ui().WindowChanged(*this);
  return false;
}

bool TJpkVatDlg::btnRecalcDeclarationClick() {
  if (!LoadedJpk) return false;

  // 1. A refund needs its amount and its term; an offset (P_59) is part of a refund and
  // needs its amount (P_60 > 0) and the kind of liability (P_61), or the schema rejects
  // the file.
  const bool v3 = LoadedStructure() == v7m::V7Structure::V3;
  const std::vector<std::pair<TRadioButton*, int>> terms = OfferedZwrotTerms();
  bool chosen = false;
  for (auto [term, position] : terms) chosen = chosen || term->Checked;
  if (chosen && edP54.Text.empty())
    return RefuseDeclaration("Nie wpisano kwoty do zwrotu (P_54)\ra wybrano w jakiej formie go dokonać.", edP54);
  if (!chosen && !edP54.Text.empty())
    return RefuseDeclaration("Wpisano kwotę do zwrotu (P_54) ale nie wybrano\rw jakiej formie go dokonać.", edP54);
  if (cbP59.Checked) {
    if (edP54.Text.empty())
      return RefuseDeclaration("Zaznaczono zaliczenie zwrotu (P_59) ale nie wpisano\rkwoty do zwrotu (P_54).", edP54);
    if (edP60.Text.empty())
      return RefuseDeclaration(
          "Zaznaczono zaliczenie zwrotu (P_59) ale nie wpisano\rkwoty na poczet przyszłych zobowiązań (P_60).", edP60);
    if (Trim(edP61.Text).empty())
      return RefuseDeclaration("Zaznaczono zaliczenie zwrotu (P_59) ale nie wpisano\rrodzaju zobowiązania (P_61).",
                               edP61);
  }

  // Everything is read and checked before the document changes, so an error leaves the
  // declaration as it was.
  ActiveControl = nullptr;
  std::optional<std::int64_t> p39 = EditValue(edP39, "P_39"), p49 = EditValue(edP49, "P_49"),
                              p50 = EditValue(edP50, "P_50"), p52 = EditValue(edP52, "P_52"),
                              p54 = EditValue(edP54, "P_54");
  std::int64_t p60 = cbP59.Checked ? EditValue(edP60, "P_60").value_or(0) : 0;
  if (cbP59.Checked && p60 <= 0)
    return RefuseDeclaration("Kwota na poczet przyszłych zobowiązań (P_60)\rmusi być większa od zera.", edP60);
  RegisterSums sums = SumRegister(LoadedJpk.FindChild("Ewidencja"));

  Positions P;
  // 4. Sale positions, whole złoty, halves away from zero.
  for (int k = 10; k <= 36; ++k)
    if (sums.found[static_cast<size_t>(k)]) P.Set(k, PositionOfTotal(k, sums.total[static_cast<size_t>(k)]));
  // JPK_V7M(3): the tax on deposits not returned, a position that cannot be negative.
  if (v3 && sums.k360Found) {
    P.Set(360, PositionOfTotal(360, sums.k360));
    if (P[360] < 0)
      Fail("Pozycja P_360: suma K_360 wierszy sprzedaży (%s) jest ujemna, a pozycja nie może być ujemna",
           xml::XmlFloatToStr(round2(sums.k360)));
  }
  // 5., 6. Tax base and output tax (less P_360, which only JPK_V7M(3) has).
  P.Set(37, P.Sum({10, 11, 13, 15, 17, 19, 21, 22, 23, 25, 27, 29, 31}));
  P.Set(38, P.Sum({16, 18, 20, 24, 26, 28, 30, 32, 33, 34}, {35, 36, 360}));
  // 7. Excess carried from the previous declaration.
  if (p39) P.Set(39, *p39);
  // 8. Purchase positions: whole złoty with 50 grosz and more rounded up (Ordynacja
  // podatkowa, art. 63 § 1), as every other position.
  for (int k = 40; k <= 47; ++k)
    if (sums.found[static_cast<size_t>(k)]) P.Set(k, PositionOfTotal(k, sums.total[static_cast<size_t>(k)]));
  // 9. Input tax.
  P.Set(48, P.Sum({39, 41, 43, 44, 45, 46, 47}));
  // 10., 11. Deductions cannot exceed the tax left to pay.
  std::int64_t rest = P[38] - P[48];
  // The edits show a lowered value only once the declaration is written.
  std::vector<std::pair<TLabeledEdit*, std::optional<std::int64_t>>> lowered;
  auto deduct = [&rest, &P, &lowered](TLabeledEdit& edit, const std::optional<std::int64_t>& typed, int position) {
    lowered.emplace_back(&edit, std::nullopt);
    if (!typed) return;
    std::int64_t value = *typed;
    if (rest < value) {
      value = rest < 0 ? 0 : rest;
      lowered.back().second = value;
    }
    P.Set(position, value);
    rest -= value;
  };
  deduct(edP49, p49, 49);
  deduct(edP50, p50, 50);
  // 12. Cash registers refunded.
  if (p52) P.Set(52, *p52);
  // 13. Tax to pay, or the excess of input tax.
  if (P[38] - P[48] < 1) {
    P.Set(51, 0);
    P.Set(53, P[48] + P[52] - P[38]);
  } else {
    P.Set(51, rest);
    P.Set(53, 0);
  }
  // 14. Refund and its term. A refund above the excess of input tax is a wrong return.
  if (p54 && *p54 > P[53])
    return RefuseDeclaration(
        "Kwota do zwrotu (P_54) przekracza nadwyżkę podatku naliczonego nad należnym (P_53).", edP54);
  if (p54) {
    P.Set(54, *p54);
    for (auto [term, position] : terms)
      if (term->Checked) {
        P.Set(position, 1);
        break;
      }
  }
  // 15. Offset against future liabilities (only together with the refund it is part of).
  if (cbP59.Checked) {
    P.Set(59, 1);
    P.Set(60, p60);
    P.p61 = Trim(edP61.Text);
  }
  // 16. Excess carried to the next period.
  if (P[53] - P[54] > 0) P.Set(62, P[53] - P[54]);
  // 17. Art. 89a ust. 1 corrections: P_68 and P_69 come as a pair.
  if (sums.correctionBase != 0 || sums.correctionTax != 0) {
    P.Set(68, PositionOfTotal(68, sums.correctionBase));
    P.Set(69, PositionOfTotal(69, sums.correctionTax));
  }
  // Sums of positions within 14 digits stay far inside 64 bits; their results must fit
  // the schema too.
  for (int n = 10; n < static_cast<int>(P.p.size()); ++n)
    if (P.p[static_cast<size_t>(n)] && (P[n] > kPositionLimit || P[n] < -kPositionLimit))
      Fail("Pozycja P_%d: wartość %d jest poza zakresem (najwyżej 14 cyfr)", n, P[n]);
  // 18. Reasons for a correction: P_ORDZU is text of 1 to 3500 characters, never empty.
  if (!edORDZU.Text.empty()) P.ordzu = edORDZU.Text;

  for (auto& [edit, value] : lowered) {
    edit->BackColor = value ? Color::MoneyGreen : Color::Window;
    if (value) edit->Text = xml::XmlIntToStr(*value);
  }

  // 2. Header, created after Podmiot1 when missing.
  xml::TXMLNode deklaracja = LoadedJpk.FindChild("Deklaracja");
  if (!deklaracja) {
    xml::TXMLNode podmiot = LoadedJpk.FindChild("Podmiot1");
    deklaracja =
        podmiot ? LoadedJpk.AddChildBefore("Deklaracja", podmiot.NextSibling()) : LoadedJpk.AddChild("Deklaracja", 2);
  }
  v7m::IXMLJPK_Deklaracja declaration(deklaracja, xml::kUnchecked);
  v7m::IXMLJPK_Deklaracja_Naglowek naglowek(EnsureChild(deklaracja, "Naglowek", {"PozycjeSzczegolowe", "Pouczenia"}),
                                            xml::kUnchecked);
  v7m::IXMLJPK_Deklaracja_Naglowek_KodFormularzaDekl kod = naglowek.KodFormularzaDekl();
  kod.Set_kodSystemowy(v3 ? "VAT-7 (23)" : "VAT-7 (22)");
  kod.Set_kodPodatku("VAT");
  kod.Set_rodzajZobowiazania("Z");
  kod.Set_wersjaSchemy("1-0E");
  kod.SetText("VAT-7");
  naglowek.Set_WariantFormularzaDekl(v3 ? 23 : 22);

  // 3. The positions are rebuilt from nothing, in the schema's order.
  xml::TXMLNode pozycje = EnsureChild(deklaracja, "PozycjeSzczegolowe", {"Pouczenia"});
  pozycje.ChildNodes().Clear();
  for (const auto& [name, value] : P.InSchemaOrder()) pozycje.AddChild(name).SetText(value);
  // 19. Instructions acknowledged.
  declaration.Set_Pouczenia("1");
  // 20.
  RefreshInfo();
  return true;
}

void TJpkVatDlg::btnClearDeclarationClick() {
  if (!LoadedHasDeclaration()) return;
  // Everything but the declaration goes over to the new document in its order: the three
  // known parts, and also what the editor does not know (a second Ewidencja, other
  // elements, comments, the root's own attributes), which must not vanish silently.
  xml::TXMLNode oldRoot = LoadedJpk;
  const v7m::V7Structure structure = LoadedStructure().value_or(v7m::V7Structure::V2);
  const char* const ns = v7m::TargetNamespace(structure);
  std::vector<xml::TXMLNode> kept;
  xml::TXMLNodeList children = oldRoot.ChildNodes();
  for (int i = 0; i < children.Count(); ++i) {
    xml::TXMLNode child = children[i];
    bool declaration =
        child.NodeType() == xml::ntElement && child.LocalName() == "Deklaracja" && child.NamespaceURI() == ns;
    if (!declaration) kept.push_back(child);
  }

  v7m::IXMLJPK fresh = v7m::NewJpkV7(structure);
  InitJpkV7Doc(fresh);
  xml::IXMLDocument document = fresh.OwnerDocument();
  for (const xml::TXMLNode::Attribute& attribute : oldRoot.Attributes())
    if (!fresh.HasAttribute(attribute.name)) fresh.SetAttributeNS(attribute.name, attribute.namespaceURI, attribute.value);
  for (const xml::TXMLNode& old : kept) {
    // The element itself is cloned with its attributes: Podmiot1 keeps its required rola.
    xml::TXMLNode copy = CloneJpkNode(document, ns, old, false);
    fresh.ChildNodes().Add(copy);
    CopyJpkNodes(document, ns, copy, old);
  }
  LoadedJpk = fresh;

  // A document that has no file yet is saved through the save dialog, not under the
  // placeholder name.
  if (CurrentJpkFileName() == kNewJpkFileName) {
    if (!btnSaveJPKClick()) {
      RefreshInfo();
      return;
    }
  } else {
    SaveTo(CurrentJpkFileName());
  }
  ShowInfo("Zapisano JPK bez części deklaracyjnej do pliku:\r" + CurrentJpkFileName());
  RefreshInfo();
}

}  // namespace velkar
