// Saving a document in parts while it is built: the file must be byte for byte what the
// whole-document save writes (tags, namespaces, attributes, escaped text, indentation at
// every depth), whatever the batch size and the open path, and released parts must
// really leave memory.
#include <gtest/gtest.h>

#include <string>

#include "model/xml/XmlDocument.h"
#include "model/xml/XmlNode.h"
#include "model/xml/XmlStreamedSave.h"
#include "tests/support/TempDir.h"

using namespace velkar;
using namespace velkar::xml;

namespace {

constexpr const char* kNs = "http://example.com/ns/";
constexpr const char* kOther = "http://example.com/other/";

IXMLDocument NewDocument() {
  IXMLDocument doc = TXMLDocument::Create();
  doc->SetEncoding("UTF-8");
  doc->SetNodeIndentStr("\t");
  doc->SetOptions(doc->Options() | doNodeAutoIndent);
  TXMLNode root = doc->CreateElement("JPK", kNs);
  doc->SetDocumentElement(root);
  root.DeclareNamespace("etd", kOther);
  TXMLNode header = root.AddChild("Naglowek");
  header.AddChild("Kod").SetText("JPK_KR");
  header.AddChild("Kod").SetAttribute("kodSystemowy", "JPK_KR (1) \"a\" & <b>");
  return doc;
}

// The records a builder writes: `sections` sections under the root, each with `records`
// records of a few fields (Polish letters, characters to escape, an empty element, an
// element of another namespace). With `nested` the records go into a section element
// (as the kinds of a warehouse file), otherwise straight under the root.
void Build(const IXMLDocument& doc, int sections, int records, bool nested, TXMLStreamedSave* save) {
  TXMLNode root = doc->DocumentElement();
  for (int s = 0; s < sections; ++s) {
    TXMLNode parent = nested ? root.AddChild("Sekcja" + std::to_string(s)) : root;
    for (int r = 0; r < records; ++r) {
      TXMLNode record = parent.AddChild("Wiersz");
      record.AddChild("Lp").SetText(std::to_string(r + 1));
      record.AddChild("Opis").SetText("Zażółć gęślą jaźń & <" + std::to_string(s) + "> \"x\"\r");
      record.AddChild("Pusty");
      TXMLNode nestedField = record.AddChild("Kwoty");
      nestedField.AddChild("Winien").SetText("12.34");
      nestedField.AddChild("etd:Kraj").SetText("PL");
      if (save) save->RecordDone(parent);
    }
    TXMLNode ctrl = parent.AddChild("Ctrl");
    ctrl.AddChild("Liczba").SetText(std::to_string(records));
  }
}

std::string WholeSave(int sections, int records, bool nested) {
  IXMLDocument doc = NewDocument();
  Build(doc, sections, records, nested, nullptr);
  return doc->SaveToXML();
}

std::string StreamedSave(int sections, int records, bool nested, size_t batch, bool* released = nullptr) {
  test::TempDir dir;
  IXMLDocument doc = NewDocument();
  std::string file = dir.File("out.xml");
  TXMLStreamedSave save(doc, file, batch);
  Build(doc, sections, records, nested, &save);
  save.Finish();
  if (released) *released = save.Released();
  return test::ReadFile(file);
}

}  // namespace

TEST(XmlStreamedSave, WritesExactlyWhatTheWholeSaveWrites) {
  for (bool nested : {false, true}) {
    std::string expected = WholeSave(3, 7, nested);
    for (size_t batch : {1, 2, 3, 7, 100}) {
      SCOPED_TRACE(std::string(nested ? "nested" : "flat") + ", batch " + std::to_string(batch));
      bool released = false;
      EXPECT_EQ(StreamedSave(3, 7, nested, batch, &released), expected);
      EXPECT_EQ(released, batch <= 7);
    }
  }
}

TEST(XmlStreamedSave, EmptySectionsAndAnUntouchedDocumentComeOutTheSame) {
  EXPECT_EQ(StreamedSave(2, 0, true, 1), WholeSave(2, 0, true));
  EXPECT_EQ(StreamedSave(0, 0, false, 1), WholeSave(0, 0, false));
}

TEST(XmlStreamedSave, ReleasedRecordsLeaveTheDocumentAndTheRestStays) {
  test::TempDir dir;
  IXMLDocument doc = NewDocument();
  TXMLStreamedSave save(doc, dir.File("out.xml"), 4);
  Build(doc, 1, 10, false, &save);
  // Two batches of four went to the file with the header; two records and Ctrl remain.
  TXMLNode root = doc->DocumentElement();
  EXPECT_TRUE(save.Released());
  EXPECT_EQ(root.ChildNodes().Count(), 3);
  EXPECT_EQ(root.ChildNodes().Get(0).ChildNodes().Get(0).Text(), "9");
  save.Finish();
  // A small document is whole after Finish: nothing was released.
  IXMLDocument small = NewDocument();
  TXMLStreamedSave smallSave(small, dir.File("small.xml"), 100);
  Build(small, 1, 10, false, &smallSave);
  smallSave.Finish();
  EXPECT_FALSE(smallSave.Released());
  EXPECT_EQ(small->DocumentElement().ChildNodes().Count(), 12);
  EXPECT_EQ(test::ReadFile(dir.File("small.xml")), small->SaveToXML());
}

TEST(XmlStreamedSave, AChangeToAClosedElementIsRefusedNotLost) {
  test::TempDir dir;
  IXMLDocument doc = NewDocument();
  TXMLStreamedSave save(doc, dir.File("out.xml"), 1);
  TXMLNode root = doc->DocumentElement();
  TXMLNode first = root.AddChild("A");
  first.AddChild("W");
  save.RecordDone(first);
  TXMLNode second = root.AddChild("B");
  second.AddChild("W");
  save.RecordDone(second);  // closes A on disk
  first.AddChild("Late");
  EXPECT_THROW(save.Finish(), EXMLDocError);
}

TEST(XmlStreamedSave, OtherEncodingsAndMixedContentAreRefused) {
  test::TempDir dir;
  IXMLDocument doc = NewDocument();
  doc->SetEncoding("windows-1250");
  EXPECT_THROW(TXMLStreamedSave(doc, dir.File("a.xml")), EXMLDocError);
  doc->SetEncoding("UTF-8");
  TXMLStreamedSave save(doc, dir.File("b.xml"), 1);
  TXMLNode root = doc->DocumentElement();
  root.ChildNodes().Add(doc->CreateTextNode("tekst"));
  root.AddChild("W");
  EXPECT_THROW(save.RecordDone(root), EXMLDocError);
}
