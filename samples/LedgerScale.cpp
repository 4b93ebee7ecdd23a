// The benchmark ledger of velkar-samples --ledger N: Tulvo's "accounts", "journal" and
// "details" of 2024 with N postings in March (sales invoices of three postings each, on
// the demo company's chart and one receivable account per customer).
#include <algorithm>
#include <filesystem>

#include "base/Error.h"
#include "base/Paths.h"
#include "samples/Company.h"
#include "samples/ParadoxWriter.h"
#include "samples/SampleRandom.h"
#include "samples/SampleTables.h"
#include "samples/TulvoLedger.h"
#include "tools/Dictionaries.h"
#include "tools/Money.h"

namespace velkar::samples {

void WriteBenchmarkLedger(const std::string& root, std::int64_t postings, std::uint64_t seed) {
  std::string yearDir = root + "/Tulvo/2024/";
  std::filesystem::create_directories(yearDir);
  SampleRandom random(seed);
  std::int64_t entries = std::max<std::int64_t>(1, postings / 3);
  // Secondary2 is a Short field: at most 32767 customers under 201-1.
  int customers = static_cast<int>(std::clamp<std::int64_t>(entries / 30, 34, 32000));

  ParadoxWriter accounts(yearDir + "accounts", TulvoAccountsTable());
  for (const Account& a : ChartOfAccounts()) {
    Record r = accounts.NewRecord();
    r.Set("Primary", a.primary);
    if (a.secondary1) r.Set("Secondary1", a.secondary1);
    r.Set("Account Name", a.name).Set("Options", a.options).Set("InitYDebit", 0.0).Set("InitYCredit", 0.0);
    accounts.Append(r);
    if (a.primary == 201 && a.secondary1 == 1)
      for (int k = 1; k <= customers; ++k)
        accounts.Append(accounts.NewRecord()
                            .Set("Primary", 201)
                            .Set("Secondary1", 1)
                            .Set("Secondary2", k)
                            .Set("Account Name", Format("Odbiorca %d", k))
                            .Set("Options", 0)
                            .Set("InitYDebit", 0.0)
                            .Set("InitYCredit", 0.0));
  }
  accounts.Close();

  int periodId = TulvoPeriodId(2024, 3);
  ParadoxWriter journal(yearDir + "journal", TulvoJournalTable(), entries);
  ParadoxWriter details(yearDir + "details", TulvoDetailsTable(), entries * 3);
  for (std::int64_t n = 1; n <= entries; ++n) {
    int seqNo = static_cast<int>(n);
    DateTime date{2024, 3, random.Between(1, 31)};
    std::string number = Format("FV %d/03/2024", seqNo);
    journal.Append(journal.NewRecord()
                       .Set("Seq No", seqNo)
                       .Set("Period Id", periodId)
                       .Set("Book Type", "Dziennik sprzedaży")
                       .Set("Book No", number)
                       .Set("Book Id", "FV")
                       .Set("Date", date)
                       .Set("Book Date", date)
                       .Set("Operator Id", "AK")
                       .Set("Comments", "Sprzedaż towarów"));
    double net = random.Between(100, 2000000) / 100.0;
    double vat = round2(net * 0.23);
    auto post = [&](int line, int primary, int secondary1, int secondary2, bool debit, double amount,
                    const char* description) {
      Record r = details.NewRecord();
      r.Set("Seq No", seqNo).Set("Line", line).Set("Period Id", periodId).Set("Primary Account", primary);
      if (secondary1) r.Set("Secondary Account", secondary1);
      if (secondary2) r.Set("Secondary2 Account", secondary2);
      r.Set(debit ? "Debit" : "Credit", amount);
      if (*description) r.Set("Description", description);
      details.Append(r);
    };
    post(1, 201, 1, random.Between(1, customers), true, round2(net + vat), "Należność");
    post(2, 700, 1, 0, false, net, "");
    post(3, 222, 0, 0, false, vat, "VAT należny");
  }
  journal.Close();
  details.Close();
  WriteFileAtomically(root + "/TulvoAccSet.txt", TulvoAccountGroups());
}

}  // namespace velkar::samples
