// The four JPK structures the program writes: system code, namespaces (those of the typed
// model) and the schema file that checks each.
#pragma once

#include <string_view>

namespace velkar {

enum class JpkKind { V7M, FA, MAG, KR };

struct JpkStructure {
  JpkKind kind;
  const char* systemCode;    // kodSystemowy: "JPK_V7M (2)"
  const char* namespaceUri;  // target namespace
  const char* etdNamespace;  // common definitions namespace (prefix etd)
  const char* schemaFile;    // main schema, relative to the schema folder
};

const JpkStructure& StructureOf(JpkKind kind);
// The structure whose target namespace is `namespaceUri`, or nullptr.
const JpkStructure* FindJpkStructure(std::string_view namespaceUri);

}  // namespace velkar
