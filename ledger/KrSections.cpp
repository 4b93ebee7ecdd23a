// The three content sections of JPK_KR(1), filled in schema order from Tulvo's ledger: the
// chart of accounts with balances (ZOiS), the journal (Dziennik, DziennikCtrl) and the
// postings (KontoZapis, KontoZapisCtrl). They run on the task's thread.
#include <exception>
#include <string>
#include <utility>
#include <vector>

#include "base/Error.h"
#include "base/Text.h"
#include "ledger/GenFromTulvoDlg.h"
#include "ledger/LedgerFiles.h"
#include "tools/Dictionaries.h"
#include "tools/Money.h"

namespace velkar {

namespace {

// An account level that is not there: an empty field (or 0, as the account symbols read it).
bool LevelEmpty(const db::Field& field) { return field.IsNull() || field.AsString().empty() || field.AsString() == "0"; }

int LevelNumber(const db::Field& field) { return LevelEmpty(field) ? 0 : static_cast<int>(field.AsInteger()); }

// The first `count` characters of UTF-8 text, and the text after its first `count` characters.
size_t Utf8Offset(const std::string& text, size_t count) {
  size_t i = 0;
  while (i < text.size() && count > 0) {
    ++i;
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
    --count;
  }
  return i;
}

// Closes a table or query however the section ends.
template <typename DataSet>
class CloseOnExit {
 public:
  explicit CloseOnExit(DataSet& dataSet) : dataSet_(dataSet) {}
  ~CloseOnExit() { dataSet_.Close(); }
  CloseOnExit(const CloseOnExit&) = delete;
  CloseOnExit& operator=(const CloseOnExit&) = delete;

 private:
  DataSet& dataSet_;
};

// Runs a final step when the scope ends, also after an error. When the scope ends by an
// error, that error is the one reported and a failure of the step is dropped.
template <typename Step>
class Finally {
 public:
  explicit Finally(Step step) : step_(std::move(step)), errors_(std::uncaught_exceptions()) {}
  ~Finally() noexcept(false) {
    if (std::uncaught_exceptions() == errors_) {
      step_();
      return;
    }
    try {
      step_();
    } catch (const std::exception&) {
    }
  }
  Finally(const Finally&) = delete;
  Finally& operator=(const Finally&) = delete;

 private:
  Step step_;
  int errors_;
};

const char* const kKeyFields[] = {"Primary", "Secondary1", "Secondary2", "Secondary3"};

bool IsDecember(int periodId) { return periodId % 100 == 60; }

}  // namespace

std::string TGenFromTulvoDlg::GroupName(const std::string& symbol) const {
  char digit = symbol.empty() ? ' ' : symbol[0];
  size_t line = static_cast<size_t>(digit - '0');
  if (digit < '0' || digit > '9' || line >= tulvoAccSet_.size())
    Fail("Brak nazwy zespołu kont %c w pliku TulvoAccSet.txt (konto %s)", digit, symbol);
  const std::string& text = tulvoAccSet_[line];
  std::string name = text.substr(Utf8Offset(text, 2));
  return name.substr(0, Utf8Offset(name, 255));
}

void TGenFromTulvoDlg::BuildZOiS() {
  CloseOnExit closeQuery(Query);
  CloseOnExit closeTmp(tblTmp);
  LoadLedgerQuery(Query.SQL, kZoisSqlFile);
  Query.ParamByName("PeriodId").SetAsInteger(periodId_);
  tblTmp.Close();
  Query.Open();
  Query.BatchCopy(tblTmp);
  tblTmp.AddPrimaryIndex("Primary; Secondary1; Secondary2; Secondary3");
  Query.Close();

  if (IsDecember(periodId_)) {
    // The year-end closing period corrects the turnover and balances of December.
    Query.ParamByName("PeriodId").SetAsInteger(periodId_ + 10);
    Query.Open();
    tblTmp.Open();
    for (Query.First(); !Query.Eof(); Query.Next()) {
      // The key's leading filled levels find the account (an empty level sorts first);
      // the row found must then match on all four.
      std::vector<std::string> key;
      for (const char* name : kKeyFields) key.push_back(Query.FieldByName(name).AsString());
      size_t filled = 0;
      while (filled < key.size() && !key[filled].empty()) ++filled;
      if (filled == 0 || !tblTmp.FindKey({key.begin(), key.begin() + static_cast<std::ptrdiff_t>(filled)})) continue;
      bool same = true;
      for (size_t i = 0; i < key.size(); ++i) same = same && tblTmp.FieldByName(kKeyFields[i]).AsString() == key[i];
      if (!same) continue;
      double saldoDebit = Query.FieldByName("SaldoDebit").AsFloat();
      double saldoCredit = Query.FieldByName("SaldoCredit").AsFloat();
      if (tblTmp.FieldByName("SaldoDebit").AsFloat() == saldoDebit &&
          tblTmp.FieldByName("SaldoCredit").AsFloat() == saldoCredit)
        continue;
      tblTmp.Edit();
      tblTmp.SetAsFloat("Debit", Query.FieldByName("Debit").AsFloat());
      tblTmp.SetAsFloat("Credit", Query.FieldByName("Credit").AsFloat());
      tblTmp.SetAsFloat("SaldoDebit", saldoDebit);
      tblTmp.SetAsFloat("SaldoCredit", saldoCredit);
      tblTmp.Post();
    }
    Query.Close();
  }
  ThreadProgress(nullptr, -1);

  tblTmp.Open();
  kr::IXMLJPK_ZOiSList rows = JPKKR.ZOiS();
  std::string category, subcategory;
  for (tblTmp.First(); !tblTmp.Eof(); tblTmp.Next()) {
    db::Field secondary1 = tblTmp.FieldByName("Secondary1");
    db::Field secondary2 = tblTmp.FieldByName("Secondary2");
    int p = LevelNumber(tblTmp.FieldByName("Primary"));
    int s1 = LevelNumber(secondary1);
    int s2 = LevelNumber(secondary2);
    std::string name = tblTmp.FieldByName("Account Name").AsString();
    if (LevelEmpty(secondary1)) category = name;
    else if (LevelEmpty(secondary2)) subcategory = name;

    long long options = tblTmp.FieldByName("Options").AsInteger();
    if (options & 1) continue;  // not reported
    std::string type = (options & 2) ? "pozabilansowe" : "bilansowe";
    if (options & 4) type = "wynikowe";
    if (p == 200 || p == 201) type = "rozliczeniowe";

    std::string symbol = FormatAccountSymbol(p, s1, s2, 0, 3);
    kr::IXMLJPK_ZOiS row = rows.Add();
    row.Set_typ("G");
    row.Set_KodKonta(symbol);
    row.Set_OpisKonta(name);
    row.Set_TypKonta(type);
    row.Set_KodZespolu(symbol.substr(0, 1));
    row.Set_OpisZespolu(GroupName(symbol));
    row.Set_KodKategorii(symbol.substr(0, 3));
    row.Set_OpisKategorii(category);
    if (!LevelEmpty(secondary2)) {
      row.Set_KodPodkategorii(symbol.substr(0, symbol.rfind('-')));
      row.Set_OpisPodkategorii(subcategory);
    }
    double debit = tblTmp.FieldByName("Debit").AsFloat();
    double credit = tblTmp.FieldByName("Credit").AsFloat();
    row.Set_BilansOtwarciaWinien(tblTmp.FieldByName("InitYDebit").AsFloat());
    row.Set_BilansOtwarciaMa(tblTmp.FieldByName("InitYCredit").AsFloat());
    row.Set_ObrotyWinien(round2(debit - tblTmp.FieldByName("Initial Debit").AsFloat()));
    row.Set_ObrotyMa(round2(credit - tblTmp.FieldByName("Initial Credit").AsFloat()));
    row.Set_ObrotyWinienNarast(debit);
    row.Set_ObrotyMaNarast(credit);
    row.Set_SaldoWinien(tblTmp.FieldByName("SaldoDebit").AsFloat());
    row.Set_SaldoMa(tblTmp.FieldByName("SaldoCredit").AsFloat());
    RecordDone();
  }
}

void TGenFromTulvoDlg::BuildDziennik() {
  int n = 0;
  double total = 0;
  // The control record is written however the section ends.
  Finally writeCtrl([&] {
    Query.Close();
    kr::IXMLJPK_DziennikCtrl ctrl = JPKKR.DziennikCtrl();
    ctrl.Set_LiczbaWierszyDziennika(n);
    ctrl.Set_SumaKwotOperacji(total);
  });
  LoadLedgerQuery(Query.SQL, kDziennikSqlFile);
  if (IsDecember(periodId_)) {
    // The closing period follows December: the period condition takes both.
    if (Query.SQL.size() < 4) Fail("Zapytanie %s ma mniej niż 4 wiersze", kDziennikSqlFile);
    Query.SQL[3] = Format("WHERE (D.\"Period Id\" >= %d) ", periodId_);
  } else {
    Query.ParamByName("PeriodId").SetAsInteger(periodId_);
  }
  Query.Open();
  kr::IXMLJPK_DziennikList rows = JPKKR.Dziennik();
  for (Query.First(); !Query.Eof(); Query.Next()) {
    double amount = round2(Query.FieldByName("KwotaOperacji").AsFloat());
    total = round2(total + amount);
    ++n;
    std::string bookType = Query.FieldByName("Book Type").AsString();
    std::string comments = Query.FieldByName("Comments").AsString();
    std::string date = Query.FieldByName("Date").AsString();
    kr::IXMLJPK_Dziennik row = rows.Add();
    row.Set_typ("G");
    row.Set_LpZapisuDziennika(n);
    row.Set_NrZapisuDziennika(Query.FieldByName("Seq No").AsString());
    row.Set_OpisDziennika(bookType);
    row.Set_NrDowoduKsiegowego(Query.FieldByName("Book No").AsString());
    row.Set_RodzajDowodu(Query.FieldByName("Book Id").AsString());
    row.Set_DataOperacji(date);
    row.Set_DataDowodu(date);
    row.Set_DataKsiegowania(Query.FieldByName("Book Date").AsString());
    row.Set_KodOperatora(Query.FieldByName("Operator Id").AsString());
    row.Set_OpisOperacji(comments.empty() ? bookType : comments);
    row.Set_DziennikKwotaOperacji(amount);
    RecordDone();
  }
}

void TGenFromTulvoDlg::BuildKontoZapis() {
  int n = 0;
  double debitTotal = 0, creditTotal = 0;
  Finally writeCtrl([&] {
    tblDetails.Close();
    kr::IXMLJPK_KontoZapisCtrl ctrl = JPKKR.KontoZapisCtrl();
    ctrl.Set_LiczbaWierszyKontoZapisj(n);
    ctrl.Set_SumaWinien(debitTotal);
    ctrl.Set_SumaMa(creditTotal);
  });

  tblDetails.Open();
  kr::IXMLJPK_KontoZapisList rows = JPKKR.KontoZapis();
  int closingPeriod = IsDecember(periodId_) ? periodId_ + 10 : periodId_;
  for (tblDetails.First(); !tblDetails.Eof(); tblDetails.Next()) {
    long long period = tblDetails.FieldByName("Period Id").AsInteger();
    if (period != periodId_ && period != closingPeriod) continue;
    ++n;
    std::string symbol = FormatAccountSymbol(LevelNumber(tblDetails.FieldByName("Primary Account")),
                                             LevelNumber(tblDetails.FieldByName("Secondary Account")),
                                             LevelNumber(tblDetails.FieldByName("Secondary2 Account")), 0, 3);
    db::Field debit = tblDetails.FieldByName("Debit");
    db::Field credit = tblDetails.FieldByName("Credit");
    std::string description = tblDetails.FieldByName("Description").AsString();
    kr::IXMLJPK_KontoZapis row = rows.Add();
    row.Set_typ("G");
    row.Set_LpZapisu(n);
    row.Set_NrZapisu(tblDetails.FieldByName("Seq No").AsString());
    // One side of the posting: an empty amount writes "null" and 0 and leaves the total.
    auto side = [&](const db::Field& value, double& total, auto setCode, auto setAmount, auto setDescription) {
      if (value.IsNull()) {
        setCode("null");
        setAmount(0.0);
        return;
      }
      double amount = round2(value.AsFloat());
      total = round2(total + amount);
      setCode(symbol);
      setAmount(amount);
      if (!description.empty()) setDescription(description);
    };
    side(
        debit, debitTotal, [&](const std::string& code) { row.Set_KodKontaWinien(code); },
        [&](double amount) { row.Set_KwotaWinien(amount); },
        [&](const std::string& text) { row.Set_OpisZapisuWinien(text); });
    side(
        credit, creditTotal, [&](const std::string& code) { row.Set_KodKontaMa(code); },
        [&](double amount) { row.Set_KwotaMa(amount); }, [&](const std::string& text) { row.Set_OpisZapisuMa(text); });
    RecordDone();
  }
}

}  // namespace velkar
