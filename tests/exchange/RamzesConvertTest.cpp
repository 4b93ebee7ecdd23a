// JPK_V7M(2) to Ramzes through the converter: one contractor, one document and its
// postings per sales row; contractors numbered per NIP and name; FP rows without postings.
#include "exchange/RamzesConvert.h"
#include "tests/exchange/ExchangeFixture.h"

namespace velkar::test {
namespace {

using RamzesConvertTest = ExchangeTest;

// "name=value" of each child of a record, in order.
std::vector<std::string> Children(const xml::TXMLNode& record) {
  std::vector<std::string> out;
  for (xml::TXMLNode child : record.ChildNodes())
    if (child.NodeType() == xml::ntElement) out.push_back(child.LocalName() + "=" + child.Text());
  return out;
}

TEST_F(RamzesConvertTest, SalesRowsBecomeContractorsDocumentsAndPostings) {
  V7mFile file;
  Row later = Sale(1, {{"K_13", "100"}, {"K_15", "10"}, {"K_16", "0.5"}, {"K_19", "0"}, {"K_20", "0.01"}}, "5260250274",
                   "Abc spółka z ograniczoną odpowiedzialnością");
  later.fields.insert(later.fields.begin() + 5, {"DataSprzedazy", "2024-03-10"});
  file.sales = {
      later,
      Sale(2, {{"K_19", "-100"}, {"K_20", "-23"}}, "7740001454", "Dostawca S.A."),
      Sale(3, {{"K_17", "100"}, {"K_18", "8"}}, "5260250274", "Abc spółka z ograniczoną odpowiedzialnością"),
      TypedSale(4, "FP", {{"K_19", "50"}, {"K_20", "11.5"}}),
  };
  file.purchases = {Purchase(1, {{"K_42", "100"}, {"K_43", "23"}})};
  std::string input = dir.Write("rejestr.xml", file.Xml());
  Choose(kFormatV7, kFormatRamzes, input, dir.Path());
  ASSERT_TRUE(dlg.btnMakeItClick()) << ui.LastMessage();
  EXPECT_EQ(ui.LastMessage(), "Zakończono konwersję\rSprawdź wygenerowane dane");
  std::string output = dir.File("JPKVAT_to_Ramzes_rejestr.xml");
  EXPECT_EQ(dlg.LastOutput, output);

  xml::IXMLDocument doc = xml::TXMLDocument::Create();
  doc->LoadFromFile(output);
  xml::TXMLNode baza = doc->DocumentElement();
  EXPECT_EQ(baza.LocalName(), "Baza");
  std::vector<std::vector<std::string>> records;
  std::vector<std::string> names;
  for (xml::TXMLNode record : baza.ChildNodes())
    if (record.NodeType() == xml::ntElement) {
      names.push_back(record.LocalName());
      records.push_back(Children(record));
    }
  EXPECT_EQ(names,
            (std::vector<std::string>{"knt_Kontrahenci", "dok_Nagdok", "dod_Dekrety", "dod_Dekrety", "dod_Dekrety",
                                      "knt_Kontrahenci", "dok_Nagdok", "dod_Dekrety", "knt_Kontrahenci", "dok_Nagdok",
                                      "dod_Dekrety", "knt_Kontrahenci", "dok_Nagdok"}));
  EXPECT_EQ(records[0], (std::vector<std::string>{"knt_Id=1", "knt_NazwaSkr=ABC SP.ZOO",
                                                  "knt_Nazwa=Abc spółka z ograniczoną odpowiedzialnością",
                                                  "knt_Nip=5260250274", "knt_Pesel=", "knt_Regon=", "knt_Kod=",
                                                  "knt_Miasto=", "knt_Ulica=", "knt_DMP=F", "knt_CPV=F"}));
  EXPECT_EQ(records[1],
            (std::vector<std::string>{"dok_KntId=1", "dok_DokId=1", "dok_Numer=FV/1/2024", "dok_DataDat=2024-03-15",
                                      "dok_DataOper=2024-03-10", "dok_DataZap=2024-03-15", "dok_Opis=", "dok_Typ=1",
                                      "dok_DokFoz=1", "dok_DMP=F", "dok_CPV=F"}));
  // 23 % with only 0.01 of VAT still posted; then 5 %, then 0 %.
  EXPECT_EQ(records[2], (std::vector<std::string>{"dod_DokId=1", "dod_PozSvt=23%", "dod_PozNet=0", "dod_PozVat=0.01",
                                                  "dod_PozBru=0.01"}));
  EXPECT_EQ(records[3][1], "dod_PozSvt=5%");
  EXPECT_EQ(records[4], (std::vector<std::string>{"dod_DokId=1", "dod_PozSvt=0%", "dod_PozNet=100", "dod_PozVat=0",
                                                  "dod_PozBru=100"}));
  // A return: dok_Typ 3; another contractor: number 2.
  EXPECT_EQ(records[5][0], "knt_Id=2");
  EXPECT_EQ(records[6][0], "dok_KntId=2");
  EXPECT_EQ(records[6][4], "dok_DataOper=2024-03-15");  // no DataSprzedazy
  EXPECT_EQ(records[6][7], "dok_Typ=3");
  // The first contractor again: its number again, its record written again.
  EXPECT_EQ(records[8][0], "knt_Id=1");
  EXPECT_EQ(records[9][1], "dok_DokId=3");
  EXPECT_EQ(records[10][1], "dod_PozSvt=8%");
  // FP: contractor and document, no posting.
  EXPECT_EQ(records[12][1], "dok_DokId=4");
  EXPECT_EQ(records[12][7], "dok_Typ=1");
}

TEST_F(RamzesConvertTest, ARegisterWithoutSalesGivesTheEmptyRoot) {
  V7mFile file;
  file.purchases = {Purchase(1, {{"K_42", "100"}, {"K_43", "23"}})};
  std::string input = dir.Write("zakupy.xml", file.Xml());
  Choose(kFormatV7, kFormatRamzes, input, dir.Path());
  ASSERT_TRUE(dlg.btnMakeItClick());
  std::string text = ReadFile(dir.File("JPKVAT_to_Ramzes_zakupy.xml"));
  EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u) << text;
  EXPECT_NE(text.find("<Baza/>"), std::string::npos) << text;
}

}  // namespace
}  // namespace velkar::test
