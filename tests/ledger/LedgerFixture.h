// Ledger tables written by the tests (Tulvo's "accounts", "journal", "details" in a year
// folder), the company of the tests' configuration, and an independent computation of
// what the JPK_KR of a period must hold, read from the same tables row by row.
#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "base/DateTime.h"
#include "model/kr/JpkKR.h"
#include "samples/TulvoLedger.h"
#include "tests/support/TempDir.h"

namespace velkar::test {

struct LedgerAccount {
  int p = 0, s1 = 0, s2 = 0;  // 0: level not there (written empty)
  std::string name;
  int options = 0;
  double initDebit = 0, initCredit = 0;
};

// The postings and entries are those of the sample ledger's generator.
using LedgerPosting = samples::Posting;
using LedgerEntry = samples::JournalEntry;

struct LedgerYear {
  std::vector<LedgerAccount> accounts;
  std::vector<LedgerEntry> entries;
};

// Writes the three tables into `yearDir` (with a trailing separator).
void WriteLedger(const std::string& yearDir, const LedgerYear& ledger);

// The account groups of the tests, as TulvoAccSet.txt holds them.
std::vector<std::string> AccountGroups();
// The account groups of the sample company (samples::TulvoAccountGroups), one per line.
std::vector<std::string> SampleAccountGroups();

// The working folder of a run: SQL/ copied from the source tree, Tulvo/<year>/ with the
// ledger, and the working directory changed to it for the scope.
class LedgerWorkDir {
 public:
  LedgerWorkDir();
  const std::string& Path() const { return dir_.Path(); }
  std::string TulvoDir() const { return dir_.Path() + "Tulvo/"; }
  std::string YearDir(int year) const;
  void Write(int year, const LedgerYear& ledger) { WriteLedger(YearDir(year), ledger); }

 private:
  TempDir dir_;
  ChangeDir change_;
};

// What the file of a period must hold, computed from the tables by walking them.
struct ExpectedAccount {
  std::string code;
  double openDebit = 0, openCredit = 0, turnoverDebit = 0, turnoverCredit = 0, cumDebit = 0, cumCredit = 0,
         closeDebit = 0, closeCredit = 0;
  int options = 0;
};
struct ExpectedKr {
  std::map<std::string, ExpectedAccount> accounts;  // by KodKonta (unreported ones too)
  std::vector<std::pair<std::string, double>> journal;  // Seq No and amount, in order
  double journalTotal = 0;
  int postings = 0;
  double debitTotal = 0, creditTotal = 0;
};
ExpectedKr ComputeExpectedKr(const std::string& yearDir, int periodId);

// Compares the document's sections with the computation (to the grosz); failures are
// reported as test failures naming the account or row.
void ExpectDocumentAgrees(const kr::IXMLJPKKR& doc, const ExpectedKr& expected);

// A small ledger of 2024: February, March and April entries on a chart with every kind of
// account (Options 1, 2, 4, 6; accounts 201 and 201-1-5).
LedgerYear Ledger2024();
// 2023 with December (12360) and its closing period (12370).
LedgerYear Ledger2023();

}  // namespace velkar::test
