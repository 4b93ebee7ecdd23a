// The table of the JPK structures.
#include "jpkfiles/JpkStructures.h"

#include "model/fa/JpkFA.h"
#include "model/kr/JpkKR.h"
#include "model/mag/JpkMAG.h"
#include "model/v7m/JpkV7.h"

namespace velkar {

namespace {
// JPK_V7M(3) keeps its newer common definitions apart, under a catalog of its own.
const JpkStructure kStructures[] = {
    {JpkKind::V7M, "JPK_V7M (2)", v7m::kTargetNamespace, v7m::kEtdNamespace, "v7m2/Schemat_JPK_V7M(2)_v1-0E.xsd",
     "catalog.xml"},
    {JpkKind::V7M, "JPK_V7M (3)", v7m::kTargetNamespace3, v7m::kEtdNamespace3, "v7m3/Schemat_JPK_V7M(3)_v1-0E.xsd",
     "v7m3/catalog.xml"},
    {JpkKind::FA, "JPK_FA (4)", fa::kTargetNamespace, fa::kEtdNamespace, "fa4/Schemat_JPK_FA(4)_v1-0.xsd",
     "catalog.xml"},
    {JpkKind::MAG, "JPK_MAG (1)", mag::kTargetNamespace, mag::kEtdNamespace, "mag1/Schemat_JPK_MAG(1)_v1-0.xsd",
     "catalog.xml"},
    {JpkKind::KR, "JPK_KR (1)", kr::kTargetNamespace, kr::kEtdNamespace, "kr1/Schemat_JPK_KR(1)_v1-0.xsd",
     "catalog.xml"},
};
}  // namespace

const JpkStructure& StructureOf(JpkKind kind) {
  for (const auto& s : kStructures)
    if (s.kind == kind) return s;
  return kStructures[0];
}

const JpkStructure& StructureOf(v7m::V7Structure structure) {
  return *FindJpkStructure(v7m::TargetNamespace(structure));
}

const JpkStructure* FindJpkStructure(std::string_view namespaceUri) {
  for (const auto& s : kStructures)
    if (namespaceUri == s.namespaceUri) return &s;
  return nullptr;
}

}  // namespace velkar
