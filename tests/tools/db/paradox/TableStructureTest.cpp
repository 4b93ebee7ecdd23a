// Table structure: versions, header and block sizes, the block chain, free blocks, keys,
// finding the files and stopping early.
#include <gtest/gtest.h>

#include "base/Error.h"
#include "tests/support/TempDir.h"
#include "tests/tools/db/paradox/ReadHelpers.h"
#include "tests/tools/db/paradox/TableBuilder.h"
#include "tools/db/paradox/ParadoxTable.h"

using namespace velkar::test::paradox;
using velkar::db::paradox::FieldType;
using velkar::db::paradox::ParadoxTable;
using Rows = std::vector<std::string>;

namespace {

// A table of (Id Long, Name Alpha 12) records numbered 1..count.
TableBuilder Numbered(int version, int count) {
  TableBuilder builder(version);
  builder.Field("Id", 0x04, 4).Field("Name", 0x01, 12);
  for (int i = 1; i <= count; ++i) builder.Record(Long(i) + Alpha("rec" + std::to_string(i), 12));
  return builder;
}

Rows NumberedRows(std::initializer_list<int> ids) {
  Rows rows;
  for (int i : ids) rows.push_back("I:" + std::to_string(i) + " | T:rec" + std::to_string(i));
  return rows;
}

}  // namespace

TEST(ParadoxTableStructure, EveryVersionFrom30To7IsRead) {
  for (int version = 3; version <= 12; ++version) {
    TableBuilder builder = Numbered(version, 3);
    auto table = ParadoxTable::OpenBytes("t.db", builder.Build(), std::nullopt);
    const auto& h = table.Header();
    EXPECT_EQ(h.fileVersion, version);
    EXPECT_EQ(h.recordCount, 3);
    EXPECT_EQ(h.fields.size(), 2u);
    EXPECT_EQ(h.fields[1].name, "Name");
    EXPECT_EQ(h.fields[1].type, FieldType::Alpha);
    EXPECT_EQ(h.fields[1].size, 12);
    EXPECT_EQ(ReadAll(table), NumberedRows({1, 2, 3})) << version;
  }
}

TEST(ParadoxTableStructure, A30HeaderEndsAtItsLastNameAndBlocksFollowWithoutRounding) {
  // Header of 0x58 + 6·2 + 4 + 79 + "Id\0Name\0" = 0xBF bytes, 1 KiB blocks of 3 records.
  TableBuilder builder = Numbered(3, 7);
  builder.BlockSizeKiB(1).RecordsPerBlock(3);
  std::string file = builder.Build();
  EXPECT_EQ(static_cast<unsigned char>(file[2]) | static_cast<unsigned char>(file[3]) << 8, 0xBF);
  EXPECT_EQ(file.size(), 0xBFu + 3 * 1024);
  auto table = ParadoxTable::OpenBytes("t.db", file, std::nullopt);
  EXPECT_EQ(table.Header().blockSize, 1024);
  EXPECT_EQ(ReadAll(table), NumberedRows({1, 2, 3, 4, 5, 6, 7}));
}

TEST(ParadoxTableStructure, BlockSizesFrom1To32KiBAndOddHeaderSizes) {
  for (int kib : {1, 2, 3, 4, 8, 16, 32}) {
    for (int headerSize : {0x800, 0x1000, 0x1A3 + 0x200}) {
      TableBuilder builder = Numbered(9, 2500);
      builder.BlockSizeKiB(kib).HeaderSize(headerSize);
      auto table = ParadoxTable::OpenBytes("t.db", builder.Build(), std::nullopt);
      EXPECT_EQ(table.Header().blockSize, kib * 1024);
      EXPECT_EQ(table.Header().recordCount, 2500);
      Rows rows = ReadAll(table);
      ASSERT_EQ(rows.size(), 2500u) << kib;
      EXPECT_EQ(rows[1234], NumberedRows({1235})[0]);
      EXPECT_EQ(rows.back(), NumberedRows({2500})[0]);
    }
  }
}

TEST(ParadoxTableStructure, TheChainIsFollowedAndFreeBlocksAreNeverRead) {
  // Chain 1 → 2 → 9 → 3 with free blocks 4–8 and 10–12 holding stale copies of record 1.
  TableBuilder builder = Numbered(12, 8);
  builder.RecordsPerBlock(2).ChainBlocks({1, 2, 9, 3}).FreeBlocks(3);
  auto table = ParadoxTable::OpenBytes("t.db", builder.Build(), std::nullopt);
  EXPECT_EQ(table.Header().recordCount, 8);
  EXPECT_EQ(ReadAll(table), NumberedRows({1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(ParadoxTableStructure, AnEmptyTableHasNoBlocks) {
  TableBuilder builder = Numbered(12, 0);
  std::string file = builder.Build();
  EXPECT_EQ(file.size(), 0x800u);
  auto table = ParadoxTable::OpenBytes("t.db", file, std::nullopt);
  EXPECT_EQ(table.Header().recordCount, 0);
  EXPECT_EQ(ReadAll(table), Rows{});
}

TEST(ParadoxTableStructure, KeyedTablesReportTheirKeyFields) {
  TableBuilder builder = Numbered(11, 2);
  builder.KeyFields(1);
  auto table = ParadoxTable::OpenBytes("t.db", builder.Build(), std::nullopt);
  EXPECT_TRUE(table.Header().keyed);
  EXPECT_EQ(table.Header().keyFieldCount, 1);
  auto plain = ParadoxTable::OpenBytes("t.db", Numbered(11, 2).Build(), std::nullopt);
  EXPECT_FALSE(plain.Header().keyed);
  EXPECT_EQ(plain.Header().keyFieldCount, 0);
}

TEST(ParadoxTableStructure, ReadingStopsWhenTheCallerSaysSo) {
  auto table = ParadoxTable::OpenBytes("t.db", Numbered(12, 500).Build(), std::nullopt);
  int seen = 0;
  table.ForEachRecord([&](const std::vector<velkar::db::paradox::Value>&) { return ++seen < 3; });
  EXPECT_EQ(seen, 3);
}

TEST(ParadoxTableStructure, HeaderCountsThatDisagreeWithTheChainAreReportedAndTheChainWins) {
  TableBuilder builder = Numbered(12, 5);
  std::string file = builder.Build();
  PutU32(file, 0x06, 500);
  Collected collected;
  auto table = ParadoxTable::OpenBytes("t.db", file, std::nullopt, collected.Options());
  EXPECT_EQ(table.Header().recordCount, 5);
  EXPECT_EQ(table.Header().headerRecordCount, 500);
  EXPECT_EQ(ReadAll(table).size(), 5u);
  EXPECT_EQ(collected.warnings,
            (Rows{"Tabela t.db: nagłówek podaje rekordów: 500, bloków: 1; łańcuch bloków zawiera rekordów: 5, bloków: 1; "
                  "odczytano rekordy z łańcucha"}));

  std::string last = Numbered(12, 5).Build();
  PutU16(last, 0x10, 3);
  Collected lastBlock;
  ParadoxTable::OpenBytes("t.db", last, std::nullopt, lastBlock.Options());
  EXPECT_EQ(lastBlock.warnings, (Rows{"Tabela t.db: nagłówek podaje ostatni blok 3, a łańcuch bloków kończy się na bloku 1"}));
}

TEST(ParadoxTableStructure, TablesAreFoundWithOrWithoutExtensionInAnyLetterCase) {
  velkar::test::TempDir dir;
  dir.Write("REJESTR.DB", Numbered(12, 2).Build());
  for (std::string name : {"REJESTR.DB", "rejestr.db", "rejestr", "Rejestr"}) {
    auto table = ParadoxTable::Open(dir.File(name));
    EXPECT_EQ(table.Header().fileName, dir.File("REJESTR.DB"));
    EXPECT_EQ(ReadAll(table).size(), 2u);
  }
  try {
    ParadoxTable::Open(dir.File("brak"));
    FAIL();
  } catch (const velkar::Error& error) {
    EXPECT_EQ(std::string(error.what()), "Brak tabeli " + dir.File("brak"));
  }
}
