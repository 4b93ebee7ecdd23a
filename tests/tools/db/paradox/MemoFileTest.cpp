// Memo, formatted memo, BLOb and Graphic values: in the record, in the .mb file's two kinds
// of blocks, with the .mb file missing or damaged.
#include <gtest/gtest.h>

#include "base/Error.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TempDir.h"
#include "tests/tools/db/paradox/ReadHelpers.h"
#include "tests/tools/db/paradox/TableBuilder.h"
#include "tools/db/paradox/ParadoxTable.h"

using namespace velkar::test::paradox;
using velkar::db::paradox::ParadoxTable;
using Rows = std::vector<std::string>;
using velkar::test::ErrorOf;

namespace {

// Memo (leader 30), BLOb, formatted memo and Graphic (no leaders), in code page 1250.
TableBuilder BlobTable() {
  TableBuilder builder;
  builder.CodePage(1250).Field("Opis", 0x0C, 40).Field("Dane", 0x0D, 10).Field("Fmt", 0x0E, 10).Field("Obraz", 0x10, 10);
  return builder;
}

std::string Graphic(const std::string& image) {
  std::string data("\x01\x00\x00\x01", 4);
  std::string size(4, '\0');
  PutU32(size, 0, static_cast<std::uint32_t>(image.size()));
  return data + size + image;
}

}  // namespace

TEST(ParadoxMemoFile, ShortMemosAreReadFromTheRecordWithoutAMemoFile) {
  TableBuilder builder = BlobTable();
  builder.Record(BlobField("Hi \xB3\xF3" "d\xBF", 30, 0, 7) + Blank(30));
  Collected collected;
  auto table = ParadoxTable::OpenBytes("t.db", builder.Build(), std::nullopt, collected.Options());
  EXPECT_EQ(ReadAll(table), (Rows{"T:Hi łódż | NULL | NULL | NULL"}));
  EXPECT_TRUE(collected.warnings.empty());
}

TEST(ParadoxMemoFile, LongValuesComeFromSingleAndSubAllocatedBlocks) {
  MemoBuilder memo;
  std::string longText(10'000, 'x');
  longText.replace(0, 6, "Pocz\xB9t");
  std::uint32_t single = memo.AddSingle(longText);
  const std::string note = "Kr\xF3tka notatka, ponad 30 bajt\xF3w d\xB3ugo\x9C" "ci";
  std::uint32_t small = memo.AddSmall(note);
  std::uint32_t blob = memo.AddSmall(std::string("\x00\x01\x02\xFF", 4));
  std::uint32_t fmt = memo.AddSmall(std::string("\x02\x00rtf", 5));
  std::uint32_t image = memo.AddSingle(Graphic("BM" + std::string(5000, '\x7F')));

  TableBuilder builder = BlobTable();
  builder.Record(BlobField(longText.substr(0, 30), 30, single, 10'000) + BlobField("", 0, blob, 4) +
                 BlobField("", 0, fmt, 5) + BlobField("", 0, image, 5010));
  builder.Record(BlobField(note.substr(0, 30), 30, small, static_cast<std::uint32_t>(note.size())) + Blank(30));
  auto table = ParadoxTable::OpenBytes("t.db", builder.Build(), memo.Bytes());
  std::vector<std::vector<velkar::db::paradox::Value>> rows;
  table.ForEachRecord([&](const std::vector<velkar::db::paradox::Value>& values) {
    rows.push_back(values);
    return true;
  });
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0].text.size(), 10'000u + 1);  // ą takes two bytes in UTF-8
  EXPECT_TRUE(rows[0][0].text.starts_with("Początxxx"));
  EXPECT_EQ(Show(rows[0][1]), "X:00 01 02 FF");
  EXPECT_EQ(Show(rows[0][2]), "X:02 00 72 74 66");
  EXPECT_EQ(rows[0][3].kind, velkar::db::paradox::Value::Kind::Binary);
  EXPECT_EQ(rows[0][3].text, "BM" + std::string(5000, '\x7F'));
  EXPECT_EQ(Show(rows[1][0]), "T:Krótka notatka, ponad 30 bajtów długości");
}

TEST(ParadoxMemoFile, AMissingMemoFileGivesNullWithOneWarning) {
  TableBuilder builder = BlobTable();
  for (int i = 0; i < 3; ++i)
    builder.Record(BlobField(std::string(30, 'a'), 30, 0x10FF, 300) + BlobField("", 0, 0x2020, 4) + Blank(20));
  builder.Record(BlobField("w rekordzie", 30, 0, 11) + Blank(30));
  Collected collected;
  auto table = ParadoxTable::OpenBytes("t.db", builder.Build(), std::nullopt, collected.Options());
  Rows rows = ReadAll(table);
  EXPECT_EQ(rows[0], "NULL | NULL | NULL | NULL");
  EXPECT_EQ(rows[3], "T:w rekordzie | NULL | NULL | NULL");
  EXPECT_EQ(collected.warnings,
            (Rows{"Brak pliku notatek (.mb) tabeli t.db: wartości pól notatek i BLOb spoza rekordu odczytano jako puste "
                  "(pierwsza: rekord 1, pole Opis)"}));
}

TEST(ParadoxMemoFile, TheMemoFileIsFoundNextToTheTableInAnyLetterCase) {
  velkar::test::TempDir dir;
  MemoBuilder memo;
  std::uint32_t pointer = memo.AddSmall("notatka z pliku .mb");
  TableBuilder builder = BlobTable();
  builder.Record(BlobField("notatka z pliku .mb", 30, pointer, 19) + Blank(30));
  dir.Write("REJ.DB", builder.Build());
  dir.Write("rej.mb", memo.Bytes());
  EXPECT_EQ(ReadAll(ParadoxTable::Open(dir.File("Rej"))), (Rows{"T:notatka z pliku .mb | NULL | NULL | NULL"}));
}

TEST(ParadoxMemoFile, DamagedReferencesAndBlocksAreErrorsNamingRecordAndField) {
  MemoBuilder memo;
  std::uint32_t single = memo.AddSingle(std::string(3000, 'y'));
  std::uint32_t small = memo.AddSmall("abc");
  std::uint32_t twenty = memo.AddSmall("twenty bytes of data");
  const std::string prefix = "Plik notatek tabeli t.db jest uszkodzony: rekord 1, pole Dane: ";
  struct Case {
    std::uint32_t pointer;
    std::uint32_t length;
    std::string problem;
  };
  const Case cases[] = {
      {0x08FF, 3, "odwołanie do nieistniejącego bloku"},
      {0x00FF, 3, "odwołanie do nieistniejącego bloku"},
      {0x9000FF, 3, "odwołanie poza koniec pliku"},
      {single, 2999, "długość wartości niezgodna z rekordem"},
      {(single & ~0xFFu) | 0x3F, 3000, "blok wartości ma zły typ"},
      {(small & ~0xFFu) | 0xFF, 3, "blok wartości ma zły typ"},
      {(small & ~0xFFu) | 0x40, 3, "zły numer wartości w bloku"},
      {(small & ~0xFFu) | 0x10, 3, "odwołanie do usuniętej wartości"},
      {small, 4, "długość wartości niezgodna z rekordem"},
  };
  for (const Case& c : cases) {
    TableBuilder builder = BlobTable();
    builder.Record(Blank(40) + BlobField("", 0, c.pointer, c.length) + Blank(20));
    auto table = ParadoxTable::OpenBytes("t.db", builder.Build(), memo.Bytes());
    EXPECT_EQ(ErrorOf([&] { ReadAll(table); }), prefix + c.problem) << std::hex << c.pointer;
  }

  // A single-value block whose length claims more units than the file holds.
  std::string shortened = memo.Bytes();
  PutU16(shortened, (single & ~0xFFu) + 1, 40);
  TableBuilder builder = BlobTable();
  builder.Record(Blank(40) + BlobField("", 0, single, 3000) + Blank(20));
  EXPECT_EQ(ErrorOf([&] { ReadAll(ParadoxTable::OpenBytes("t.db", builder.Build(), shortened)); }),
            prefix + "blok wartości sięga poza koniec pliku");
  // A sub-allocated entry pointing past its block.
  std::string overrun = memo.Bytes();
  overrun[(twenty & ~0xFFu) + 0x0C + 5 * (twenty & 0xFF)] = static_cast<char>(0xFF);
  TableBuilder second = BlobTable();
  second.Record(Blank(40) + BlobField("", 0, twenty, 20) + Blank(20));
  EXPECT_EQ(ErrorOf([&] { ReadAll(ParadoxTable::OpenBytes("t.db", second.Build(), overrun)); }),
            prefix + "wartość sięga poza swój blok");
  // A memo file that is not one.
  EXPECT_EQ(ErrorOf([&] { ReadAll(ParadoxTable::OpenBytes("t.db", second.Build(), std::string(100, '\0'))); }),
            "Plik notatek tabeli t.db jest uszkodzony: plik krótszy niż blok nagłówka");
  // A value said to be in the record but longer than the leader.
  TableBuilder leader = BlobTable();
  leader.Record(BlobField("abc", 30, 0, 31) + Blank(30));
  EXPECT_EQ(ErrorOf([&] { ReadAll(ParadoxTable::OpenBytes("t.db", leader.Build(), std::nullopt)); }),
            "Tabela t.db jest uszkodzona: rekord 1, pole Opis: wartość dłuższa niż miejsce w rekordzie");
}
