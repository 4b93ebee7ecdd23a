// Reading Gradmo's VAT register (REG) into JPK_V7M rows: sales by document class and
// flag bits, purchases of classes 128 and 129, and the control totals of both sections.
#include "app/Settings.h"
#include "base/Error.h"
#include "base/Paths.h"
#include "generate/GenJpkVatDlg.h"
#include "generate/KsefMarking.h"
#include "generate/RegisterRecords.h"
#include "generate/RowBuilders.h"
#include "tools/AmountElements.h"
#include "tools/ContractorData.h"
#include "tools/Dictionaries.h"
#include "tools/Money.h"

namespace velkar {

namespace {

// Flag bits of "Flags".
constexpr long long kCostInvoice = 2;     // bit 1: a cost invoice (purchases: only with AddCostInvo)
constexpr long long kLeftOut = 8;         // bit 3: left out; a cancelled receipt in class 6
constexpr long long kToReceipt = 16;      // bit 4: an invoice to a receipt ("FP")
constexpr long long kHalfDeductible = 64;  // bit 6: half of net and VAT reported
constexpr long long kRelatedParty = 256;  // bit 8: procedure TP
constexpr long long kZeroRateSupply = 512;  // bit 9: 0 % supply instead of outside the country
constexpr long long kImport = 1024;       // bit 10: IMP

constexpr int kTpProcedure = 4;  // bit 2 of the procedure mask

// The document number of the current record; a missing one stops the reading.
std::string DocumentNumber(const db::TTable& reg, long long documentClass) {
  std::string doc = reg.FieldByName("Document").AsString();
  if (doc.empty())
    Fail("Brak numeru dokumentu (%d-%d-%d-%d)", documentClass, reg.FieldByName("Year").AsInteger(),
         reg.FieldByName("MagId").AsInteger(), reg.FieldByName("Number").AsInteger());
  return doc;
}

}  // namespace

void GenerateFromGradmo(TGenJpkVatDlg& dialog, const v7m::IXMLJPK& document) {
  const ProgramSettings& settings = Settings();
  const DateTime period = settings.CurDate;
  db::TTable& reg = dialog.tblReg;
  db::TTable& users = dialog.tblUsers;
  CloseOnExit closing(reg, users);
  reg.DatabaseName = settings.QorDataDir;
  reg.TableName = DatePrefixedName(settings.YearQorTbl, "REG", period);
  LinkContractors(users, reg, settings.UserDir, "Payer");
  UsersIsSingle = FileExists(settings.UserDir + "Users.db");

  if (dialog.cbSale.Checked) {
    if (!UsersIsSingle) users.TableName = DatePrefixedName(settings.YearUsrTbl, "UR", period);
    OpenRegisterForMonth(users, reg, settings.RegBySaleDate ? "SaleDate" : "Date", period);
    ReadGradmoSales(dialog, document);
    users.Close();
    reg.Close();
  }
  if (dialog.cbBuy.Checked) {
    if (!UsersIsSingle) users.TableName = DatePrefixedName(settings.YearUsrTbl, "UC", period);
    // Purchases are selected by their receipt date whatever RegBySaleDate says.
    OpenRegisterForMonth(users, reg, "Date", period);
    ReadGradmoPurchases(dialog, document);
  }
}

void ReadGradmoSales(TGenJpkVatDlg& dialog, const v7m::IXMLJPK& document) {
  const ProgramSettings& settings = Settings();
  db::TTable& reg = dialog.tblReg;
  v7m::IXMLJPK_Ewidencja ewidencja = document.Ewidencja();
  v7m::IXMLJPK_Ewidencja_SprzedazWierszList rows = ewidencja.SprzedazWiersz();
  int count = 0;
  double total = 0;
  std::string prefix, nip, name, address;
  const KsefRowMarking ksef(document, reg);
  for (reg.First(); !reg.Eof(); reg.Next()) {
    long long documentClass = reg.FieldByName("Class").AsInteger();
    long long flags = reg.FieldByName("Flags").AsInteger();
    bool take = settings.SalesDocumentClasses.contains(static_cast<int>(documentClass)) && !(flags & kLeftOut);
    bool cancel = documentClass == 6 && (flags & kLeftOut);
    if (cancel) take = settings.AddAnulParag;
    if (!take) continue;
    ++count;
    std::string doc = DocumentNumber(reg, documentClass);
    // Exports, receipts and invoices to receipts (classes 2 to 7) need no valid NIP.
    GetContractorData(doc, dialog.tblUsers, prefix, nip, name, address, documentClass < 2 || documentClass > 7);
    if (cancel) doc = "Korekta: " + doc;
    bool fp = (flags & kToReceipt) || documentClass == 4 || documentClass == 5;
    std::string type = fp ? "FP" : cancel ? "WEW" : "";
    int procedures = (flags & kRelatedParty) ? kTpProcedure : 0;

    v7m::IXMLJPK_Ewidencja_SprzedazWiersz row = rows.Add();
    SetSaleLineV7(row, count, prefix, nip, name, doc, DateOf(reg, "Date"), DateOf(reg, "SaleDate"), type,
                  reg.FieldByName("GTU").AsInteger(), procedures);
    ksef.Sale(row, type, doc);
    int cls = static_cast<int>(documentClass);
    if (ClassIs(cls, 2) || ClassIs(cls, 22)) {
      // Supplies outside the country (K_11, of which services taxed by the EU buyer K_12),
      // or with flag bit 9 at 0 %: intra-Community supply K_21, export of goods K_22.
      if (!(flags & kZeroRateSupply)) {
        SetAmountElement(row, reg, "K_11", "Value", false, false);
        if (ClassIs(cls, 22)) SetAmountElement(row, reg, "K_12", "Value", false, false);
      } else {
        SetAmountElement(row, reg, ClassIs(cls, 22) ? "K_21" : "K_22", "Value", false, false);
      }
    } else {
      SetAmountElement(row, reg, "K_10", "ValueFree", cancel, false);
      SetAmountElement(row, reg, "K_13", "Value0", cancel, false);
      SetAmountPair(row, reg, "K_15", "Value3", "K_16", "Tax3", cancel);
      SetAmountPair(row, reg, "K_17", "Value7", "K_18", "Tax7", cancel);
      SetAmountPair(row, reg, "K_19", "Value22", "K_20", "Tax22", cancel);
    }
    // An invoice to a receipt repeats tax already reported with the receipts.
    if (!fp) {
      double tax = reg.FieldByName("TotalTax").AsFloat();
      total = round2(total + (cancel ? -tax : tax));
    }
  }
  v7m::IXMLJPK_Ewidencja_SprzedazCtrl ctrl = ewidencja.SprzedazCtrl();
  ctrl.Set_LiczbaWierszySprzedazy(count);
  ctrl.Set_PodatekNalezny(total + 0.0);
}

void ReadGradmoPurchases(TGenJpkVatDlg& dialog, const v7m::IXMLJPK& document) {
  db::TTable& reg = dialog.tblReg;
  const long long mask = Settings().AddCostInvo ? kLeftOut : kLeftOut | kCostInvoice;
  v7m::IXMLJPK_Ewidencja ewidencja = document.Ewidencja();
  v7m::IXMLJPK_Ewidencja_ZakupWierszList rows = ewidencja.ZakupWiersz();
  int count = 0;
  double total = 0;
  std::string prefix, nip, name, address;
  const KsefRowMarking ksef(document, reg);
  for (reg.First(); !reg.Eof(); reg.Next()) {
    long long documentClass = reg.FieldByName("Class").AsInteger();
    long long flags = reg.FieldByName("Flags").AsInteger();
    if ((flags & mask) || (documentClass != 128 && documentClass != 129)) continue;
    ++count;
    std::string doc = DocumentNumber(reg, documentClass);
    GetContractorData(doc, dialog.tblUsers, prefix, nip, name, address, true);
    bool imp = (flags & kImport) != 0;
    // DokumentZakupu stays empty: classes 134 and 135 ("VAT_RR") are not purchases here.
    v7m::IXMLJPK_Ewidencja_ZakupWiersz row = rows.Add();
    SetBuyLineV7(row, count, prefix, nip, name, doc, DateOf(reg, "SaleDate"), DateOf(reg, "Date"), "", imp);
    ksef.Purchase(row, "", imp, doc);
    double net = round2(reg.FieldByName("Value22").AsFloat() + reg.FieldByName("Value7").AsFloat() +
                        reg.FieldByName("Value3").AsFloat() + reg.FieldByName("Value0").AsFloat() +
                        reg.FieldByName("ValueFree").AsFloat());
    double tax = round2(reg.FieldByName("TotalTax").AsFloat());
    if (flags & kHalfDeductible) {
      net = round2(net / 2);
      tax = round2(tax / 2);
    }
    // Fixed assets (K_40, K_41) never come from Gradmo.
    WriteAmount(row, "K_42", net, true);
    WriteAmount(row, "K_43", tax, true);
    total = round2(total + tax);
  }
  v7m::IXMLJPK_Ewidencja_ZakupCtrl ctrl = ewidencja.ZakupCtrl();
  ctrl.Set_LiczbaWierszyZakupow(count);
  ctrl.Set_PodatekNaliczony(total + 0.0);
}

}  // namespace velkar
