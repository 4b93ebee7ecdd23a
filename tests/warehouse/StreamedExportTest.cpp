// JPK_FA and JPK_MAG written record by record to a temporary file: on the sample company's
// month (normal and gross invoices, corrections, the four warehouse kinds, Polish letters)
// the file is byte for byte what the whole-document save writes; the dialog's save moves
// it into place, and No leaves no temporary file behind.
#include <gtest/gtest.h>

#include <filesystem>

#include "jpkfiles/JpkLoadSave.h"
#include "jpkfiles/SchemaValidation.h"
#include "samples/SampleTables.h"
#include "tests/warehouse/ExportFixture.h"
#include "warehouse/JpkFaWriter.h"
#include "warehouse/JpkMagWriter.h"

namespace velkar::test {
namespace {

class StreamedExportTest : public ExportTest {
 protected:
  void UseSampleCompany() {
    samples::WriteSampleDatabases(dir.Path() + "bazy", {});
    Settings().QorDataDir = dir.Path() + "bazy/Gradmo/";
    Settings().UserDir = dir.Path() + "bazy/Kontrahenci/";
    Settings().CurDate = {2024, 3, 1};
  }

  // Runs `body` with the dialog's tables open for March 2024, as DoExport does. The
  // sample company's contractors include deliberately wrong tax numbers: every question
  // about them is answered Yes (go on).
  template <typename Body>
  void WithTables(Body body) {
    for (int i = 0; i < 1000; ++i) ui.QueueAnswer(Answer::Yes);
    session.Activate();
    dlg.SetTableNames(Settings());
    dlg.SetPeriodFilter(Settings().CurDate);
    dlg.OpenTables();
    body();
    dlg.CloseTables();
    session.Deactivate();
  }

  // The streamed file (every record written at once) against the whole-document save.
  template <typename New, typename Fill>
  void ExpectSameFileBothWays(New newDocument, Fill fill, const std::string& name) {
    SCOPED_TRACE(name);
    std::string streamed, reference = dir.File(name);
    WithTables([&] {
      auto doc = newDocument();
      GeneratedJpkFile file(doc.OwnerDocument(), 1);
      fill(doc, &file);
      file.Finish();
      EXPECT_TRUE(file.Released());
      streamed = ReadFile(file.TempPath());
      // The check as a stream finds what the check of the read-back tree finds: the
      // sample's rate of -1 in P_12 (kept as the writer is specified), nothing else.
      JpkValidation streamedCheck = ValidateJpkFileStreamed(file.TempPath(), SchemaDir());
      JpkValidation treeCheck = ValidateJpkFile(file.TempPath(), SchemaDir());
      EXPECT_FALSE(streamedCheck.structure.empty());
      ASSERT_EQ(streamedCheck.violations.size(), treeCheck.violations.size());
      for (size_t i = 0; i < streamedCheck.violations.size(); ++i) {
        const SchemaViolation& v = streamedCheck.violations[i];
        EXPECT_EQ(DescribeViolation(v), DescribeViolation(treeCheck.violations[i]));
        EXPECT_EQ(v.element, "P_12") << DescribeViolation(v);
        EXPECT_NE(v.message.find("'-1'"), std::string::npos) << DescribeViolation(v);
      }
    });
    WithTables([&] {
      auto doc = newDocument();
      fill(doc, nullptr);
      SaveJpkFile(doc, reference);
    });
    EXPECT_GT(streamed.size(), 2000u);
    EXPECT_EQ(streamed, ReadFile(reference));
  }

  int TemporaryFiles() const {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
      if (entry.path().filename().string().rfind(".velkar-jpk-", 0) == 0) ++count;
    return count;
  }
};

TEST_F(StreamedExportTest, JpkFaIsByteForByteTheWholeDocumentSave) {
  UseSampleCompany();
  ExpectSameFileBothWays(NewJpkFaDocument, [&](const fa::IXMLJPKFA& doc, GeneratedJpkFile* file) {
    FillJpkFa(dlg, doc, file);
  }, "fa.xml");
}

TEST_F(StreamedExportTest, JpkMagIsByteForByteTheWholeDocumentSave) {
  UseSampleCompany();
  ExpectSameFileBothWays(NewJpkMagDocument, [&](const mag::IXMLJPKMAG& doc, GeneratedJpkFile* file) {
    FillJpkMag(dlg, doc, file);
  }, "mag.xml");
  // Every kind of the month is there, each with its control element.
  XNode root = ReadXml(dir.File("mag.xml"));
  for (const char* kind : {"PZ", "WZ", "RW", "MM"}) {
    const XNode* node = root.Child(kind);
    ASSERT_NE(node, nullptr) << kind;
    EXPECT_NE(node->Child(std::string(kind) + "Ctrl"), nullptr) << kind;
  }
}

TEST_F(StreamedExportTest, TheDialogSavesTheGeneratedFileAndNoLeavesNothing) {
  db.customers = {Customer(10)};
  GDoc invoice;
  invoice.name = "FV 1/03/2024";
  invoice.user = 10;
  invoice.reg = SaleReg(10, 123, 100, 23);
  invoice.lines = {{"TOW", "T1", 0, 1, 123, 23}};
  db.docs = {invoice};
  db.goods = {{"TOW", "T1", "Kawa ziarnista", "kg"}};
  db.Write(dir.Path());
  std::string chosen = dir.File("wybrany_fa.xml");
  Run("JPK_FA", true, chosen);
  EXPECT_TRUE(std::filesystem::exists(chosen));
  EXPECT_TRUE(ValidateJpkFile(chosen, SchemaDir()).Valid());
  EXPECT_EQ(TemporaryFiles(), 0);
  Run("JPK_MAG", false, "");
  EXPECT_TRUE(ui.WasShown("Zapisać wygenerowany plik?"));
  EXPECT_EQ(TemporaryFiles(), 0);
  EXPECT_TRUE(ui.FileDialogs().size() == 1u);
}

}  // namespace
}  // namespace velkar::test
