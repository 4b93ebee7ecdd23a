// The year folders of the bookkeeping programs (Tulvo, Fennik) and the one large "Register"
// of a benchmark set.
#include <filesystem>

#include "base/Error.h"
#include "samples/SampleTables.h"
#include "samples/VatDocuments.h"

namespace velkar::samples {

std::string YearFolder(const std::string& dir, int year) {
  std::string yearDir = dir + Format("%04d", year) + "/";
  std::filesystem::create_directories(yearDir);
  return yearDir;
}

void WriteBenchmarkRegister(const std::string& dir, const SampleSet& set, std::uint64_t seed, const TableDef& table,
                            const std::function<void(ParadoxWriter&, const VatDocument&, int)>& append) {
  const DateTime& month = set.months.back();
  ParadoxWriter reg(YearFolder(dir, month.year) + "Register", table, set.scale);
  ForEachBenchmarkVatDocument(month, seed, set.scale, set.cards,
                              [&](const VatDocument& d) { append(reg, d, month.month); });
  reg.Close();
}

}  // namespace velkar::samples
