// The four JPK structures the program writes: their published namespaces, the common
// definitions (etd) namespace each one imports, and the schema file that checks it.
#pragma once

#include <string>
#include <string_view>

namespace velkar {

enum class JpkKind { V7M, FA, MAG, KR };

// Target namespaces of the published schemas, stored whole.
inline constexpr const char* kJpkV7Namespace = "http://crd.gov.pl/wzor/2021/12/27/11148/";
inline constexpr const char* kJpkFANamespace = "http://jpk.mf.gov.pl/wzor/2022/02/17/02171/";
inline constexpr const char* kJpkMAGNamespace = "http://jpk.mf.gov.pl/wzor/2016/03/09/03093/";
inline constexpr const char* kJpkKRNamespace = "http://jpk.mf.gov.pl/wzor/2016/03/09/03091/";

// Common definitions (prefix etd) imported by each schema.
inline constexpr const char* kEtdV7Namespace =
    "http://crd.gov.pl/xml/schematy/dziedzinowe/mf/2021/06/08/eD/DefinicjeTypy/";
inline constexpr const char* kEtdFANamespace =
    "http://crd.gov.pl/xml/schematy/dziedzinowe/mf/2018/08/24/eD/DefinicjeTypy/";
inline constexpr const char* kEtdMAGKRNamespace =
    "http://crd.gov.pl/xml/schematy/dziedzinowe/mf/2016/01/25/eD/DefinicjeTypy/";

inline constexpr const char* kXsiNamespace = "http://www.w3.org/2001/XMLSchema-instance";

struct JpkStructure {
  JpkKind kind;
  const char* systemCode;    // kodSystemowy: "JPK_V7M (2)"
  const char* namespaceUri;  // target namespace
  const char* etdNamespace;  // common definitions namespace
  const char* schemaFile;    // path of the main schema inside the schema folder
};

const JpkStructure& StructureOf(JpkKind kind);
// The structure whose target namespace is `namespaceUri`, or nullptr.
const JpkStructure* FindJpkStructure(std::string_view namespaceUri);

}  // namespace velkar
