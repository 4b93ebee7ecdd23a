// The namespace-prefix check after loading, its repair with backup, and the node copier.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "app/ui/ScriptedUi.h"
#include "base/Error.h"
#include "jpkfiles/JpkHeaders.h"
#include "jpkfiles/JpkLoadSave.h"
#include "jpkfiles/NodeCopy.h"
#include "model/xml/XmlErrors.h"
#include "tests/jpkfiles/JpkFixtures.h"

using namespace velkar;

namespace {

const std::string kQuestion = "Prefixy przestrzeni nazw niezgodne ze specyfikacją\rPoprawić?";

// A JPK_V7M(2) file of this program: header of a natural person and a register with one
// sale row (the etd elements and every attribute kind appear).
std::string OwnV7File(const test::TempDir& dir) {
  test::TaxpayerScope taxpayer(test::PersonSettings());
  ScriptedUi quiet;
  v7m::IXMLJPK doc = v7m::NewJpkV7();
  InitJpkV7Doc(doc);
  SetJpkV7Header(doc, false);
  auto row = doc.Ewidencja().SprzedazWiersz().Add();
  row.Set_LpSprzedazy(1);
  row.Set_NrKontrahenta("5260250995");
  row.Set_NazwaKontrahenta("Odbiorca");
  row.Set_DowodSprzedazy("FV 1/2024");
  row.Set_DataWystawienia("2024-03-10");
  row.Set_K_19(100);
  row.Set_K_20(23);
  doc.Ewidencja().SprzedazCtrl().Set_LiczbaWierszySprzedazy(1);
  doc.Ewidencja().SprzedazCtrl().Set_PodatekNalezny(23);
  doc.Ewidencja().ZakupCtrl().Set_LiczbaWierszyZakupow(0);
  doc.Ewidencja().ZakupCtrl().Set_PodatekNaliczony(0);
  std::string file = dir.File("own.xml");
  SaveJpkFile(doc, file);
  return test::ReadFile(file);
}

// The same file as another program writes it: the document's own namespace bound to
// "tns" on the root (and once more on Podmiot1), every own element prefixed.
std::string WithTnsPrefix(const std::string& text, const char* namespaceURI) {
  std::string prefixed = std::regex_replace(text, std::regex("<(/?)(?!etd:|\\?|!)([A-Za-z_])"), "<$1tns:$2");
  prefixed = std::regex_replace(prefixed, std::regex(" xmlns=\""), " xmlns:tns=\"");
  return std::regex_replace(prefixed, std::regex("<tns:Podmiot1 "),
                            "<tns:Podmiot1 xmlns:tns=\"" + std::string(namespaceURI) + "\" ");
}

}  // namespace

TEST(PrefixRepair, APrefixedV7FileAnsweredYesIsRebuiltInTheDefaultNamespaceWithABackup) {
  test::TempDir dir;
  test::SchemaDirForProgram schemas;
  std::string own = OwnV7File(dir);
  std::string foreign = WithTnsPrefix(own, v7m::kTargetNamespace);
  ASSERT_NE(foreign.find("<tns:JPK xmlns:tns="), std::string::npos) << foreign;
  std::string file = dir.Write("dane/2024-03_JPK_V7M.xml", foreign);

  ScriptedUi ui;
  ui.QueueAnswer(Answer::Yes);
  v7m::IXMLJPK doc = v7m::LoadJpkV7(file);
  auto loaded = doc.OwnerDocument();
  EXPECT_TRUE(CheckJpkV7Prefixes(doc, file));

  ASSERT_EQ(ui.Messages().size(), 1u);  // the question, and no schema warning after the save
  EXPECT_TRUE(ui.Messages()[0].question);
  EXPECT_EQ(ui.Messages()[0].text, kQuestion);
  EXPECT_EQ(test::ReadFile(dir.File("dane/backup/~2024-03_JPK_V7M.xml")), foreign);
  // JPK and all its own elements unprefixed, etd kept, every attribute kept, the old
  // declarations gone: the file as this program writes it.
  EXPECT_EQ(test::ReadFile(file), own);
  EXPECT_FALSE(doc.OwnerDocument() == loaded);
  EXPECT_EQ(doc.Prefix(), "");
  EXPECT_EQ(doc.Podmiot1().OsobaFizyczna().NIP(), "5250001090");
}

TEST(PrefixRepair, AnsweredNoNothingOnDiskChanges) {
  test::TempDir dir;
  std::string foreign = WithTnsPrefix(OwnV7File(dir), v7m::kTargetNamespace);
  std::string file = dir.Write("a.xml", foreign);
  ScriptedUi ui;
  ui.QueueAnswer(Answer::No);
  v7m::IXMLJPK doc = v7m::LoadJpkV7(file);
  auto loaded = doc.OwnerDocument();
  EXPECT_FALSE(CheckJpkV7Prefixes(doc, file));
  EXPECT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(test::ReadFile(file), foreign);
  EXPECT_FALSE(std::filesystem::exists(dir.File("backup")));
  // The loaded document is kept, prepared, with its prefixes.
  EXPECT_TRUE(doc.OwnerDocument() == loaded);
  EXPECT_EQ(doc.Prefix(), "tns");
  EXPECT_EQ(doc.OwnerDocument()->NodeIndentStr(), "\t");
  EXPECT_EQ(doc.Naglowek().KodUrzedu(), "1471");
}

TEST(PrefixRepair, DefaultNamespaceOrNoDeclarationAsksNothing) {
  test::TempDir dir;
  ScriptedUi ui;
  std::string own = dir.Write("own.xml", OwnV7File(dir));
  v7m::IXMLJPK doc = v7m::LoadJpkV7(own);
  EXPECT_FALSE(CheckJpkV7Prefixes(doc, own));
  std::string bare = dir.Write("bare.xml", "<JPK><Naglowek/></JPK>");
  v7m::IXMLJPK plain = v7m::LoadJpkV7(bare);
  EXPECT_FALSE(CheckJpkV7Prefixes(plain, bare));
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_EQ(plain.OwnerDocument()->NodeIndentStr(), "\t");
  EXPECT_EQ(test::ReadFile(bare), "<JPK><Naglowek/></JPK>");
}

TEST(PrefixRepair, ASecondRepairReplacesTheOlderBackup) {
  test::TempDir dir;
  test::SchemaDirForProgram schemas;
  std::string foreign = WithTnsPrefix(OwnV7File(dir), v7m::kTargetNamespace);
  std::string file = dir.Write("a.xml", foreign);
  ScriptedUi ui;
  ui.QueueAnswer(Answer::Yes);
  ui.QueueAnswer(Answer::Yes);
  v7m::IXMLJPK doc = v7m::LoadJpkV7(file);
  CheckJpkV7Prefixes(doc, file);
  std::string second = std::regex_replace(foreign, std::regex("FV 1/2024"), "FV 2/2024");
  dir.Write("a.xml", second);
  doc = v7m::LoadJpkV7(file);
  CheckJpkV7Prefixes(doc, file);
  EXPECT_EQ(test::ReadFile(dir.File("backup/~a.xml")), second);
  EXPECT_EQ(doc.Ewidencja().SprzedazWiersz()[0].DowodSprzedazy(), "FV 2/2024");
}

TEST(PrefixRepair, ABackupThatCannotBeReplacedStopsTheRepair) {
  test::TempDir dir;
  std::string foreign = WithTnsPrefix(OwnV7File(dir), v7m::kTargetNamespace);
  std::string file = dir.Write("a.xml", foreign);
  dir.Write("backup/~a.xml/zajęte", "a folder in the way");
  ScriptedUi ui;
  ui.QueueAnswer(Answer::Yes);
  v7m::IXMLJPK doc = v7m::LoadJpkV7(file);
  try {
    CheckJpkV7Prefixes(doc, file);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_TRUE(std::string(e.what()).starts_with("Nie można usunąć starej kopii zapasowej:\r" + dir.File("backup/~a.xml") + " (")) << e.what();
  }
  EXPECT_TRUE(doc.IsNull());
  EXPECT_EQ(test::ReadFile(file), foreign);
}

TEST(PrefixRepair, ASaveThatFailsAfterTheBackupPutsTheFileBack) {
  test::TempDir dir;
  std::string foreign = WithTnsPrefix(OwnV7File(dir), v7m::kTargetNamespace);
  std::string file = dir.Write("a.xml", foreign);
  ScriptedUi ui;
  ui.QueueAnswer(Answer::Yes);
  v7m::IXMLJPK doc = v7m::LoadJpkV7(file);
  {
    test::FileSizeLimit limit(256);
    EXPECT_THROW(CheckJpkV7Prefixes(doc, file), Error);
  }
  EXPECT_TRUE(doc.IsNull());
  EXPECT_EQ(test::ReadFile(file), foreign);
  EXPECT_FALSE(std::filesystem::exists(dir.File("backup/~a.xml")));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 3);  // own.xml, a.xml, backup/
}

TEST(PrefixRepair, APrefixedFAFileIsRepairedToo) {
  test::TempDir dir;
  test::SchemaDirForProgram schemas;
  std::string own;
  {
    test::TaxpayerScope taxpayer;
    ScriptedUi quiet;
    fa::IXMLJPKFA doc = fa::NewJpkFA();
    InitJpkFADoc(doc);
    SetJpkFAHeader(doc);
    test::AddLeastInvoiceContent(doc);
    SaveJpkFile(doc, dir.File("own.xml"));
    own = test::ReadFile(dir.File("own.xml"));
  }
  std::string foreign = WithTnsPrefix(own, fa::kTargetNamespace);
  std::string file = dir.Write("fa.xml", foreign);
  ScriptedUi ui;
  ui.QueueAnswer(Answer::Yes);
  fa::IXMLJPKFA doc = fa::LoadJpkFA(file);
  EXPECT_TRUE(CheckJpkFAPrefixes(doc, file));
  EXPECT_EQ(test::ReadFile(file), own);
  EXPECT_EQ(test::ReadFile(dir.File("backup/~fa.xml")), foreign);
  EXPECT_EQ(ui.Messages().size(), 1u) << ui.LastMessage();
}

TEST(NodeCopy, ACloneTakesTheTargetRootsPrefixesAndKeepsEverythingElse) {
  const std::string ns = v7m::kTargetNamespace;
  v7m::IXMLJPK source = v7m::LoadJpkV7FromXML(
      "<t:JPK xmlns:t=\"" + ns + "\" xmlns:etd=\"" + v7m::kEtdNamespace +
      "\"><t:Podmiot1 rola=\"Podatnik\" xmlns:x=\"urn:x\"><t:OsobaFizyczna><etd:NIP>1</etd:NIP><!-- uwaga -->"
      "<x:Dodatek x:kod=\"7\"/><?proc dane?></t:OsobaFizyczna></t:Podmiot1></t:JPK>");
  // The loader gives CDATA as text; a section made in memory is copied as a section.
  xmlNode* extra = source.Podmiot1().OsobaFizyczna().ChildNodes()[2].DOMNode();
  xmlAddChild(extra, xmlNewCDataBlock(extra->doc, BAD_CAST "a<b", 3));
  v7m::IXMLJPK target = v7m::NewJpkV7();
  InitJpkV7Doc(target);
  xml::TXMLNode copy = CloneJpkNode(target.OwnerDocument(), ns, source.Podmiot1(), true);
  target.ChildNodes().Add(copy);
  std::string text = target.OwnerDocument()->SaveToXML();
  EXPECT_NE(text.find("<Podmiot1 xmlns:x=\"urn:x\" rola=\"Podatnik\"><OsobaFizyczna><etd:NIP>1</etd:NIP>"
                      "<!-- uwaga --><x:Dodatek x:kod=\"7\"><![CDATA[a<b]]></x:Dodatek><?proc dane?>"
                      "</OsobaFizyczna></Podmiot1></JPK>"),
            std::string::npos)
      << text;
  EXPECT_EQ(target.Podmiot1().OsobaFizyczna().NIP(), "1");

  // A shallow clone has no children.
  xml::TXMLNode shallow = CloneJpkNode(target.OwnerDocument(), ns, source.Podmiot1(), false);
  EXPECT_FALSE(shallow.HasChildNodes());
  EXPECT_EQ(shallow.GetAttribute("rola"), "Podatnik");
}

TEST(NodeCopy, CopyingAppendsAfterExistingChildrenAndRefusesOtherNodeTypes) {
  const std::string ns = fa::kTargetNamespace;
  fa::IXMLJPKFA source = fa::LoadJpkFAFromXML("<JPK xmlns=\"" + ns + "\"><Faktura><P_1>a</P_1></Faktura>" +
                                              "<Faktura><P_1>b</P_1></Faktura></JPK>");
  fa::IXMLJPKFA target = fa::NewJpkFA();
  InitJpkFADoc(target);
  target.Naglowek().Set_KodUrzedu("1471");
  CopyJpkNodes(target.OwnerDocument(), ns, target, source);
  EXPECT_EQ(target.Faktura().Count(), 2);
  EXPECT_EQ(target.Faktura()[1].P_1(), "b");
  EXPECT_EQ(target.ChildNodes().First().LocalName(), "Naglowek");
  EXPECT_TRUE(target.OwnerDocument()->Modified());

  auto document = source.OwnerDocument();
  xml::TXMLNode whole(reinterpret_cast<xmlNode*>(document->DOMDocument()), document);
  try {
    CloneJpkNode(target.OwnerDocument(), ns, whole, false);
    FAIL() << "no error";
  } catch (const xml::EXMLDocError& e) {
    EXPECT_EQ(std::string(e.what()), "Invalid node type");
  }
}
