// The sample databases read back with our Paradox reader: folder layout, record layouts
// as documented, representative records of each program, links between tables, and the
// same bytes for the same seed.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "base/Error.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "ksef/Ksef.h"
#include "samples/Company.h"
#include "samples/SampleTables.h"
#include "samples/VatDocuments.h"
#include "tests/support/TempDir.h"
#include "tools/Dictionaries.h"
#include "tools/Money.h"
#include "tools/Nip.h"
#include "tools/db/paradox/ParadoxTable.h"

using namespace velkar;
using namespace velkar::samples;
namespace px = velkar::db::paradox;

namespace {

// A table read into memory: rows of field name -> value.
struct Rows {
  px::TableHeader header;
  std::vector<std::map<std::string, px::Value>> rows;

  size_t size() const { return rows.size(); }
};

Rows Read(const std::string& path) {
  px::ParadoxTable table = px::ParadoxTable::Open(path);
  Rows result{table.Header(), {}};
  table.ForEachRecord([&](const std::vector<px::Value>& values) {
    std::map<std::string, px::Value> row;
    for (size_t i = 0; i < values.size(); ++i) row[result.header.fields[i].name] = values[i];
    result.rows.push_back(std::move(row));
    return true;
  });
  return result;
}

long long Int(const std::map<std::string, px::Value>& row, const std::string& field) {
  const px::Value& v = row.at(field);
  return v.kind == px::Value::Kind::Integer ? v.integer : 0;
}
double Num(const std::map<std::string, px::Value>& row, const std::string& field) {
  const px::Value& v = row.at(field);
  return v.kind == px::Value::Kind::Number ? v.number : 0;
}
std::string Text(const std::map<std::string, px::Value>& row, const std::string& field) { return row.at(field).text; }

px::FieldType ReaderType(FieldType type) {
  switch (type) {
    case FieldType::Alpha:
      return px::FieldType::Alpha;
    case FieldType::Date:
      return px::FieldType::Date;
    case FieldType::Short:
      return px::FieldType::Short;
    case FieldType::Long:
      return px::FieldType::Long;
    case FieldType::AutoInc:
      return px::FieldType::AutoInc;
    case FieldType::Number:
      return px::FieldType::Number;
    case FieldType::Currency:
      return px::FieldType::Currency;
  }
  return px::FieldType::Alpha;
}

class SampleDatabases : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new test::TempDir();
    WriteSampleDatabases(dir_->Path(), SampleSet{});
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  static std::string Path(const std::string& name) { return dir_->Path() + name; }

  static test::TempDir* dir_;
};

test::TempDir* SampleDatabases::dir_ = nullptr;

// How a program's register table of 2026 tells its rows apart: document number, side,
// counterparty card and the invoice's date (the date part of a KSeF number).
struct RegisterView {
  std::string path;
  std::string document, card;
  std::function<bool(const std::map<std::string, px::Value>&)> sale;
  std::string saleDate, purchaseDate;
};

std::vector<RegisterView> RegistersOf2026() {
  auto classBelow128 = [](const auto& r) { return Int(r, "Class") < 128; };
  std::vector<RegisterView> views = {{"Gradmo/26_03REG", "Document", "Payer", classBelow128, "Date", "SaleDate"},
                                     {"Gradmo/2026REG", "Document", "Payer", classBelow128, "Date", "SaleDate"},
                                     {"Tulvo/2026/Register", "DocName", "FirmId",
                                      [](const auto& r) { return Int(r, "RegType") == 0; }, "DocDate", "SaleDate"},
                                     {"Fennik/2026/Register", "DocName", "FirmId",
                                      [](const auto& r) { return Int(r, "RegId") < 128; }, "RegDate", "SaleDate"}};
  for (VatRegister kind : AllVatRegisters()) {
    bool sales = IsSalesRegister(kind);
    views.push_back({std::string("TulvoStary/2026/") + TulvoTableName(kind), "Dokument", "User",
                     [sales](const auto&) { return sales; }, "Data Wystawienia", "Data Wystawienia"});
  }
  return views;
}

// The NIP of a card as the KSeF number's issuer part: its digits.
std::string NipDigits(long long card) {
  std::string digits;
  for (char c : ContractorByNumber(static_cast<int>(card)).nip)
    if (c >= '0' && c <= '9') digits += c;
  return digits;
}

// A KSeF number that passes the program's check (pattern and CRC-8), issued by the company
// for a sale or by the supplier for a purchase, on the invoice's date.
void ExpectKsefNumberOf(const RegisterView& view, const std::map<std::string, px::Value>& row,
                        const std::string& number) {
  std::string doc = Text(row, view.document);
  EXPECT_EQ(CheckKsefNumber(number, doc), number) << view.path << ' ' << doc;
  EXPECT_EQ(number.size(), 35u) << number;
  bool sale = view.sale(row);
  EXPECT_EQ(number.substr(0, 10), sale ? "5213000015" : NipDigits(Int(row, view.card))) << view.path << ' ' << doc;
  std::string date = Text(row, sale ? view.saleDate : view.purchaseDate);
  EXPECT_EQ(number.substr(11, 8), date.substr(0, 4) + date.substr(5, 2) + date.substr(8, 2)) << view.path << ' ' << doc;
}

}  // namespace

TEST_F(SampleDatabases, EveryProgramHasItsTablesWhereTheConfigurationPointsAt) {
  std::vector<std::string> expected = {"Kontrahenci/Users.db", "Kontrahenci/24_03UR.db", "Kontrahenci/2024UC.db"};
  for (const char* period : {"23_12", "24_01", "24_02", "24_03", "2023", "2024"})
    for (const char* table : {"REG", "WI", "WT", "W", "WS", "UR", "UC"})
      expected.push_back(std::string("Gradmo/") + period + table + ".db");
  for (const char* year : {"2023", "2024"}) {
    for (const char* table : {"REGS", "REGSKOR", "REGSU", "REGB1", "REGB", "REGB2", "REGBKOR", "REGBA", "REGBP",
                              "details", "accounts", "journal"})
      expected.push_back(std::string("TulvoStary/") + year + "/" + table + ".db");
    for (const char* table : {"Register", "details", "accounts", "journal"})
      expected.push_back(std::string("Tulvo/") + year + "/" + table + ".db");
    expected.push_back(std::string("Fennik/") + year + "/Register.db");
  }
  for (const auto& name : expected) EXPECT_TRUE(FileExists(Path(name))) << name;
  // Gradmo's own folder has no Users table: pointed at it, the readers use UR and UC.
  EXPECT_FALSE(FileExists(Path("Gradmo/Users.db")));
  EXPECT_FALSE(FileExists(Path("Tulvo/2024/REGS.db")));  // the newer layout only
  EXPECT_TRUE(DirectoryExists(Path("NetDir")));
  EXPECT_EQ(ReadLines(Path("TulvoAccSet.txt")).size(), 10u);
  EXPECT_EQ(ReadLines(Path("TulvoAccSet.txt"))[7], "7 Przychody i koszty związane z ich osiągnięciem");
}

TEST_F(SampleDatabases, TablesHaveTheDocumentedFieldsTypesKeysAndCodePages) {
  const std::vector<std::pair<std::string, TableDef>> tables = {{"Kontrahenci/Users", UsersTable()},
                                                                {"Kontrahenci/24_03UR", PeriodContractorTable()},
                                                                {"Gradmo/2024UC", PeriodContractorTable()},
                                                                {"Gradmo/24_03REG", GradmoRegTable()},
                                                                {"Gradmo/2023WI", GradmoWiTable()},
                                                                {"Gradmo/24_02WT", GradmoWtTable()},
                                                                {"Gradmo/24_01W", GradmoWTable()},
                                                                {"Gradmo/24_01WS", GradmoWsTable()},
                                                                {"TulvoStary/2024/REGBP", TulvoOldRegisterTable()},
                                                                {"TulvoStary/2023/REGS", TulvoOldRegisterTable()},
                                                                {"Tulvo/2024/Register", TulvoRegisterTable()},
                                                                {"Tulvo/2023/accounts", TulvoAccountsTable()},
                                                                {"Tulvo/2024/journal", TulvoJournalTable()},
                                                                {"Tulvo/2024/details", TulvoDetailsTable()},
                                                                {"Fennik/2024/Register", FennikRegisterTable()}};
  for (const auto& [name, def] : tables) {
    px::TableHeader header = px::ParadoxTable::Open(Path(name)).Header();
    ASSERT_EQ(header.fields.size(), def.fields.size()) << name;
    for (size_t i = 0; i < def.fields.size(); ++i) {
      EXPECT_EQ(header.fields[i].name, def.fields[i].name) << name;
      EXPECT_EQ(header.fields[i].type, ReaderType(def.fields[i].type)) << name << ' ' << def.fields[i].name;
      if (def.fields[i].type == FieldType::Alpha) {
        EXPECT_EQ(header.fields[i].size, def.fields[i].size) << name;
      }
    }
    EXPECT_EQ(header.keyFieldCount, def.keyFields) << name;
    EXPECT_EQ(header.codePage, def.codePage) << name;
  }
  // The older Tulvo layout is a DOS-era table in code page 852, its ledger too.
  EXPECT_EQ(px::ParadoxTable::Open(Path("TulvoStary/2023/journal")).Header().codePage, 852);
}

TEST_F(SampleDatabases, GradmoMarchRegisterHoldsEveryKindOfDocumentTheReadersTreat) {
  Rows reg = Read(Path("Gradmo/24_03REG"));
  auto count = [&](int cls, int flag) {
    return std::count_if(reg.rows.begin(), reg.rows.end(),
                         [&](const auto& r) { return Int(r, "Class") == cls && (Int(r, "Flags") & flag) == flag; });
  };
  EXPECT_GE(count(0, 0), 10);
  EXPECT_EQ(count(6, 8), 1);       // a cancelled receipt
  EXPECT_EQ(count(6, 0), 3);       // receipts
  EXPECT_EQ(count(4, 0), 1);       // an invoice to a receipt, class 4
  EXPECT_EQ(count(0, 16), 1);      // and one flagged FP
  EXPECT_EQ(count(0, 8), 1);       // a cancelled invoice
  EXPECT_EQ(count(0, 256), 1);     // TP
  EXPECT_EQ(count(1, 0), 1);       // a correction
  EXPECT_EQ(count(2, 512), 1);     // export of goods at 0 %
  EXPECT_EQ(count(2, 0), 2);       // ... and a service outside the country
  EXPECT_EQ(count(22, 512), 1);    // intra-Community supply
  EXPECT_EQ(count(48, 0), 1);      // a shop invoice
  EXPECT_EQ(count(128, 2), 4);     // cost invoices (one of them also half deducted)
  EXPECT_EQ(count(128, 64), 2);    // car costs, half deducted
  EXPECT_EQ(count(128, 1024), 1);  // import
  EXPECT_EQ(count(128, 8), 1);     // a purchase left out
  EXPECT_EQ(count(129, 0), 1);     // a supplier's correction

  std::set<int> rates;
  for (const auto& r : reg.rows) {
    // Every entry dated in March, with totals that add up.
    EXPECT_TRUE(StartsWith(Text(r, "Date"), "2024-03-")) << Text(r, "Document");
    EXPECT_EQ(round2(Num(r, "Tax3") + Num(r, "Tax7") + Num(r, "Tax22")), Num(r, "TotalTax")) << Text(r, "Document");
    int cls = static_cast<int>(Int(r, "Class"));
    if (cls < 128 && cls != 2 && cls != 22 && cls != 8 && cls != 9 && cls != 24 && cls != 32 && cls != 36) {
      double nets = Num(r, "ValueFree") + Num(r, "Value0") + Num(r, "Value3") + Num(r, "Value7") + Num(r, "Value22");
      EXPECT_EQ(round2(nets + Num(r, "TotalTax")), Num(r, "Value")) << Text(r, "Document");
    }
    if (Num(r, "Value22") != 0) rates.insert(23);
    if (Num(r, "Value7") != 0) rates.insert(8);
    if (Num(r, "Value3") != 0) rates.insert(5);
    if (Num(r, "Value0") != 0) rates.insert(0);
    EXPECT_FALSE(Text(r, "Document").empty());
  }
  EXPECT_EQ(rates, (std::set<int>{0, 5, 8, 23}));
  // A sale on the last day of February invoiced on 2 March.
  EXPECT_TRUE(
      std::any_of(reg.rows.begin(), reg.rows.end(), [](const auto& r) { return Text(r, "SaleDate") == "2024-02-29"; }));
}

TEST_F(SampleDatabases, GradmoYearlyTablesHoldTheMonthsTogether) {
  std::set<std::tuple<long long, long long, long long>> months, year;
  for (const char* month : {"24_01REG", "24_02REG", "24_03REG"})
    for (const auto& r : Read(Path(std::string("Gradmo/") + month)).rows)
      months.insert({Int(r, "Class"), Int(r, "Year"), Int(r, "Number")});
  Rows yearly = Read(Path("Gradmo/2024REG"));
  for (const auto& r : yearly.rows) year.insert({Int(r, "Class"), Int(r, "Year"), Int(r, "Number")});
  EXPECT_EQ(yearly.size(), months.size());
  EXPECT_EQ(year, months);
  EXPECT_EQ(Read(Path("Gradmo/2023WI")).size(), Read(Path("Gradmo/23_12WI")).size());
}

TEST_F(SampleDatabases, GradmoTablesLinkUp) {
  for (const char* p : {"23_12", "24_01", "24_02", "24_03", "2024"}) {
    std::string period = p;
    Rows reg = Read(Path("Gradmo/" + period + "REG")), wi = Read(Path("Gradmo/" + period + "WI"));
    Rows wt = Read(Path("Gradmo/" + period + "WT")), w = Read(Path("Gradmo/" + period + "W"));
    Rows ws = Read(Path("Gradmo/" + period + "WS")), ur = Read(Path("Gradmo/" + period + "UR"));
    Rows uc = Read(Path("Gradmo/" + period + "UC"));
    std::set<std::tuple<long long, long long, long long>> regKeys, wiKeys;
    for (const auto& r : reg.rows) regKeys.insert({Int(r, "Class"), Int(r, "Year"), Int(r, "Number")});
    std::set<long long> customers, suppliers;
    for (const auto& r : ur.rows) customers.insert(Int(r, "Number"));
    for (const auto& r : uc.rows) suppliers.insert(Int(r, "Number"));
    for (const auto& r : wi.rows) {
      auto key = std::make_tuple(Int(r, "Type"), Int(r, "Year"), Int(r, "Number"));
      wiKeys.insert(key);
      // Every warehouse document has its register entry, and its corrected or referred document.
      EXPECT_TRUE(regKeys.contains(key)) << period << ' ' << Text(r, "Name");
      if (r.at("MasterNumber").kind != px::Value::Kind::Null) {
        EXPECT_TRUE(std::any_of(wi.rows.begin(), wi.rows.end(),
                                [&](const auto& m) {
                                  return Int(m, "Type") == Int(r, "MasterType") &&
                                         Int(m, "Number") == Int(r, "MasterNumber");
                                }))
            << period << ' ' << Text(r, "Name");
      }
    }
    std::set<std::pair<std::string, std::string>> goods;
    std::set<std::tuple<std::string, std::string, long long>> lots;
    for (const auto& r : w.rows) goods.insert({Text(r, "Group"), Text(r, "Index")});
    for (const auto& r : ws.rows) lots.insert({Text(r, "Group"), Text(r, "Index"), Int(r, "SeriesNo")});
    for (const auto& r : wt.rows) {
      EXPECT_TRUE(wiKeys.contains({Int(r, "Type"), Int(r, "Year"), Int(r, "Number")}));
      EXPECT_TRUE(goods.contains({Text(r, "Group"), Text(r, "Index")})) << Text(r, "Index");
      if (Int(r, "Series") != 0) {
        EXPECT_TRUE(lots.contains({Text(r, "Group"), Text(r, "Index"), Int(r, "Series")})) << Text(r, "Index");
      }
    }
    // The register's payer is a card of the side's contractor table.
    for (const auto& r : reg.rows) {
      long long cls = Int(r, "Class"), payer = Int(r, "Payer");
      if (payer == 0) continue;
      if (cls == 128 || cls == 129) {
        EXPECT_TRUE(suppliers.contains(payer)) << Text(r, "Document");
      } else if (cls < 128) {
        EXPECT_TRUE(customers.contains(payer)) << Text(r, "Document");
      }
    }
  }
}

TEST_F(SampleDatabases, ContractorCardsCoverEveryNipCaseAndDecodeFromTheirCodePage) {
  Rows users = Read(Path("Kontrahenci/Users"));
  ASSERT_EQ(users.size(), Contractors().size());
  std::map<std::string, int> outcomes;
  for (const auto& r : users.rows) {
    std::string prefix, nip = Text(r, "NIP"), defect;
    CheckNIP(
        prefix, nip, [&](const std::string& m, auto&&...) { defect = m; }, "", "");
    const Contractor& c = ContractorByNumber(static_cast<int>(Int(r, "Number")));
    EXPECT_EQ(c.nipAccepted, defect.empty() && ToLowerAscii(nip) != "brak") << c.name;
    ++outcomes[!defect.empty()               ? defect
               : ToLowerAscii(nip) == "brak" ? "brak"
               : prefix.empty()              ? "PL bez prefiksu"
               : IsEUCountryCode(prefix)     ? "UE"
                                             : "spoza UE"];
  }
  for (const char* outcome : {"Zła długość numeru", "Niedozwolone znaki w numerze", "Zła suma kontrolna numeru", "brak",
                              "PL bez prefiksu", "UE", "spoza UE"})
    EXPECT_GE(outcomes[outcome], 1) << outcome;
  EXPECT_EQ(users.rows[1].at("City").text, "Łódź");
  EXPECT_EQ(users.rows[1].at("Firm Name").text, "Hurtownia Spożywcza „Żuraw” Sp. z o.o.");
  // A branch whose invoices its head office pays, in the per-period tables.
  Rows ur = Read(Path("Kontrahenci/24_03UR"));
  auto branch = std::find_if(ur.rows.begin(), ur.rows.end(), [](const auto& r) { return Int(r, "Number") == 12; });
  ASSERT_NE(branch, ur.rows.end());
  EXPECT_EQ(Int(*branch, "PayerNumber"), 11);
  EXPECT_EQ(Text(*branch, "Address"), "ul. Wielicka 28");
  // DOS code page text of the older Tulvo ledger.
  Rows journal = Read(Path("TulvoStary/2023/journal"));
  EXPECT_EQ(Text(journal.rows.back(), "Book No"), "ZAMKNIĘCIE 2023");
}

TEST_F(SampleDatabases, BothTulvoLayoutsHoldTheSameDocumentsPerPeriod) {
  for (int year : {2023, 2024}) {
    std::string y = std::to_string(year);
    Rows newer = Read(Path("Tulvo/" + y + "/Register"));
    for (int month = 1; month <= 12; ++month) {
      int sales = 0, purchases = 0;
      double newerVat = 0;
      for (const auto& r : newer.rows)
        if (Int(r, "VatPeriod") == month) {
          (Int(r, "RegType") == 0 ? sales : purchases)++;
          EXPECT_TRUE(Int(r, "RegType") == 0 || Int(r, "RegType") == 128);
          newerVat = round2(newerVat + Num(r, "VatA") + Num(r, "VatB") + Num(r, "VatD"));
        }
      int oldSales = 0, oldPurchases = 0;
      double olderVat = 0;
      for (VatRegister kind : AllVatRegisters()) {
        Rows older = Read(Path("TulvoStary/" + y + "/" + TulvoTableName(kind)));
        for (const auto& r : older.rows)
          if (Int(r, "Period Id") == TulvoPeriodId(year, month)) {
            (IsSalesRegister(kind) ? oldSales : oldPurchases)++;
            olderVat = round2(olderVat + (IsSalesRegister(kind) ? Num(r, "VAT 3") + Num(r, "VAT 7") + Num(r, "VAT 22")
                                                                : Num(r, "VAT")));
          }
      }
      EXPECT_EQ(sales, oldSales) << year << '-' << month;
      EXPECT_EQ(purchases, oldPurchases) << year << '-' << month;
      EXPECT_EQ(newerVat, olderVat) << year << '-' << month;
    }
  }
  // Fixed assets come only from REGBP; the car costs carry their non-deductible VAT.
  Rows assets = Read(Path("TulvoStary/2024/REGBP"));
  EXPECT_EQ(assets.size(), 2u);
  for (const auto& r : Read(Path("TulvoStary/2024/REGBA")).rows) {
    EXPECT_GT(Num(r, "VatNPO"), 0);
    EXPECT_EQ(round2(Num(r, "VatNPO") + Num(r, "VAT")), Num(r, "VAT 22"));
  }
  for (const auto& r : Read(Path("TulvoStary/2024/REGB1")).rows) EXPECT_EQ(Int(r, "Procedura") & 2, 2);
}

TEST_F(SampleDatabases, FennikRegistersSalesBelow128AndPurchasesFrom128) {
  Rows reg = Read(Path("Fennik/2024/Register"));
  std::set<long long> ids, months;
  int taxFree = 0, lowerTaxFree = 0;
  for (const auto& r : reg.rows) {
    ids.insert(Int(r, "RegId"));
    months.insert(Int(r, "VATMonth"));
    taxFree += StartsWith(Text(r, "DocName"), "TaxFree");
    lowerTaxFree += StartsWith(Text(r, "DocName"), "taxfree");
  }
  EXPECT_TRUE(ids.contains(127));
  EXPECT_TRUE(ids.contains(128));
  EXPECT_TRUE(ids.contains(1));
  EXPECT_TRUE(ids.contains(130));
  EXPECT_EQ(months, (std::set<long long>{1, 2, 3}));
  EXPECT_EQ(taxFree, 2);
  EXPECT_EQ(lowerTaxFree, 1);
}

TEST_F(SampleDatabases, LedgerEntriesBalanceAndTheYearEndHasItsClosingPeriod) {
  for (const char* root : {"Tulvo", "TulvoStary"}) {
    Rows details = Read(Path(std::string(root) + "/2023/details"));
    std::map<long long, double> balance;
    std::set<long long> periods;
    for (const auto& r : details.rows) {
      periods.insert(Int(r, "Period Id"));
      EXPECT_TRUE((r.at("Debit").kind == px::Value::Kind::Null) != (r.at("Credit").kind == px::Value::Kind::Null));
      if (Int(r, "Primary Account") == 975) continue;  // off-balance: one side only
      double& b = balance[Int(r, "Seq No")];
      b = round2(b + Num(r, "Debit") - Num(r, "Credit"));
    }
    for (const auto& [seq, b] : balance) EXPECT_EQ(b, 0) << root << " entry " << seq;
    EXPECT_EQ(periods, (std::set<long long>{12360, 12370}));
    // Opening balances: debits equal credits over the synthetic accounts.
    double debit = 0, credit = 0;
    for (const auto& r : Read(Path(std::string(root) + "/2024/accounts")).rows)
      if (r.at("Secondary1").kind == px::Value::Kind::Null) {
        debit = round2(debit + Num(r, "InitYDebit"));
        credit = round2(credit + Num(r, "InitYCredit"));
      }
    EXPECT_EQ(debit, credit);
    EXPECT_GT(debit, 0);
  }
  Rows journal = Read(Path("Tulvo/2024/journal"));
  EXPECT_TRUE(
      std::any_of(journal.rows.begin(), journal.rows.end(), [](const auto& r) { return Text(r, "Comments").empty(); }));
}

TEST_F(SampleDatabases, RegistersOf2026CarryValidKsefNumbersOfTheIssuerOnTheInvoiceDate) {
  std::map<std::string, std::pair<int, int>> perProgram;  // folder -> records with a number, without
  for (const RegisterView& view : RegistersOf2026()) {
    Rows reg = Read(Path(view.path));
    ASSERT_EQ(reg.header.fields.back().name, "NrKSeF") << view.path;
    auto& [numbered, empty] = perProgram[view.path.substr(0, view.path.find('/'))];
    for (const auto& r : reg.rows) {
      std::string number = Text(r, "NrKSeF");
      if (number.empty()) {
        ++empty;
        continue;
      }
      ++numbered;
      ExpectKsefNumberOf(view, r, number);
      // Receipts, internal documents and imports are no KSeF invoices.
      std::string type = r.contains("TypDokumentu") ? Text(r, "TypDokumentu") : "";
      EXPECT_NE(type, "RO");
      EXPECT_NE(type, "WEW");
      if (r.contains("Procedura") && !view.sale(r)) {
        EXPECT_EQ(Int(r, "Procedura") & 2, 0) << Text(r, view.document);
      }
      if (r.contains("Flags")) {
        EXPECT_EQ(Int(r, "Flags") & 1024, 0) << Text(r, view.document);
      }
    }
  }
  // Every program has records with a number and records without.
  EXPECT_EQ(perProgram.size(), 4u);
  for (const auto& [folder, counts] : perProgram) {
    EXPECT_GT(counts.first, 5) << folder;
    EXPECT_GT(counts.second, 5) << folder;
  }
  // The documents that never carry a number are among the records of March 2026.
  Rows tulvo = Read(Path("Tulvo/2026/Register"));
  for (const char* type : {"RO", "WEW"})
    EXPECT_TRUE(std::any_of(tulvo.rows.begin(), tulvo.rows.end(), [&](const auto& r) {
      return Int(r, "VatPeriod") == 3 && Text(r, "TypDokumentu") == type;
    })) << type;
  EXPECT_TRUE(std::any_of(tulvo.rows.begin(), tulvo.rows.end(),
                          [](const auto& r) { return Int(r, "RegType") == 128 && (Int(r, "Procedura") & 2) != 0; }));
  Rows gradmo = Read(Path("Gradmo/26_03REG"));
  EXPECT_TRUE(std::any_of(gradmo.rows.begin(), gradmo.rows.end(), [](const auto& r) { return Int(r, "Class") == 6; }));
  EXPECT_TRUE(
      std::any_of(gradmo.rows.begin(), gradmo.rows.end(), [](const auto& r) { return (Int(r, "Flags") & 1024) != 0; }));
  // Polish letters of the receipt summary, read back from each table's code page.
  for (const char* path : {"Tulvo/2026/Register", "TulvoStary/2026/REGS", "Fennik/2026/Register"}) {
    Rows reg = Read(Path(path));
    std::string field = StartsWith(path, "TulvoStary") ? "Dokument" : "DocName";
    EXPECT_TRUE(std::any_of(reg.rows.begin(), reg.rows.end(), [&](const auto& r) {
      return Text(r, field) == "Zestawienie paragonów 03/2026";
    })) << path;
  }
}

TEST_F(SampleDatabases, TablesBefore2026HaveNoKsefField) {
  for (const char* path : {"Gradmo/24_03REG", "Gradmo/2024REG", "Tulvo/2024/Register", "TulvoStary/2024/REGS",
                           "Fennik/2023/Register", "Gradmo/26_03WI"}) {
    px::ParadoxTable table = px::ParadoxTable::Open(Path(path));  // held: the header lives in the table
    for (const auto& field : table.Header().fields) EXPECT_NE(field.name, "NrKSeF") << path;
  }
}

TEST_F(SampleDatabases, KsefListsGiveNumbersOnlyForInvoicesWithoutOne) {
  std::map<std::string, RegisterView> march;
  for (const RegisterView& view : RegistersOf2026()) march.emplace(view.path, view);
  const std::vector<std::pair<std::string, std::vector<std::string>>> lists = {
      {"Gradmo/", {"Gradmo/26_03REG"}}, {"Tulvo/", {"Tulvo/2026/Register"}}, {"Fennik/", {"Fennik/2026/Register"}}};
  for (const auto& [folder, tables] : lists) {
    std::vector<std::string> lines = ReadLines(Path(folder + "KSeF_2026-03.csv"));
    ASSERT_GE(lines.size(), 2u) << folder;
    EXPECT_EQ(lines[0], "NumerFaktury;NIP;NumerKSeF");
    const RegisterView& view = march.at(tables[0]);
    Rows reg = Read(Path(view.path));
    std::set<std::string> listed;
    for (size_t i = 1; i < lines.size(); ++i) {
      std::vector<std::string> cells;
      for (size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
        end = lines[i].find(';', start);
        cells.push_back(lines[i].substr(start, end == std::string::npos ? end : end - start));
      }
      ASSERT_EQ(cells.size(), 3u) << lines[i];
      EXPECT_TRUE(listed.insert(cells[2]).second) << "number listed twice: " << lines[i];
      // The invoice is in the March register, under the same counterparty, without a number.
      auto row = std::find_if(reg.rows.begin(), reg.rows.end(), [&](const auto& r) {
        return Text(r, view.document) == cells[0] && NipDigits(Int(r, view.card)) == cells[1] &&
               (view.path != "Tulvo/2026/Register" || Int(r, "VatPeriod") == 3) &&
               (view.path != "Fennik/2026/Register" || Int(r, "VATMonth") == 3);
      });
      ASSERT_NE(row, reg.rows.end()) << folder << lines[i];
      EXPECT_EQ(Text(*row, "NrKSeF"), "") << lines[i];
      ExpectKsefNumberOf(view, *row, cells[2]);
    }
  }
  // Both Tulvo folders hold the same documents, hence the same list.
  EXPECT_EQ(ReadLines(Path("TulvoStary/KSeF_2026-03.csv")), ReadLines(Path("Tulvo/KSeF_2026-03.csv")));
  EXPECT_TRUE(FileExists(Path("Fennik/KSeF_2026-02.csv")));
  EXPECT_FALSE(FileExists(Path("Fennik/KSeF_2024-03.csv")));
}

TEST_F(SampleDatabases, TheSameSeedWritesTheSameBytes) {
  test::TempDir again;
  WriteSampleDatabases(again.Path(), SampleSet{});
  int compared = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir_->Path())) {
    if (!entry.is_regular_file()) continue;
    std::string relative = entry.path().string().substr(dir_->Path().size());
    EXPECT_EQ(test::ReadFile(entry.path().string()), test::ReadFile(again.Path() + relative)) << relative;
    ++compared;
  }
  EXPECT_GT(compared, 140);
}

TEST(SampleDatabasesScale, WritesTheGivenNumberOfDocumentsAndATenthAsManyCards) {
  test::TempDir dir;
  SampleSet set;
  set.scale = 2000;
  WriteSampleDatabases(dir.Path(), set);
  EXPECT_EQ(Read(dir.Path() + "Gradmo/24_03REG").size(), 2000u);
  EXPECT_EQ(Read(dir.Path() + "Tulvo/2024/Register").size(), 2000u);
  EXPECT_EQ(Read(dir.Path() + "Fennik/2024/Register").size(), 2000u);
  Rows users = Read(dir.Path() + "Kontrahenci/Users");
  EXPECT_EQ(users.size(), 200u);
  EXPECT_FALSE(FileExists(dir.Path() + "Gradmo/24_02REG.db"));
  // Generated cards pass the NIP check, so a benchmark run asks nothing.
  for (const auto& r : users.rows) {
    if (Int(r, "Number") <= static_cast<long long>(Contractors().size())) continue;
    std::string prefix, nip = Text(r, "NIP");
    CheckNIP(
        prefix, nip, [&](const std::string& m, auto&&...) { ADD_FAILURE() << nip << ": " << m; }, "", "");
  }
  // Documents only name cards with an accepted number.
  for (const auto& r : Read(dir.Path() + "Gradmo/24_03REG").rows) {
    long long payer = Int(r, "Payer");
    ASSERT_GE(payer, 2);
    ASSERT_LE(payer, 200);
    if (payer <= static_cast<long long>(Contractors().size())) {
      EXPECT_TRUE(ContractorByNumber(static_cast<int>(payer)).nipAccepted);
    }
  }
}

TEST(SampleDatabasesScale, ABenchmarkSetOf2026CarriesKsefNumbersOnAThirdOfTheSales) {
  test::TempDir dir;
  SampleSet set;
  set.scale = 300;
  set.months = {{2026, 3, 1}};
  WriteSampleDatabases(dir.Path(), set);
  EXPECT_FALSE(FileExists(dir.Path() + "Gradmo/24_03REG.db"));
  for (const char* path : {"Gradmo/26_03REG", "Tulvo/2026/Register", "Fennik/2026/Register"}) {
    Rows reg = Read(dir.Path() + path);
    ASSERT_EQ(reg.size(), 300u) << path;
    int numbered = 0;
    for (const auto& r : reg.rows) {
      std::string number = Text(r, "NrKSeF");
      if (number.empty()) continue;
      ++numbered;
      EXPECT_EQ(CheckKsefNumber(number, path), number);
      EXPECT_EQ(number.substr(0, 11), "5213000015-") << path;
    }
    // About a third of the 70 % that are sales.
    EXPECT_GT(numbered, 40) << path;
    EXPECT_LT(numbered, 110) << path;
  }
}

// docs/source-tables.md describes every table the generator writes, field by field.
TEST(SourceTablesDocument, ListsEveryFieldWithItsTypeInOrder) {
  std::string doc = test::ReadFile(test::SourceDir() + "/docs/source-tables.md");
  auto typeText = [](const FieldDef& f) {
    switch (f.type) {
      case FieldType::Alpha:
        return "Alpha " + std::to_string(f.size);
      case FieldType::Date:
        return std::string("Date");
      case FieldType::Short:
        return std::string("Short");
      case FieldType::Long:
        return std::string("Long");
      case FieldType::AutoInc:
        return std::string("AutoInc");
      case FieldType::Number:
        return std::string("Number");
      case FieldType::Currency:
        return std::string("Currency");
    }
    return std::string();
  };
  const std::vector<std::pair<std::string, TableDef>> sections = {
      {"### `Users`", UsersTable()},
      {"### `UR`, `UC`", PeriodContractorTable()},
      {"### `REG`", GradmoRegTable(true)},
      {"### `WI`", GradmoWiTable()},
      {"### `WT`", GradmoWtTable()},
      {"### `W` ", GradmoWTable()},
      {"### `WS`", GradmoWsTable()},
      {"### `REGS`", TulvoOldRegisterTable(true)},
      {"### `Register` — the newer", TulvoRegisterTable(true)},
      {"`accounts` — the chart", TulvoAccountsTable()},
      {"`journal` — one entry", TulvoJournalTable()},
      {"`details` — the postings", TulvoDetailsTable()},
      {"### `Register` — VAT register", FennikRegisterTable(true)},
  };
  for (const auto& [anchor, def] : sections) {
    size_t at = doc.find("\n" + anchor);
    ASSERT_NE(at, std::string::npos) << anchor;
    std::vector<std::string> lines = SplitLines(doc.substr(doc.find("| Field |", at)));
    std::vector<std::pair<std::string, std::string>> rows;
    for (size_t i = 2; i < lines.size() && StartsWith(lines[i], "|"); ++i) {
      std::vector<std::string> cells;
      size_t start = 1;
      for (size_t bar; (bar = lines[i].find(" | ", start)) != std::string::npos && cells.size() < 2; start = bar + 3)
        cells.push_back(Trim(lines[i].substr(start, bar - start)));
      rows.emplace_back(cells.at(0), cells.at(1));
    }
    ASSERT_EQ(rows.size(), def.fields.size()) << anchor;
    for (size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(rows[i].first, "`" + def.fields[i].name + "`") << anchor;
      EXPECT_EQ(rows[i].second, typeText(def.fields[i])) << anchor << ' ' << def.fields[i].name;
    }
  }
}
