// The Buchalter tables: the VAT register of a JPK_V7M(2) document written into the four
// dBASE tables the Buchalter accounting program imports (sales documents B5SPEX, sales
// items B5ESEX, purchase documents B5ZAEX, purchase items B5EZEX), each a copy of its
// template from Buchalter/Empty/ named name + YY + ".dbf", text in Mazovia.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "exchange/ExchangeText.h"
#include "model/v7m/JpkV7.h"
#include "tools/db/DbfTable.h"

namespace velkar {

inline constexpr const char* kConversionDone = "Zakończono konwersję\rSprawdź wygenerowane dane";
inline constexpr const char* kNoEwidencja = "Brak elementu \"Ewidencja\" w pliku JPK";

// Rate codes of the item tables (fields VAT and KVAT): 23 → 1, 8 → 2, 0 → 3, exempt → 4,
// 5 → 8. kExemptRate stands for the exempt rate ("ZW").
inline constexpr int kExemptRate = -1;
int BuchalterRateCode(int rate);

// One conversion: the four tables, filled in working copies next to their final names,
// and the state of the run (record numbers, the current row's amounts and parts).
class BuchalterWriter {
 public:
  // Copies the four templates of `templateFolder` into working copies in `outputFolder`
  // (the tables' year suffix `year`, for example "24"). Raises the database engine's
  // error for a missing template or folder.
  BuchalterWriter(const std::string& outputFolder, const std::string& templateFolder, const std::string& year,
                  const std::vector<std::string>& cutDict);
  ~BuchalterWriter();
  BuchalterWriter(const BuchalterWriter&) = delete;
  BuchalterWriter& operator=(const BuchalterWriter&) = delete;

  // Every sales row (from the first SprzedazWiersz to the first element without
  // LpSprzedazy), then every purchase row likewise, of `ewidencja`.
  void WriteRegister(const xml::TXMLNode& ewidencja);

  // One sales row: its B5SPEX record and its B5ESEX items.
  void WriteBuchalterSale(const xml::TXMLNode& row);
  // The B5ESEX item of one rate: `element` the net element ("K_19"), `rate` in per cent or
  // kExemptRate; with `hasTax` the VAT is the next element (K_20), else 0. Nothing when
  // the row lacks the net element or both amounts are 0.
  void WriteBuchalterSaleItem(const xml::TXMLNode& row, const char* element, int rate, bool hasTax);
  // One purchase row: its B5ZAEX record and its one B5EZEX item.
  void WriteBuchalterPurchase(const xml::TXMLNode& row);
  void WriteBuchalterPurchaseItem(const xml::TXMLNode& row);

  // Puts the four tables in place of their final names (B5EZEX first, B5SPEX last).
  void Commit();
  // Drops the working copies: no table of this run appears (also done by the destructor
  // of a writer that was not committed).
  void Discard();

  std::string FullName(int table) const { return tables_[static_cast<size_t>(table)]->FullName(); }

 private:
  db::TDbfTable& Sales() { return *tables_[0]; }
  db::TDbfTable& SaleItems() { return *tables_[1]; }
  db::TDbfTable& Purchases() { return *tables_[2]; }
  db::TDbfTable& PurchaseItems() { return *tables_[3]; }
  // TYV, PRE, NRV and POS of a sales document or item record.
  void WriteSaleNumber(db::TDbfTable& table);
  void WriteNameFields(db::TDbfTable& table, const std::string& name);

  std::vector<std::unique_ptr<db::TDbfTable>> tables_;
  ContractorNameShortener shortener_;
  bool done_ = false;

  // The state of the run.
  long long RecNo = 0;
  long long ItemNo = 0;
  double Net = 0, Tax = 0;
  bool Return = false;
  int DocType = 0;
  int Kind = 1;
  std::string Prefix, Number, Suffix;
  std::string IssueDate, SaleDate, ReceiptDate, PurchaseDate;
};

// ConvertV7ToBuchalter: without Ewidencja the error box kNoEwidencja and no file touched;
// otherwise, under the hourglass cursor, the four tables for the year of Naglowek/Rok
// written into `outputFolder` from the templates in RunDir + "Buchalter/Empty/", then the
// information kConversionDone. Returns the full name of the sales document table, "" when
// nothing was written. A failure leaves none of the four tables of this run behind
// (earlier tables of the same names stay) and propagates.
std::string ConvertV7ToBuchalter(const v7m::IXMLJPK& doc, const std::string& outputFolder, const std::string& runDir,
                                 const std::vector<std::string>& cutDict);

}  // namespace velkar
