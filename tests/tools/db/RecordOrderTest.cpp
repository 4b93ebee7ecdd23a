// Records are read right whatever order a table is walked in: the file's order (read by
// stepping ahead), a reversed or sparse order (read by searching), jumps of FindKey, and a
// detail that follows its master from one record to the next.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/TempDir.h"
#include "tests/tools/db/ParadoxFixture.h"
#include "tools/db/Session.h"
#include "tools/db/Table.h"

using namespace velkar;
using namespace velkar::db;
using test::PxType;

namespace {

constexpr long long kDocuments = 80;
constexpr long long kLinesPerDocument = 5;

// Documents 1..80 and their lines in document order (the order the files keep them in);
// each line's text names its document and place, so a record read from the wrong row shows.
class RecordOrderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteParadoxTable(dir.File("DOC.db"),
                            {{"Number", PxType::Long}, {"Reverse", PxType::Long}, {"Name", PxType::Alpha, 12}},
                            kDocuments, [](long long i, std::vector<test::PxValue>& values) {
                              values = {i + 1, kDocuments - i, "D" + std::to_string(i + 1)};
                            });
    test::WriteParadoxTable(dir.File("LINES.db"),
                            {{"Document", PxType::Long}, {"Line", PxType::Long}, {"Text", PxType::Alpha, 12}},
                            kDocuments * kLinesPerDocument, [](long long i, std::vector<test::PxValue>& values) {
                              long long document = i / kLinesPerDocument + 1, line = i % kLinesPerDocument + 1;
                              values = {document, line, std::to_string(document) + "/" + std::to_string(line)};
                            });
    for (TTable* table : {&docs, &lines}) table->DatabaseName = dir.Path();
    docs.TableName = "DOC";
    lines.TableName = "LINES";
  }

  // "Document/Line" of every line record as the table gives them.
  std::vector<std::string> LineTexts() {
    std::vector<std::string> texts;
    for (lines.First(); !lines.Eof(); lines.Next()) {
      std::string expected = lines.FieldByName("Document").AsString() + "/" + lines.FieldByName("Line").AsString();
      EXPECT_EQ(lines.FieldByName("Text").AsString(), expected);
      texts.push_back(expected);
    }
    return texts;
  }

  test::TempDir dir;
  Session session;
  TTable docs{&session};
  TTable lines{&session};
};

TEST_F(RecordOrderTest, EveryRecordIsReadRightInFileOrderReversedOrAndSparse) {
  lines.Open();
  EXPECT_EQ(LineTexts().size(), static_cast<size_t>(kDocuments * kLinesPerDocument));

  docs.IndexFieldNames = "Reverse";  // the last record first: every read goes back
  docs.Open();
  std::vector<std::string> names;
  for (docs.First(); !docs.Eof(); docs.Next()) names.push_back(docs.FieldByName("Name").AsString());
  ASSERT_EQ(names.size(), static_cast<size_t>(kDocuments));
  EXPECT_EQ(names.front(), "D80");
  EXPECT_EQ(names.back(), "D1");
  for (size_t i = 0; i < names.size(); ++i) EXPECT_EQ(names[i], "D" + std::to_string(kDocuments - i));

  // Every ninth document's lines: gaps longer than a step ahead.
  lines.Filter = "Document = 1 or Document = 10 or Document = 19 or Document = 28";
  lines.Filtered = true;
  EXPECT_EQ(LineTexts(), (std::vector<std::string>{"1/1", "1/2", "1/3", "1/4", "1/5", "10/1", "10/2", "10/3",
                                                   "10/4", "10/5", "19/1", "19/2", "19/3", "19/4", "19/5", "28/1",
                                                   "28/2", "28/3", "28/4", "28/5"}));
}

TEST_F(RecordOrderTest, FindKeyJumpsForwardAndBackAndReadsTheRecordFound) {
  docs.IndexFieldNames = "Number";
  docs.Open();
  for (const char* number : {"70", "3", "4", "40", "39", "41", "80", "1"}) {
    ASSERT_TRUE(docs.FindKey({number})) << number;
    EXPECT_EQ(docs.FieldByName("Name").AsString(), std::string("D") + number);
  }
  docs.Next();
  EXPECT_EQ(docs.FieldByName("Name").AsString(), "D2");
}

TEST_F(RecordOrderTest, ADetailHoldsItsMastersLinesWalkedForwardOrBackward) {
  lines.IndexFieldNames = "Document;Line";
  lines.MasterSource = &docs;
  lines.MasterFields = "Number";
  for (const char* order : {"Number", "Reverse"}) {
    SCOPED_TRACE(order);
    docs.IndexFieldNames = order;
    docs.Open();
    lines.Open();
    long long documents = 0;
    for (docs.First(); !docs.Eof(); docs.Next()) {
      ++documents;
      std::string number = docs.FieldByName("Number").AsString();
      std::vector<std::string> texts = LineTexts();
      ASSERT_EQ(texts.size(), static_cast<size_t>(kLinesPerDocument)) << number;
      for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(texts[i], number + "/" + std::to_string(i + 1));
    }
    EXPECT_EQ(documents, kDocuments);
    lines.Close();
    docs.Close();
  }
}

}  // namespace
