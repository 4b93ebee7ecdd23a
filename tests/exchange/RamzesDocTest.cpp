// The Ramzes document: record layouts, posting rules and the written file, read back with
// libxml2 and compared element by element.
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <string>
#include <utility>
#include <vector>

#include "exchange/RamzesDoc.h"
#include "model/xml/XmlDocument.h"
#include "tests/support/TempDir.h"

namespace velkar {
namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;
struct Record {
  std::string name;
  Fields fields;
};

// Parses a written file with libxml2 (independent of the model) into flat records.
std::vector<Record> ParseRecords(const std::string& text, std::string* rootName = nullptr) {
  xmlDoc* doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), "ramzes.xml", nullptr, XML_PARSE_NOBLANKS);
  EXPECT_NE(doc, nullptr);
  std::vector<Record> records;
  if (doc == nullptr) return records;
  xmlNode* root = xmlDocGetRootElement(doc);
  if (rootName != nullptr) *rootName = reinterpret_cast<const char*>(root->name);
  EXPECT_EQ(root->ns, nullptr);
  for (xmlNode* r = root->children; r != nullptr; r = r->next) {
    if (r->type != XML_ELEMENT_NODE) continue;
    Record rec{reinterpret_cast<const char*>(r->name), {}};
    for (xmlNode* f = r->children; f != nullptr; f = f->next) {
      if (f->type != XML_ELEMENT_NODE) continue;
      xmlChar* content = xmlNodeGetContent(f);
      rec.fields.emplace_back(reinterpret_cast<const char*>(f->name), reinterpret_cast<const char*>(content));
      xmlFree(content);
    }
    records.push_back(std::move(rec));
  }
  xmlFreeDoc(doc);
  return records;
}

TEST(RamzesDoc, RecordsCarryTheirFieldsInOrderAndReadBackFromTheFile) {
  xml::TXMLNode root = NewRamzesDoc();
  AddRamzesContractor(root, {17, "ŻUK", "Żuk & Syn sp. z o.o.", "5260250274", "00-950", "Łódź", "Kościuszki 5"});
  AddRamzesDocument(root, {17, 1234567, "FV 12/03/2024", "2024-03-12", "2024-03-11", "2024-03-12", "zwrot <towaru>", 3, 1});
  AddRamzesPosting(root, 1234567, 23, 23.01, 100.04);

  test::TempDir dir;
  std::string file = dir.File("r.xml");
  root.OwnerDocument()->SaveToFile(file);
  std::string text = test::ReadFile(file);
  EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u) << text;
  EXPECT_NE(text.find("\n\t<knt_Kontrahenci>\n\t\t<knt_Id>17</knt_Id>"), std::string::npos) << text;

  std::string rootName;
  std::vector<Record> records = ParseRecords(text, &rootName);
  EXPECT_EQ(rootName, "Baza");
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].name, "knt_Kontrahenci");
  EXPECT_EQ(records[0].fields, (Fields{{"knt_Id", "17"},
                                       {"knt_NazwaSkr", "ŻUK"},
                                       {"knt_Nazwa", "Żuk & Syn sp. z o.o."},
                                       {"knt_Nip", "5260250274"},
                                       {"knt_Pesel", ""},
                                       {"knt_Regon", ""},
                                       {"knt_Kod", "00-950"},
                                       {"knt_Miasto", "Łódź"},
                                       {"knt_Ulica", "Kościuszki 5"},
                                       {"knt_DMP", "F"},
                                       {"knt_CPV", "F"}}));
  EXPECT_EQ(records[1].name, "dok_Nagdok");
  EXPECT_EQ(records[1].fields, (Fields{{"dok_KntId", "17"},
                                       {"dok_DokId", "1234567"},
                                       {"dok_Numer", "FV 12/03/2024"},
                                       {"dok_DataDat", "2024-03-12"},
                                       {"dok_DataOper", "2024-03-11"},
                                       {"dok_DataZap", "2024-03-12"},
                                       {"dok_Opis", "zwrot <towaru>"},
                                       {"dok_Typ", "3"},
                                       {"dok_DokFoz", "1"},
                                       {"dok_DMP", "F"},
                                       {"dok_CPV", "F"}}));
  EXPECT_EQ(records[2].name, "dod_Dekrety");
  EXPECT_EQ(records[2].fields, (Fields{{"dod_DokId", "1234567"},
                                       {"dod_PozSvt", "23%"},
                                       {"dod_PozNet", "100.04"},
                                       {"dod_PozVat", "23.01"},
                                       {"dod_PozBru", "123.05"}}));
}

TEST(RamzesDoc, PostingsFollowRateOrderAndSkipEmptyRates) {
  xml::TXMLNode root = NewRamzesDoc();
  RamzesRateAmounts a;
  a.net23 = 0;
  a.vat23 = 0.01;  // a tax without net is still posted
  a.net8 = 0;      // nothing at 8 %
  a.net5 = 10;
  a.vat5 = 0.5;
  a.net0 = 100;
  EXPECT_EQ(AddRamzesPostings(root, 9, a), 3);
  std::vector<Record> records = ParseRecords(root.OwnerDocument()->SaveToXML());
  ASSERT_EQ(records.size(), 3u);
  EXPECT_EQ(records[0].fields[1].second, "23%");
  EXPECT_EQ(records[0].fields[2].second, "0");
  EXPECT_EQ(records[0].fields[4].second, "0.01");
  EXPECT_EQ(records[1].fields[1].second, "5%");
  EXPECT_EQ(records[1].fields[4].second, "10.5");
  EXPECT_EQ(records[2].fields, (Fields{{"dod_DokId", "9"},
                                       {"dod_PozSvt", "0%"},
                                       {"dod_PozNet", "100"},
                                       {"dod_PozVat", "0"},
                                       {"dod_PozBru", "100"}}));
  // A zero-rate VAT alone never makes a posting, and a document without amounts gets none.
  EXPECT_EQ(AddRamzesPostings(root, 10, RamzesRateAmounts{}), 0);
}

TEST(RamzesDoc, EmptyDocumentIsDeclarationAndEmptyRoot) {
  xml::TXMLNode root = NewRamzesDoc();
  std::string text = root.OwnerDocument()->SaveToXML();
  EXPECT_EQ(text, "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Baza/>\n");
  EXPECT_EQ(RamzesDocumentType(true), 3);
  EXPECT_EQ(RamzesDocumentType(false), 1);
}

}  // namespace
}  // namespace velkar
