// The Symfonia text: blocks and keys, Windows-1250 bytes and CR LF, the count message, and a
// failed run that leaves the earlier file as it was.
#include <gtest/gtest.h>

#include "base/Paths.h"
#include "tests/support/ErrorOf.h"
#include "tests/warehouse/ExportFixture.h"

namespace velkar::test {
namespace {

class SymfoniaExportTest : public ExportTest {
 protected:
  void SetUp() override {
    Settings().NazwaSystemu = "Velkar Łódź";
    Settings().Wersja_programu = 42;
    Settings().Wersja_szablonu = 3;
    db.customers = {Customer(10)};
    GDoc invoice;
    invoice.name = "FV 1/03/2024";
    invoice.saleDate = "2024-03-04";
    invoice.user = 10;
    invoice.payInfo = 2;
    invoice.payDelay = 14;
    invoice.reg = SaleReg(10, 123, 100, 23);
    GDoc receipt;  // class 6 is no sales document of the export
    receipt.type = 6;
    receipt.number = 2;
    receipt.name = "PAR 2";
    GDoc cancelled = invoice;
    cancelled.number = 3;
    cancelled.name = "FV 3/03/2024";
    cancelled.reg.flags = 8;
    db.docs = {invoice, receipt, cancelled};
  }
  void RunInDir() {
    ChangeDir cd(dir.Path());
    Run("Sage (Symfonia)", false, "");
  }
};

const std::string kHeader = "INFO{\r\n  Nazwa programu =Velkar \xA3\xF3" "d\x9F\r\n  Wersja_programu =42\r\n"
                            "  Wersja szablonu =3\r\n}\r\n";

TEST_F(SymfoniaExportTest, BlocksInWindows1250WithCrLfAndTheCountMessage) {
  db.Write(dir.Path());
  RunInDir();
  std::string bytes = ReadFile(dir.File("Qor2sage.txt"));
  EXPECT_EQ(bytes, kHeader +
                       "Dokument{\r\n  anulowany =0\r\n  rodzaj_dok =sprzeda\xBFy\r\n  khnip =7255260182\r\n"
                       "  khnazwa =Hurtownia \x84\xAFuraw\x94 nr 10\r\n  khadres =ul. Piotrkowska 112  90-006 \xA3\xF3" "d\x9F\r\n"
                       "  kod =FV 1/03/2024\r\n  data =2024-03-05\r\n  datasp =2024-03-04\r\n"
                       "  forma_platnosci =przelew 14 dni\r\n}\r\n");
  EXPECT_EQ(ui.LastMessage(), "Wygenerowano plik zawierający dokumentów: 1");
  EXPECT_FALSE(ui.WasShown("Zapisać wygenerowany plik?"));
  EXPECT_TRUE(ui.FileDialogs().empty());
}

TEST_F(SymfoniaExportTest, MonthWithoutSalesLeavesTheHeaderOnlyAndNoMessage) {
  db.docs.resize(2);
  db.docs.erase(db.docs.begin());
  db.Write(dir.Path());
  RunInDir();
  EXPECT_EQ(ReadFile(dir.File("Qor2sage.txt")), kHeader);
  EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(SymfoniaExportTest, FailedRunLeavesTheEarlierFileAndShowsNoCount) {
  GDoc nameless = db.docs[0];
  nameless.number = 4;
  nameless.name = "FV 4/03/2024";
  nameless.user = 11;
  nameless.reg.user = 11;
  db.customers.push_back({11, "X", "", "7255260182", "", "", "", "", 0});
  db.docs.push_back(nameless);
  db.Write(dir.Path());
  WriteFileAtomically(dir.File("Qor2sage.txt"), "earlier run");
  EXPECT_EQ(ErrorOf([&] { RunInDir(); }),
            "Brak nazwy kontrahenta\rDokument: FV 4/03/2024  NIP: 7255260182\rWczytywanie przerwano");
  EXPECT_EQ(ReadFile(dir.File("Qor2sage.txt")), "earlier run");
  EXPECT_TRUE(ui.Messages().empty());
  // A second, successful run replaces the file.
  db.docs.pop_back();
  db.Write(dir.Path());
  RunInDir();
  EXPECT_NE(ReadFile(dir.File("Qor2sage.txt")).find("FV 1/03/2024"), std::string::npos);
}

}  // namespace
}  // namespace velkar::test
