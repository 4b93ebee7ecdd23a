// The typed JPK_V7M document, JPK_V7M(2) and JPK_V7M(3) alike: node classes TXML... (aliases
// IXML...) declared from the tables of JpkV7Schema.h, leaves first, and the entry functions
// NewJpkV7 / LoadJpkV7. A document's structure is its root's namespace.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/etd/Etd.h"
#include "model/v7m/JpkV7Schema.h"
#include "model/xml/XmlBinding.h"
#include "model/xml/XmlProperties.h"

namespace velkar::v7m {

using xml::TXMLNode;

// The JPK_V7M(2) namespace (target namespace of the 1-0E schema) and its common definitions.
inline constexpr const char* kTargetNamespace = "http://crd.gov.pl/wzor/2021/12/27/11148/";
inline constexpr const char* kEtdNamespace = "http://crd.gov.pl/xml/schematy/dziedzinowe/mf/2021/06/08/eD/DefinicjeTypy/";
// JPK_V7M(3), for periods from February 2026, and its common definitions.
inline constexpr const char* kTargetNamespace3 = "http://crd.gov.pl/wzor/2025/12/19/14090/";
inline constexpr const char* kEtdNamespace3 = "http://crd.gov.pl/xml/schematy/dziedzinowe/mf/2022/09/13/eD/DefinicjeTypy/";
// The earlier publication of JPK_V7M(2): the same structure under another namespace.
inline constexpr const char* kTargetNamespace07081 = "http://crd.gov.pl/wzor/2021/07/08/07081/";

enum class V7Structure { V2, V3 };  // JPK_V7M (2), JPK_V7M (3)

const char* TargetNamespace(V7Structure structure);
const char* EtdNamespace(V7Structure structure);
const char* SystemCode(V7Structure structure);  // "JPK_V7M (2)", "JPK_V7M (3)"

VELKAR_XML_TYPE(TNaglowek_KodFormularza, TXMLNode, "KodFormularza", VELKAR_V7M_TNaglowek_KodFormularza);
VELKAR_XML_TYPE(TNaglowek_CelZlozenia, TXMLNode, "CelZlozenia", VELKAR_V7M_TNaglowek_CelZlozenia);
VELKAR_XML_TYPE(TNaglowek, TXMLNode, "Naglowek", VELKAR_V7M_TNaglowek);
VELKAR_XML_TYPE(JPK_Naglowek, TXMLTNaglowek, "Naglowek", VELKAR_XML_NO_PROPERTIES);

VELKAR_XML_TYPE(TPodmiotDowolnyBezAdresu_OsobaFizyczna, etd::TXMLTIdentyfikatorOsobyFizycznej2, "OsobaFizyczna",
                VELKAR_V7M_TPodmiotDowolnyBezAdresu_OsobaFizyczna);
VELKAR_XML_TYPE(TIdentyfikatorOsobyNiefizycznej, TXMLNode, "OsobaNiefizyczna",
                VELKAR_V7M_TIdentyfikatorOsobyNiefizycznej);
VELKAR_XML_TYPE(TPodmiotDowolnyBezAdresu_OsobaNiefizyczna, TXMLTIdentyfikatorOsobyNiefizycznej, "OsobaNiefizyczna",
                VELKAR_V7M_TPodmiotDowolnyBezAdresu_OsobaNiefizyczna);
VELKAR_XML_TYPE(TPodmiotDowolnyBezAdresu, TXMLNode, "Podmiot1", VELKAR_V7M_TPodmiotDowolnyBezAdresu);
VELKAR_XML_TYPE(JPK_Podmiot1, TXMLTPodmiotDowolnyBezAdresu, "Podmiot1", VELKAR_V7M_JPK_Podmiot1);

VELKAR_XML_TYPE(JPK_Deklaracja_Naglowek_KodFormularzaDekl, TXMLNode, "KodFormularzaDekl",
                VELKAR_V7M_JPK_Deklaracja_Naglowek_KodFormularzaDekl);
VELKAR_XML_TYPE(JPK_Deklaracja_Naglowek, TXMLNode, "Naglowek", VELKAR_V7M_JPK_Deklaracja_Naglowek);
VELKAR_XML_TYPE(JPK_Deklaracja_PozycjeSzczegolowe, TXMLNode, "PozycjeSzczegolowe",
                VELKAR_V7M_JPK_Deklaracja_PozycjeSzczegolowe);
VELKAR_XML_TYPE(JPK_Deklaracja, TXMLNode, "Deklaracja", VELKAR_V7M_JPK_Deklaracja);

VELKAR_XML_TYPE(JPK_Ewidencja_SprzedazWiersz, TXMLNode, "SprzedazWiersz", VELKAR_V7M_JPK_Ewidencja_SprzedazWiersz);
VELKAR_XML_LIST_TYPE(JPK_Ewidencja_SprzedazWiersz);
VELKAR_XML_TYPE(JPK_Ewidencja_SprzedazCtrl, TXMLNode, "SprzedazCtrl", VELKAR_V7M_JPK_Ewidencja_SprzedazCtrl);
VELKAR_XML_TYPE(JPK_Ewidencja_ZakupWiersz, TXMLNode, "ZakupWiersz", VELKAR_V7M_JPK_Ewidencja_ZakupWiersz);
VELKAR_XML_LIST_TYPE(JPK_Ewidencja_ZakupWiersz);
VELKAR_XML_TYPE(JPK_Ewidencja_ZakupCtrl, TXMLNode, "ZakupCtrl", VELKAR_V7M_JPK_Ewidencja_ZakupCtrl);
VELKAR_XML_TYPE(JPK_Ewidencja, TXMLNode, "Ewidencja", VELKAR_V7M_JPK_Ewidencja);

VELKAR_XML_TYPE(JPK, TXMLNode, "JPK", VELKAR_V7M_JPK);

// A new empty JPK_V7M document of `structure`: version 1.0, root JPK in its namespace
// (default namespace, no prefix). "etd" elements written before the file services declare
// the prefix get it declared on the root with the structure's etd namespace.
IXMLJPK NewJpkV7(V7Structure structure = V7Structure::V2);
// The structure of a JPK_V7M root by its namespace; nullopt for any other namespace (the
// 07081 publication included: the file services rename it when opening such a file).
std::optional<V7Structure> StructureOfJpkV7(const xml::TXMLNode& root);
// Loads a file (safe parse, see TXMLDocument::LoadFromFile); the root element is taken
// as it is, whatever its name or namespace. Raises EXMLDocError.
IXMLJPK LoadJpkV7(const std::string& fileName);
IXMLJPK LoadJpkV7FromXML(std::string_view xml);
// The typed root of a document (for documents the file services made or reloaded); "etd"
// is registered with the etd namespace of the root's structure.
IXMLJPK GetJpkV7(const xml::IXMLDocument& document);

}  // namespace velkar::v7m
