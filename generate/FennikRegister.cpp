// Reading Fennik's VAT register (one "Register" table per year) into JPK_V7M rows:
// registers below 128 are sales, from 128 purchases. The control totals are left to the
// editor's recalculation.
#include "app/Settings.h"
#include "base/Error.h"
#include "base/Paths.h"
#include "generate/GenJpkVatDlg.h"
#include "generate/KsefMarking.h"
#include "generate/RegisterRecords.h"
#include "generate/RowBuilders.h"
#include "tools/AmountElements.h"
#include "tools/ContractorData.h"
#include "tools/Money.h"

namespace velkar {

namespace {

constexpr long long kFirstPurchaseRegister = 128;
constexpr long long kImportProcedure = 2;  // bit 1 of "Procedura" on a purchase: IMP

std::string FennikDocument(const db::TTable& reg, long long regId) {
  std::string doc = reg.FieldByName("DocName").AsString();
  if (doc.empty()) Fail("Brak numeru dokumentu.\r%d %d", regId, reg.FieldByName("Number").AsInteger());
  return doc;
}

}  // namespace

void GenerateFromFennik(TGenJpkVatDlg& dialog, const v7m::IXMLJPK& document) {
  const ProgramSettings& settings = Settings();
  const DateTime period = settings.CurDate;
  db::TTable& reg = dialog.tblReg;
  db::TTable& users = dialog.tblUsers;
  CloseOnExit closing(reg, users);
  LinkContractors(users, reg, settings.UserDir, "FirmId");
  UsersIsSingle = true;
  reg.DatabaseName = settings.FennikDir + Format("%04d/", period.year);
  reg.TableName = "Register";
  reg.Filter = Format("[VATMonth] = %d", period.month);
  OpenRegister(users, reg);
  if (dialog.cbSale.Checked) ReadFennikSales(dialog, document);
  if (dialog.cbBuy.Checked) ReadFennikPurchases(dialog, document);
}

void ReadFennikSales(TGenJpkVatDlg& dialog, const v7m::IXMLJPK& document) {
  db::TTable& reg = dialog.tblReg;
  v7m::IXMLJPK_Ewidencja_SprzedazWierszList rows = document.Ewidencja().SprzedazWiersz();
  int count = 0;
  std::string prefix, nip, name, address;
  const KsefRowMarking ksef(document, reg);
  for (reg.First(); !reg.Eof(); reg.Next()) {
    long long regId = reg.FieldByName("RegId").AsInteger();
    if (regId >= kFirstPurchaseRegister) continue;
    ++count;
    std::string doc = FennikDocument(reg, regId);
    GetContractorData(doc, dialog.tblUsers, prefix, nip, name, address, true);
    std::string type = reg.FieldByName("TypDokumentu").AsString();
    v7m::IXMLJPK_Ewidencja_SprzedazWiersz row = rows.Add();
    SetSaleLineV7(row, count, prefix, nip, name, doc, DateOf(reg, "RegDate"), DateOf(reg, "SaleDate"), type,
                  reg.FieldByName("GTU").AsInteger(), reg.FieldByName("Procedura").AsInteger());
    ksef.Sale(row, type, doc);
    SetAmountElement(row, reg, "K_10", "ValueFree", false, false);
    SetAmountElement(row, reg, "K_13", "Value0", false, false);
    // A Tax Free sale ("TaxFree", case as written) reports its 0 % value again in K_14.
    if (doc.starts_with("TaxFree")) SetAmountElement(row, reg, "K_14", "Value0", false, false);
    SetAmountPair(row, reg, "K_15", "Net3", "K_16", "Vat3", false);
    SetAmountPair(row, reg, "K_17", "Net7", "K_18", "Vat7", false);
    SetAmountPair(row, reg, "K_19", "Net22", "K_20", "Vat22", false);
  }
}

void ReadFennikPurchases(TGenJpkVatDlg& dialog, const v7m::IXMLJPK& document) {
  const ProgramSettings& settings = Settings();
  db::TTable& reg = dialog.tblReg;
  v7m::IXMLJPK_Ewidencja_ZakupWierszList rows = document.Ewidencja().ZakupWiersz();
  int count = 0;
  std::string prefix, nip, name, address;
  const KsefRowMarking ksef(document, reg);
  auto value = [&reg](const char* field) { return reg.FieldByName(field).AsFloat(); };
  for (reg.First(); !reg.Eof(); reg.Next()) {
    long long regId = reg.FieldByName("RegId").AsInteger();
    if (regId < kFirstPurchaseRegister) continue;
    ++count;
    std::string doc = FennikDocument(reg, regId);
    long long procedures = reg.FieldByName("Procedura").AsInteger();
    GetContractorData(doc, dialog.tblUsers, prefix, nip, name, address, true);
    std::string type = reg.FieldByName("TypDokumentu").AsString();
    const bool imp = (procedures & kImportProcedure) != 0;
    v7m::IXMLJPK_Ewidencja_ZakupWiersz row = rows.Add();
    SetBuyLineV7(row, count, prefix, nip, name, doc, DateOf(reg, "SaleDate"), DateOf(reg, "RegDate"), type, imp);
    ksef.Purchase(row, type, imp, doc);
    // The rate sum is rounded, the additions are not; the whole is written to the grosz.
    double net = round2(value("Net22") + value("Net7") + value("Net3") + value("Value0"));
    if (settings.AddValZw2Net) net += value("ValueFree");
    if (settings.AddNPO2Net) net += value("VatNoDeduct");
    double tax = round2(value("Vat22") + value("Vat7") + value("Vat3"));
    WriteAmount(row, "K_42", net, true);
    WriteAmount(row, "K_43", tax, true);
  }
}

}  // namespace velkar
