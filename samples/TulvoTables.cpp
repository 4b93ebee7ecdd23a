// Tulvo, the bookkeeping program: its VAT registers in both layouts (nine tables with a
// period number, or one "Register" table), one folder per year.
#include <string>

#include "base/Error.h"
#include "base/Paths.h"
#include "samples/Company.h"
#include "samples/SampleKsef.h"
#include "samples/SampleTables.h"
#include "samples/TulvoLedger.h"
#include "samples/VatDocuments.h"
#include "tools/Dictionaries.h"

namespace velkar::samples {

// The layout without the field "NrKSeF".
static TableDef TulvoOldRegisterLayout() {
  return {{{"Number", FieldType::Long},
           {"Period Id", FieldType::Short},
           {"Dokument", FieldType::Alpha, 30},
           {"User", FieldType::Long},
           {"Data Wystawienia", FieldType::Date},
           {"Data Sprzedazy", FieldType::Date},
           {"Data Wplywu", FieldType::Date},
           {"TypDokumentu", FieldType::Alpha, 10},
           {"GTU", FieldType::Long},
           {"Procedura", FieldType::Long},
           {"Wart. zw", FieldType::Number},
           {"Wart. 0", FieldType::Number},
           {"Wart. 3", FieldType::Number},
           {"VAT 3", FieldType::Number},
           {"Wart. 7", FieldType::Number},
           {"VAT 7", FieldType::Number},
           {"Wart. 22", FieldType::Number},
           {"VAT 22", FieldType::Number},
           {"VatNPO", FieldType::Number},
           {"VAT", FieldType::Number}},
          0,
          852};
}

TableDef TulvoOldRegisterTable(bool ksef) { return WithKsefField(TulvoOldRegisterLayout(), ksef); }

// The layout without the field "NrKSeF".
static TableDef TulvoRegisterLayout() {
  return {{{"Number", FieldType::AutoInc},
           {"RegType", FieldType::Short},
           {"VatPeriod", FieldType::Short},
           {"DocName", FieldType::Alpha, 30},
           {"FirmId", FieldType::Long},
           {"DocDate", FieldType::Date},
           {"SaleDate", FieldType::Date},
           {"TypDokumentu", FieldType::Alpha, 10},
           {"GTU", FieldType::Long},
           {"Procedura", FieldType::Long},
           {"ValueFree", FieldType::Number},
           {"Value0", FieldType::Number},
           {"NetA", FieldType::Number},
           {"VatA", FieldType::Number},
           {"NetB", FieldType::Number},
           {"VatB", FieldType::Number},
           {"NetD", FieldType::Number},
           {"VatD", FieldType::Number}},
          0,
          1250};
}

TableDef TulvoRegisterTable(bool ksef) { return WithKsefField(TulvoRegisterLayout(), ksef); }

namespace {

void AppendOld(ParadoxWriter& table, const VatDocument& d, int periodId) {
  Record record = table.NewRecord();
  record.Set("Number", d.number)
      .Set("Period Id", periodId)
      .Set("Dokument", d.name)
      .Set("User", d.contractor)
      .Set("Data Wystawienia", d.issueDate)
      .Set("Data Sprzedazy", d.saleDate)
      .Set("TypDokumentu", d.typDokumentu)
      .Set("GTU", d.gtu)
      .Set("Procedura", d.procedures)
      .Set("Wart. zw", d.amounts.free)
      .Set("Wart. 0", d.amounts.zero)
      .Set("Wart. 3", d.amounts.net5)
      .Set("VAT 3", d.amounts.vat5)
      .Set("Wart. 7", d.amounts.net8)
      .Set("VAT 7", d.amounts.vat8)
      .Set("Wart. 22", d.amounts.net23)
      .Set("VAT 22", d.amounts.vat23);
  if (d.Sale()) {
    record.Set("VAT", d.amounts.Vat());
  } else {
    // Purchases: the date of receipt, the deductible VAT and the part that is not.
    record.Set("Data Wplywu", d.receiptDate).Set("VatNPO", d.vatNonDeductible).Set("VAT", d.DeductibleVat());
  }
  if (table.HasField("NrKSeF")) record.Set("NrKSeF", d.ksef);
  table.Append(record);
}

void AppendNew(ParadoxWriter& table, const VatDocument& d, int month) {
  // The newer layout keeps only the deductible VAT of a purchase.
  double vat23 = d.Sale() ? d.amounts.vat23 : d.amounts.vat23 - d.vatNonDeductible;
  Record record = table.NewRecord();
  record.Set("Number", static_cast<int>(table.Count() + 1))
      .Set("RegType", d.Sale() ? 0 : 128)
      .Set("VatPeriod", month)
      .Set("DocName", d.name)
      .Set("FirmId", d.contractor)
      // Sales: issue date; purchases: date of receipt. SaleDate: date of supply
      // (sales) or of purchase (purchases).
      .Set("DocDate", d.Sale() ? d.issueDate : d.receiptDate)
      .Set("SaleDate", d.Sale() ? d.saleDate : d.issueDate)
      .Set("TypDokumentu", d.typDokumentu)
      .Set("GTU", d.gtu)
      .Set("Procedura", d.procedures)
      .Set("ValueFree", d.amounts.free)
      .Set("Value0", d.amounts.zero)
      .Set("NetA", d.amounts.net23)
      .Set("VatA", vat23)
      .Set("NetB", d.amounts.net8)
      .Set("VatB", d.amounts.vat8)
      .Set("NetD", d.amounts.net5)
      .Set("VatD", d.amounts.vat5);
  if (table.HasField("NrKSeF")) record.Set("NrKSeF", d.ksef);
  table.Append(record);
}

}  // namespace

void WriteTulvo(const std::string& dir, const SampleSet& set, bool newerLayout) {
  if (set.scale > 0) {
    if (newerLayout) WriteBenchmarkRegister(dir, set, set.seed + 2, TulvoRegisterTable(), AppendNew);
    return;
  }

  // The same documents in both layouts, so that the two readers can be compared.
  for (const auto& [year, months] : VatDocumentsByYear(set.months, set.seed + 2, 8)) {
    std::string yearDir = YearFolder(dir, year);
    bool ksef = RegisterHasKsefField(year);
    if (newerLayout) {
      ParadoxWriter reg(yearDir + "Register", TulvoRegisterTable(ksef));
      for (const auto& [month, docs] : months)
        for (const VatDocument& d : docs) AppendNew(reg, d, month.month);
      reg.Close();
    } else {
      for (VatRegister kind : AllVatRegisters()) {
        ParadoxWriter reg(yearDir + TulvoTableName(kind), TulvoOldRegisterTable(ksef));
        for (const auto& [month, docs] : months)
          for (const VatDocument& d : docs)
            if (d.reg == kind) AppendOld(reg, d, TulvoPeriodId(month.year, month.month));
        reg.Close();
      }
    }
    WriteTulvoLedger(yearDir, year, months, newerLayout ? 1250 : 852);
    WriteKsefLists(dir, months);
  }
}

}  // namespace velkar::samples
