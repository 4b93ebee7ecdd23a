// The receipt row of the register: one summary SprzedazWiersz per month with contractor
// "brak" and document type "RO" (in JPK_V7M(3) with the marker DI), edited in TParagonDlg.
#include <cstring>

#include "app/Settings.h"
#include "base/DateTime.h"
#include "base/Text.h"
#include "editor/JpkVatDlg.h"
#include "editor/ParagonDlg.h"
#include "editor/RowReaders.h"
#include "editor/RowScan.h"
#include "ksef/Ksef.h"
#include "tools/NumberInput.h"

namespace velkar {

namespace {

// The edits of TParagonDlg and the row fields they show.
std::vector<std::pair<TEdit*, const char*>> ParagonFields(TParagonDlg& dlg) {
  return {{&dlg.edValueFree, "K_10"}, {&dlg.edValue0, "K_13"}, {&dlg.edNet5, "K_15"},  {&dlg.edTax5, "K_16"},
          {&dlg.edNet8, "K_17"},      {&dlg.edTax8, "K_18"},   {&dlg.edNet23, "K_19"}, {&dlg.edTax23, "K_20"}};
}

// The first sale row when it is the receipt row: contractor "brak" in any letter case
// and no document type or "RO".
xml::TXMLNode FindReceiptRow(const xml::TXMLNode& ewidencja) {
  if (!ewidencja) return {};
  xml::TXMLNode row = ewidencja.FindChild("SprzedazWiersz");
  if (!row || !EqualsNoCase(ChildText(row, "NrKontrahenta"), "brak")) return {};
  if (row.FindChild("TypDokumentu") && ChildText(row, "TypDokumentu") != "RO") return {};
  return row;
}

void ShowChildValue(TEdit& edit, const xml::TXMLNode& row, const char* name) { edit.Text = ChildText(row, name); }

// The number of an amount field K_nn, or 0 for any other element.
int AmountNumber(const xml::TXMLNode& child) {
  std::string name = child.LocalName();
  if (name.size() != 4 || name[0] != 'K' || name[1] != '_') return 0;
  return (name[2] - '0') * 10 + (name[3] - '0');
}

// A filled edit sets the field (a missing field is created at its place in the row's
// schema order: before the first later K_ field or SprzedazVAT_Marza); an empty edit
// removes the field.
void StoreChildValue(const TEdit& edit, const xml::TXMLNode& row, const char* name) {
  xml::TXMLNode field = row.FindChild(name);
  if (Trim(edit.Text).empty()) {
    if (field) row.ChildNodes().Remove(field);
    return;
  }
  if (!field) {
    int number = std::atoi(name + 2);
    xml::TXMLNode before;
    for (xml::TXMLNode child : row.ChildNodes()) {
      if (child.NodeType() != xml::ntElement) continue;
      if (AmountNumber(child) > number || child.LocalName() == "SprzedazVAT_Marza") {
        before = child;
        break;
      }
    }
    field = row.AddChildBefore(name, before);
  }
  // Amounts typed the Polish way ("1 234,50") go into the file as machine text ("1234.50").
  field.SetText(AmountInputText(edit.Text));
}

}  // namespace

void TJpkVatDlg::btnAddParagonSaleClick() {
  if (!LoadedJpk) return;
  xml::IXMLDocument document = LoadedJpk.OwnerDocument();
  bool wasModified = document->Modified();
  xml::TXMLNode ewidencja = LoadedJpk.FindChild("Ewidencja");
  bool ewidencjaCreated = false;
  xml::TXMLNode row = FindReceiptRow(ewidencja);
  bool created = false;
  if (!row) {
    if (Ui().Ask(MessageKind::Confirmation, "Brak wpisu ze sprzedażą paragonową.\rUtworzyć taką pozycję?",
                 Buttons::YesNo) != Answer::Yes)
      return;
    if (!ewidencja) {
      ewidencja = LoadedJpk.Ewidencja();
      ewidencjaCreated = true;
    }
    v7m::IXMLJPK_Ewidencja_SprzedazWiersz receipt = v7m::IXMLJPK_Ewidencja(ewidencja, xml::kUnchecked)
                                                        .SprzedazWiersz()
                                                        .InsertBefore(ewidencja.ChildNodes().First());
    receipt.Set_LpSprzedazy(1);
    receipt.Set_NrKontrahenta("brak");
    receipt.Set_NazwaKontrahenta("brak");
    receipt.Set_DowodSprzedazy(Settings().DowodSprzedazyRO);
    receipt.Set_DataWystawienia(FormatDate(EndOfMonth(Settings().CurDate)));
    receipt.Set_TypDokumentu("RO");
    // A JPK_V7M(3) row needs its KSeF element: a receipt summary is no invoice (DI).
    if (LoadedStructure() == v7m::V7Structure::V3) SetRowKsef(receipt, SaleRowMarker("RO"));
    row = receipt;
    created = true;
  }

  ParagonDlg.edDowodSprzedazy.Text = ChildText(row, "DowodSprzedazy");
  for (auto [edit, name] : ParagonFields(ParagonDlg)) ShowChildValue(*edit, row, name);

  if (Ui().ShowModal(ParagonDlg) == mrOk) {
    row.SetChildText("DowodSprzedazy", ParagonDlg.edDowodSprzedazy.Text);
    for (auto [edit, name] : ParagonFields(ParagonDlg)) StoreChildValue(*edit, row, name);
    RecalcJPK(LoadedJpk);
    RefreshInfo();
  } else if (created) {
    // Cancelled: the register is as it was before the button.
    ewidencja.ChildNodes().Remove(row);
    if (ewidencjaCreated) LoadedJpk.ChildNodes().Remove(ewidencja);
    document->SetModified(wasModified);
    RefreshInfo();
  }
}

}  // namespace velkar
