// Fennik, the revenue-book program: one "Register" table per year, sales and purchases
// told apart by the register number.
#include <string>

#include "base/Error.h"
#include "base/Text.h"
#include "samples/Company.h"
#include "samples/SampleKsef.h"
#include "samples/SampleTables.h"
#include "samples/VatDocuments.h"

namespace velkar::samples {

// The layout without the field "NrKSeF".
static TableDef FennikRegisterLayout() {
  return {{{"Number", FieldType::Long},
           {"RegId", FieldType::Short},
           {"VATMonth", FieldType::Short},
           {"DocName", FieldType::Alpha, 30},
           {"FirmId", FieldType::Long},
           {"RegDate", FieldType::Date},
           {"SaleDate", FieldType::Date},
           {"TypDokumentu", FieldType::Alpha, 10},
           {"GTU", FieldType::Long},
           {"Procedura", FieldType::Long},
           {"ValueFree", FieldType::Currency},
           {"Value0", FieldType::Currency},
           {"Net3", FieldType::Currency},
           {"Vat3", FieldType::Currency},
           {"Net7", FieldType::Currency},
           {"Vat7", FieldType::Currency},
           {"Net22", FieldType::Currency},
           {"Vat22", FieldType::Currency},
           {"VatNoDeduct", FieldType::Currency}},
          0,
          1250};
}

TableDef FennikRegisterTable(bool ksef) { return WithKsefField(FennikRegisterLayout(), ksef); }

namespace {

// Register numbers: below 128 sales, from 128 on purchases.
int RegId(VatRegister reg) {
  switch (reg) {
    case VatRegister::Sales:
      return 1;
    case VatRegister::SalesServices:
      return 2;
    case VatRegister::SalesCorrection:
      return 127;
    case VatRegister::Purchases:
    case VatRegister::PurchaseCorrection:
      return 128;
    case VatRegister::Costs:
    case VatRegister::CarCosts:
      return 129;
    case VatRegister::FixedAssets:
      return 130;
    case VatRegister::ImportGoods:
      return 131;
  }
  return 1;
}

void Append(ParadoxWriter& table, const VatDocument& d, const std::string& name, int month) {
  // The VAT columns of a purchase hold the deductible VAT; the rest is VatNoDeduct.
  double vat22 = d.Sale() ? d.amounts.vat23 : d.amounts.vat23 - d.vatNonDeductible;
  Record record = table.NewRecord();
  record.Set("Number", static_cast<int>(table.Count() + 1))
      .Set("RegId", RegId(d.reg))
      .Set("VATMonth", month)
      .Set("DocName", name)
      .Set("FirmId", d.contractor)
      // Sales: issue date; purchases: date of receipt.
      .Set("RegDate", d.Sale() ? d.issueDate : d.receiptDate)
      .Set("SaleDate", d.Sale() ? d.saleDate : d.issueDate)
      .Set("TypDokumentu", d.typDokumentu)
      .Set("GTU", d.gtu)
      .Set("Procedura", d.procedures)
      .Set("ValueFree", d.amounts.free)
      .Set("Value0", d.amounts.zero)
      .Set("Net3", d.amounts.net5)
      .Set("Vat3", d.amounts.vat5)
      .Set("Net7", d.amounts.net8)
      .Set("Vat7", d.amounts.vat8)
      .Set("Net22", d.amounts.net23)
      .Set("Vat22", vat22)
      .Set("VatNoDeduct", d.vatNonDeductible);
  if (table.HasField("NrKSeF")) record.Set("NrKSeF", d.ksef);
  table.Append(record);
}

}  // namespace

void WriteFennik(const std::string& dir, const SampleSet& set) {
  if (set.scale > 0) {
    WriteBenchmarkRegister(dir, set, set.seed + 3, FennikRegisterTable(),
                           [](ParadoxWriter& reg, const VatDocument& d, int month) { Append(reg, d, d.name, month); });
    return;
  }
  for (const auto& [year, months] : VatDocumentsByYear(set.months, set.seed + 3, 5)) {
    ParadoxWriter reg(YearFolder(dir, year) + "Register", FennikRegisterTable(RegisterHasKsefField(year)));
    for (const auto& [month, docs] : months)
      for (const VatDocument& d : docs) {
        // February's Tax Free sale was typed in lower case: it is not reported as Tax Free.
        std::string name = d.name;
        if (month.month == 2 && StartsWith(name, "TaxFree")) name = "taxfree" + name.substr(7);
        Append(reg, d, name, month.month);
      }
    reg.Close();
    WriteKsefLists(dir, months);
  }
}

}  // namespace velkar::samples
