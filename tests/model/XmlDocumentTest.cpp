// The document object: safe parsing (no DTD, no entities, no network, no ignorable white
// space), saving (declaration, encoding, indentation, atomic replace), and node references
// that outlive reloads and removals without touching freed memory.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "model/xml/XmlDocument.h"
#include "model/xml/XmlNode.h"
#include "tests/support/TempDir.h"

using namespace velkar;
using namespace velkar::xml;

namespace {

std::string LoadError(const std::string& xml) {
  auto doc = TXMLDocument::Create();
  try {
    doc->LoadFromXML(xml);
  } catch (const EXMLDocError& e) {
    return e.what();
  }
  return "";
}

}  // namespace

TEST(XmlSafeParsing, BillionLaughsIsRefusedBeforeAnyExpansion) {
  std::string xml =
      "<?xml version=\"1.0\"?>\n<!DOCTYPE JPK [\n<!ENTITY a \"aaaaaaaaaa\">\n"
      "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">\n<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">\n"
      "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">\n]>\n<JPK>&d;</JPK>";
  EXPECT_EQ(LoadError(xml), "Plik (tekst XML) zawiera deklarację DOCTYPE (DTD lub encje); taki plik nie jest wczytywany");
}

TEST(XmlSafeParsing, ExternalEntityIsRefusedAndTheReferencedFileNeverRead) {
  test::TempDir dir;
  std::string secret = dir.Write("secret.txt", "TAJNE");
  std::string file = dir.Write("jpk.xml", "<?xml version=\"1.0\"?><!DOCTYPE JPK [<!ENTITY x SYSTEM \"file://" + secret +
                                              "\">]><JPK><Pole>&x;</Pole></JPK>");
  auto doc = TXMLDocument::Create();
  try {
    doc->LoadFromFile(file);
    FAIL() << "loaded a file with an external entity";
  } catch (const EXMLDocError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Plik " + file + " zawiera deklarację DOCTYPE (DTD lub encje); taki plik nie jest wczytywany");
  }
  // The failed load leaves the document as it was.
  EXPECT_TRUE(doc->Active());
  EXPECT_FALSE(doc->DocumentElement());
}

TEST(XmlSafeParsing, ExternalDtdAndUndeclaredEntitiesAreRefused) {
  EXPECT_NE(LoadError("<!DOCTYPE JPK SYSTEM \"http://127.0.0.1:9/jpk.dtd\"><JPK/>").find("DOCTYPE"), std::string::npos);
  EXPECT_EQ(LoadError("<JPK>\n<A>&nieznana;</A></JPK>").rfind("Błąd w pliku XML (tekst XML), wiersz 2: ", 0), 0u);
  EXPECT_EQ(LoadError("<JPK><A></B></JPK>").rfind("Błąd w pliku XML (tekst XML), wiersz 1: ", 0), 0u);
  EXPECT_EQ(LoadError(""), "Błąd w pliku XML (tekst XML), wiersz 1: dokument jest pusty (Document is empty)");
  EXPECT_EQ(LoadError("<JPK>&amp;&lt;&#261;</JPK>"), "");  // predefined and character references are text
}

TEST(XmlSafeParsing, MissingFileNamesTheFile) {
  auto doc = TXMLDocument::Create();
  EXPECT_THROW(
      {
        try {
          doc->LoadFromFile("/nonexistent/brak.xml");
        } catch (const EXMLDocError& e) {
          EXPECT_STREQ(e.what(), "Brak pliku /nonexistent/brak.xml");
          throw;
        }
      },
      EXMLDocError);
}

TEST(XmlSafeParsing, LibraryErrorsAreToldInPolishWithTheirDetailInParentheses) {
  std::string deep;
  for (int i = 0; i < 300; ++i) deep += "<a>";
  EXPECT_EQ(LoadError(deep).rfind("Błąd w pliku XML (tekst XML), wiersz 1: elementy są zagnieżdżone zbyt głęboko (", 0), 0u)
      << LoadError(deep);
  std::string encoding = LoadError("<?xml version=\"1.0\" encoding=\"x-brak\"?><JPK/>");
  EXPECT_EQ(encoding.rfind("Błąd w pliku XML (tekst XML), wiersz 1: nieobsługiwane kodowanie lub niepoprawny znak (", 0), 0u)
      << encoding;
}

TEST(XmlSafeSaving, TextOverTheReadersLimitIsRefusedBeforeAnythingIsWritten) {
  test::TempDir dir;
  std::string fileName = dir.Write("a.xml", "stary");
  auto doc = TXMLDocument::Create();
  doc->LoadFromXML("<JPK><Naglowek/><Opis a=\"1\">x</Opis></JPK>");
  doc->DocumentElement().ChildNodes()[1].SetText(std::string(10000001, 'x'));
  try {
    doc->SaveToFile(fileName);
    FAIL() << "saved";
  } catch (const EXMLDocError& e) {
    EXPECT_EQ(std::string(e.what()).rfind("Tekst elementu Opis jest dłuższy niż 10000000 bajtów", 0), 0u) << e.what();
  }
  EXPECT_EQ(test::ReadFile(fileName), "stary");
  // At the limit the file is written and reads back.
  doc->DocumentElement().ChildNodes()[1].SetText(std::string(10000000, 'x'));
  doc->SaveToFile(fileName);
  auto back = TXMLDocument::Create();
  back->LoadFromFile(fileName);
  EXPECT_EQ(back->DocumentElement().ChildNodes()[1].Text().size(), 10000000u);
}

TEST(XmlSafeParsing, IgnorableWhiteSpaceIsDroppedAndRealTextKept) {
  auto doc = TXMLDocument::Create();
  doc->LoadFromXML("<JPK>\n\t<A>\n\t\t<B>1</B>\n\t</A>\n\t<C> x </C>\n\t<!-- uwaga -->\n</JPK>\n");
  TXMLNode root = doc->DocumentElement();
  ASSERT_EQ(root.ChildNodes().Count(), 3);  // A, C and the comment: no white-space nodes
  EXPECT_EQ(root.ChildNodes()[0].ChildNodes().Count(), 1);
  EXPECT_EQ(root.ChildNodes()[1].Text(), " x ");
  EXPECT_EQ(root.ChildNodes()[2].NodeType(), ntComment);
}

TEST(XmlSave, WritesDeclarationEncodingAndTabIndentationWhenAsked) {
  test::TempDir dir;
  auto doc = TXMLDocument::Create();
  doc->LoadFromXML("<JPK xmlns=\"urn:x\"><A><B>1</B><C/></A></JPK>");
  doc->SetEncoding("UTF-8");
  EXPECT_EQ(doc->SaveToXML(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<JPK xmlns=\"urn:x\"><A><B>1</B><C/></A></JPK>\n");
  doc->SetOptions(doc->Options() | doNodeAutoIndent);
  doc->SetNodeIndentStr("\t");
  std::string file = dir.File("out.xml");
  doc->SaveToFile(file);
  EXPECT_EQ(test::ReadFile(file),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<JPK xmlns=\"urn:x\">\n\t<A>\n\t\t<B>1</B>\n\t\t<C/>\n\t</A>\n</JPK>\n");
  EXPECT_EQ(doc->FileName(), file);
  EXPECT_FALSE(doc->Modified());
}

TEST(XmlSave, KeepsTheDeclaredEncodingUntilChanged) {
  // "Łódź" in windows-1250: A3 F3 64 9F
  std::string xml = "<?xml version=\"1.0\" encoding=\"windows-1250\"?><JPK>\xA3\xF3" "d\x9F</JPK>";
  auto doc = TXMLDocument::Create();
  doc->LoadFromXML(xml);
  EXPECT_EQ(doc->Encoding(), "windows-1250");
  EXPECT_EQ(doc->DocumentElement().Text(), "Łódź");
  EXPECT_NE(doc->SaveToXML().find("\xA3\xF3" "d\x9F"), std::string::npos);
  doc->SetEncoding("UTF-8");
  EXPECT_EQ(doc->SaveToXML(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<JPK>Łódź</JPK>\n");
}

TEST(XmlSave, AFailedSaveLeavesTheOldFile) {
  test::TempDir dir;
  std::string file = dir.Write("a.xml", "stara treść");
  auto doc = TXMLDocument::Create();
  doc->LoadFromXML("<JPK>nowa</JPK>");
  doc->SetEncoding("x-brak-takiego-kodowania");
  try {
    doc->SaveToFile(file);
    FAIL();
  } catch (const EXMLDocError& e) {
    EXPECT_STREQ(e.what(), "Kodowanie \"x-brak-takiego-kodowania\" nie nadaje się do zapisu dokumentu XML");
  }
  EXPECT_EQ(test::ReadFile(file), "stara treść");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(XmlSave, EncodingsTheWriterCannotReadBackAreRefusedOthersRoundTrip) {
  auto doc = TXMLDocument::Create();
  doc->LoadFromXML("<JPK>Łódź</JPK>");
  doc->SetEncoding("UTF-7");
  try {
    doc->SaveToXML();  // libxml2 would encode the markup itself
    FAIL();
  } catch (const EXMLDocError& e) {
    EXPECT_STREQ(e.what(), "Kodowanie \"UTF-7\" nie nadaje się do zapisu dokumentu XML");
  }
  for (const char* encoding : {"UTF-16", "ISO-8859-2", "windows-1250", "UTF-8"}) {
    doc->SetEncoding(encoding);
    auto copy = TXMLDocument::Create();
    copy->LoadFromXML(doc->SaveToXML());
    EXPECT_EQ(copy->DocumentElement().Text(), "Łódź") << encoding;
    EXPECT_EQ(copy->Encoding(), encoding);
  }
}

TEST(XmlSave, SpecialCharactersAreEscapedAndReadBackUnchanged) {
  auto doc = TXMLDocument::Create();
  doc->LoadFromXML("<JPK/>");
  TXMLNode root = doc->DocumentElement();
  root.SetChildText("Nazwa", "A&B <\"Spółka\"> &amp;");
  root.SetAttribute("opis", "x<y & \"z\"");
  auto copy = TXMLDocument::Create();
  copy->LoadFromXML(doc->SaveToXML());
  EXPECT_EQ(copy->DocumentElement().ChildText("Nazwa"), "A&B <\"Spółka\"> &amp;");
  EXPECT_EQ(copy->DocumentElement().GetAttribute("opis"), "x<y & \"z\"");
}

TEST(XmlSave, ValuesWithCharactersXmlCannotCarryStillGiveAFileThatLoads) {
  auto doc = TXMLDocument::Create();
  doc->LoadFromXML("<JPK/>");
  TXMLNode root = doc->DocumentElement();
  root.SetChildText("Nazwa", "Firma\x1A\x01 ABC");
  root.SetAttribute("opis", "a\x02");
  EXPECT_THROW(root.SetChildText("Zle", "\xC5"), EConvertError);
  EXPECT_THROW(doc->CreateComment("a--b"), EXMLDocError);
  auto copy = TXMLDocument::Create();
  copy->LoadFromXML(doc->SaveToXML());
  EXPECT_EQ(copy->DocumentElement().ChildText("Nazwa"), "Firma ABC");
  EXPECT_EQ(copy->DocumentElement().GetAttribute("opis"), "a");
}

TEST(XmlDocumentState, NewDocumentIsActiveVersionOneAndUnmodified) {
  auto doc = TXMLDocument::Create();
  EXPECT_TRUE(doc->Active());
  EXPECT_EQ(doc->Version(), "1.0");
  EXPECT_EQ(doc->Encoding(), "");
  EXPECT_EQ(doc->Options(), static_cast<unsigned>(doNodeAutoCreate));
  EXPECT_EQ(doc->NodeIndentStr(), "  ");
  EXPECT_FALSE(doc->Modified());
  doc->LoadFromXML("<JPK/>");
  doc->DocumentElement().SetChildText("A", "1");
  EXPECT_TRUE(doc->Modified());
  doc->SetParseOptions(doc->ParseOptions() | poValidateOnParse | poPreserveWhiteSpace);
  EXPECT_EQ(doc->ParseOptions(), static_cast<unsigned>(poValidateOnParse | poPreserveWhiteSpace));
  doc->SetActive(false);
  EXPECT_FALSE(doc->Active());
  EXPECT_THROW(doc->DocumentElement(), EXMLDocError);
  EXPECT_THROW(doc->SaveToXML(), EXMLDocError);
}

TEST(XmlDocumentState, NodesOfAReloadedDocumentRefuseUseInsteadOfReadingFreedMemory) {
  auto doc = TXMLDocument::Create();
  doc->LoadFromXML("<JPK><A>1</A></JPK>");
  TXMLNode a = doc->DocumentElement().ChildNodes()[0];
  doc->LoadFromXML("<JPK><B>2</B></JPK>");
  EXPECT_THROW(a.Text(), EXMLDocError);
  EXPECT_THROW(a.SetText("x"), EXMLDocError);
  EXPECT_EQ(doc->DocumentElement().ChildNodes()[0].Text(), "2");
  TXMLNode empty;
  try {
    empty.Text();
    FAIL();
  } catch (const EXMLDocError& e) {
    EXPECT_STREQ(e.what(), "Odwołanie do pustego węzła XML");
  }
}

TEST(XmlDocumentState, TheDocumentLivesAsLongAsOneOfItsNodes) {
  TXMLNode a;
  {
    auto doc = TXMLDocument::Create();
    doc->LoadFromXML("<JPK><A>zostaje</A></JPK>");
    a = doc->DocumentElement().ChildNodes()[0];
  }
  EXPECT_EQ(a.Text(), "zostaje");
  EXPECT_EQ(a.ParentNode().LocalName(), "JPK");
}

TEST(XmlDocumentState, CreatedElementsTakeTheRootsDeclarationOfTheirNamespace) {
  auto doc = TXMLDocument::Create();
  doc->SetDocumentElement(doc->CreateElement("JPK", "urn:jpk"));
  doc->DocumentElement().DeclareNamespace("etd", "urn:etd");
  TXMLNode nip = doc->CreateElement("NIP", "urn:etd");
  TXMLNode own = doc->CreateElement("Pole", "urn:jpk");
  TXMLNode foreign = doc->CreateElement("x:Inne", "urn:inne");
  doc->DocumentElement().ChildNodes().Add(nip);
  doc->DocumentElement().ChildNodes().Add(own);
  doc->DocumentElement().ChildNodes().Add(foreign);
  doc->DocumentElement().ChildNodes().Add(doc->CreateTextNode("t"));
  doc->DocumentElement().ChildNodes().Add(doc->CreateCDataSection("a]]>b"));
  doc->DocumentElement().ChildNodes().Add(doc->CreateProcessingInstruction("pi", "x=1"));
  own.SetAttributeNS("xsi:type", "http://www.w3.org/2001/XMLSchema-instance", "T");
  own.SetAttributeNS("typ", "", "G");
  EXPECT_EQ(doc->SaveToXML(),
            "<?xml version=\"1.0\"?>\n<JPK xmlns=\"urn:jpk\" xmlns:etd=\"urn:etd\"><etd:NIP/>"
            "<Pole xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xsi:type=\"T\" typ=\"G\"/>"
            "<x:Inne xmlns:x=\"urn:inne\"/>t<![CDATA[a]]]]><![CDATA[>b]]><?pi x=1?></JPK>\n");
  auto attributes = own.Attributes();
  ASSERT_EQ(attributes.size(), 2u);
  EXPECT_EQ(attributes[0].name, "xsi:type");
  EXPECT_EQ(attributes[0].localName, "type");
  EXPECT_EQ(attributes[0].namespaceURI, "http://www.w3.org/2001/XMLSchema-instance");
  EXPECT_EQ(attributes[1].name, "typ");
  EXPECT_EQ(attributes[1].value, "G");
  auto copy = TXMLDocument::Create();
  copy->LoadFromXML(doc->SaveToXML());
  EXPECT_EQ(copy->DocumentElement().ChildNodes().Count(), 5);  // the CDATA halves read as text
}
