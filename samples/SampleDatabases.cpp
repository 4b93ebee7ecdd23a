// The sample databases of the demo company: every program's folder under one root.
#include <algorithm>
#include <filesystem>

#include "base/Error.h"
#include "base/Paths.h"
#include "samples/Company.h"
#include "samples/SampleTables.h"
#include "samples/TulvoLedger.h"

namespace velkar::samples {

void WriteSampleDatabases(const std::string& root, SampleSet set) {
  std::string base = IncludeTrailingPathDelimiter(root);
  // A benchmark set is one month: March 2024 unless the months are given.
  if (set.months.empty()) set.months = set.scale > 0 ? std::vector<DateTime>{{2024, 3, 1}} : SampleMonths();
  int listed = static_cast<int>(Contractors().size());
  if (set.scale > 0) {
    set.months = {set.months.back()};
    set.cards = static_cast<int>(std::max<std::int64_t>(listed, set.scale / 10));
  } else {
    set.cards = listed;
  }
  for (const char* dir : {"Gradmo", "Kontrahenci", "Tulvo", "TulvoStary", "Fennik", "NetDir"}) {
    std::error_code error;
    std::filesystem::create_directories(base + dir, error);
    if (error) Fail("Nie można utworzyć folderu %s%s (%s)", base, dir, error.message());
  }
  // The shared contractor folder: the single Users table, and the per-period tables the
  // warehouse export reads beside it.
  WriteUsersTable(base + "Kontrahenci/", set);
  WritePeriodContractorTables(base + "Kontrahenci/", set);
  WriteGradmo(base + "Gradmo/", set);
  WriteTulvo(base + "Tulvo/", set, true);
  WriteTulvo(base + "TulvoStary/", set, false);
  WriteFennik(base + "Fennik/", set);
  if (set.scale == 0) WriteFileAtomically(base + "TulvoAccSet.txt", TulvoAccountGroups());
}

}  // namespace velkar::samples
