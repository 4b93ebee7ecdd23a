// JPK_FA(4) invoices as JPK_V7M register rows (with a KSeF marker in JPK_V7M(3)).
#include "exchange/FaToV7.h"

#include "app/Settings.h"
#include "app/ui/UiPort.h"
#include "base/Error.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "editor/JpkVatDlg.h"
#include "editor/RowReaders.h"
#include "exchange/BuchalterExport.h"
#include "exchange/RegisterRows.h"
#include "generate/RowBuilders.h"
#include "jpkfiles/JpkHeaders.h"
#include "jpkfiles/JpkLoadSave.h"
#include "ksef/Ksef.h"
#include "model/xml/XmlValues.h"

namespace velkar {

namespace {

// A contractor's number or name that the invoice leaves out: the register requires the
// element, and "BRAK" is what it holds for an unknown contractor.
std::string OrBrak(const std::string& text) { return Trim(text).empty() ? std::string("BRAK") : text; }

// A NIP as compared with the taxpayer's: letters and digits only, upper case, without the
// Polish prefix, so "PL 525-000-10-90" written by another program is the taxpayer's
// 5250001090 (an exact comparison would book the company's own sales as purchases).
std::string ComparableNip(const std::string& nip) {
  std::string out;
  for (char c : nip)
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'))
      out += c;
    else if (c >= 'a' && c <= 'z')
      out += static_cast<char>(c - 'a' + 'A');
  if (out.size() > 2 && out[0] == 'P' && out[1] == 'L') out.erase(0, 2);
  return out;
}

// K_42 and K_43 of a purchase: each present element rounded to grosze, then summed.
double SumOfRounded(const xml::TXMLNode& invoice, std::initializer_list<const char*> names) {
  double sum = 0;
  for (const char* name : names) sum += ChildAmount(invoice, name);
  return sum;
}

void AddPurchase(const v7m::IXMLJPK_Ewidencja& ewidencja, const v7m::IXMLJPK_Ewidencja_ZakupCtrl& ctrl, int number,
                 const xml::TXMLNode& invoice, bool ksef) {
  v7m::IXMLJPK_Ewidencja_ZakupWiersz row = ewidencja.ZakupWiersz().InsertBefore(ctrl);
  // DataWplywu equals DataZakupu (P_1), so it is left out; no DokumentZakupu, no IMP.
  SetBuyLineV7(row, number, ChildText(invoice, "P_4A"), OrBrak(ChildText(invoice, "P_4B")),
               OrBrak(ChildText(invoice, "P_3C")), ChildText(invoice, "P_2A"), ChildText(invoice, "P_1"), "", "",
               false);
  // An invoice of JPK_FA carries no KSeF number: the marker of the rules.
  if (ksef) SetRowKsef(row, PurchaseRowMarker("", false));
  row.Set_K_42(SumOfRounded(invoice, {"P_13_1", "P_13_2", "P_13_3", "P_13_4", "P_13_5"}));
  row.Set_K_43(SumOfRounded(invoice, {"P_14_1", "P_14_2", "P_14_3"}));
}

void AddSale(const v7m::IXMLJPK_Ewidencja& ewidencja, const v7m::IXMLJPK_Ewidencja_SprzedazCtrl& ctrl, int number,
             const xml::TXMLNode& invoice, bool ksef) {
  v7m::IXMLJPK_Ewidencja_SprzedazWiersz row = ewidencja.SprzedazWiersz().InsertBefore(ctrl);
  // DataSprzedazy equals DataWystawienia (P_1), so it is left out (P_6 is not used); no
  // TypDokumentu, no GTU or procedure markers.
  SetSaleLineV7(row, number, ChildText(invoice, "P_5A"), OrBrak(ChildText(invoice, "P_5B")),
                OrBrak(ChildText(invoice, "P_3A")), ChildText(invoice, "P_2A"), ChildText(invoice, "P_1"), "", "", 0,
                0);
  if (ksef) SetRowKsef(row, SaleRowMarker(""));
  // The amounts the invoice has, in the register's order: P_13_5 (K_11), 5 % (K_15,
  // K_16), 8 % (K_17, K_18), 23 % (K_19, K_20).
  static const std::pair<const char*, const char*> kAmounts[] = {
      {"P_13_5", "K_11"}, {"P_13_3", "K_15"}, {"P_14_3", "K_16"}, {"P_13_2", "K_17"},
      {"P_14_2", "K_18"}, {"P_13_1", "K_19"}, {"P_14_1", "K_20"},
  };
  for (const auto& [from, to] : kAmounts)
    if (xml::TXMLNode amount = invoice.FindChild(from)) row.SetChildFloat(to, xml::XmlStrToFloat(amount.Text()));
}

}  // namespace

std::string FaToV7FileName(const std::string& outputFolder, const std::string& inputFileName) {
  return outputFolder + "JPK_FA_to_V7_" + ExtractFileName(inputFileName);
}

void MapFaToV7(const v7m::IXMLJPK& v7, const fa::IXMLJPKFA& fa, TJpkVatDlg& editor) {
  xml::TXMLNode first = fa.FindChild("Faktura");
  if (!first) Fail("Brak faktur w pliku JPK_FA");
  if (v7.FindChild("Ewidencja")) Fail("Istnieje już węzeł \"Ewidencja\" w JPK_V7M");
  v7m::IXMLJPK_Ewidencja ewidencja = v7.Ewidencja();
  BusyCursor busy;
  // The control records come first; every row is inserted before its record, so adding
  // a row never walks the rows already there.
  v7m::IXMLJPK_Ewidencja_SprzedazCtrl saleCtrl = ewidencja.SprzedazCtrl();
  saleCtrl.Set_LiczbaWierszySprzedazy(0);
  saleCtrl.Set_PodatekNalezny(0);
  v7m::IXMLJPK_Ewidencja_ZakupCtrl purchaseCtrl = ewidencja.ZakupCtrl();
  purchaseCtrl.Set_LiczbaWierszyZakupow(0);
  purchaseCtrl.Set_PodatekNaliczony(0);

  try {
    xml::TXMLNode podmiot = fa.FindChild("Podmiot1");
    xml::TXMLNode identyfikator = podmiot ? podmiot.FindChild("IdentyfikatorPodmiotu") : xml::TXMLNode();
    std::string nip = identyfikator ? ComparableNip(ChildText(identyfikator, "NIP")) : std::string();
    if (nip.empty()) Fail("Brak NIP-u podatnika w pliku JPK_FA");

    const bool ksef = v7m::StructureOfJpkV7(v7) == v7m::V7Structure::V3;
    int sales = 0;
    int purchases = 0;
    for (xml::TXMLNode invoice = first; invoice && invoice.LocalName() == "Faktura"; invoice = NextElement(invoice)) {
      if (ComparableNip(ChildText(invoice, "P_4B")) != nip)
        AddPurchase(ewidencja, purchaseCtrl, ++purchases, invoice, ksef);
      else
        AddSale(ewidencja, saleCtrl, ++sales, invoice, ksef);
    }
  } catch (...) {
    try {
      editor.RecalcJPK(v7);
    } catch (...) {
      // The first error is the one to report.
    }
    throw;
  }
  editor.RecalcJPK(v7);
}

std::string ConvertFaToV7(fa::IXMLJPKFA fa, const std::string& inputFileName, const std::string& outputFolder,
                          TJpkVatDlg& editor) {
  BusyCursor busy;
  v7m::IXMLJPK v7 = NewJpkV7ForPeriod(Settings().CurDate);
  InitJpkV7Doc(v7);
  SetJpkV7Header(v7, false);
  MapFaToV7(v7, fa, editor);
  fa = fa::IXMLJPKFA();  // the invoices are no longer needed while the register is saved
  std::string fileName = FaToV7FileName(outputFolder, inputFileName);
  SaveJpkFile(v7, fileName);
  ShowInfo(kConversionDone);
  return fileName;
}

}  // namespace velkar
