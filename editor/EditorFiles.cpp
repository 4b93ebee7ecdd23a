// Stand-ins for the file services until they are merged in.
#include "editor/EditorFiles.h"

#include "jpkfiles/XmlFiles.h"

namespace velkar {

namespace {
std::string gCurrent = "nowy plik";
}

const std::string& CurrentJpkFileName() { return gCurrent; }
void SetCurrentJpkFileName(const std::string& name) { gCurrent = name; }

void InitJpkV7Doc(const v7m::IXMLJPK& doc) {
  auto document = doc.OwnerDocument();
  if (doc.FindNamespaceURI("etd") != v7m::kEtdNamespace) doc.DeclareNamespace("etd", v7m::kEtdNamespace);
  if (document->Encoding() != "UTF-8") document->SetEncoding("UTF-8");
  document->SetNodeIndentStr("\t");
}

void CheckJpkV7Prefixes(v7m::IXMLJPK& doc, const std::string&) { InitJpkV7Doc(doc); }

void ReformatJpkV7File(v7m::IXMLJPK& doc, const std::string& fileName) {
  ReformatXmlFile(fileName);
  doc = v7m::LoadJpkV7(fileName);
}

xml::TXMLNode CloneJpkNode(const xml::IXMLDocument& targetDoc, const std::string& namespaceURI,
                           const xml::TXMLNode& source, bool) {
  xml::TXMLNode copy = targetDoc->CreateElement(source.LocalName(), source.NamespaceURI() == namespaceURI ? namespaceURI : source.NamespaceURI());
  for (const char* name : {"rola", "kodSystemowy", "wersjaSchemy", "poz"})
    if (source.HasAttribute(name)) copy.SetAttribute(name, source.GetAttribute(name));
  return copy;
}

void CopyJpkNodes(const xml::IXMLDocument& targetDoc, const std::string& namespaceURI, const xml::TXMLNode& target,
                  const xml::TXMLNode& source) {
  for (xml::TXMLNode child : source.ChildNodes()) {
    if (child.NodeType() == xml::ntElement) {
      xml::TXMLNode copy = CloneJpkNode(targetDoc, namespaceURI, child, false);
      target.ChildNodes().Add(copy);
      CopyJpkNodes(targetDoc, namespaceURI, copy, child);
    } else if (child.NodeType() == xml::ntText) {
      target.ChildNodes().Add(targetDoc->CreateTextNode(child.Text()));
    }
  }
}

}  // namespace velkar
