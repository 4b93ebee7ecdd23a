// Ledger tables of the tests and the row-by-row computation the JPK_KR is checked against.
#include "tests/ledger/LedgerFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <set>

#include "base/Error.h"
#include "samples/ParadoxWriter.h"
#include "samples/SampleTables.h"
#include "samples/TulvoLedger.h"
#include "tools/Dictionaries.h"
#include "tools/Money.h"
#include "tools/db/Table.h"

namespace velkar::test {

namespace {

std::string Symbol(int p, int s1, int s2) { return FormatAccountSymbol(p, s1, s2, 0, 3); }

int Level(const db::Field& field) { return field.IsNull() ? 0 : static_cast<int>(field.AsInteger()); }

std::unique_ptr<db::TTable> OpenTable(const std::string& yearDir, const std::string& name) {
  auto table = std::make_unique<db::TTable>();
  table->DatabaseName = yearDir;
  table->TableName = name;
  table->Open();
  return table;
}

}  // namespace

void WriteLedger(const std::string& yearDir, const LedgerYear& ledger) {
  std::filesystem::create_directories(yearDir);
  samples::ParadoxWriter accounts(yearDir + "accounts", samples::TulvoAccountsTable());
  for (const LedgerAccount& a : ledger.accounts) {
    samples::Record r = accounts.NewRecord();
    r.Set("Primary", a.p);
    if (a.s1) r.Set("Secondary1", a.s1);
    if (a.s2) r.Set("Secondary2", a.s2);
    r.Set("Account Name", a.name).Set("Options", a.options);
    r.Set("InitYDebit", a.initDebit).Set("InitYCredit", a.initCredit);
    accounts.Append(r);
  }
  accounts.Close();
  samples::ParadoxWriter journal(yearDir + "journal", samples::TulvoJournalTable());
  samples::ParadoxWriter details(yearDir + "details", samples::TulvoDetailsTable());
  for (const LedgerEntry& e : ledger.entries) {
    samples::Record j = journal.NewRecord();
    j.Set("Seq No", e.seqNo).Set("Period Id", e.periodId).Set("Book Type", e.bookType).Set("Book No", e.bookNo);
    j.Set("Book Id", e.bookId).Set("Date", e.date).Set("Book Date", e.bookDate).Set("Operator Id", e.operatorId);
    if (!e.comments.empty()) j.Set("Comments", e.comments);
    journal.Append(j);
    int line = 0;
    for (const LedgerPosting& p : e.postings) {
      samples::Record d = details.NewRecord();
      d.Set("Seq No", e.seqNo).Set("Line", ++line).Set("Period Id", e.periodId).Set("Primary Account", p.primary);
      if (p.secondary1) d.Set("Secondary Account", p.secondary1);
      if (p.secondary2) d.Set("Secondary2 Account", p.secondary2);
      d.Set(p.debit ? "Debit" : "Credit", p.amount);
      if (!p.description.empty()) d.Set("Description", p.description);
      details.Append(d);
    }
  }
  journal.Close();
  details.Close();
}

std::vector<std::string> SampleAccountGroups() {
  std::vector<std::string> lines;
  std::string text = samples::TulvoAccountGroups();
  for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  return lines;
}

std::vector<std::string> AccountGroups() {
  return {"0 Aktywa trwałe",
          "1 Środki pieniężne",
          "2 Rozrachunki i roszczenia",
          "3 Materiały i towary",
          "4 Koszty według rodzajów",
          "5 Koszty według typów działalności",
          "6 Produkty",
          "7 Przychody i koszty związane z ich osiągnięciem",
          "8 Kapitały (fundusze) własne i wynik finansowy",
          "9 Konta pozabilansowe"};
}

LedgerWorkDir::LedgerWorkDir() : change_(dir_.Path()) {
  std::filesystem::create_directories(dir_.Path() + "SQL");
  for (const char* file : {"zois.sql", "dziennik.sql"})
    std::filesystem::copy_file(SourceDir() + "/SQL/" + file, dir_.Path() + "SQL/" + file);
}

std::string LedgerWorkDir::YearDir(int year) const { return TulvoDir() + std::to_string(year) + "/"; }

ExpectedKr ComputeExpectedKr(const std::string& yearDir, int periodId) {
  bool december = periodId % 100 == 60;
  struct Sums {
    double dr = 0, cr = 0, idr = 0, icr = 0;
  };
  // Turnover up to `period` and before it, per account and every account above it.
  auto turnover = [&](int period) {
    std::map<std::string, Sums> sums;
    std::unique_ptr<db::TTable> table = OpenTable(yearDir, "details");
    db::TTable& details = *table;
    for (details.First(); !details.Eof(); details.Next()) {
      int p = Level(details.FieldByName("Primary Account"));
      int s1 = Level(details.FieldByName("Secondary Account"));
      int s2 = Level(details.FieldByName("Secondary2 Account"));
      int rowPeriod = static_cast<int>(details.FieldByName("Period Id").AsInteger());
      double debit = details.FieldByName("Debit").AsFloat(), credit = details.FieldByName("Credit").AsFloat();
      std::set<std::string> codes = {Symbol(p, 0, 0), Symbol(p, s1, 0), Symbol(p, s1, s2)};
      for (const std::string& code : codes) {
        Sums& s = sums[code];
        if (rowPeriod <= period) s.dr += debit, s.cr += credit;
        if (rowPeriod < period) s.idr += debit, s.icr += credit;
      }
    }
    return sums;
  };
  std::map<std::string, Sums> sums = turnover(periodId);
  std::map<std::string, Sums> closing = december ? turnover(periodId + 10) : sums;

  ExpectedKr result;
  std::unique_ptr<db::TTable> accountsTable = OpenTable(yearDir, "accounts");
  db::TTable& accounts = *accountsTable;
  for (accounts.First(); !accounts.Eof(); accounts.Next()) {
    ExpectedAccount a;
    a.code = Symbol(Level(accounts.FieldByName("Primary")), Level(accounts.FieldByName("Secondary1")),
                    Level(accounts.FieldByName("Secondary2")));
    a.options = static_cast<int>(accounts.FieldByName("Options").AsInteger());
    a.openDebit = accounts.FieldByName("InitYDebit").AsFloat();
    a.openCredit = accounts.FieldByName("InitYCredit").AsFloat();
    auto balance = [&](const Sums& s) { return round2(a.openDebit - a.openCredit + s.dr - s.cr); };
    const Sums& s = sums[a.code];
    const Sums& c = closing[a.code];
    // December's figures come from the closing period where it changes the balance.
    const Sums& used = balance(c) != balance(s) ? c : s;
    double net = balance(used);
    a.cumDebit = round2(used.dr);
    a.cumCredit = round2(used.cr);
    a.turnoverDebit = round2(a.cumDebit - round2(s.idr));
    a.turnoverCredit = round2(a.cumCredit - round2(s.icr));
    a.closeDebit = net > 0 ? net : 0;
    a.closeCredit = net < 0 ? -net : 0;
    result.accounts[a.code] = a;
  }

  // The journal: the entries with postings in the period (December: from it on), each
  // with the sum of its debit postings; the postings of the period (and the closing one).
  std::map<long long, double> entryAmounts;
  std::unique_ptr<db::TTable> detailsTable = OpenTable(yearDir, "details");
  db::TTable& details = *detailsTable;
  for (details.First(); !details.Eof(); details.Next()) {
    int rowPeriod = static_cast<int>(details.FieldByName("Period Id").AsInteger());
    bool inJournal = december ? rowPeriod >= periodId : rowPeriod == periodId;
    if (inJournal) entryAmounts[details.FieldByName("Seq No").AsInteger()] += details.FieldByName("Debit").AsFloat();
    if (rowPeriod != periodId && !(december && rowPeriod == periodId + 10)) continue;
    ++result.postings;
    result.debitTotal = round2(result.debitTotal + round2(details.FieldByName("Debit").AsFloat()));
    result.creditTotal = round2(result.creditTotal + round2(details.FieldByName("Credit").AsFloat()));
  }
  for (const auto& [seqNo, amount] : entryAmounts) {
    result.journal.emplace_back(std::to_string(seqNo), round2(amount));
    result.journalTotal = round2(result.journalTotal + round2(amount));
  }
  return result;
}

void ExpectDocumentAgrees(const kr::IXMLJPKKR& doc, const ExpectedKr& expected) {
  std::set<std::string> reported;
  for (kr::IXMLJPK_ZOiS row : doc.ZOiS()) {
    std::string code = row.KodKonta();
    reported.insert(code);
    auto it = expected.accounts.find(code);
    if (it == expected.accounts.end()) {
      ADD_FAILURE() << "konto " << code << " spoza planu kont";
      continue;
    }
    const ExpectedAccount& a = it->second;
    EXPECT_DOUBLE_EQ(row.BilansOtwarciaWinien(), a.openDebit) << code;
    EXPECT_DOUBLE_EQ(row.BilansOtwarciaMa(), a.openCredit) << code;
    EXPECT_DOUBLE_EQ(row.ObrotyWinien(), a.turnoverDebit) << code;
    EXPECT_DOUBLE_EQ(row.ObrotyMa(), a.turnoverCredit) << code;
    EXPECT_DOUBLE_EQ(row.ObrotyWinienNarast(), a.cumDebit) << code;
    EXPECT_DOUBLE_EQ(row.ObrotyMaNarast(), a.cumCredit) << code;
    EXPECT_DOUBLE_EQ(row.SaldoWinien(), a.closeDebit) << code;
    EXPECT_DOUBLE_EQ(row.SaldoMa(), a.closeCredit) << code;
  }
  for (const auto& [code, a] : expected.accounts)
    EXPECT_EQ(reported.contains(code), (a.options & 1) == 0) << "konto " << code << ", Options " << a.options;

  size_t i = 0;
  double journalTotal = 0;
  for (kr::IXMLJPK_Dziennik row : doc.Dziennik()) {
    journalTotal = round2(journalTotal + row.DziennikKwotaOperacji());
    if (i >= expected.journal.size()) {
      ADD_FAILURE() << "zbędny zapis dziennika " << row.NrZapisuDziennika();
      continue;
    }
    EXPECT_EQ(row.LpZapisuDziennika(), static_cast<int>(i) + 1);
    EXPECT_EQ(row.NrZapisuDziennika(), expected.journal[i].first);
    EXPECT_DOUBLE_EQ(row.DziennikKwotaOperacji(), expected.journal[i].second) << row.NrZapisuDziennika();
    ++i;
  }
  EXPECT_EQ(i, expected.journal.size());
  EXPECT_EQ(doc.DziennikCtrl().LiczbaWierszyDziennika(), static_cast<int>(expected.journal.size()));
  EXPECT_DOUBLE_EQ(doc.DziennikCtrl().SumaKwotOperacji(), expected.journalTotal);
  EXPECT_DOUBLE_EQ(journalTotal, expected.journalTotal);

  int postings = 0;
  double debit = 0, credit = 0;
  for (kr::IXMLJPK_KontoZapis row : doc.KontoZapis()) {
    ++postings;
    EXPECT_EQ(row.LpZapisu(), postings);
    debit = round2(debit + row.KwotaWinien());
    credit = round2(credit + row.KwotaMa());
  }
  EXPECT_EQ(postings, expected.postings);
  EXPECT_EQ(doc.KontoZapisCtrl().LiczbaWierszyKontoZapisj(), expected.postings);
  EXPECT_DOUBLE_EQ(doc.KontoZapisCtrl().SumaWinien(), expected.debitTotal);
  EXPECT_DOUBLE_EQ(doc.KontoZapisCtrl().SumaMa(), expected.creditTotal);
  EXPECT_DOUBLE_EQ(debit, expected.debitTotal);
  EXPECT_DOUBLE_EQ(credit, expected.creditTotal);
}

namespace {

LedgerEntry Entry(int seqNo, int periodId, const std::string& bookId, const std::string& comments, DateTime date,
                  std::vector<LedgerPosting> postings) {
  LedgerEntry e;
  e.seqNo = seqNo;
  e.periodId = periodId;
  e.bookType = bookId == "WB" ? "Dziennik bankowy" : bookId == "PK" ? "Dziennik operacji różnych" : "Dziennik sprzedaży";
  e.bookNo = bookId + " " + std::to_string(seqNo) + "/" + std::to_string(date.year);
  e.bookId = bookId;
  e.date = e.bookDate = date;
  e.operatorId = "AK";
  e.comments = comments;
  e.postings = std::move(postings);
  return e;
}

LedgerPosting Dr(int p, int s1, int s2, double amount, std::string description = {}) {
  return {p, s1, s2, true, amount, std::move(description)};
}
LedgerPosting Cr(int p, int s1, int s2, double amount, std::string description = {}) {
  return {p, s1, s2, false, amount, std::move(description)};
}

std::vector<LedgerAccount> Chart() {
  return {
      {10, 0, 0, "Środki trwałe", 0, 1000, 0},
      {10, 1, 0, "Maszyny i urządzenia", 0, 1000, 0},
      {130, 0, 0, "Rachunek bankowy", 0, 5000, 0},
      {201, 0, 0, "Rozrachunki z odbiorcami", 4, 300, 0},
      {201, 1, 0, "Odbiorcy krajowi", 0, 300, 0},
      {201, 1, 5, "Hurtownia „Pod Lipą”", 0, 300, 0},
      {201, 1, 6, "Sklep Ewa Nowak", 0, 0, 0},
      {700, 0, 0, "Sprzedaż towarów", 6, 0, 0},
      {800, 0, 0, "Kapitał zakładowy", 0, 0, 6300},
      {860, 0, 0, "Wynik finansowy", 4, 0, 0},
      {975, 0, 0, "Gwarancje obce", 2, 0, 0},
      {999, 0, 0, "Konto techniczne", 1, 0, 0},
  };
}

}  // namespace

LedgerYear Ledger2024() {
  LedgerYear y;
  y.accounts = Chart();
  y.entries = {
      Entry(1, 12410, "FV", "Faktura lutowa", {2024, 2, 10}, {Dr(201, 1, 5, 123.00, "FV 1/2024"), Cr(700, 0, 0, 123.00)}),
      // March: a bank entry without comments, an invoice, a half grosz, a technical entry
      // on the unreported account, an off-balance record with one side only.
      Entry(2, 12415, "WB", "", {2024, 3, 5}, {Dr(130, 0, 0, 123.00, "Wpłata"), Cr(201, 1, 5, 123.00)}),
      Entry(3, 12415, "FV", "Faktura marcowa", {2024, 3, 12},
            {Dr(201, 1, 6, 246.01, "FV 3/2024"), Cr(700, 0, 0, 246.01, "Sprzedaż")}),
      Entry(4, 12415, "PK", "Odsetki", {2024, 3, 20}, {Dr(130, 0, 0, 0.125), Cr(800, 0, 0, 0.125)}),
      Entry(5, 12415, "PK", "Przeksięgowanie techniczne", {2024, 3, 31},
            {Dr(999, 0, 0, 10.00), Cr(999, 0, 0, 10.00)}),
      Entry(6, 12415, "PK", "Gwarancja bankowa", {2024, 3, 31}, {Dr(975, 0, 0, 5000.00, "Gwarancja")}),
      Entry(7, 12420, "WB", "Wpłata kwietniowa", {2024, 4, 3}, {Dr(130, 0, 0, 246.01), Cr(201, 1, 6, 246.01)}),
  };
  return y;
}

LedgerYear Ledger2023() {
  LedgerYear y;
  y.accounts = Chart();
  y.entries = {
      Entry(1, 12355, "FV", "Faktura listopadowa", {2023, 11, 8}, {Dr(201, 1, 5, 500.00), Cr(700, 0, 0, 500.00)}),
      Entry(2, 12360, "FV", "Faktura grudniowa", {2023, 12, 11}, {Dr(201, 1, 6, 800.50), Cr(700, 0, 0, 800.50)}),
      Entry(3, 12360, "WB", "", {2023, 12, 28}, {Dr(130, 0, 0, 500.00), Cr(201, 1, 5, 500.00)}),
      // The year-end closing: the sales account to the result.
      Entry(4, 12370, "PK", "Zamknięcie roku", {2023, 12, 31}, {Dr(700, 0, 0, 1300.50), Cr(860, 0, 0, 1300.50)}),
  };
  return y;
}

}  // namespace velkar::test
