// Reading Tulvo's VAT registers into JPK_V7M rows, in both table layouts: the newer one
// (one "Register" table per year, sales and purchases told by RegType) and the older one
// (nine tables per year, REGS ... REGBP, periods told by "Period Id"). The control totals
// are left to the editor's recalculation.
#include <array>

#include "app/Settings.h"
#include "base/Error.h"
#include "base/Paths.h"
#include "base/Text.h"
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

constexpr const char* kNewerTable = "Register";
// The older layout's tables in the order they are read.
constexpr std::array<const char*, 9> kOlderTables = {"REGS",    "REGSKOR", "REGSU", "REGB1", "REGB",
                                                      "REGB2",   "REGBKOR", "REGBA", "REGBP"};

constexpr int kSalesRegType = 0;
constexpr int kPurchaseRegType = 128;
constexpr long long kImportProcedure = 2;  // bit 1 of "Procedura" on a purchase: IMP

bool IsNewerLayout(const std::string& tableName) { return tableName == kNewerTable; }

// REGB1 (import of goods) is also reported on the sales side under Zakup2Ex.
bool IsImportAlsoSold(const std::string& tableName) { return Settings().Zakup2Ex && tableName == "REGB1"; }

std::string TulvoDocument(const db::TTable& reg, const std::string& tableName) {
  std::string doc = reg.FieldByName(IsNewerLayout(tableName) ? "DocName" : "Dokument").AsString();
  if (doc.empty())
    Fail("Brak numeru dokumentu.\rRejestr: %s Nr: %d", tableName, reg.FieldByName("Number").AsInteger());
  return doc;
}

}  // namespace

void GenerateFromTulvo(TGenJpkVatDlg& dialog, const v7m::IXMLJPK& document) {
  const ProgramSettings& settings = Settings();
  const DateTime period = settings.CurDate;
  db::TTable& reg = dialog.tblReg;
  db::TTable& users = dialog.tblUsers;
  CloseOnExit closing(reg, users);
  const std::string yearFolder = settings.TulvoDir + Format("%04d/", period.year);
  const bool newer = FileExists(yearFolder + kNewerTable + ".db");
  LinkContractors(users, reg, settings.TulvoUserDir, newer ? "FirmId" : "User");
  UsersIsSingle = true;

  std::vector<std::string> passes;
  if (newer)
    passes = {kNewerTable, kNewerTable};
  else
    passes.assign(kOlderTables.begin(), kOlderTables.end());
  for (size_t pass = 0; pass < passes.size(); ++pass) {
    const std::string& tableName = passes[pass];
    bool sale, purchase;
    if (newer) {
      sale = pass == 0;
      purchase = pass == 1;
    } else {
      std::string lower = ToLowerAscii(tableName);
      sale = lower.find("regs") != std::string::npos || IsImportAlsoSold(tableName);
      purchase = lower.find("regb") != std::string::npos;
    }
    if ((sale && !dialog.cbSale.Checked) || (purchase && !dialog.cbBuy.Checked)) continue;
    reg.DatabaseName = yearFolder;
    reg.TableName = tableName;
    reg.Filter = newer ? Format("([RegType] = %d) and ([VatPeriod] = %d)", sale ? kSalesRegType : kPurchaseRegType,
                                period.month)
                       : Format("[Period Id] = %d", TulvoPeriodId(period.year, period.month));
    OpenRegister(users, reg);
    if (sale) ReadTulvoSales(dialog, document, tableName);
    if (purchase) ReadTulvoPurchases(dialog, document, tableName);
    users.Close();
    reg.Close();
  }
}

void ReadTulvoSales(TGenJpkVatDlg& dialog, const v7m::IXMLJPK& document, const std::string& tableName) {
  const ProgramSettings& settings = Settings();
  db::TTable& reg = dialog.tblReg;
  const bool newer = IsNewerLayout(tableName);
  const bool importSold = !newer && IsImportAlsoSold(tableName);
  const bool importedServices = !newer && !importSold && settings.Sprzedaz2ImpUslugEx && tableName == "REGS";
  v7m::IXMLJPK_Ewidencja_SprzedazWierszList rows = document.Ewidencja().SprzedazWiersz();
  int count = 0;
  std::string prefix, nip, name, address;
  const KsefRowMarking ksef(document, reg);
  for (reg.First(); !reg.Eof(); reg.Next()) {
    ++count;
    std::string doc = TulvoDocument(reg, tableName);
    GetContractorData(doc, dialog.tblUsers, prefix, nip, name, address, true);
    std::string issued = DateOf(reg, newer ? "DocDate" : "Data Wystawienia");
    std::string sold = DateOf(reg, newer ? "SaleDate" : importSold ? "Data Wplywu" : "Data Sprzedazy");
    std::string type = reg.FieldByName("TypDokumentu").AsString();
    v7m::IXMLJPK_Ewidencja_SprzedazWiersz row = rows.Add();
    SetSaleLineV7(row, count, prefix, nip, name, doc, issued, sold, type, reg.FieldByName("GTU").AsInteger(),
                  reg.FieldByName("Procedura").AsInteger());
    ksef.Sale(row, type, doc);
    // A Tax Free sale ("TaxFree", case as written) reports its 0 % value again in K_14.
    const bool taxFree = doc.starts_with("TaxFree");
    if (newer) {
      SetAmountElement(row, reg, "K_10", "ValueFree", false, false);
      SetAmountElement(row, reg, "K_13", "Value0", false, false);
      if (taxFree) SetAmountElement(row, reg, "K_14", "Value0", false, false);
      SetAmountPair(row, reg, "K_15", "NetD", "K_16", "VatD", false);
      SetAmountPair(row, reg, "K_17", "NetB", "K_18", "VatB", false);
      SetAmountPair(row, reg, "K_19", "NetA", "K_20", "VatA", false);
    } else if (importSold) {
      // Import of goods settled in the return (art. 33a): K_25, K_26.
      SetAmountPair(row, reg, "K_25", "Wart. 22", "K_26", "VAT 22", false);
    } else if (importedServices) {
      // Import of services (art. 28b): K_29, K_30.
      SetAmountPair(row, reg, "K_29", "Wart. 22", "K_30", "VAT 22", false);
    } else {
      SetAmountElement(row, reg, "K_10", "Wart. zw", false, false);
      SetAmountElement(row, reg, "K_13", "Wart. 0", false, false);
      if (taxFree) SetAmountElement(row, reg, "K_14", "Wart. 0", false, false);
      SetAmountPair(row, reg, "K_15", "Wart. 3", "K_16", "VAT 3", false);
      SetAmountPair(row, reg, "K_17", "Wart. 7", "K_18", "VAT 7", false);
      SetAmountPair(row, reg, "K_19", "Wart. 22", "K_20", "VAT 22", false);
    }
  }
}

void ReadTulvoPurchases(TGenJpkVatDlg& dialog, const v7m::IXMLJPK& document, const std::string& tableName) {
  const ProgramSettings& settings = Settings();
  db::TTable& reg = dialog.tblReg;
  const bool newer = IsNewerLayout(tableName);
  v7m::IXMLJPK_Ewidencja_ZakupWierszList rows = document.Ewidencja().ZakupWiersz();
  int count = 0;
  std::string prefix, nip, name, address;
  const KsefRowMarking ksef(document, reg);
  auto value = [&reg](const char* field) { return reg.FieldByName(field).AsFloat(); };
  for (reg.First(); !reg.Eof(); reg.Next()) {
    ++count;
    std::string doc = TulvoDocument(reg, tableName);
    GetContractorData(doc, dialog.tblUsers, prefix, nip, name, address, true);
    std::string bought = DateOf(reg, newer ? "SaleDate" : "Data Wystawienia");
    std::string received = DateOf(reg, newer ? "DocDate" : "Data Wplywu");
    bool imp = (reg.FieldByName("Procedura").AsInteger() & kImportProcedure) != 0;
    std::string type = reg.FieldByName("TypDokumentu").AsString();
    v7m::IXMLJPK_Ewidencja_ZakupWiersz row = rows.Add();
    SetBuyLineV7(row, count, prefix, nip, name, doc, bought, received, type, imp);
    ksef.Purchase(row, type, imp, doc);
    double net, tax;
    if (newer) {
      net = value("NetA") + value("NetB") + value("NetD") + value("Value0");
      if (settings.AddValZw2Net) net += value("ValueFree");
      net = round2(net);
      tax = round2(value("VatA") + value("VatB") + value("VatD"));
    } else {
      net = value("Wart. 22") + value("Wart. 7") + value("Wart. 3") + value("Wart. 0");
      if (settings.AddValZw2Net) net += value("Wart. zw");
      if (settings.AddNPO2Net) net += value("VatNPO");
      net = round2(net);
      tax = round2(value("VAT"));
    }
    // Fixed assets (REGBP of the older layout) go to K_40 and K_41, all else to K_42, K_43.
    const bool fixedAssets = tableName == "REGBP";
    WriteAmount(row, fixedAssets ? "K_40" : "K_42", net, true);
    WriteAmount(row, fixedAssets ? "K_41" : "K_43", tax, true);
  }
}

}  // namespace velkar
