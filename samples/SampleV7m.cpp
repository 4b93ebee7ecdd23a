// The sample JPK_V7M(2) register.
#include "samples/SampleV7m.h"

#include "app/Settings.h"
#include "base/DateTime.h"
#include "editor/JpkVatDlg.h"
#include "editor/LinkAskDlg.h"
#include "editor/ParagonDlg.h"
#include "jpkfiles/JpkHeaders.h"
#include "tools/Money.h"

namespace velkar {

namespace {

using Row = v7m::IXMLJPK_Ewidencja_SprzedazWiersz;
using Purchase = v7m::IXMLJPK_Ewidencja_ZakupWiersz;

std::string Day(int day) {
  DateTime date = Settings().CurDate.DateOnly();
  date.day = std::min(day, DaysInMonth(date.year, date.month));
  return FormatDate(date);
}

Row SaleRow(const v7m::IXMLJPK_Ewidencja& ewidencja, const std::string& nip, const std::string& name,
            const std::string& document, int day) {
  Row row = ewidencja.SprzedazWiersz().Add();
  row.Set_LpSprzedazy(1);
  row.Set_NrKontrahenta(nip);
  row.Set_NazwaKontrahenta(name);
  row.Set_DowodSprzedazy(document);
  row.Set_DataWystawienia(Day(day));
  return row;
}

Purchase PurchaseRow(const v7m::IXMLJPK_Ewidencja& ewidencja, const std::string& nip, const std::string& name,
                     const std::string& document, int day) {
  Purchase row = ewidencja.ZakupWiersz().Add();
  row.Set_LpZakupu(1);
  row.Set_NrDostawcy(nip);
  row.Set_NazwaDostawcy(name);
  row.Set_DowodZakupu(document);
  row.Set_DataZakupu(Day(day));
  return row;
}

void DemoSales(const v7m::IXMLJPK_Ewidencja& e) {
  const std::string period = Day(1).substr(5, 2) + "/" + Day(1).substr(0, 4);
  Row receipt = SaleRow(e, "brak", "brak", Settings().DowodSprzedazyRO, 31);
  receipt.Set_TypDokumentu("RO");
  receipt.Set_K_15(210.48);
  receipt.Set_K_16(10.52);
  receipt.Set_K_17(540.74);
  receipt.Set_K_18(43.26);
  receipt.Set_K_19(1219.51);
  receipt.Set_K_20(280.49);

  Row wholesale = SaleRow(e, "6260181591", "Hurtownia Spożywcza \"Zbyszko\" Sp. z o.o.", "FV/1/" + period, 4);
  wholesale.Set_DataSprzedazy(Day(2));
  wholesale.Set_GTU_06(1);
  wholesale.Set_K_19(12500);
  wholesale.Set_K_20(2875);

  Row catering = SaleRow(e, "1830166138", "Bar Mleczny Pod Lipą", "FV/2/" + period, 8);
  catering.Set_K_17(3200);
  catering.Set_K_18(256);

  Row forReceipt = SaleRow(e, "2860913907", "Kwiaciarnia Stokrotka", "FV/3/" + period, 12);
  forReceipt.Set_TypDokumentu("FP");
  forReceipt.Set_K_19(100);
  forReceipt.Set_K_20(23);

  Row books = SaleRow(e, "7030824620", "Szkoła Podstawowa nr 7", "FV/4/" + period, 15);
  books.Set_K_10(1500);
  books.Set_K_15(400);
  books.Set_K_16(20);

  Row zero = SaleRow(e, "9194821999", "Zakład Usług Komunalnych", "FV/5/" + period, 20);
  zero.Set_K_13(860.5);

  Row badDebt = SaleRow(e, "8865797544", "Sklep Wielobranżowy Mariola", "FV/27/11/2023", 31);
  badDebt.Set_KorektaPodstawyOpodt(1);
  badDebt.Set_TerminPlatnosci("2023-12-15");
  badDebt.Set_K_19(-813.01);
  badDebt.Set_K_20(-186.99);
}

void DemoPurchases(const v7m::IXMLJPK_Ewidencja& e) {
  Purchase goods = PurchaseRow(e, "6260181591", "Hurtownia Spożywcza \"Zbyszko\" Sp. z o.o.", "ZB/2024/0311", 5);
  goods.Set_DataWplywu(Day(6));
  goods.Set_K_42(8000);
  goods.Set_K_43(1840);

  Purchase van = PurchaseRow(e, "4231948758", "Auto-Serwis Kowalczyk", "FA/118/2024", 11);
  van.Set_K_40(20000);
  van.Set_K_41(4600);

  Purchase office = PurchaseRow(e, "8491186253", "Biuro Plus Sp. j.", "123/FV/2024", 18);
  office.Set_K_42(350.5);
  office.Set_K_43(80.62);

  Purchase unpaid = PurchaseRow(e, "6260181591", "Hurtownia Spożywcza \"Zbyszko\" Sp. z o.o.", "FV/44/10/2023", 31);
  unpaid.Set_K_46(-115);
}

// Generated rows: 23 % mostly, every seventh at 8 %, every fiftieth an FP invoice.
void GeneratedRows(const v7m::IXMLJPK_Ewidencja& e, long sales, long purchases) {
  for (long i = 1; i <= sales; ++i) {
    Row row = SaleRow(e, "6260181591", "Kontrahent " + std::to_string(i % 997) + " Sp. z o.o.",
                      "FV/" + std::to_string(i) + "/2024", static_cast<int>(1 + i % 28));
    if (i % 50 == 0) row.Set_TypDokumentu("FP");
    double net = 100 + static_cast<double>(i % 9000) / 10 + static_cast<double>(i % 100) / 100;
    if (i % 7 == 0) {
      row.Set_K_17(net);
      row.Set_K_18(NetToTax(8, net));
    } else {
      row.Set_K_19(net);
      row.Set_K_20(NetToTax(23, net));
    }
  }
  for (long i = 1; i <= purchases; ++i) {
    Purchase row = PurchaseRow(e, "4231948758", "Dostawca " + std::to_string(i % 499),
                               "FZ/" + std::to_string(i) + "/2024", static_cast<int>(1 + i % 28));
    double net = 50 + static_cast<double>(i % 5000) / 10;
    row.Set_K_42(net);
    row.Set_K_43(NetToTax(23, net));
  }
}

}  // namespace

v7m::IXMLJPK BuildSampleV7m(const SampleV7mOptions& options) {
  v7m::IXMLJPK doc = v7m::NewJpkV7();
  InitJpkV7Doc(doc);
  SetJpkV7Header(doc, false);
  v7m::IXMLJPK_Ewidencja ewidencja = doc.Ewidencja();
  if (options.sales < 0) {
    DemoSales(ewidencja);
    DemoPurchases(ewidencja);
  } else {
    GeneratedRows(ewidencja, options.sales, options.purchases < 0 ? options.sales / 5 : options.purchases);
  }
  // Row numbers and the control records as the editor writes them.
  FileDialogOptions openDlg, saveDlg;
  TdlgLinkAsk linkAsk;
  TParagonDlg paragon;
  TJpkVatDlg editor(openDlg, saveDlg, linkAsk, paragon);
  editor.RecalcJPK(doc);
  return doc;
}

void WriteSampleV7m(const v7m::IXMLJPK& doc, const std::string& fileName) {
  xml::IXMLDocument document = doc.OwnerDocument();
  document->SetOptions(document->Options() | xml::doNodeAutoIndent);
  document->SetNodeIndentStr("\t");
  document->SaveToFile(fileName);
}

}  // namespace velkar
