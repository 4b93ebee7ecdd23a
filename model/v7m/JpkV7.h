// The typed JPK_V7M(2) document: node classes TXML... (aliases IXML...) declared from the
// tables of JpkV7Schema.h, leaves first, and the entry functions NewJpkV7 / LoadJpkV7.
#pragma once

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

// A new empty JPK_V7M(2) document: version 1.0, root JPK in the JPK_V7M(2) namespace
// (default namespace, no prefix). "etd" elements written before the file services declare
// the prefix get it declared on the root with kEtdNamespace.
IXMLJPK NewJpkV7();
// Loads a file (safe parse, see TXMLDocument::LoadFromFile); the root element is taken
// as it is, whatever its name or namespace. Raises EXMLDocError.
IXMLJPK LoadJpkV7(const std::string& fileName);
IXMLJPK LoadJpkV7FromXML(std::string_view xml);
// The typed root of a document (for documents the file services made or reloaded).
IXMLJPK GetJpkV7(const xml::IXMLDocument& document);

}  // namespace velkar::v7m
