// The typed JPK_KR(1) document: node classes TXML... (aliases IXML...) declared from the
// tables of JpkKRSchema.h, leaves first, and the entry functions NewJpkKR / LoadJpkKR.
#pragma once

#include <string>
#include <string_view>

#include "model/kr/JpkKRSchema.h"
#include "model/xml/XmlBinding.h"
#include "model/xml/XmlProperties.h"

namespace velkar::kr {

using xml::TXMLNode;

// The JPK_KR(1) namespace, the common definitions it uses (2016/01/25) and the XML Schema
// instance namespace the file services declare as "xsi".
inline constexpr const char* kTargetNamespace = "http://jpk.mf.gov.pl/wzor/2016/03/09/03091/";
inline constexpr const char* kEtdNamespace = "http://crd.gov.pl/xml/schematy/dziedzinowe/mf/2016/01/25/eD/DefinicjeTypy/";
inline constexpr const char* kXsiNamespace = "http://www.w3.org/2001/XMLSchema-instance";

VELKAR_XML_TYPE(TNaglowek_KodFormularza, TXMLNode, "KodFormularza", VELKAR_KR_TNaglowek_KodFormularza);
VELKAR_XML_TYPE(TNaglowek, TXMLNode, "Naglowek", VELKAR_KR_TNaglowek);

VELKAR_XML_TYPE(TIdentyfikatorOsobyNiefizycznej_etd, TXMLNode, "IdentyfikatorPodmiotu",
                VELKAR_KR_TIdentyfikatorOsobyNiefizycznej_etd);
VELKAR_XML_TYPE(TAdresPolski_etd, TXMLNode, "AdresPodmiotu", VELKAR_KR_TAdresPolski_etd);
VELKAR_XML_TYPE(JPK_Podmiot1, TXMLNode, "Podmiot1", VELKAR_KR_JPK_Podmiot1);

VELKAR_XML_TYPE(JPK_ZOiS, TXMLNode, "ZOiS", VELKAR_KR_JPK_ZOiS);
VELKAR_XML_LIST_TYPE(JPK_ZOiS);
VELKAR_XML_TYPE(JPK_Dziennik, TXMLNode, "Dziennik", VELKAR_KR_JPK_Dziennik);
VELKAR_XML_LIST_TYPE(JPK_Dziennik);
VELKAR_XML_TYPE(JPK_DziennikCtrl, TXMLNode, "DziennikCtrl", VELKAR_KR_JPK_DziennikCtrl);
VELKAR_XML_TYPE(JPK_KontoZapis, TXMLNode, "KontoZapis", VELKAR_KR_JPK_KontoZapis);
VELKAR_XML_LIST_TYPE(JPK_KontoZapis);
VELKAR_XML_TYPE(JPK_KontoZapisCtrl, TXMLNode, "KontoZapisCtrl", VELKAR_KR_JPK_KontoZapisCtrl);

VELKAR_XML_TYPE(JPKKR, TXMLNode, "JPK", VELKAR_KR_JPK);

// A new empty JPK_KR(1) document: version 1.0, root JPK in the JPK_KR(1) namespace without
// prefix; "etd" is declared on the root with kEtdNamespace when first needed.
IXMLJPKKR NewJpkKR();
// Loads a file (safe parse); the root element is taken as it is. Raises EXMLDocError.
IXMLJPKKR LoadJpkKR(const std::string& fileName);
IXMLJPKKR LoadJpkKRFromXML(std::string_view xml);
IXMLJPKKR GetJpkKR(const xml::IXMLDocument& document);

}  // namespace velkar::kr
