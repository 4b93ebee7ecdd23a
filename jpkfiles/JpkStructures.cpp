// The table of the JPK structures.
#include "jpkfiles/JpkStructures.h"

namespace velkar {

namespace {
const JpkStructure kStructures[] = {
    {JpkKind::V7M, "JPK_V7M (2)", kJpkV7Namespace, kEtdV7Namespace, "v7m2/Schemat_JPK_V7M(2)_v1-0E.xsd"},
    {JpkKind::FA, "JPK_FA (4)", kJpkFANamespace, kEtdFANamespace, "fa4/Schemat_JPK_FA(4)_v1-0.xsd"},
    {JpkKind::MAG, "JPK_MAG (1)", kJpkMAGNamespace, kEtdMAGKRNamespace, "mag1/Schemat_JPK_MAG(1)_v1-0.xsd"},
    {JpkKind::KR, "JPK_KR (1)", kJpkKRNamespace, kEtdMAGKRNamespace, "kr1/Schemat_JPK_KR(1)_v1-0.xsd"},
};
}  // namespace

const JpkStructure& StructureOf(JpkKind kind) {
  for (const auto& s : kStructures)
    if (s.kind == kind) return s;
  return kStructures[0];
}

const JpkStructure* FindJpkStructure(std::string_view namespaceUri) {
  for (const auto& s : kStructures)
    if (namespaceUri == s.namespaceUri) return &s;
  return nullptr;
}

}  // namespace velkar
