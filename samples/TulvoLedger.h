// Tulvo's ledger of one year: the chart of accounts with opening balances ("accounts"),
// the journal entries ("journal") and their postings ("details"), booked from the
// year's VAT documents plus bank statements, payroll, depreciation and, in December,
// the year-end closing period.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "base/DateTime.h"
#include "samples/VatDocuments.h"

namespace velkar::samples {

// One posting: an account (synthetic, level 1, level 2; 0 = none) and an amount on one side.
struct Posting {
  int primary = 0, secondary1 = 0, secondary2 = 0;
  bool debit = true;
  double amount = 0;
  std::string description;
};

struct JournalEntry {
  int seqNo = 0;
  int periodId = 0;
  std::string bookType;  // the journal ("Dziennik sprzedaży" ...)
  std::string bookNo;    // document number
  std::string bookId;    // kind of document ("FV", "WB", "PK" ...)
  DateTime date, bookDate;
  std::string operatorId;
  std::string comments;
  std::vector<Posting> postings;
};

// The entries of a year, balanced entry by entry (a fault raises an error).
std::vector<JournalEntry> LedgerEntries(int year, const VatMonths& months);

void WriteTulvoLedger(const std::string& yearDir, int year, const VatMonths& months, int codePage);

// The account groups of the chart, one line per group digit ("0 Aktywa trwałe" ...), as
// the file TulvoAccSet.txt holds them.
std::string TulvoAccountGroups();

}  // namespace velkar::samples
