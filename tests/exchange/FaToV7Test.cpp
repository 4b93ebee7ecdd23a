// JPK_FA(4) to JPK_V7M(2) through the converter dialog: sales and purchases by the seller's
// NIP, the amounts carried over, the control records, the output name and folder, the
// schema check of the file written, and the three errors of the mapping.
#include <filesystem>

#include "exchange/FaToV7.h"
#include "jpkfiles/SchemaValidation.h"
#include "tests/exchange/ExchangeFixture.h"
#include "tests/support/ErrorOf.h"

namespace velkar::test {
namespace {

constexpr const char* kOther = "7740001454";
constexpr const char* kDone = "Zakończono konwersję\rSprawdź wygenerowane dane";

class FaToV7Test : public ExchangeTest {
 protected:
  // Converts `file` written as faktury.xml into the temporary folder; returns the output.
  v7m::IXMLJPK Convert(const FaFile& file) {
    std::string input = dir.Write("faktury.xml", file.Xml());
    Choose(kFormatFa, kFormatV7, input, dir.Path());
    EXPECT_TRUE(dlg.btnMakeItClick()) << ui.LastMessage();
    EXPECT_EQ(ui.LastMessage(), kDone);
    return v7m::LoadJpkV7(dir.File("JPK_FA_to_V7_faktury.xml"));
  }
  static std::string Text(const xml::TXMLNode& node, const char* path1, const char* path2 = nullptr) {
    xml::TXMLNode n = node.FindChild(path1);
    if (n && path2) n = n.FindChild(path2);
    return n ? n.Text() : "(brak)";
  }
};

TEST_F(FaToV7Test, InvoicesOfTheTaxpayerAreSalesOnlyAndTheFileValidates) {
  FaFile file;
  file.invoices = {MakeInvoice("FV/1/2024", kTaxpayerNip, kOther, {{"P_13_1", "200.00"}, {"P_14_1", "46.00"}}),
                   MakeInvoice("FV/2/2024", kTaxpayerNip, kOther, {{"P_13_2", "100.00"}, {"P_14_2", "8.00"}})};
  v7m::IXMLJPK v7 = Convert(file);
  xml::TXMLNode ewidencja = v7.FindChild("Ewidencja");
  EXPECT_EQ(Text(ewidencja, "SprzedazCtrl", "LiczbaWierszySprzedazy"), "2");
  EXPECT_EQ(Text(ewidencja, "SprzedazCtrl", "PodatekNalezny"), "54");
  EXPECT_EQ(Text(ewidencja, "ZakupCtrl", "LiczbaWierszyZakupow"), "0");
  EXPECT_EQ(Text(ewidencja, "ZakupCtrl", "PodatekNaliczony"), "0");
  EXPECT_FALSE(ewidencja.FindChild("ZakupWiersz"));

  xml::TXMLNode first = ewidencja.FindChild("SprzedazWiersz");
  EXPECT_EQ(Text(first, "LpSprzedazy"), "1");
  EXPECT_EQ(Text(first, "KodKrajuNadaniaTIN"), "(brak)");  // P_5A absent
  EXPECT_EQ(Text(first, "NrKontrahenta"), kOther);
  EXPECT_EQ(Text(first, "NazwaKontrahenta"), "Nabywca Sp. z o.o.");
  EXPECT_EQ(Text(first, "DowodSprzedazy"), "FV/1/2024");
  EXPECT_EQ(Text(first, "DataWystawienia"), "2024-03-12");
  EXPECT_EQ(Text(first, "DataSprzedazy"), "(brak)");
  EXPECT_EQ(Text(first, "K_19"), "200");
  EXPECT_EQ(Text(first, "K_20"), "46");
  EXPECT_EQ(Text(first, "K_15"), "(brak)");  // no P_13_3, no K_15
  xml::TXMLNode second = first.NextSibling();
  EXPECT_EQ(Text(second, "LpSprzedazy"), "2");
  EXPECT_EQ(Text(second, "K_17"), "100");
  EXPECT_EQ(Text(second, "K_18"), "8");
  EXPECT_EQ(Text(second, "K_19"), "(brak)");

  // The header is the working period's, from the settings.
  EXPECT_EQ(Text(v7, "Naglowek", "Miesiac"), "3");
  EXPECT_EQ(Text(v7, "Naglowek", "Rok"), "2024");
  JpkValidation result = ValidateJpkFile(dir.File("JPK_FA_to_V7_faktury.xml"));
  EXPECT_TRUE(result.Valid()) << (result.violations.empty() ? "" : DescribeViolation(result.violations[0]));
}

TEST_F(FaToV7Test, APurchaseSumsItsRoundedNetsAndTaxesIntoK42AndK43) {
  FaFile file;
  file.invoices = {
      MakeInvoice("FS/7/2024", kOther, kTaxpayerNip,
                  {{"P_13_1", "100.00"}, {"P_14_1", "23.00"}, {"P_13_2", "50.00"}, {"P_14_2", "4.00"}}),
      MakeInvoice("FV/3/2024", kTaxpayerNip, kOther, {{"P_13_3", "10.00"}, {"P_14_3", "0.50"}, {"P_13_5", "7.00"}}),
      MakeInvoice("FS/8/2024", kOther, kTaxpayerNip, {{"P_13_1", "0.004"}, {"P_13_3", "10.006"}, {"P_14_3", "0.5"}}),
  };
  v7m::IXMLJPK v7 = Convert(file);
  xml::TXMLNode ewidencja = v7.FindChild("Ewidencja");
  xml::TXMLNode purchase = ewidencja.FindChild("ZakupWiersz");
  EXPECT_EQ(Text(purchase, "LpZakupu"), "1");
  EXPECT_EQ(Text(purchase, "KodKrajuNadaniaTIN"), "PL");
  EXPECT_EQ(Text(purchase, "NrDostawcy"), kOther);
  EXPECT_EQ(Text(purchase, "NazwaDostawcy"), "Sprzedawca S.A.");
  EXPECT_EQ(Text(purchase, "DowodZakupu"), "FS/7/2024");
  EXPECT_EQ(Text(purchase, "DataZakupu"), "2024-03-12");
  EXPECT_EQ(Text(purchase, "DataWplywu"), "(brak)");
  EXPECT_EQ(Text(purchase, "K_42"), "150");
  EXPECT_EQ(Text(purchase, "K_43"), "27");
  // Each term is rounded to grosze before it is added: 0.00 + 10.01.
  xml::TXMLNode second = purchase.NextSibling();
  EXPECT_EQ(Text(second, "LpZakupu"), "2");
  EXPECT_EQ(Text(second, "K_42"), "10.01");
  EXPECT_EQ(Text(second, "K_43"), "0.5");
  EXPECT_EQ(Text(ewidencja, "ZakupCtrl", "LiczbaWierszyZakupow"), "2");
  EXPECT_EQ(Text(ewidencja, "ZakupCtrl", "PodatekNaliczony"), "27.5");

  xml::TXMLNode sale = ewidencja.FindChild("SprzedazWiersz");
  EXPECT_EQ(Text(sale, "K_11"), "7");
  EXPECT_EQ(Text(sale, "K_15"), "10");
  EXPECT_EQ(Text(sale, "K_16"), "0.5");
  EXPECT_EQ(Text(ewidencja, "SprzedazCtrl", "PodatekNalezny"), "0.5");
  // The register's order: sales, their control record, purchases, theirs.
  std::vector<std::string> names;
  for (xml::TXMLNode child : ewidencja.ChildNodes()) names.push_back(child.LocalName());
  EXPECT_EQ(names,
            (std::vector<std::string>{"SprzedazWiersz", "SprzedazCtrl", "ZakupWiersz", "ZakupWiersz", "ZakupCtrl"}));
  EXPECT_TRUE(ValidateJpkFile(dir.File("JPK_FA_to_V7_faktury.xml")).Valid());
}

TEST_F(FaToV7Test, TheSellersNipIsComparedWithoutSeparatorsAndPolishPrefix) {
  FaFile file;
  file.invoices = {MakeInvoice("FV/1/2024", "PL 525-000-10-90", kOther, {{"P_13_1", "100"}, {"P_14_1", "23"}}),
                   MakeInvoice("FV/2/2024", "525 000 10 91", kTaxpayerNip, {{"P_13_1", "10"}, {"P_14_1", "2.3"}})};
  v7m::IXMLJPK v7 = Convert(file);
  xml::TXMLNode ewidencja = v7.FindChild("Ewidencja");
  EXPECT_EQ(Text(ewidencja, "SprzedazCtrl", "LiczbaWierszySprzedazy"), "1");
  EXPECT_EQ(Text(ewidencja, "ZakupCtrl", "LiczbaWierszyZakupow"), "1");
}

TEST_F(FaToV7Test, AnInvoiceWithoutBuyerNumberOrNameGetsBrakAsTheRegisterRequiresBoth) {
  FaFile file;
  Invoice consumer = MakeInvoice("FV/9/2024", kTaxpayerNip, "", {{"P_13_1", "10"}, {"P_14_1", "2.3"}});
  std::erase_if(consumer.fields, [](const auto& f) { return f.first == "P_5B" || f.first == "P_3A"; });
  file.invoices = {consumer};
  v7m::IXMLJPK v7 = Convert(file);
  xml::TXMLNode sale = v7.FindChild("Ewidencja").FindChild("SprzedazWiersz");
  EXPECT_EQ(Text(sale, "NrKontrahenta"), "BRAK");
  EXPECT_EQ(Text(sale, "NazwaKontrahenta"), "BRAK");
  EXPECT_TRUE(ValidateJpkFile(dir.File("JPK_FA_to_V7_faktury.xml")).Valid());
}

TEST_F(FaToV7Test, TheOutputNameAndTheFolderGivenWithoutASeparator) {
  EXPECT_EQ(FaToV7FileName("C:\\Dane\\", "C:\\Wejscie\\faktury.xml").substr(0, 10), "C:\\Dane\\JP");
  EXPECT_EQ(FaToV7FileName("/dane/", "/wejscie/faktury.xml"), "/dane/JPK_FA_to_V7_faktury.xml");

  FaFile file;
  file.invoices = {MakeInvoice("FV/1/2024", kTaxpayerNip, kOther, {{"P_13_1", "1"}, {"P_14_1", "0.23"}})};
  std::string input = dir.Write("faktury.xml", file.Xml());
  std::filesystem::create_directory(dir.File("Dane"));
  Choose(kFormatFa, kFormatV7, input, dir.File("Dane"));
  EXPECT_TRUE(dlg.btnMakeItClick());
  EXPECT_EQ(dlg.edOutputFolder.Text, dir.File("Dane") + "/");  // shown with the separator
  EXPECT_TRUE(FileExists(dir.File("Dane/JPK_FA_to_V7_faktury.xml")));
  EXPECT_EQ(dlg.LastOutput, dir.File("Dane/JPK_FA_to_V7_faktury.xml"));
}

TEST_F(FaToV7Test, TheMappingErrorsLeaveNoOutputFileAndTheDialogOpen) {
  FaFile none;
  std::string input = dir.Write("puste.xml", none.Xml());
  Choose(kFormatFa, kFormatV7, input, dir.Path());
  EXPECT_FALSE(dlg.btnMakeItClick());
  EXPECT_EQ(ui.LastMessage(), "Brak faktur w pliku JPK_FA");
  EXPECT_FALSE(FileExists(dir.File("JPK_FA_to_V7_puste.xml")));

  FaFile noNip;
  noNip.nip = "";
  noNip.invoices = {MakeInvoice("FV/1/2024", kTaxpayerNip, kOther, {{"P_13_1", "1"}})};
  input = dir.Write("bez_nip.xml", noNip.Xml());
  dlg.edInputFile.Text = input;
  EXPECT_FALSE(dlg.btnMakeItClick());
  EXPECT_EQ(ui.LastMessage(), "Brak NIP-u podatnika w pliku JPK_FA");
  EXPECT_FALSE(FileExists(dir.File("JPK_FA_to_V7_bez_nip.xml")));
  EXPECT_EQ(ui.BusyDepth(), 0);

  // A register that already has Ewidencja is not mapped into.
  V7mFile existing;
  fa::IXMLJPKFA fa = fa::LoadJpkFAFromXML(noNip.Xml());
  EXPECT_EQ(ErrorOf([&] { MapFaToV7(existing.Load(), fa, editor); }), "Istnieje już węzeł \"Ewidencja\" w JPK_V7M");
}

TEST_F(FaToV7Test, RowsFollowTheInvoicesInOrderAndTheWalkEndsAtTheFirstOtherElement) {
  FaFile file;
  for (int i = 1; i <= 30; ++i)
    file.invoices.push_back(MakeInvoice("FV/" + std::to_string(i), i % 3 ? kTaxpayerNip : kOther,
                                        i % 3 ? kOther : kTaxpayerNip, {{"P_13_1", std::to_string(i)}}));
  std::string xml = file.Xml();
  // An invoice after FakturaCtrl is not part of the walk.
  xml.insert(xml.find("</JPK>"),
             "<Faktura><P_2A>ZA/CTRL</P_2A><P_4B>" + std::string(kTaxpayerNip) + "</P_4B></Faktura>");
  std::string input = dir.Write("faktury.xml", xml);
  Choose(kFormatFa, kFormatV7, input, dir.Path());
  ASSERT_TRUE(dlg.btnMakeItClick()) << ui.LastMessage();
  v7m::IXMLJPK v7 = v7m::LoadJpkV7(dir.File("JPK_FA_to_V7_faktury.xml"));
  std::vector<std::string> sales, purchases;
  for (xml::TXMLNode row : v7.FindChild("Ewidencja").ChildNodes()) {
    if (row.LocalName() == "SprzedazWiersz")
      sales.push_back(Text(row, "LpSprzedazy") + ":" + Text(row, "DowodSprzedazy"));
    if (row.LocalName() == "ZakupWiersz") purchases.push_back(Text(row, "LpZakupu") + ":" + Text(row, "DowodZakupu"));
  }
  ASSERT_EQ(sales.size(), 20u);
  ASSERT_EQ(purchases.size(), 10u);
  EXPECT_EQ(sales.front(), "1:FV/1");
  EXPECT_EQ(sales.back(), "20:FV/29");
  EXPECT_EQ(purchases.front(), "1:FV/3");
  EXPECT_EQ(purchases.back(), "10:FV/30");
}

}  // namespace
}  // namespace velkar::test
