// The sample JPK_V7M register.
#include "samples/SampleV7m.h"

#include "app/Settings.h"
#include "base/DateTime.h"
#include "editor/JpkVatDlg.h"
#include "editor/LinkAskDlg.h"
#include "editor/ParagonDlg.h"
#include "jpkfiles/JpkHeaders.h"
#include "ksef/Ksef.h"
#include "samples/KsefNumber.h"
#include "tools/Money.h"

namespace velkar {

namespace {

using Row = v7m::IXMLJPK_Ewidencja_SprzedazWiersz;
using Purchase = v7m::IXMLJPK_Ewidencja_ZakupWiersz;

DateTime DayDate(int day) {
  DateTime date = Settings().CurDate.DateOnly();
  date.day = std::min(day, DaysInMonth(date.year, date.month));
  return date;
}

std::string Day(int day) { return FormatDate(DayDate(day)); }

// The KSeF element of a row, when the register is a JPK_V7M(3) one: a number of the invoice
// `issuer` sent on `day` (technical part `technical`), or the marker.
template <typename AnyRow>
void Mark(const AnyRow& row, bool ksef, KsefMarker marker, const std::string& issuer = {}, int day = 0,
          std::uint64_t technical = 0) {
  if (!ksef) return;
  if (marker != KsefMarker::NrKSeF) return SetRowKsef(row, marker);
  SetRowKsef(row, marker, samples::MakeKsefNumber(issuer, DayDate(day), technical));
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

void DemoSales(const v7m::IXMLJPK_Ewidencja& e, bool ksef) {
  const std::string period = Day(1).substr(5, 2) + "/" + Day(1).substr(0, 4);
  const std::string& nip = Settings().NIP;
  Row receipt = SaleRow(e, "brak", "brak", Settings().DowodSprzedazyRO, 31);
  receipt.Set_TypDokumentu("RO");
  receipt.Set_K_15(210.48);
  receipt.Set_K_16(10.52);
  receipt.Set_K_17(540.74);
  receipt.Set_K_18(43.26);
  receipt.Set_K_19(1219.51);
  receipt.Set_K_20(280.49);
  Mark(receipt, ksef, KsefMarker::DI);

  Row wholesale = SaleRow(e, "6260181591", "Hurtownia Spożywcza \"Zbyszko\" Sp. z o.o.", "FV/1/" + period, 4);
  wholesale.Set_DataSprzedazy(Day(2));
  wholesale.Set_GTU_06(1);
  wholesale.Set_K_19(12500);
  wholesale.Set_K_20(2875);
  Mark(wholesale, ksef, KsefMarker::NrKSeF, nip, 4, 0x4C2E91A07B3DULL);

  Row catering = SaleRow(e, "1830166138", "Bar Mleczny Pod Lipą", "FV/2/" + period, 8);
  catering.Set_K_17(3200);
  catering.Set_K_18(256);
  Mark(catering, ksef, KsefMarker::BFK);

  Row forReceipt = SaleRow(e, "2860913907", "Kwiaciarnia Stokrotka", "FV/3/" + period, 12);
  forReceipt.Set_TypDokumentu("FP");
  forReceipt.Set_K_19(100);
  forReceipt.Set_K_20(23);
  Mark(forReceipt, ksef, KsefMarker::BFK);

  Row books = SaleRow(e, "7030824620", "Szkoła Podstawowa nr 7", "FV/4/" + period, 15);
  books.Set_K_10(1500);
  books.Set_K_15(400);
  books.Set_K_16(20);
  Mark(books, ksef, KsefMarker::NrKSeF, nip, 15, 0x0A17B2C3D4E5ULL);

  Row zero = SaleRow(e, "9194821999", "Zakład Usług Komunalnych", "FV/5/" + period, 20);
  zero.Set_K_13(860.5);
  Mark(zero, ksef, KsefMarker::NrKSeF, nip, 20, 0x1F00D2E3C4B5ULL);

  Row badDebt = SaleRow(e, "8865797544", "Sklep Wielobranżowy Mariola", "FV/27/11/2023", 31);
  badDebt.Set_KorektaPodstawyOpodt(1);
  badDebt.Set_TerminPlatnosci("2023-12-15");
  badDebt.Set_K_19(-813.01);
  badDebt.Set_K_20(-186.99);
  Mark(badDebt, ksef, KsefMarker::BFK);  // an invoice of 2023, issued outside KSeF
}

void DemoPurchases(const v7m::IXMLJPK_Ewidencja& e, bool ksef) {
  const std::string year = Day(1).substr(0, 4);
  Purchase goods =
      PurchaseRow(e, "6260181591", "Hurtownia Spożywcza \"Zbyszko\" Sp. z o.o.", "ZB/" + year + "/0311", 5);
  goods.Set_DataWplywu(Day(6));
  goods.Set_K_42(8000);
  goods.Set_K_43(1840);
  Mark(goods, ksef, KsefMarker::NrKSeF, "6260181591", 5, 0x00311A5B6C7DULL);

  Purchase van = PurchaseRow(e, "4231948758", "Auto-Serwis Kowalczyk", "FA/118/" + year, 11);
  van.Set_K_40(20000);
  van.Set_K_41(4600);
  Mark(van, ksef, KsefMarker::BFK);

  Purchase office = PurchaseRow(e, "8491186253", "Biuro Plus Sp. j.", "123/FV/" + year, 18);
  office.Set_K_42(350.5);
  office.Set_K_43(80.62);
  Mark(office, ksef, KsefMarker::NrKSeF, "8491186253", 18, 0x123ABC456DEFULL);

  Purchase unpaid = PurchaseRow(e, "6260181591", "Hurtownia Spożywcza \"Zbyszko\" Sp. z o.o.", "FV/44/10/2023", 31);
  unpaid.Set_K_46(-115);
  Mark(unpaid, ksef, KsefMarker::BFK);
  if (ksef) {
    // Import of goods by customs declaration: a document other than an invoice.
    Purchase customs = PurchaseRow(e, "brak", "Urząd Celno-Skarbowy w Warszawie", "SAD 26PL443020001234", 24);
    customs.Set_IMP(1);
    customs.Set_K_42(5200);
    customs.Set_K_43(1196);
    Mark(customs, ksef, KsefMarker::DI);
  }
}

// Generated rows: 23 % mostly, every seventh at 8 %, every fiftieth an FP invoice. In
// JPK_V7M(3) every 25th row is marked DI (every 25th purchase is an import), every third of
// the others has its KSeF number, the rest BFK.
void GeneratedRows(const v7m::IXMLJPK_Ewidencja& e, long sales, long purchases, bool ksef) {
  const std::string year = Day(1).substr(0, 4);
  for (long i = 1; i <= sales; ++i) {
    int day = static_cast<int>(1 + i % 28);
    Row row = SaleRow(e, "6260181591", "Kontrahent " + std::to_string(i % 997) + " Sp. z o.o.",
                      "FV/" + std::to_string(i) + "/" + year, day);
    if (i % 50 == 0) row.Set_TypDokumentu("FP");
    if (i % 25 == 1)
      Mark(row, ksef, KsefMarker::DI);
    else if (i % 3 == 0)
      Mark(row, ksef, KsefMarker::NrKSeF, Settings().NIP, day, static_cast<std::uint64_t>(i));
    else
      Mark(row, ksef, KsefMarker::BFK);
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
    int day = static_cast<int>(1 + i % 28);
    Purchase row = PurchaseRow(e, "4231948758", "Dostawca " + std::to_string(i % 499),
                               "FZ/" + std::to_string(i) + "/" + year, day);
    if (ksef && i % 25 == 1) row.Set_IMP(1);
    double net = 50 + static_cast<double>(i % 5000) / 10;
    row.Set_K_42(net);
    row.Set_K_43(NetToTax(23, net));
    if (i % 25 == 1)
      Mark(row, ksef, KsefMarker::DI);
    else if (i % 3 == 0)
      Mark(row, ksef, KsefMarker::NrKSeF, "4231948758", day, static_cast<std::uint64_t>(i) << 8);
    else
      Mark(row, ksef, KsefMarker::BFK);
  }
}

}  // namespace

v7m::IXMLJPK BuildSampleV7m(const SampleV7mOptions& options) {
  v7m::V7Structure structure = options.structure.value_or(V7StructureForPeriod(Settings().CurDate));
  v7m::IXMLJPK doc = v7m::NewJpkV7(structure);
  InitJpkV7Doc(doc);
  SetJpkV7Header(doc, false);
  v7m::IXMLJPK_Ewidencja ewidencja = doc.Ewidencja();
  bool ksef = structure == v7m::V7Structure::V3;
  if (options.sales < 0) {
    DemoSales(ewidencja, ksef);
    DemoPurchases(ewidencja, ksef);
  } else {
    GeneratedRows(ewidencja, options.sales, options.purchases < 0 ? options.sales / 5 : options.purchases, ksef);
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
