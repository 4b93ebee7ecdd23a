// The file services the editor uses: the current file name, document preparation,
// namespace-prefix check, node copying and the reformat after save.
#pragma once

#include <string>

#include "model/v7m/JpkV7.h"

namespace velkar {

const std::string& CurrentJpkFileName();
void SetCurrentJpkFileName(const std::string& name);

void InitJpkV7Doc(const v7m::IXMLJPK& doc);
void CheckJpkV7Prefixes(v7m::IXMLJPK& doc, const std::string& fileName);
void ReformatJpkV7File(v7m::IXMLJPK& doc, const std::string& fileName);
xml::TXMLNode CloneJpkNode(const xml::IXMLDocument& targetDoc, const std::string& namespaceURI,
                           const xml::TXMLNode& source, bool deep);
void CopyJpkNodes(const xml::IXMLDocument& targetDoc, const std::string& namespaceURI, const xml::TXMLNode& target,
                  const xml::TXMLNode& source);

}  // namespace velkar
