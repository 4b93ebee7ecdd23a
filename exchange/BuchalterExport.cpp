// The Buchalter tables: one record per sales row and per rate of it, one record per
// purchase row and its item.
#include "exchange/BuchalterExport.h"

#include <cmath>

#include "app/ui/UiPort.h"
#include "base/Error.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "editor/RowReaders.h"
#include "exchange/RegisterRows.h"
#include "model/xml/XmlValues.h"
#include "tools/Dictionaries.h"
#include "tools/Money.h"

namespace velkar {

namespace {

const char* const kTableNames[] = {"B5SPEX", "B5ESEX", "B5ZAEX", "B5EZEX"};

std::string RateText(int rate) { return rate == kExemptRate ? "ZW" : std::to_string(rate); }

// "T"/"N" per marker: T where the row has the element with the value 1.
std::string MarkerMask(const xml::TXMLNode& row, const std::vector<std::string>& names) {
  std::string mask(names.size(), 'N');
  for (size_t i = 0; i < names.size(); ++i)
    if (Trim(ChildText(row, names[i])) == "1") mask[i] = 'T';
  return mask;
}

const std::vector<std::string>& GtuNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> all;
    for (int i = 1; i <= 13; ++i) all.push_back(Format("GTU_%.2d", i));
    return all;
  }();
  return names;
}

const std::vector<std::string>& ProcedureNames() {
  static const std::vector<std::string> names(ProcedureMarkers.begin(), ProcedureMarkers.end());
  return names;
}

}  // namespace

int BuchalterRateCode(int rate) {
  switch (rate) {
    case 23:
      return 1;
    case 8:
      return 2;
    case 0:
      return 3;
    case 5:
      return 8;
    default:
      return 4;  // exempt
  }
}

BuchalterWriter::BuchalterWriter(const std::string& outputFolder, const std::string& templateFolder,
                                 const std::string& year, const std::vector<std::string>& cutDict)
    : shortener_(cutDict) {
  try {
    for (const char* name : kTableNames) {
      tables_.push_back(std::make_unique<db::TDbfTable>(nullptr, outputFolder, templateFolder, year, name));
      tables_.back()->Open();
    }
  } catch (...) {
    Discard();  // a table closed on its own would be put in place
    throw;
  }
}

BuchalterWriter::~BuchalterWriter() {
  if (!done_) Discard();
}

void BuchalterWriter::Commit() {
  for (auto it = tables_.rbegin(); it != tables_.rend(); ++it) (*it)->Close();
  done_ = true;
}

void BuchalterWriter::Discard() {
  for (auto it = tables_.rbegin(); it != tables_.rend(); ++it) (*it)->Discard();
  done_ = true;
}

void BuchalterWriter::WriteRegister(const xml::TXMLNode& ewidencja) {
  RecNo = 0;
  ItemNo = 0;
  for (xml::TXMLNode row = ewidencja.FindChild("SprzedazWiersz"); row && row.FindChild("LpSprzedazy");
       row = NextElement(row))
    WriteBuchalterSale(row);
  RecNo = 0;
  ItemNo = 0;
  for (xml::TXMLNode row = ewidencja.FindChild("ZakupWiersz"); row && row.FindChild("LpZakupu"); row = NextElement(row))
    WriteBuchalterPurchase(row);
}

void BuchalterWriter::WriteSaleNumber(db::TDbfTable& table) {
  table.SetAsInteger("TYV", DocType);
  table.SetAsString("PRE", Prefix);
  // A number without digits (FISK, WEW/ABC) has an empty NRV: 0 in a number field.
  if (Number.empty() && table.FieldType("NRV") != 'C')
    table.SetAsInteger("NRV", 0);
  else
    table.SetAsString("NRV", Number);
  table.SetAsString("POS", Suffix);
}

void BuchalterWriter::WriteNameFields(db::TDbfTable& table, const std::string& name) {
  NameLines lines = SplitNameLines(name);
  table.SetAsString("NA1", lines.na1);
  if (!lines.na2.empty()) table.SetAsString("NA2", lines.na2);
}

void BuchalterWriter::WriteBuchalterSale(const xml::TXMLNode& row) {
  Net = SaleNetOfRow(row);
  Tax = SaleTaxOfRow(row);
  Return = Net < 0 || Tax < 0;
  std::string dowod = ChildText(row, "DowodSprzedazy");
  SplitDocumentNumber(dowod, Number, Prefix, Suffix);
  ++RecNo;

  // TYV: 5 for a receipt summary (RO), 9 for an invoice to a receipt (FP); any other
  // row, with or without TypDokumentu, 3 for a return, else 1.
  std::string type = Trim(ChildText(row, "TypDokumentu"));
  DocType = type == "RO" ? 5 : type == "FP" ? 9 : Return ? 3 : 1;
  IssueDate = ChildText(row, "DataWystawienia");
  std::string saleDate = ChildText(row, "DataSprzedazy");
  SaleDate = row.FindChild("DataSprzedazy") && saleDate != IssueDate ? saleDate : IssueDate;
  std::string name = ChildText(row, "NazwaKontrahenta");

  db::TDbfTable& t = Sales();
  t.Append();
  t.SetAsString("STV", "T");
  t.SetAsString("TTR", "N");
  t.SetAsInteger("STM", 1);
  t.SetAsString("ANU", "N");
  WriteSaleNumber(t);
  t.SetAsString("DAW", IssueDate);
  t.SetAsString("DAS", SaleDate);
  t.SetAsString("DAV", SaleDate);
  t.SetAsString("KNA", shortener_.Shorten(name));
  WriteNameFields(t, name);
  t.SetAsString("KRA", "POLSKA");
  t.SetAsString("NIP", ChildText(row, "NrKontrahenta"));
  t.SetAsString("PLA", "INNA");
  t.SetAsString("DPL", IssueDate);
  t.SetAsFloat("NET", Return ? 0 : Net);
  t.SetAsFloat("VAT", Return ? 0 : Tax);
  t.SetAsFloat("BRU", Return ? 0 : round2(Net + Tax));
  t.SetAsFloat("KRN", Return ? Net : 0);
  t.SetAsFloat("KRV", Return ? Tax : 0);
  t.SetAsString("OP1", Return ? "ZWROT" : "SPRZEDAZ");
  t.SetAsInteger("REC", RecNo);
  t.SetAsInteger("AKT", 0);
  t.SetAsInteger("TRY", 1);
  t.SetAsInteger("TRK", 1);
  t.SetAsString("OSM", EqualsNoCase(dowod, "raport fiskalny okresowy") ? "RAPORT FISKALNY" : dowod);
  t.SetAsInteger("TYB", 1);
  t.SetAsString("WAL", "PLN");
  t.SetAsFloat("KVA", 1.0);
  std::string gtu = MarkerMask(row, GtuNames());
  if (gtu.find('T') != std::string::npos) t.SetAsString("NKK", gtu);
  std::string procedures = MarkerMask(row, ProcedureNames());
  if (procedures.find('T') != std::string::npos) t.SetAsString("NKV", procedures);
  t.SetAsFloat("KKS", 1.0);
  t.SetAsString("RE4", "N");
  t.Post();

  WriteBuchalterSaleItem(row, "K_10", kExemptRate, false);
  WriteBuchalterSaleItem(row, "K_11", 0, false);
  WriteBuchalterSaleItem(row, "K_13", 0, false);
  WriteBuchalterSaleItem(row, "K_15", 5, true);
  WriteBuchalterSaleItem(row, "K_17", 8, true);
  WriteBuchalterSaleItem(row, "K_19", 23, true);
}

void BuchalterWriter::WriteBuchalterSaleItem(const xml::TXMLNode& row, const char* element, int rate, bool hasTax) {
  xml::TXMLNode netElement = row.FindChild(element);
  if (!netElement) return;
  int n = std::atoi(element + 2);
  double net = xml::XmlStrToFloat(netElement.Text());
  // A net element without its VAT element counts the VAT as 0.
  double tax = hasTax ? ElementAmount(row, "K_" + std::to_string(n + 1)) : 0.0;
  if (net == 0 && tax == 0) return;
  ++ItemNo;
  int code = BuchalterRateCode(rate);
  int percent = rate == kExemptRate ? 0 : rate;

  db::TDbfTable& t = SaleItems();
  t.Append();
  t.SetAsString("STV", "N");
  t.SetAsInteger("STM", 1);
  t.SetAsString("CSS", "T");
  WriteSaleNumber(t);
  t.SetAsString("DAW", IssueDate);
  t.SetAsString("DAV", SaleDate);
  t.SetAsInteger("KON", 0);
  t.SetAsInteger("TYP", 1);
  t.SetAsInteger("RYT", 3);
  t.SetAsFloat("RYS", 3.0);
  t.SetAsString("NA1", "SPRZEDAZ " + RateText(rate));
  t.SetAsFloat("ILO", 1.0);
  t.SetAsFloat("RAS", 0);
  if (Return) {
    for (const char* field : {"CNB", "CBB", "CNR", "CBR", "WNE", "WAV", "WAB"}) t.SetAsFloat(field, 0);
    t.SetAsFloat("KRN", net);
    t.SetAsFloat("KRV", tax);
    t.SetAsFloat("KILO", 1.0);
    t.SetAsFloat("KCNB", net);
    t.SetAsFloat("KCBB", net + tax);
    t.SetAsFloat("RAS", 0);
    t.SetAsFloat("KCNR", net);
    t.SetAsFloat("KCBR", net + tax);
    t.SetAsInteger("KVAT", code);
    t.SetAsFloat("KVAS", percent);
    t.SetAsFloat("KWAV", tax);
    t.SetAsFloat("KWAB", net + tax);
  } else {
    t.SetAsFloat("CNB", net);
    t.SetAsFloat("CBB", net + tax);
    t.SetAsFloat("CNR", net);
    t.SetAsFloat("CBR", net + tax);
    t.SetAsFloat("WNE", net);
    t.SetAsFloat("WAV", tax);
    t.SetAsFloat("WAB", net + tax);
    t.SetAsFloat("KRN", 0);
    t.SetAsFloat("KRV", 0);
  }
  t.SetAsInteger("VAT", code);
  t.SetAsFloat("VAS", percent);
  t.SetAsInteger("REK", RecNo);
  t.SetAsInteger("REC", ItemNo);
  t.SetAsInteger("ZRP", 1);
  t.SetAsString("STA", "T");
  t.SetAsString("WAL", "PLN");
  t.SetAsFloat("KVA", 1.0);
  t.SetAsFloat("KKS", 1.0);
  t.Post();
}

void BuchalterWriter::WriteBuchalterPurchase(const xml::TXMLNode& row) {
  Net = PurchaseNetOfRow(row);
  Tax = PurchaseTaxOfRow(row);
  Return = Net < 0 || Tax < 0;
  DocType = Return ? 3 : 1;
  std::string dowod = ChildText(row, "DowodZakupu");
  Kind = ToLowerAscii(dowod).find("fue") != std::string::npos ? 2 : 1;
  ++RecNo;
  PurchaseDate = ChildText(row, "DataZakupu");
  // A row without DataWplywu was received on its purchase date (the register omits the
  // element when the two are equal).
  ReceiptDate = row.FindChild("DataWplywu") ? ChildText(row, "DataWplywu") : PurchaseDate;
  std::string name = ChildText(row, "NazwaDostawcy");

  db::TDbfTable& t = Purchases();
  t.Append();
  t.SetAsString("TTR", "N");
  t.SetAsInteger("STM", Kind);
  t.SetAsString("ANU", "N");
  t.SetAsInteger("TYV", DocType);
  t.SetAsString("NRV", dowod);
  t.SetAsString("DAV", ReceiptDate);
  t.SetAsString("DZK", ReceiptDate);
  t.SetAsString("KDO", shortener_.Shorten(name));
  WriteNameFields(t, name);
  t.SetAsString("KRA", "POLSKA");
  t.SetAsString("NIP", ChildText(row, "NrDostawcy"));
  if (Return) {
    t.SetAsFloat("KRN", Net);
    t.SetAsFloat("KRV", Tax);
    t.SetAsString("OP1", "ZWROT");
    t.SetAsInteger("TYM", 1);
  } else {
    t.SetAsFloat("NET", Net);
    t.SetAsFloat("VAT", Tax);
    t.SetAsFloat("BRU", round2(Net + Tax));
    t.SetAsString("OP1", "ZAKUP TH");
  }
  t.SetAsString("PLA", "INNA");
  t.SetAsString("DPL", PurchaseDate);
  t.SetAsInteger("REC", RecNo);
  t.SetAsInteger("AKT", 0);
  t.SetAsInteger("TRY", 1);
  t.SetAsInteger("TRK", 1);
  t.SetAsString("ZAP", "N");
  t.SetAsInteger("KZA", 0);
  t.SetAsString("DAM", PurchaseDate);
  t.SetAsString("STA", "T");
  t.SetAsString("WAL", "PLN");
  t.SetAsFloat("KVA", 1.0);
  t.SetAsFloat("KKS", 1.0);
  t.SetAsInteger("TKO", 1);
  t.Post();

  WriteBuchalterPurchaseItem(row);
}

void BuchalterWriter::WriteBuchalterPurchaseItem(const xml::TXMLNode& row) {
  // The rate from the proportion of VAT to net: 5 % or 8 % within 0.01 points, else
  // 23 %; VAT with a zero net is taken as 23 %.
  int rate = 0;
  if (Tax != 0) {
    rate = 23;
    if (Net != 0) {
      double percent = Tax / Net * 100;
      if (std::fabs(percent - 5) < 0.01)
        rate = 5;
      else if (std::fabs(percent - 8) < 0.01)
        rate = 8;
    }
  }
  ++ItemNo;

  db::TDbfTable& t = PurchaseItems();
  t.Append();
  t.SetAsString("STV", "N");
  t.SetAsInteger("STM", Kind);
  t.SetAsString("ANU", "N");
  t.SetAsInteger("TYV", DocType);
  t.SetAsString("NRV", ChildText(row, "DowodZakupu"));
  t.SetAsString("DAV", ReceiptDate);
  t.SetAsInteger("KON", 0);
  t.SetAsInteger("TYW", 1);
  t.SetAsInteger("TYZ", 1);
  t.SetAsInteger("TYS", 1);
  t.SetAsString("NA1", "ZAKUP " + RateText(rate));
  t.SetAsInteger("VAT", BuchalterRateCode(rate));
  t.SetAsFloat("VAS", rate);
  t.SetAsString("CZO", "1");
  t.SetAsInteger("REK", RecNo);
  t.SetAsInteger("REC", ItemNo);
  if (Return) {
    for (const char* field : {"ILO", "CEN", "CEB", "WAN", "WAV", "WAB"}) t.SetAsFloat(field, 0);
    t.SetAsFloat("KRN", Net);
    t.SetAsFloat("KRV", Tax);
  } else {
    t.SetAsFloat("ILO", 1.0);
    t.SetAsFloat("CEN", Net);
    t.SetAsFloat("CEB", Net + Tax);
    t.SetAsFloat("WAN", Net);
    t.SetAsFloat("WAV", Tax);
    t.SetAsFloat("WAB", Net + Tax);
    t.SetAsFloat("ILK", -1.0);
    t.SetAsFloat("KRN", 0);
    t.SetAsFloat("KRV", 0);
  }
  t.SetAsString("WAL", "PLN");
  t.SetAsFloat("KVA", 1.0);
  t.SetAsFloat("KKS", 1.0);
  t.SetAsString("RE3", "N");
  t.Post();
}

std::string ConvertV7ToBuchalter(const v7m::IXMLJPK& doc, const std::string& outputFolder, const std::string& runDir,
                                 const std::vector<std::string>& cutDict) {
  xml::TXMLNode ewidencja = doc.FindChild("Ewidencja");
  if (!ewidencja) {
    ShowErrorBox(kNoEwidencja);
    return {};
  }
  BusyCursor busy;
  xml::TXMLNode naglowek = doc.FindChild("Naglowek");
  std::string rok = naglowek ? Trim(ChildText(naglowek, "Rok")) : std::string();
  std::string year = rok.size() >= 4 ? rok.substr(2, 2) : rok;
  BuchalterWriter writer(outputFolder, IncludeTrailingPathDelimiter(runDir) + "Buchalter/Empty/", year, cutDict);
  writer.WriteRegister(ewidencja);
  writer.Commit();
  ShowInfo(kConversionDone);
  return writer.FullName(0);
}

}  // namespace velkar
