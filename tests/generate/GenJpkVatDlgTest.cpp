// The "Nowy JPK_V7M" window: its controls, the working date it sets, and how it hands its
// document to the editor (adopted, linked, with the declaration; nothing after a failure).
#include "tests/generate/GenerateFixture.h"

using namespace velkar;
using namespace velkar::test;

namespace {

class GenJpkVatDlgTest : public GenerateTest {
 protected:
  void WriteFennikSales(int count, long long month = 3) {
    std::vector<Rec> records;
    for (int i = 1; i <= count; ++i)
      records.push_back({{"Number", static_cast<long long>(i)}, {"RegId", 1LL}, {"VATMonth", month},
                         {"DocName", "FV " + std::to_string(i)}, {"FirmId", 1LL}, {"RegDate", D("2024-03-05")},
                         {"SaleDate", D("2024-03-05")}, {"Net22", 100.0 * i}, {"Vat22", 23.0 * i}});
    records.push_back({{"Number", 99LL}, {"RegId", 129LL}, {"VATMonth", month}, {"DocName", "FZ 1"}, {"FirmId", 6LL},
                       {"RegDate", D("2024-03-05")}, {"SaleDate", D("2024-03-05")}, {"Net22", 1000.0},
                       {"Vat22", 230.0}});
    WriteRecords(dir.File("Fennik/2024/Register.db"), FennikFields(), records);
  }
};

TEST_F(GenJpkVatDlgTest, StartsOnTheWorkingMonthWithTheConfiguredSources) {
  Settings().QorDataDir.clear();
  Settings().FennikDir.clear();
  TGenJpkVatDlg& dlg = Dialog();
  EXPECT_EQ(dlg.Caption, "Nowy JPK_V7M");
  EXPECT_EQ(dlg.dtp.Date, "2024-03-01");
  EXPECT_FALSE(dlg.rbGradmo.Enabled);
  EXPECT_TRUE(dlg.rbGradmo.Checked);  // still checked: the user picked nothing else
  EXPECT_TRUE(dlg.rbTulvo.Enabled);
  EXPECT_FALSE(dlg.rbFennik.Enabled);
  EXPECT_TRUE(dlg.cbSale.Checked && dlg.cbBuy.Checked && dlg.rbZlozenie.Checked);
  EXPECT_FALSE(dlg.rbKorekta.Checked || dlg.cbDecl.Checked);
  EXPECT_FALSE(dlg.cbV7K.Enabled);
  EXPECT_EQ(dlg.cbDecl.Text, "JPK z &Deklaracją");
  dlg.FormShow();
  EXPECT_EQ(dlg.ActiveControl, &dlg.rbTulvo);
  // A later showing keeps the month last chosen.
  dlg.SetMonth(DateTime{2023, 12, 24});
  dlg.FormShow();
  EXPECT_EQ(dlg.dtp.Date, "2023-12-01");
}

TEST_F(GenJpkVatDlgTest, ChoosingAMonthSetsTheWorkingDateEvenWhenTheReadingFails) {
  WriteUsers();
  Dialog().SetMonth(DateTime{2024, 2, 10});
  std::string error = Generate(&TGenJpkVatDlg::rbGradmo);
  EXPECT_NE(error.find("24_02REG"), std::string::npos) << error;
  EXPECT_EQ(Settings().CurDate, (DateTime{2024, 2, 1}));
}

TEST_F(GenJpkVatDlgTest, WithoutAnOpenDocumentTheEditorAdoptsANewFile) {
  WriteUsers();
  WriteFennikSales(2);
  CurrentJpkFileName() = "/tmp/stary.xml";
  Dialog().cbDecl.Checked = true;
  Dialog().rbPurposeClick(Dialog().rbKorekta);
  ASSERT_EQ(Generate(&TGenJpkVatDlg::rbFennik), "");
  EXPECT_EQ(gen->ModalResultValue, mrOk);
  EXPECT_EQ(CurrentJpkFileName(), "nowy plik");
  EXPECT_EQ(editor.LoadedJpk.FindChild("Naglowek").FindChild("CelZlozenia").Text(), "2");
  EXPECT_EQ(Ctrl("SprzedazCtrl", "LiczbaWierszySprzedazy"), "2");
  EXPECT_EQ(Ctrl("SprzedazCtrl", "PodatekNalezny"), "69");
  // The declaration part, computed by the editor.
  xml::TXMLNode positions = editor.LoadedJpk.FindChild("Deklaracja").FindChild("PozycjeSzczegolowe");
  ASSERT_TRUE(positions);
  EXPECT_EQ(positions.ChildText("P_38"), "69");
  EXPECT_EQ(positions.ChildText("P_48"), "230");
  EXPECT_EQ(editor.edSaleLinesCount.Text, "2");
  EXPECT_EQ(SchemaProblems(), "");
  ExpectClosedDown();
}

TEST_F(GenJpkVatDlgTest, WithAnOpenDocumentTheRowsAreLinkedIntoIt) {
  WriteUsers();
  WriteFennikSales(3);
  ASSERT_EQ(Generate(&TGenJpkVatDlg::rbFennik), "");
  v7m::IXMLJPK first = editor.LoadedJpk;
  CurrentJpkFileName() = "/tmp/marzec.xml";
  // The same month generated again goes into the open document.
  ASSERT_EQ(Generate(&TGenJpkVatDlg::rbFennik), "");
  EXPECT_EQ(editor.LoadedJpk.DOMNode(), first.DOMNode());
  EXPECT_EQ(CurrentJpkFileName(), "/tmp/marzec.xml");
  std::vector<GenRow> sales = Sales();
  ASSERT_EQ(sales.size(), 6u);
  EXPECT_EQ(sales[5]["LpSprzedazy"], "6");
  EXPECT_EQ(sales[5]["DowodSprzedazy"], "FV 3");
  EXPECT_EQ(Purchases().size(), 2u);
  EXPECT_EQ(Ctrl("SprzedazCtrl", "PodatekNalezny"), "276");
  EXPECT_EQ(SchemaProblems(), "");
}

TEST_F(GenJpkVatDlgTest, AFailedReadingLeavesTheOpenDocumentAsItWas) {
  WriteUsers();
  WriteFennikSales(1);
  ASSERT_EQ(Generate(&TGenJpkVatDlg::rbFennik), "");
  std::string before = editor.LoadedJpk.OwnerDocument()->SaveToXML();
  WriteRecords(dir.File("Fennik/2024/Register.db"), FennikFields(),
               {{{"Number", 1LL}, {"RegId", 1LL}, {"VATMonth", 3LL}, {"DocName", "FV 7"}, {"FirmId", 1LL}},
                {{"Number", 2LL}, {"RegId", 1LL}, {"VATMonth", 3LL}, {"FirmId", 1LL}}});
  EXPECT_EQ(Generate(&TGenJpkVatDlg::rbFennik), "Brak numeru dokumentu.\r1 2");
  EXPECT_EQ(editor.LoadedJpk.OwnerDocument()->SaveToXML(), before);
  // The partial document stays with the window only.
  EXPECT_EQ(gen->Generated.Ewidencja().SprzedazWiersz().Count(), 1);
  ExpectClosedDown();
}

TEST_F(GenJpkVatDlgTest, TheEditorsButtonOpensTheWindowAndOffersToSave) {
  WriteUsers();
  WriteFennikSales(1);
  editor.GenJpkVatDlg = &Dialog();
  editor.FormShow();
  EXPECT_TRUE(editor.btnMakeJPK.Enabled);
  ui.QueueModal([this](Window& window) {
    EXPECT_EQ(&window, gen.get());
    gen->rbSourceClick(gen->rbFennik);
    gen->btnDoItClick();
    return gen->ModalResultValue;
  });
  ui.QueueAnswer(Answer::No);
  editor.btnMakeJPKClick();
  EXPECT_EQ(ui.ModalWindows(), (std::vector<std::string>{"TGenJpkVatDlg"}));
  EXPECT_EQ(ui.LastMessage(), "Zapisać wygenerowany plik?");
  EXPECT_EQ(editor.edSaleLinesCount.Text, "1");
  EXPECT_EQ(editor.Caption, "*nowy plik - Torvik JPK");
}

TEST_F(GenJpkVatDlgTest, TheEditorsButtonIsDisabledWithoutDataFolders) {
  Settings().QorDataDir.clear();
  Settings().TulvoDir.clear();
  Settings().FennikDir.clear();
  editor.FormShow();
  EXPECT_FALSE(editor.btnMakeJPK.Enabled);
}

TEST_F(GenJpkVatDlgTest, AFailureThroughTheEditorsButtonAsksNothingMore) {
  WriteUsers();
  editor.GenJpkVatDlg = &Dialog();
  ui.QueueModal([this](Window&) {
    gen->rbSourceClick(gen->rbFennik);
    gen->btnDoItClick();
    return gen->ModalResultValue;
  });
  EXPECT_THROW(editor.btnMakeJPKClick(), Error);
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_FALSE(editor.LoadedJpk);
}

}  // namespace
