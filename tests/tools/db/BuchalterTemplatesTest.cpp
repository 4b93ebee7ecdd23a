// The Buchalter templates committed in Buchalter/Empty/ are what the template tool writes,
// and they hold every field code the Buchalter export sets.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "tests/support/TempDir.h"
#include "tools/db/Session.h"
#include "tools/db/Table.h"
#include "tools/db/buchalter/BuchalterTemplates.h"

using namespace velkar;
using namespace velkar::db;

namespace {

// The field codes the export sets in each table.
const std::map<std::string, std::string> kCodes{
    {"B5SPEX",
     "STV TTR STM ANU TYV PRE NRV POS DAW DAS DAV KNA NA1 NA2 KRA NIP PLA DPL NET VAT BRU KRN KRV OP1 REC AKT TRY TRK "
     "OSM TYB WAL KVA NKK NKV KKS RE4"},
    {"B5ESEX",
     "STV STM CSS TYV PRE NRV POS DAW DAV KON TYP RYT RYS NA1 ILO RAS CNB CBB CNR CBR WNE WAV WAB KRN KRV KILO KCNB "
     "KCBB KCNR KCBR KVAT KVAS KWAV KWAB VAT VAS REK REC ZRP STA WAL KVA KKS"},
    {"B5ZAEX",
     "TTR STM ANU TYV NRV DAV DZK KDO NA1 NA2 KRA NIP KRN KRV OP1 TYM NET VAT BRU PLA DPL REC AKT TRY TRK ZAP KZA DAM "
     "STA WAL KVA KKS TKO"},
    {"B5EZEX",
     "STV STM ANU TYV NRV DAV KON TYW TYZ TYS NA1 VAT VAS CZO REK REC ILO CEN CEB WAN WAV WAB ILK KRN KRV WAL KVA KKS "
     "RE3"},
};

std::set<std::string> Words(const std::string& text) {
  std::set<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;) words.insert(word);
  return words;
}

}  // namespace

TEST(BuchalterTemplates, TheCommittedFilesAreWhatTheToolWrites) {
  test::TempDir dir;
  for (const auto& table : buchalter::BuchalterTemplates()) {
    std::string name = std::string(table.name) + ".dbf";
    buchalter::WriteTemplate(table, dir.File(name));
    EXPECT_EQ(test::ReadFile(dir.File(name)), test::ReadFile(test::SourceDir() + "/Buchalter/Empty/" + name))
        << name << ": run `cmake --build build --target buchalter-templates`";
  }
}

TEST(BuchalterTemplates, EachTableHoldsExactlyTheFieldCodesTheExportSets) {
  ASSERT_EQ(buchalter::BuchalterTemplates().size(), 4u);
  Session session;
  for (const auto& table : buchalter::BuchalterTemplates()) {
    TTable read(&session);
    read.DatabaseName = test::SourceDir() + "/Buchalter/Empty/";
    read.TableName = std::string(table.name) + ".dbf";
    read.Open();
    EXPECT_EQ(read.RecordCount(), 0);
    std::vector<std::string> names = read.FieldNames();
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), Words(kCodes.at(table.name))) << table.name;
    EXPECT_EQ(names.size(), table.fields.size()) << table.name;
  }
}
