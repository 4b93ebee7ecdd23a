// The JPK structures the program writes: system code, namespaces (those of the typed model)
// and the schema file that checks each, with the catalog that resolves its imports.
#pragma once

#include <string_view>

#include "model/v7m/JpkV7.h"

namespace velkar {

enum class JpkKind { V7M, FA, MAG, KR };

struct JpkStructure {
  JpkKind kind;
  const char* systemCode;    // kodSystemowy: "JPK_V7M (2)"
  const char* namespaceUri;  // target namespace
  const char* etdNamespace;  // common definitions namespace (prefix etd)
  const char* schemaFile;    // main schema, relative to the schema folder
  const char* catalogFile;   // the catalog its compilation resolves through, likewise
};

// The structure of a kind; for JPK_V7M that of JPK_V7M(2).
const JpkStructure& StructureOf(JpkKind kind);
const JpkStructure& StructureOf(v7m::V7Structure structure);
// The structure whose target namespace is `namespaceUri`, or nullptr.
const JpkStructure* FindJpkStructure(std::string_view namespaceUri);

}  // namespace velkar
