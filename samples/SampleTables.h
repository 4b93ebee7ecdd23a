// The record layouts of the source programs' tables as the sample databases write them,
// and the writers of each program's folder. docs/source-tables.md describes the same
// layouts field by field.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/DateTime.h"
#include "samples/ParadoxWriter.h"
#include "samples/VatDocuments.h"

namespace velkar::samples {

// Contractor tables: "Users" (single table, street and house apart) and the per-period
// customer (UR) and supplier (UC) tables.
TableDef UsersTable();
TableDef PeriodContractorTable();

// The register tables of a year from 2026 on (`ksef`) end with the text field "NrKSeF":
// the invoice's KSeF number, empty when the invoice has none (RegisterHasKsefField).

// Gradmo: the VAT register REG, warehouse documents WI, their lines WT, goods W and
// goods series WS.
TableDef GradmoRegTable(bool ksef = false);
TableDef GradmoWiTable();
TableDef GradmoWtTable();
TableDef GradmoWTable();
TableDef GradmoWsTable();

// Tulvo: one of the nine registers of the older layout, the newer "Register", and the
// ledger tables "accounts", "journal" and "details".
TableDef TulvoOldRegisterTable(bool ksef = false);
TableDef TulvoRegisterTable(bool ksef = false);
TableDef TulvoAccountsTable();
TableDef TulvoJournalTable();
TableDef TulvoDetailsTable();

// Fennik: "Register".
TableDef FennikRegisterTable(bool ksef = false);

// What to write.
struct SampleSet {
  std::vector<DateTime> months;  // the months of documents (empty: SampleMonths(), or March 2024 with a scale)
  std::uint64_t seed = 20240315;
  // 0: the demo company's documents. N > 0: N documents in each register of the last
  // month (and N / 10 contractor cards) for benchmarks.
  std::int64_t scale = 0;
  int cards = 0;  // contractor cards written (derived from scale)
};

// `def` with the field "NrKSeF" at its end when `ksef` is set.
TableDef WithKsefField(TableDef def, bool ksef);

// The folder of `year` under `dir` ("2024/", with the separator), created if missing.
std::string YearFolder(const std::string& dir, int year);

// The benchmark register: `set.scale` documents of the last month drawn from `seed`, each
// handed with the month number to `append` for the table "Register" (layout `table`) in
// that month's year folder (with the field "NrKSeF" from 2026 on).
void WriteBenchmarkRegister(const std::string& dir, const SampleSet& set, std::uint64_t seed, const TableDef& table,
                            const std::function<void(ParadoxWriter&, const VatDocument&, int)>& append);

// The KSeF number lists of the months from February 2026 in `dir` (a program's folder): the
// invoices whose register records have no number but the list gives one.
void WriteKsefLists(const std::string& dir, const VatMonths& months);

// Contractor cards: the company's list, then generated cards up to `cards`.
void WriteUsersTable(const std::string& dir, const SampleSet& set);
void WritePeriodContractorTables(const std::string& dir, const SampleSet& set);

// Gradmo data folder: per-month and per-year REG, WI, WT, W, WS, UR and UC tables.
void WriteGradmo(const std::string& dir, const SampleSet& set);

// Tulvo folder with one year folder per year of the months: the older layout (nine
// registers with "Period Id") or the newer one ("Register"), and the ledger tables.
void WriteTulvo(const std::string& dir, const SampleSet& set, bool newerLayout);

// Fennik folder with one year folder per year: "Register".
// Gradmo, Tulvo and Fennik write into their folder the KSeF number list of each month from
// February 2026 (KsefListName).
void WriteFennik(const std::string& dir, const SampleSet& set);

// Everything under `root`: Gradmo/, Kontrahenci/, Tulvo/, TulvoStary/, Fennik/,
// NetDir/ and the account-group list TulvoAccSet.txt.
void WriteSampleDatabases(const std::string& root, SampleSet set);

// The benchmark ledger: Tulvo/2024/ accounts, journal and details with `postings` postings in
// March 2024, and TulvoAccSet.txt, under `root`.
void WriteBenchmarkLedger(const std::string& root, std::int64_t postings, std::uint64_t seed);

}  // namespace velkar::samples
