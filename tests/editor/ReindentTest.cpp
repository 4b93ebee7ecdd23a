// The walk that recognises libxml2's re-indented text must never call a text the same
// when the formatter would write something else: checked against the formatter itself on
// chosen documents and on generated ones, with every text also altered by one byte.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "editor/Reindent.h"
#include "model/xml/XmlDocument.h"

using namespace velkar;

namespace {

xml::IXMLDocument Parse(const std::string& text) {
  auto doc = xml::TXMLDocument::Create();
  doc->LoadFromXML(text);
  doc->SetEncoding("UTF-8");
  return doc;
}

// What the formatter writes for the document.
std::string Formatted(const xml::IXMLDocument& doc) {
  reindent::Text text(doc->DOMDocument(), "");
  return text.Differing();
}

// The walk agrees with the formatter on the formatted text, and no text one byte off is
// taken for it.
void ExpectExact(const xml::IXMLDocument& doc, bool plain) {
  std::string formatted = Formatted(doc);
  EXPECT_EQ(reindent::QuickSame(doc->ConstDOMDocument(), formatted), plain) << formatted;
  reindent::Text same(doc->DOMDocument(), formatted);
  EXPECT_TRUE(same.Same());
  std::mt19937 random(static_cast<unsigned>(formatted.size()));
  for (int i = 0; i < 20; ++i) {
    std::string altered = formatted;
    size_t at = random() % altered.size();
    altered[at] = static_cast<char>(altered[at] ^ (1 + random() % 127));
    EXPECT_FALSE(reindent::QuickSame(doc->ConstDOMDocument(), altered)) << altered;
  }
  EXPECT_FALSE(reindent::QuickSame(doc->ConstDOMDocument(), formatted + "\n"));
  EXPECT_FALSE(reindent::QuickSame(doc->ConstDOMDocument(), formatted.substr(0, formatted.size() - 1)));
}

}  // namespace

TEST(Reindent, PlainDocumentsAreRecognisedWithoutTheFormatter) {
  const char* plain[] = {
      "<a/>",
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a><b>x</b></a>",
      "<JPK xmlns=\"urn:j\" xmlns:etd=\"urn:e\"><Naglowek><Rok>2024</Rok><etd:NIP>1</etd:NIP></Naglowek><E/></JPK>",
      "<a x=\"1 &lt; 2 &amp; &quot;3&quot;&#10;&#9;&#13;&gt;\" y='ł'><b>Kowalski &amp; Syn &lt;&gt; \"q\" 'a'</b></a>",
      "<a><b>line&#13;\nnext\ttab</b><c>zażółć gęślą jaźń €</c><d> </d></a>",
      "<p:a xmlns:p=\"urn:p\" p:k=\"v\"><p:b><c xmlns=\"urn:c\"><d/></c></p:b></p:a>",
  };
  for (const char* text : plain) ExpectExact(Parse(text), true);
}

TEST(Reindent, OtherDocumentsAreLeftToTheFormatter) {
  const char* other[] = {
      "<a>text<b/>tail</a>",           // mixed content
      "<a><!-- note --><b/></a>",      // a comment
      "<a><?pi data?></a>",            // a processing instruction
      "<a x=\"&#34;\"/><!-- end -->",  // a node after the root
      "<?xml version=\"1.0\" standalone=\"yes\"?><a/>",
  };
  for (const char* text : other) ExpectExact(Parse(text), false);
}

TEST(Reindent, GeneratedDocumentsAgreeWithTheFormatter) {
  std::mt19937 random(20240315);
  const std::string alphabet[] = {"a", "Z", "0", " ", "<", ">", "&", "\"", "'", "\t", "\n", "\r", "ą", "€", "&#13;"};
  auto value = [&](int length) {
    std::string out;
    for (int i = 0; i < length; ++i) {
      const std::string& piece = alphabet[random() % std::size(alphabet)];
      if (piece == "<")
        out += "&lt;";
      else if (piece == "&")
        out += "&amp;";
      else if (piece == "\"")
        out += "&quot;";
      else if (piece == "\r")
        out += "&#13;";
      else
        out += piece;
    }
    return out;
  };
  for (int doc = 0; doc < 100; ++doc) {
    std::string text = "<r xmlns=\"urn:r\" xmlns:q=\"urn:q\">";
    int rows = 1 + static_cast<int>(random() % 6);
    for (int row = 0; row < rows; ++row) {
      bool prefixed = random() % 3 == 0;
      text += prefixed ? "<q:w a=\"" + value(4) + "\">" : "<w>";
      int fields = static_cast<int>(random() % 5);
      for (int f = 0; f < fields; ++f) {
        std::string name = "K_" + std::to_string(10 + f);
        if (random() % 4 == 0)
          text += "<" + name + "/>";
        else
          text += "<" + name + ">" + value(1 + static_cast<int>(random() % 8)) + "</" + name + ">";
      }
      text += prefixed ? "</q:w>" : "</w>";
    }
    text += "</r>";
    ExpectExact(Parse(text), true);
  }
}
