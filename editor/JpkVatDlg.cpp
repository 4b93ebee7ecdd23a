// The editor window: its controls, the refresh from the document, and the events that
// keep the refund and offset controls usable only when they make sense.
#include "editor/JpkVatDlg.h"

#include "app/Settings.h"
#include "base/Error.h"
#include "editor/RowReaders.h"
#include "editor/RowScan.h"
#include "jpkfiles/JpkHeaders.h"
#include "jpkfiles/JpkLoadSave.h"
#include "jpkfiles/NodeCopy.h"
#include "ksef/Ksef.h"
#include "model/xml/XmlValues.h"
#include "tools/Money.h"

namespace velkar {

namespace {

xml::TXMLNode Find(const xml::TXMLNode& node, std::string_view name) {
  return node ? node.FindChild(name) : xml::TXMLNode();
}

std::string TextOf(const xml::TXMLNode& node, std::string_view name) {
  return node ? ChildText(node, name) : std::string();
}

}  // namespace

TJpkVatDlg::TJpkVatDlg(FileDialogOptions& openDlg, FileDialogOptions& saveDlg, TdlgLinkAsk& linkAsk,
                       TParagonDlg& paragonDlg)
    : Window("TJpkVatDlg", "JPK_V7 v.2"),
      OpenDlg(openDlg),
      SaveDlg(saveDlg),
      dlgLinkAsk(linkAsk),
      ParagonDlg(paragonDlg) {
  for (TLabeledEdit* edit : {&edNIP, &edGenDate, &edDateRange, &edStructure, &edSaleTaxSum, &edBuyTaxSum,
                             &edSaleLinesCount, &edBuyLinesCount, &edKsefMissing, &edP360, &edP37, &edP38, &edP40Plus42,
                             &edP48, &edP51, &edP53, &edP68, &edP69}) {
    edit->ReadOnly = true;
    edit->BackColor = Color::BtnFace;
  }
  edP38.ShowHint = edP48.ShowHint = edKsefMissing.ShowHint = true;
  edKsefMissing.Visible = edP360.Visible = false;
  btnAddParagonSale.Enabled = btnRecalcDeclaration.Enabled = btnClearDeclaration.Enabled = false;
  gbEwidencja.Enabled = gbDeklaracja.Enabled = gbNadwyzkaPodatku.Enabled = false;
  edP54.Enabled = cbP59.Enabled = edP60.Enabled = edP61.Enabled = false;
  for (TRadioButton* button : ZwrotButtons()) button->Enabled = false;
}

std::vector<TLabeledEdit*> TJpkVatDlg::Edits() {
  return {&edNIP,           &edGenDate,     &edDateRange, &edStructure, &edSaleTaxSum, &edBuyTaxSum, &edSaleLinesCount,
          &edBuyLinesCount, &edKsefMissing, &edP360,      &edP37,       &edP38,        &edP39,       &edP40Plus42,
          &edP48,           &edP49,         &edP50,       &edP51,       &edP52,        &edP68,       &edP69,
          &edORDZU,         &edP53,         &edP54,       &edP60,       &edP61,        &edP62};
}

std::optional<v7m::V7Structure> TJpkVatDlg::LoadedStructure() const {
  return LoadedJpk ? v7m::StructureOfJpkV7(LoadedJpk) : std::nullopt;
}

std::vector<std::pair<TRadioButton*, int>> TJpkVatDlg::OfferedZwrotTerms() {
  std::vector<std::pair<TRadioButton*, int>> terms = {{&rbZwrot540, 540}, {&rbZwrot55, 55}, {&rbZwrot56, 56},
                                                      {&rbZwrot560, 560}, {&rbZwrot57, 57}, {&rbZwrot58, 58}};
  // JPK_V7M(3) has no refund within 60 days: its choice after P_54 lacks P_57.
  if (LoadedStructure() == v7m::V7Structure::V3)
    std::erase_if(terms, [this](auto& term) { return term.first == &rbZwrot57; });
  return terms;
}

void TJpkVatDlg::FormShow() {
  const ProgramSettings& settings = Settings();
  btnMakeJPK.Enabled = !settings.QorDataDir.empty() || !settings.TulvoDir.empty() || !settings.FennikDir.empty();
}

bool TJpkVatDlg::FormCloseQuery() {
  AskSaveChanges();
  return true;
}

void TJpkVatDlg::edP54Change() {
  bool amount = !edP54.Text.empty();
  for (TRadioButton* button : ZwrotButtons()) {
    if (!amount) button->Checked = false;
    button->Enabled = false;
  }
  for (auto [button, position] : OfferedZwrotTerms()) button->Enabled = amount;
}

void TJpkVatDlg::cbP59Click() { edP60.Enabled = edP61.Enabled = cbP59.Checked; }

void TJpkVatDlg::rbZwrotClick(TRadioButton& button) {
  for (TRadioButton* other : ZwrotButtons()) other->Checked = other == &button;
}

void TJpkVatDlg::SetEdP54(const std::string& text) {
  edP54.Text = text;
  edP54Change();
}

void TJpkVatDlg::SetCbP59(bool checked) {
  cbP59.Checked = checked;
  cbP59Click();
}

bool TJpkVatDlg::LoadedHasDeclaration() const { return LoadedJpk && LoadedJpk.FindChild("Deklaracja"); }

void TJpkVatDlg::RefreshInfo() {
  // 1. Reset.
  for (TLabeledEdit* edit : {&edSaleTaxSum, &edSaleLinesCount, &edBuyTaxSum, &edBuyLinesCount}) edit->Text.clear();
  gbDeklaracja.Text = "Deklaracja - brak części deklaracyjnej w pliku JPK_V7";
  for (TLabeledEdit* edit : {&edP37, &edP38, &edP39, &edP40Plus42, &edP48, &edP49, &edP50, &edP51, &edP52, &edP53,
                             &edP60, &edP62, &edP68, &edP69, &edORDZU})
    edit->Text.clear();
  edP360.Text.clear();
  SetEdP54("");
  for (TLabeledEdit* edit : {&edP38, &edP48, &edKsefMissing}) {
    edit->BackColor = Color::BtnFace;
    edit->Hint.clear();
  }
  edKsefMissing.Text.clear();
  for (TRadioButton* button : ZwrotButtons()) button->Checked = false;
  SetCbP59(false);
  // What the structure has: the KSeF elements and P_360 only JPK_V7M(3), P_57 only JPK_V7M(2).
  const std::optional<v7m::V7Structure> structure = LoadedStructure();
  const bool v3 = structure == v7m::V7Structure::V3;
  edKsefMissing.Visible = edP360.Visible = v3;
  rbZwrot57.Visible = !v3;
  edStructure.Text = structure ? v7m::SystemCode(*structure) : "";

  if (!LoadedJpk) {
    // 2. No document.
    edNIP.Text.clear();
    edGenDate.Text.clear();
    edDateRange.Text.clear();
  } else {
    // 3. Taxpayer.
    xml::TXMLNode podmiot = LoadedJpk.FindChild("Podmiot1");
    xml::TXMLNode fizyczna = Find(podmiot, "OsobaFizyczna");
    if (fizyczna) {
      xml::TXMLNode nip = fizyczna.FindChild("etd:NIP");
      edNIP.Text = nip ? nip.Text() : std::string();
    } else {
      edNIP.Text = TextOf(Find(podmiot, "OsobaNiefizyczna"), "NIP");
    }
    // 4. Creation stamp and period.
    xml::TXMLNode naglowek = LoadedJpk.FindChild("Naglowek");
    edGenDate.Text = TextOf(naglowek, "DataWytworzeniaJPK");
    std::int64_t month = naglowek ? rowscan::WholeNumber(rowscan::FindChild(naglowek.ConstDOMNode(), "Miesiac"), 2) : 0;
    edDateRange.Text = Format("%s-%.2d", TextOf(naglowek, "Rok"), month);

    // 5. Register totals.
    xml::TXMLNode ewidencja = LoadedJpk.FindChild("Ewidencja");
    xml::TXMLNode sprzedazCtrl, zakupCtrl;
    if (ewidencja) {
      // Both control records in one walk of the register.
      const xmlNode* found[2] = {};
      rowscan::FindChildren(ewidencja.ConstDOMNode(), {"SprzedazCtrl", "ZakupCtrl"}, found);
      auto node = [&](const xmlNode* n) {
        return n ? xml::TXMLNode(const_cast<xmlNode*>(n), ewidencja.OwnerDocument()) : xml::TXMLNode();
      };
      sprzedazCtrl = node(found[0]);
      zakupCtrl = node(found[1]);
    }
    auto amountText = [](const xml::TXMLNode& ctrl, std::string_view name) {
      const xmlNode* field = rowscan::FindChild(ctrl.ConstDOMNode(), name);
      return field ? xml::XmlFloatToStr(rowscan::RawAmount(field)) : std::string();
    };
    auto countText = [](const xml::TXMLNode& ctrl, std::string_view name) {
      const xmlNode* field = rowscan::FindChild(ctrl.ConstDOMNode(), name);
      return field ? xml::XmlIntToStr(rowscan::WholeNumber(field)) : std::string();
    };
    if (sprzedazCtrl) {
      edSaleTaxSum.Text = amountText(sprzedazCtrl, "PodatekNalezny");
      edSaleLinesCount.Text = countText(sprzedazCtrl, "LiczbaWierszySprzedazy");
    }
    if (zakupCtrl) {
      edBuyTaxSum.Text = amountText(zakupCtrl, "PodatekNaliczony");
      edBuyLinesCount.Text = countText(zakupCtrl, "LiczbaWierszyZakupow");
    }
    if (v3) ShowRowsWithoutKsef(ewidencja);

    // 6. Declaration.
    if (xml::TXMLNode deklaracja = LoadedJpk.FindChild("Deklaracja")) {
      gbDeklaracja.Text = "Deklaracja";
      xml::TXMLNode poz = deklaracja.FindChild("PozycjeSzczegolowe");
      auto p = [&poz](const char* name) { return TextOf(poz, name); };
      // Positions are whole numbers of at most 14 digits: the checks below cannot overflow.
      auto value = [&poz](const char* name) { return poz ? PositionValue(poz, name) : 0; };
      if (v3) edP360.Text = p("P_360");
      edP37.Text = p("P_37");
      edP38.Text = p("P_38");
      std::int64_t p38 = value("P_38");
      std::int64_t p48 = value("P_48");

      // 7. The two tax checks against the register.
      if (ewidencja) {
        auto check = [](TLabeledEdit& edit, std::int64_t declared, double registered, const char* pattern) {
          edit.BackColor = declared == RoundToWhole(registered) ? Color::BtnFace : Color::Red;
          edit.Hint = Format(pattern, declared, registered, round2(static_cast<double>(declared) - registered));
          edit.ShowHint = true;
        };
        double nalezny =
            sprzedazCtrl ? rowscan::RawAmount(rowscan::FindChild(sprzedazCtrl.ConstDOMNode(), "PodatekNalezny")) : 0;
        check(edP38, p38, nalezny, "podatek w deklaracji: %d, podatek w ewidencji: %.2f (różnica: %.2f)");
        edP39.Text = p("P_39");
        double nabycia = poz ? ChildAmount(poz, "P_40") + ChildAmount(poz, "P_42") : 0;
        edP40Plus42.Text = xml::XmlFloatToStr(nabycia);
        edP48.Text = p("P_48");
        double naliczony =
            zakupCtrl ? rowscan::RawAmount(rowscan::FindChild(zakupCtrl.ConstDOMNode(), "PodatekNaliczony")) : 0;
        std::int64_t p39 = value("P_39");
        check(edP48, p48 - p39, naliczony,
              "podatek w deklaracji (bez nadwyżki z poprzedniego m-ca): %d, podatek w ewidencji: %.2f (różnica: %.2f)");
      }

      // 8. Deductions allowed only while there is tax to pay.
      edP49.Text = p("P_49");
      edP50.Text = p("P_50");
      edP49.Enabled = edP50.Enabled = p48 < p38;

      // 9. Tax to pay, refund of cash registers, excess.
      edP51.Text = p("P_51");
      edP51.Bold = value("P_51") >= 1;
      edP52.Text = p("P_52");
      edP53.Text = p("P_53");
      bool excess = !edP53.Text.empty() && value("P_53") > 0;
      gbNadwyzkaPodatku.Enabled = edP54.Enabled = cbP59.Enabled = excess;

      // 10. Refund and offset.
      SetEdP54(p("P_54"));
      for (auto [button, position] : OfferedZwrotTerms())
        if (!edP54.Text.empty() && p(Format("P_%d", position).c_str()) == "1") rbZwrotClick(*button);
      SetCbP59(p("P_59") == "1");
      if (cbP59.Checked) {
        edP60.Text = p("P_60");
        edP61.Text = p("P_61");
      }

      // 11. Carried forward, corrections, reasons.
      edP62.Text = p("P_62");
      edP62.Bold = !edP62.Text.empty() && value("P_62") >= 1;
      edP68.Text = p("P_68");
      edP69.Text = p("P_69");
      edORDZU.Text = p("P_ORDZU");
    }
  }

  // 12. What can be done.
  gbDeklaracja.Enabled = btnAddParagonSale.Enabled = btnRecalcDeclaration.Enabled = static_cast<bool>(LoadedJpk);
  btnClearDeclaration.Enabled = LoadedHasDeclaration();

  // 13. Caption.
  Caption = CurrentJpkFileName() + " - " + "Torvik JPK";
  if (LoadedJpk && LoadedJpk.OwnerDocument()->Modified()) Caption = "*" + Caption;
  Ui().WindowChanged(*this);
}

void TJpkVatDlg::ShowRowsWithoutKsef(const xml::TXMLNode& ewidencja) {
  // The hint names the document numbers of the first rows found, enough to find them.
  constexpr int kNamed = 5;
  int missing = 0;
  std::string named;
  if (ewidencja) {
    xml::IXMLDocument document = ewidencja.OwnerDocument();
    std::string scratch;
    for (const xmlNode* row = rowscan::FirstElement(ewidencja.ConstDOMNode()); row; row = rowscan::NextElement(row)) {
      bool sale = rowscan::NameIs(row, "SprzedazWiersz");
      if (!sale && !rowscan::NameIs(row, "ZakupWiersz")) continue;
      if (RowKsef(xml::TXMLNode(const_cast<xmlNode*>(row), document))) continue;
      if (++missing > kNamed) continue;
      const xmlNode* dowod = rowscan::FindChild(row, sale ? "DowodSprzedazy" : "DowodZakupu");
      std::string number = dowod ? std::string(rowscan::Text(dowod, scratch)) : std::string();
      if (!named.empty()) named += ", ";
      named += number.empty() ? std::string(sale ? "(sprzedaż bez numeru)" : "(zakup bez numeru)") : number;
    }
  }
  edKsefMissing.Text = std::to_string(missing);
  edKsefMissing.BackColor = missing > 0 ? Color::Red : Color::BtnFace;
  if (missing > 0) {
    edKsefMissing.Hint = "Bez numeru KSeF ani znacznika OFF, BFK, DI: " + named;
    if (missing > kNamed) edKsefMissing.Hint += Format(" i %d kolejnych", missing - kNamed);
  }
}

}  // namespace velkar
