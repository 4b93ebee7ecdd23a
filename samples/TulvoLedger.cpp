// Tulvo's ledger: chart of accounts, journal and postings of a year.
#include "samples/TulvoLedger.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <tuple>

#include "base/Error.h"
#include "base/Text.h"
#include "samples/Company.h"
#include "samples/SampleTables.h"
#include "tools/Dictionaries.h"
#include "tools/Money.h"

namespace velkar::samples {

TableDef TulvoAccountsTable() {
  return {{{"Primary", FieldType::Short},
           {"Secondary1", FieldType::Short},
           {"Secondary2", FieldType::Short},
           {"Secondary3", FieldType::Short},
           {"Account Name", FieldType::Alpha, 80},
           {"Options", FieldType::Short},
           {"InitYDebit", FieldType::Number},
           {"InitYCredit", FieldType::Number}},
          0,
          1250};
}

TableDef TulvoJournalTable() {
  return {{{"Seq No", FieldType::Long},
           {"Period Id", FieldType::Short},
           {"Book Type", FieldType::Alpha, 40},
           {"Book No", FieldType::Alpha, 30},
           {"Book Id", FieldType::Alpha, 10},
           {"Date", FieldType::Date},
           {"Book Date", FieldType::Date},
           {"Operator Id", FieldType::Alpha, 10},
           {"Comments", FieldType::Alpha, 80}},
          0,
          1250};
}

TableDef TulvoDetailsTable() {
  return {{{"Seq No", FieldType::Long},
           {"Line", FieldType::Short},
           {"Period Id", FieldType::Short},
           {"Primary Account", FieldType::Short},
           {"Secondary Account", FieldType::Short},
           {"Secondary2 Account", FieldType::Short},
           {"Debit", FieldType::Number},
           {"Credit", FieldType::Number},
           {"Description", FieldType::Alpha, 80}},
          0,
          1250};
}

std::string TulvoAccountGroups() {
  return "0 Aktywa trwałe\n"
         "1 Środki pieniężne, rachunki bankowe oraz inne krótkoterminowe aktywa finansowe\n"
         "2 Rozrachunki i roszczenia\n"
         "3 Materiały i towary\n"
         "4 Koszty według rodzajów i ich rozliczenie\n"
         "5 Koszty według typów działalności i ich rozliczenie\n"
         "6 Produkty i rozliczenia międzyokresowe\n"
         "7 Przychody i koszty związane z ich osiągnięciem\n"
         "8 Kapitały (fundusze) własne, fundusze specjalne i wynik finansowy\n"
         "9 Konta pozabilansowe\n";
}

namespace {

using AccountKey = std::tuple<int, int, int>;

// Opening balances of the year on the lowest-level accounts (debit positive).
const std::map<AccountKey, double>& OpeningBalances() {
  static const std::map<AccountKey, double> balances = [] {
    std::map<AccountKey, double> b = {{{10, 1, 0}, 85000.00},  {{10, 2, 0}, 120000.00},   {{70, 0, 0}, -64000.00},
                                      {{100, 0, 0}, 3500.00},  {{130, 0, 0}, 148250.40},  {{201, 1, 2}, 12300.00},
                                      {{201, 1, 3}, 4870.50},  {{202, 1, 24}, -18450.00}, {{202, 1, 25}, -7380.00},
                                      {{330, 0, 0}, 96400.00}, {{800, 0, 0}, -250000.00}};
    double sum = 0;
    for (const auto& [key, amount] : b) sum += amount;
    b[{820, 0, 0}] = round2(-sum);  // the result of earlier years balances the opening
    return b;
  }();
  return balances;
}

AccountKey ContractorAccount(const Contractor& c, bool receivable) {
  return {receivable ? 201 : 202, c.Domestic() ? 1 : 2, c.number};
}

class EntryBuilder {
 public:
  explicit EntryBuilder(std::vector<JournalEntry>& entries) : entries_(entries) {}

  JournalEntry& Begin(const DateTime& month, const std::string& bookType, const std::string& bookId,
                      const std::string& bookNo, const DateTime& date, const std::string& comments,
                      int periodOffset = 0) {
    JournalEntry e;
    e.seqNo = static_cast<int>(entries_.size()) + 1;
    e.periodId = TulvoPeriodId(month.year, month.month) + periodOffset;
    e.bookType = bookType;
    e.bookId = bookId;
    e.bookNo = bookNo;
    e.date = e.bookDate = date;
    e.operatorId = bookType == "Dziennik zakupów" ? "JM" : "AK";
    e.comments = comments;
    entries_.push_back(e);
    return entries_.back();
  }

  static void Post(JournalEntry& e, AccountKey account, bool debit, double amount,
                   const std::string& description = {}) {
    if (amount == 0) return;
    e.postings.push_back(
        {std::get<0>(account), std::get<1>(account), std::get<2>(account), debit, amount, description});
  }

 private:
  std::vector<JournalEntry>& entries_;
};

void BookDocument(EntryBuilder& b, const DateTime& month, const VatDocument& d) {
  const Contractor& c = ContractorByNumber(d.contractor);
  double net = d.amounts.Net();
  double vat = d.amounts.Vat();
  if (d.Sale()) {
    std::string bookId = d.typDokumentu == "RO"                  ? "RO"
                         : d.typDokumentu == "WEW"               ? "WEW"
                         : d.reg == VatRegister::SalesCorrection ? "FVK"
                         : d.reg == VatRegister::SalesServices   ? "FU"
                                                                 : "FV";
    JournalEntry& e =
        b.Begin(month, "Dziennik sprzedaży", bookId, d.name, d.issueDate, d.typDokumentu == "RO" ? "" : d.description);
    AccountKey debit = d.typDokumentu == "RO"    ? AccountKey{100, 0, 0}
                       : d.typDokumentu == "WEW" ? AccountKey{402, 0, 0}
                                                 : ContractorAccount(c, true);
    AccountKey revenue = d.reg == VatRegister::SalesServices ? AccountKey{730, 0, 0}
                         : c.Domestic()                      ? AccountKey{700, 1, 0}
                                                             : AccountKey{700, 2, 0};
    EntryBuilder::Post(e, debit, true, round2(net + vat), d.name);
    EntryBuilder::Post(e, revenue, false, net);
    EntryBuilder::Post(e, {222, 0, 0}, false, vat, "VAT należny");
    return;
  }
  std::string bookId = d.reg == VatRegister::ImportGoods          ? "SAD"
                       : d.reg == VatRegister::PurchaseCorrection ? "FZK"
                       : d.typDokumentu == "VAT_RR"               ? "RR"
                       : d.reg == VatRegister::FixedAssets        ? "OT"
                                                                  : "FZ";
  JournalEntry& e = b.Begin(month, "Dziennik zakupów", bookId, d.name, d.receiptDate, d.description);
  AccountKey cost = {330, 0, 0};
  if (d.reg == VatRegister::Costs) cost = d.contractor == 29 ? AccountKey{401, 0, 0} : AccountKey{402, 0, 0};
  if (d.reg == VatRegister::CarCosts) cost = {402, 0, 0};
  if (d.reg == VatRegister::FixedAssets) cost = month.month == 1 ? AccountKey{10, 1, 0} : AccountKey{10, 2, 0};
  double deductible = d.DeductibleVat();
  EntryBuilder::Post(e, cost, true, round2(net + d.vatNonDeductible), d.description);
  EntryBuilder::Post(e, {221, 0, 0}, true, deductible, "VAT naliczony");
  if (d.reg == VatRegister::ImportGoods) {
    // The supplier is paid the net; the import VAT goes to the customs office.
    EntryBuilder::Post(e, ContractorAccount(c, false), false, net, d.name);
    EntryBuilder::Post(e, {130, 0, 0}, false, vat, "VAT z tytułu importu – urząd celny");
  } else {
    EntryBuilder::Post(e, ContractorAccount(c, false), false, round2(net + vat), d.name);
  }
}

// Postings summed per account, debit positive.
std::map<AccountKey, double> Balances(const std::vector<JournalEntry>& entries) {
  std::map<AccountKey, double> balances;
  for (const JournalEntry& e : entries)
    for (const Posting& p : e.postings) {
      double& b = balances[{p.primary, p.secondary1, p.secondary2}];
      b = round2(b + (p.debit ? p.amount : -p.amount));
    }
  return balances;
}

}  // namespace

std::vector<JournalEntry> LedgerEntries(int year, const VatMonths& months) {
  std::vector<JournalEntry> entries;
  EntryBuilder b(entries);
  for (const auto& [month, docs] : months) {
    DateTime last = DayOf(month, 31);
    for (const VatDocument& d : docs) BookDocument(b, month, d);

    // Bank statement: payments of two thirds of the month's invoices, and the fee.
    JournalEntry& wb = b.Begin(month, "Dziennik bankowy", "WB", Format("WB %02d/%04d", month.month, month.year), last,
                               "Wyciąg bankowy");
    int n = 0;
    for (const VatDocument& d : docs) {
      if (++n % 3 == 0 || d.typDokumentu == "RO" || d.typDokumentu == "WEW") continue;
      const Contractor& c = ContractorByNumber(d.contractor);
      double gross = round2(d.amounts.Net() + d.amounts.Vat());
      if (d.reg == VatRegister::ImportGoods) gross = d.amounts.Net();
      if (gross <= 0) continue;
      if (d.Sale()) {
        EntryBuilder::Post(wb, {130, 0, 0}, true, gross, "Wpłata " + d.name);
        EntryBuilder::Post(wb, ContractorAccount(c, true), false, gross, "Wpłata " + d.name);
      } else {
        EntryBuilder::Post(wb, ContractorAccount(c, false), true, gross, "Zapłata " + d.name);
        EntryBuilder::Post(wb, {130, 0, 0}, false, gross, "Zapłata " + d.name);
      }
    }
    EntryBuilder::Post(wb, {402, 0, 0}, true, 15.00, "Opłata za prowadzenie rachunku");
    EntryBuilder::Post(wb, {130, 0, 0}, false, 15.00, "Opłata za prowadzenie rachunku");

    JournalEntry& payroll = b.Begin(month, "Dziennik operacji różnych", "LP",
                                    Format("LP %02d/%04d", month.month, month.year), last, "Lista płac");
    EntryBuilder::Post(payroll, {404, 0, 0}, true, 12480.00);
    EntryBuilder::Post(payroll, {230, 0, 0}, false, 12480.00);
    JournalEntry& depreciation =
        b.Begin(month, "Dziennik operacji różnych", "PK", Format("AM %02d/%04d", month.month, month.year), last, "");
    EntryBuilder::Post(depreciation, {400, 0, 0}, true, 1850.00, "Amortyzacja miesięczna");
    EntryBuilder::Post(depreciation, {70, 0, 0}, false, 1850.00, "Amortyzacja miesięczna");
    if (month.month == 1) {
      // An off-balance record: one side only.
      JournalEntry& guarantee =
          b.Begin(month, "Dziennik operacji różnych", "PK", "PK 1/01/" + std::to_string(month.year), DayOf(month, 15),
                  "Gwarancja bankowa dostawcy");
      EntryBuilder::Post(guarantee, {975, 0, 0}, true, 50000.00, "Gwarancja bankowa");
    }
    if (month.month == 3) {
      JournalEntry& technical =
          b.Begin(month, "Dziennik operacji różnych", "PK", "PK 7/03/" + std::to_string(month.year), DayOf(month, 31),
                  "Przeksięgowanie techniczne");
      EntryBuilder::Post(technical, {999, 0, 0}, true, 100.00);
      EntryBuilder::Post(technical, {999, 0, 0}, false, 100.00);
    }
    if (month.month == 12) {
      // Year-end closing period (December + 10): profit and loss accounts to the result.
      JournalEntry& closing = b.Begin(month, "Dziennik operacji różnych", "PK", Format("ZAMKNIĘCIE %04d", year), last,
                                      "Przeksięgowanie kosztów i przychodów na wynik finansowy", 10);
      for (const auto& [account, balance] : Balances(entries)) {
        int primary = std::get<0>(account);
        if (balance == 0 || !(primary / 100 == 4 || primary / 100 == 7)) continue;
        EntryBuilder::Post(closing, account, balance < 0, std::fabs(balance), "Zamknięcie roku");
        EntryBuilder::Post(closing, {860, 0, 0}, balance > 0, std::fabs(balance), "Zamknięcie roku");
      }
    }
  }
  for (const JournalEntry& e : entries) {
    double sum = 0;
    for (const Posting& p : e.postings)
      if (p.primary != 975) sum = round2(sum + (p.debit ? p.amount : -p.amount));
    if (sum != 0) Fail("Nierówne strony zapisu %s (%d)", e.bookNo, e.seqNo);
  }
  return entries;
}

void WriteTulvoLedger(const std::string& yearDir, int year, const VatMonths& months, int codePage) {
  // Texts of a DOS code-page table lose the typographic quotes and dashes it lacks.
  auto text = [codePage](std::string s) {
    if (codePage != 852) return s;
    for (auto [from, to] : {std::pair{"„", "\""}, {"”", "\""}, {"“", "\""}, {"–", "-"}}) s = ReplaceAll(s, from, to);
    return s;
  };
  std::vector<JournalEntry> entries = LedgerEntries(year, months);

  TableDef journalDef = TulvoJournalTable(), detailsDef = TulvoDetailsTable(), accountsDef = TulvoAccountsTable();
  journalDef.codePage = detailsDef.codePage = accountsDef.codePage = codePage;
  ParadoxWriter journal(yearDir + "journal", journalDef);
  ParadoxWriter details(yearDir + "details", detailsDef);
  std::set<AccountKey> used;
  for (const JournalEntry& e : entries) {
    journal.Append(journal.NewRecord()
                       .Set("Seq No", e.seqNo)
                       .Set("Period Id", e.periodId)
                       .Set("Book Type", text(e.bookType))
                       .Set("Book No", text(e.bookNo))
                       .Set("Book Id", e.bookId)
                       .Set("Date", e.date)
                       .Set("Book Date", e.bookDate)
                       .Set("Operator Id", e.operatorId)
                       .Set("Comments", text(e.comments)));
    int line = 0;
    for (const Posting& p : e.postings) {
      Record r = details.NewRecord();
      r.Set("Seq No", e.seqNo).Set("Line", ++line).Set("Period Id", e.periodId).Set("Primary Account", p.primary);
      if (p.secondary1 != 0) r.Set("Secondary Account", p.secondary1);
      if (p.secondary2 != 0) r.Set("Secondary2 Account", p.secondary2);
      r.Set(p.debit ? "Debit" : "Credit", p.amount);
      if (!p.description.empty()) r.Set("Description", text(p.description));
      details.Append(r);
      used.insert({p.primary, p.secondary1, p.secondary2});
    }
  }
  journal.Close();
  details.Close();

  // The chart: its fixed accounts, and the contractor accounts the year uses or opens with.
  std::map<AccountKey, std::pair<std::string, int>> chart;
  for (const Account& a : ChartOfAccounts()) chart[{a.primary, a.secondary1, a.secondary2}] = {a.name, a.options};
  for (const auto& [key, amount] : OpeningBalances()) used.insert(key);
  for (const AccountKey& key : used)
    if (!chart.contains(key)) {
      if (std::get<2>(key) == 0) Fail("Konto %d-%d poza planem kont", std::get<0>(key), std::get<1>(key));
      chart[key] = {ContractorByNumber(std::get<2>(key)).name, 0};
    }
  ParadoxWriter accounts(yearDir + "accounts", accountsDef);
  for (const auto& [key, account] : chart) {
    auto [p, s1, s2] = key;
    // A synthetic or first-level account opens with the sum of the accounts below it.
    double balance = 0;
    for (const auto& [leaf, amount] : OpeningBalances()) {
      auto [lp, ls1, ls2] = leaf;
      if (lp == p && (s1 == 0 || (ls1 == s1 && (s2 == 0 || ls2 == s2)))) balance = round2(balance + amount);
    }
    Record r = accounts.NewRecord();
    r.Set("Primary", p);
    if (s1 != 0) r.Set("Secondary1", s1);
    if (s2 != 0) r.Set("Secondary2", s2);
    r.Set("Account Name", text(account.first)).Set("Options", account.second);
    r.Set("InitYDebit", balance > 0 ? balance : 0.0).Set("InitYCredit", balance < 0 ? -balance : 0.0);
    accounts.Append(r);
  }
  accounts.Close();
}

}  // namespace velkar::samples
