// The year folders of the bookkeeping programs (Tulvo, Fennik), their KSeF number lists, and
// the one large "Register" of a benchmark set.
#include <filesystem>

#include "base/Error.h"
#include "samples/Company.h"
#include "samples/SampleKsef.h"
#include "samples/SampleTables.h"
#include "samples/VatDocuments.h"

namespace velkar::samples {

TableDef WithKsefField(TableDef def, bool ksef) {
  if (ksef) def.fields.push_back({"NrKSeF", FieldType::Alpha, 40});
  return def;
}

std::string YearFolder(const std::string& dir, int year) {
  std::string yearDir = dir + Format("%04d", year) + "/";
  std::filesystem::create_directories(yearDir);
  return yearDir;
}

void WriteBenchmarkRegister(const std::string& dir, const SampleSet& set, std::uint64_t seed, const TableDef& table,
                            const std::function<void(ParadoxWriter&, const VatDocument&, int)>& append) {
  const DateTime& month = set.months.back();
  ParadoxWriter reg(YearFolder(dir, month.year) + "Register", WithKsefField(table, RegisterHasKsefField(month.year)),
                    set.scale);
  ForEachBenchmarkVatDocument(month, seed, set.scale, set.cards,
                              [&](const VatDocument& d) { append(reg, d, month.month); });
  reg.Close();
}

void WriteKsefLists(const std::string& dir, const VatMonths& months) {
  for (const auto& [month, docs] : months) {
    if (!KsefPeriod(month)) continue;
    std::vector<KsefListEntry> entries;
    for (const VatDocument& d : docs)
      if (!d.ksefListed.empty())
        entries.push_back({d.name, DomesticNip(ContractorByNumber(d.contractor)), d.ksefListed});
    WriteKsefList(dir + KsefListName(month), entries);
  }
}

}  // namespace velkar::samples
