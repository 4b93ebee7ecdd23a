// The company's VAT documents of one month as the bookkeeping programs (Tulvo, Fennik)
// record them: register, number, contractor, dates, markers and amounts per rate. Each
// program writer lays them out in its own tables.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "base/DateTime.h"

namespace velkar::samples {

// The register a document is kept in (the older Tulvo layout has one table for each).
enum class VatRegister {
  Sales,               // REGS: invoices for goods
  SalesCorrection,     // REGSKOR
  SalesServices,       // REGSU
  ImportGoods,         // REGB1: import of goods (customs declarations)
  Purchases,           // REGB: goods for resale
  Costs,               // REGB2: services and media
  PurchaseCorrection,  // REGBKOR
  CarCosts,            // REGBA: passenger car costs, half of the VAT not deductible
  FixedAssets,         // REGBP
};

bool IsSalesRegister(VatRegister reg);
// The older Tulvo table of a register ("REGS" ...).
const char* TulvoTableName(VatRegister reg);
// All registers in the order the older Tulvo tables are read.
const std::vector<VatRegister>& AllVatRegisters();

struct VatAmounts {
  double free = 0;  // exempt
  double zero = 0;  // 0 %
  double net5 = 0, vat5 = 0;
  double net8 = 0, vat8 = 0;
  double net23 = 0, vat23 = 0;

  double Net() const;  // all nets, exempt included
  double Vat() const;
};

struct VatDocument {
  VatRegister reg = VatRegister::Sales;
  int number = 0;  // running number within its register and year
  std::string name;
  int contractor = 0;
  DateTime issueDate;        // sales: issue date; purchases: the supplier's issue (purchase) date
  DateTime saleDate;         // date of supply
  DateTime receiptDate;      // purchases: date of receipt (the VAT period's date); sales: = issueDate
  std::string typDokumentu;  // "FP", "RO", "WEW", "MK", "VAT_RR" or empty
  int gtu = 0;
  int procedures = 0;  // procedure mask; for purchases bit 1 (value 2) is import (IMP)
  VatAmounts amounts;
  double vatNonDeductible = 0;  // part of the VAT that is not deducted (car costs)
  std::string description;
  // Periods from February 2026: the KSeF number the register holds, or the one only the
  // period's KSeF list gives (see SampleKsef.h); both empty for other documents.
  std::string ksef;
  std::string ksefListed;

  bool Sale() const { return IsSalesRegister(reg); }
  double DeductibleVat() const { return amounts.Vat() - vatNonDeductible; }
};

// Running document numbers per register within a year, carried from month to month.
struct VatNumbering {
  int year = 0;
  int next[9] = {1, 1, 1, 1, 1, 1, 1, 1, 1};
};

// The documents of one month: a fixed set of special documents (receipt report,
// receipt invoice, corrections, import, car costs, a Tax Free sale, TP and MPP
// markers, defective contractor NIPs) and `bulk` ordinary invoices drawn from `seed`.
// From February 2026 some invoices carry a KSeF number, and some others are in the list.
std::vector<VatDocument> VatDocumentsOfMonth(const DateTime& month, std::uint64_t seed, int bulk,
                                             VatNumbering& numbering);

// The documents of several months in month order, each month with its documents.
using VatMonths = std::vector<std::pair<DateTime, std::vector<VatDocument>>>;

// VatDocumentsOfMonth for each of `months` (in order, one numbering carried through),
// grouped by year: the registers of one year live in one folder.
std::map<int, VatMonths> VatDocumentsByYear(const std::vector<DateTime>& months, std::uint64_t seed, int bulk);

// `count` ordinary documents of a month for benchmarks, handed one by one to `take`,
// over contractor cards 2..contractors (cards beyond the company's list are generated).
// From February 2026 every third sale carries a KSeF number.
void ForEachBenchmarkVatDocument(const DateTime& month, std::uint64_t seed, std::int64_t count, int contractors,
                                 const std::function<void(const VatDocument&)>& take);

}  // namespace velkar::samples
