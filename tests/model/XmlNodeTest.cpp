// Generic and typed node access: automatic creation in the order of first access, the
// non-creating find, attributes, the child list, typed lists sharing the parent element
// (with remembered positions checked against a plain walk), casts and namespaces.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "model/xml/XmlBinding.h"
#include "model/xml/XmlProperties.h"

using namespace velkar::xml;

namespace sample {

using velkar::xml::TXMLNode;

#define SAMPLE_Wiersz(P) \
  P(Attribute, typ)      \
  P(Integer, Lp)         \
  P(Text, Opis)          \
  P(Amount, Kwota)       \
  P(Flag, Znacznik)      \
  P(Count, Ilosc)
#define SAMPLE_Ctrl(P) P(Integer, Liczba)
#define SAMPLE_Osoba(P) P(Etd, NIP, 0) P(Etd, Nazwisko, 1) P(Text, Email)
#define SAMPLE_Adres(P) P(Etd, KodKraju, -1) P(Etd, Miejscowosc, -1)
#define SAMPLE_Root(P)        \
  P(List, Wiersz, Wiersz)     \
  P(Element, Ctrl, Ctrl)      \
  P(Element, Osoba, Osoba)    \
  P(Element, Adres, Adres)

VELKAR_XML_TYPE(Wiersz, TXMLNode, "Wiersz", SAMPLE_Wiersz);
VELKAR_XML_LIST_TYPE(Wiersz);
VELKAR_XML_TYPE(Ctrl, TXMLNode, "Ctrl", SAMPLE_Ctrl);
VELKAR_XML_TYPE(Osoba, TXMLNode, "Osoba", SAMPLE_Osoba);
VELKAR_XML_TYPE(Adres, TXMLNode, "Adres", SAMPLE_Adres);
VELKAR_XML_TYPE(Root, TXMLNode, "Root", SAMPLE_Root);

constexpr BindingNamespaces kNs{"urn:sample", "urn:etd"};

IXMLRoot New() { return TXMLRoot(NewBoundDocument("Root", kNs), kUnchecked); }
IXMLRoot Load(const std::string& xml) { return TXMLRoot(LoadBoundDocumentFromXML(xml, kNs), kUnchecked); }
std::string Xml(const TXMLNode& node) {
  std::string text = node.OwnerDocument()->SaveToXML();
  return text.substr(text.find('\n') + 1, text.size() - text.find('\n') - 2);  // without declaration and last newline
}

}  // namespace sample

using namespace sample;

TEST(XmlChildAccess, AnEmptyNumberElementIsAConversionErrorButAnEmptyAmountIsZero) {
  IXMLRoot root = New();
  TXMLWiersz row = root.Wiersz().Add();
  EXPECT_THROW(row.Lp(), EConvertError);
  EXPECT_THROW(row.Ilosc(), EConvertError);
  EXPECT_THROW(row.Znacznik(), EConvertError);
  EXPECT_EQ(row.Kwota(), 0.0);
}

TEST(XmlChildAccess, GettersCreateEmptyElementsAndSettersFillThemInOrderOfFirstAccess) {
  IXMLRoot root = New();
  TXMLWiersz row = root.Wiersz().Add();
  row.Set_Kwota(12.5);
  EXPECT_EQ(row.Opis(), "");  // a getter creates the element, empty
  row.Set_Lp(3);
  row.Set_Znacznik(true);
  row.Set_Ilosc(5000000000LL);
  row.Set_typ("G");
  EXPECT_EQ(Xml(root),
            "<Root xmlns=\"urn:sample\"><Wiersz typ=\"G\"><Kwota>12.5</Kwota><Opis/><Lp>3</Lp>"
            "<Znacznik>true</Znacznik><Ilosc>5000000000</Ilosc></Wiersz></Root>");
  EXPECT_EQ(row.Lp(), 3);
  EXPECT_EQ(row.Kwota(), 12.5);
  EXPECT_TRUE(row.Znacznik());
  EXPECT_EQ(row.Ilosc(), 5000000000LL);
  EXPECT_EQ(row.typ(), "G");
  row.Set_Opis("opis");
  row.Set_Kwota(0.1 + 0.2);
  EXPECT_EQ(row.ChildText("Opis"), "opis");
  EXPECT_EQ(row.ChildText("Kwota"), "0.3");
}

TEST(XmlChildAccess, ConversionErrorsComeFromTheGetterAndLeaveTheText) {
  IXMLRoot root = Load("<Root xmlns=\"urn:sample\"><Wiersz><Lp>1.5</Lp><Kwota>1,5</Kwota><Znacznik>tak</Znacznik>"
                       "<Opis>  </Opis></Wiersz></Root>");
  TXMLWiersz row = root.Wiersz()[0];
  EXPECT_THROW(row.Lp(), EConvertError);
  EXPECT_THROW(row.Kwota(), EConvertError);
  EXPECT_THROW(row.Znacznik(), EConvertError);
  EXPECT_EQ(row.ChildText("Kwota"), "1,5");
  EXPECT_EQ(row.ChildFloat("Opis"), 0.0);  // blank amount text reads as 0
}

TEST(XmlChildAccess, WithAutomaticCreationOffAMissingChildIsAnError) {
  IXMLRoot root = New();
  TXMLWiersz row = root.Wiersz().Add();
  auto doc = root.OwnerDocument();
  doc->SetOptions(doc->Options() & ~doNodeAutoCreate);
  try {
    row.Kwota();
    FAIL();
  } catch (const EXMLDocError& e) {
    EXPECT_STREQ(e.what(), "Node \"Kwota\" not found");
  }
  EXPECT_THROW(root.Osoba(), EXMLDocError);
  EXPECT_THROW(row.ChildNodes()["Opis"], EXMLDocError);
  EXPECT_FALSE(row.HasChildNodes());
}

TEST(XmlChildAccess, FindDoesNotCreateAndSeesOnlyTheOwnNamespace) {
  IXMLRoot root = Load("<Root xmlns=\"urn:sample\" xmlns:o=\"urn:other\"><o:Ctrl/><Ctrl><Liczba>4</Liczba></Ctrl></Root>");
  EXPECT_FALSE(root.FindChild("Osoba"));
  EXPECT_FALSE(root.ChildNodes().FindNode("Osoba"));
  EXPECT_EQ(root.ChildNodes().Count(), 2);
  EXPECT_EQ(root.Ctrl().Liczba(), 4);  // the one in the root's namespace, not o:Ctrl
  EXPECT_EQ(root.ChildNodes().IndexOf(root.Ctrl()), 1);
  EXPECT_TRUE(root.ChildNodes().FindNode("Ctrl", "urn:other"));
  EXPECT_FALSE(root.FindChild("o:Brak"));
  EXPECT_EQ(root.ChildNodes().Count(), 2);
}

TEST(XmlChildAccess, AttributesReadEmptyWhenAbsentAndAreSetInPlace) {
  IXMLRoot root = New();
  TXMLWiersz row = root.Wiersz().Add();
  EXPECT_EQ(row.typ(), "");
  EXPECT_FALSE(row.HasAttribute("typ"));
  row.Set_typ("G");
  row.Set_typ("K");
  EXPECT_EQ(row.GetAttribute("typ"), "K");
  row.RemoveAttribute("typ");
  EXPECT_FALSE(row.HasAttribute("typ"));
}

TEST(XmlChildAccess, SettingTextReplacesMixedContentAndEmptyTextLeavesAnEmptyElement) {
  IXMLRoot root = Load("<Root xmlns=\"urn:sample\"><Ctrl>a<x/>b</Ctrl></Root>");
  TXMLNode ctrl = root.ChildNodes()[0];
  TXMLNode x = ctrl.ChildNodes()[1];
  EXPECT_EQ(ctrl.Text(), "ab");
  ctrl.SetText("7");
  EXPECT_EQ(Xml(root), "<Root xmlns=\"urn:sample\"><Ctrl>7</Ctrl></Root>");
  EXPECT_EQ(x.LocalName(), "x");  // a removed node stays usable
  EXPECT_FALSE(x.ParentNode());
  ctrl.SetText("");
  EXPECT_EQ(Xml(root), "<Root xmlns=\"urn:sample\"><Ctrl/></Root>");
}

TEST(XmlChildList, InsertRemoveClearAndIndexErrors) {
  IXMLRoot root = New();
  TXMLNodeList list = root.ChildNodes();
  TXMLNode b = root.AddChild("B");
  TXMLNode a = root.AddChild("A", 0);
  TXMLNode c = root.AddChildBefore("C", TXMLNode());
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list[0], a);
  EXPECT_EQ(list[1], b);
  EXPECT_EQ(list.Last(), c);
  EXPECT_EQ(list.IndexOf(c), 2);
  try {
    list.Get(3);
    FAIL();
  } catch (const EXMLDocError& e) {
    EXPECT_STREQ(e.what(), "Indeks listy węzłów poza zakresem (3)");
  }
  EXPECT_EQ(list.Remove(b), b);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(list.IndexOf(b), -1);
  list.Insert(0, b);  // a removed node can come back
  EXPECT_EQ(Xml(root), "<Root xmlns=\"urn:sample\"><B/><A/><C/></Root>");
  EXPECT_THROW(a.ChildNodes().Add(root), EXMLDocError);  // not into its own subtree
  list.Delete("A");
  list.Delete(0);
  EXPECT_EQ(Xml(root), "<Root xmlns=\"urn:sample\"><C/></Root>");
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_FALSE(list.First());
}

TEST(XmlTypedList, ItemsShareTheParentElementAndInsertCountsAllChildren) {
  IXMLRoot root = New();
  TXMLWierszList rows = root.Wiersz();
  rows.Add().Set_Lp(1);
  root.Ctrl().Set_Liczba(0);
  rows.Add().Set_Lp(3);           // after Ctrl: appended after every child
  rows.Insert(1).Set_Lp(2);       // child position 1: before Ctrl
  rows.InsertBefore(root.Ctrl()).Set_Lp(9);
  EXPECT_EQ(Xml(root),
            "<Root xmlns=\"urn:sample\"><Wiersz><Lp>1</Lp></Wiersz><Wiersz><Lp>2</Lp></Wiersz>"
            "<Wiersz><Lp>9</Lp></Wiersz><Ctrl><Liczba>0</Liczba></Ctrl><Wiersz><Lp>3</Lp></Wiersz></Root>");
  EXPECT_EQ(rows.Count(), 4);
  EXPECT_EQ(rows[3].Lp(), 3);  // the index counts items only
  std::vector<int> seen;
  for (TXMLWiersz row : rows) seen.push_back(row.Lp());
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 9, 3}));
  EXPECT_EQ(rows.First().NextSiblingOfSameName().ChildText("Lp"), "2");
  rows.Delete(2);
  EXPECT_EQ(rows.Count(), 3);
  rows.Clear();
  EXPECT_EQ(rows.Count(), 0);
  EXPECT_FALSE(rows.First());
  EXPECT_EQ(root.ChildNodes().Count(), 1);  // Ctrl stays
  EXPECT_THROW(rows[0], EXMLDocError);
}

// Remembered positions must never give another answer than a plain walk, whatever the mix
// of reads, inserts and removals, through any of the handles.
TEST(XmlTypedList, RememberedPositionsAgreeWithAPlainWalk) {
  IXMLRoot root = New();
  TXMLWierszList rows = root.Wiersz();
  root.Ctrl();
  std::mt19937 random(7);
  int next = 0;
  auto plainItems = [&] {
    std::vector<xmlNode*> items;
    for (xmlNode* c = root.ConstDOMNode()->children; c; c = c->next)
      if (std::string(reinterpret_cast<const char*>(c->name)) == "Wiersz") items.push_back(c);
    return items;
  };
  auto plainChildren = [&] {
    std::vector<xmlNode*> children;
    for (xmlNode* c = root.ConstDOMNode()->children; c; c = c->next) children.push_back(c);
    return children;
  };
  for (int step = 0; step < 3000; ++step) {
    int op = static_cast<int>(random() % 7);
    auto items = plainItems();
    auto children = plainChildren();
    if (op == 0) {
      rows.Add().Set_Lp(++next);
    } else if (op == 1) {
      rows.Insert(static_cast<int>(random() % (children.size() + 1))).Set_Lp(++next);
    } else if (op == 2) {
      rows.InsertBefore(root.Ctrl()).Set_Lp(++next);
    } else if (op == 3 && !items.empty()) {
      rows.Delete(static_cast<int>(random() % items.size()));
    } else if (op == 4 && !items.empty()) {
      size_t i = random() % items.size();
      ASSERT_EQ(rows[static_cast<int>(i)].ConstDOMNode(), items[i]) << "step " << step;
    } else if (op == 5) {
      size_t i = random() % children.size();
      ASSERT_EQ(root.ChildNodes()[static_cast<int>(i)].ConstDOMNode(), children[i]) << "step " << step;
      ASSERT_EQ(root.ChildNodes().IndexOf(root.Ctrl()),
                std::find(children.begin(), children.end(), root.Ctrl().ConstDOMNode()) - children.begin());
    } else if (op == 6 && !items.empty()) {
      rows[static_cast<int>(random() % items.size())].Set_Opis("x");  // changes a row, not the list
    }
    ASSERT_EQ(rows.Count(), static_cast<int>(plainItems().size())) << "step " << step;
    ASSERT_EQ(root.ChildNodes().Count(), static_cast<int>(plainChildren().size())) << "step " << step;
  }
}

TEST(XmlCast, ANodeOfAnotherElementRaisesTheCastError) {
  IXMLRoot root = New();
  root.Ctrl().Set_Liczba(5);
  TXMLNode ctrl = root.ChildNodes()[0];
  EXPECT_EQ(Cast<TXMLCtrl>(ctrl).Liczba(), 5);
  try {
    Cast<TXMLWiersz>(ctrl);
    FAIL();
  } catch (const EIntfCastError& e) {
    EXPECT_STREQ(e.what(), "Interfejs nie jest obsługiwany: węzeł \"Ctrl\" nie jest IXMLWiersz");
  }
  EXPECT_FALSE(Cast<TXMLWiersz>(TXMLNode()));  // a null node casts to a null node
}

TEST(XmlNamespaces, EtdChildrenTakeThePrefixTheDocumentDeclares) {
  IXMLRoot root = Load("<Root xmlns=\"urn:sample\" xmlns:etd=\"urn:etd\"/>");
  root.Osoba().Set_NIP("1234563218");
  root.Osoba().Set_Email("a@b.pl");
  root.Adres().Set_KodKraju("PL");
  EXPECT_EQ(Xml(root),
            "<Root xmlns=\"urn:sample\" xmlns:etd=\"urn:etd\"><Osoba><etd:NIP>1234563218</etd:NIP><Email>a@b.pl</Email>"
            "</Osoba><Adres><etd:KodKraju>PL</etd:KodKraju></Adres></Root>");
  EXPECT_EQ(root.Osoba().NIP(), "1234563218");
  EXPECT_EQ(root.Adres().KodKraju(), "PL");
}

TEST(XmlNamespaces, AnUndeclaredEtdPrefixIsDeclaredOnTheRoot) {
  IXMLRoot root = New();
  root.Osoba().Set_NIP("1");
  EXPECT_EQ(Xml(root), "<Root xmlns=\"urn:sample\" xmlns:etd=\"urn:etd\"><Osoba><etd:NIP>1</etd:NIP></Osoba></Root>");
  EXPECT_THROW(root.AddChild("zz:Nic"), EXMLDocError);
}

TEST(XmlNamespaces, PositionalEtdReadsCheckTheNameSoAMissingElementShiftsNothing) {
  // NIP left out: position 0 holds Nazwisko, which must not be read as NIP.
  IXMLRoot root = Load("<Root xmlns=\"urn:sample\" xmlns:e=\"urn:etd\"><Osoba><e:Nazwisko>Kowalski</e:Nazwisko>"
                       "</Osoba></Root>");
  EXPECT_EQ(root.Osoba().Nazwisko(), "Kowalski");
  EXPECT_EQ(root.Osoba().ChildNodes().Count(), 1);
  EXPECT_EQ(root.Osoba().NIP(), "");
  EXPECT_EQ(root.Osoba().ChildNodes().Count(), 2);  // created empty, like every getter
}

TEST(XmlNamespaces, ChildrenOfAPrefixedRootKeepItsPrefix) {
  IXMLRoot root = Load("<s:Root xmlns:s=\"urn:sample\"><s:Ctrl><s:Liczba>2</s:Liczba></s:Ctrl></s:Root>");
  EXPECT_EQ(root.Ctrl().Liczba(), 2);
  root.Wiersz().Add().Set_Lp(1);
  EXPECT_EQ(Xml(root),
            "<s:Root xmlns:s=\"urn:sample\"><s:Ctrl><s:Liczba>2</s:Liczba></s:Ctrl><s:Wiersz><s:Lp>1</s:Lp></s:Wiersz>"
            "</s:Root>");
  std::string prefix;
  EXPECT_EQ(root.Ctrl().FindNamespaceDecl("urn:sample", &prefix), root);
  EXPECT_EQ(prefix, "s");
  EXPECT_EQ(root.Ctrl().FindNamespaceURI("s"), "urn:sample");
  EXPECT_EQ(root.Ctrl().NodeName(), "s:Ctrl");
  EXPECT_EQ(root.Ctrl().Prefix(), "s");
  EXPECT_EQ(root.Ctrl().NamespaceURI(), "urn:sample");
}
