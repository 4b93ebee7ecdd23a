// The typed JPK_MAG(1) document: node classes TXML... (aliases IXML...) declared from the
// tables of JpkMAGSchema.h, leaves first, and the entry functions NewJpkMAG / LoadJpkMAG.
#pragma once

#include <string>
#include <string_view>

#include "model/mag/JpkMAGSchema.h"
#include "model/xml/XmlBinding.h"
#include "model/xml/XmlProperties.h"

namespace velkar::mag {

using xml::TXMLNode;

// The JPK_MAG(1) namespace, the common definitions it uses (2016/01/25) and the XML Schema
// instance namespace the file services declare as "xsi".
inline constexpr const char* kTargetNamespace = "http://jpk.mf.gov.pl/wzor/2016/03/09/03093/";
inline constexpr const char* kEtdNamespace = "http://crd.gov.pl/xml/schematy/dziedzinowe/mf/2016/01/25/eD/DefinicjeTypy/";
inline constexpr const char* kXsiNamespace = "http://www.w3.org/2001/XMLSchema-instance";

VELKAR_XML_TYPE(TNaglowek_KodFormularza, TXMLNode, "KodFormularza", VELKAR_MAG_TNaglowek_KodFormularza);
VELKAR_XML_TYPE(TNaglowek, TXMLNode, "Naglowek", VELKAR_MAG_TNaglowek);

VELKAR_XML_TYPE(TIdentyfikatorOsobyNiefizycznej_etd, TXMLNode, "IdentyfikatorPodmiotu",
                VELKAR_MAG_TIdentyfikatorOsobyNiefizycznej_etd);
VELKAR_XML_TYPE(TAdresPolski_etd, TXMLNode, "AdresPodmiotu", VELKAR_MAG_TAdresPolski_etd);
VELKAR_XML_TYPE(JPK_Podmiot1, TXMLNode, "Podmiot1", VELKAR_MAG_JPK_Podmiot1);

VELKAR_XML_TYPE(JPK_PZ_PZWartosc, TXMLNode, "PZWartosc", VELKAR_MAG_JPK_PZ_PZWartosc);
VELKAR_XML_LIST_TYPE(JPK_PZ_PZWartosc);
VELKAR_XML_TYPE(JPK_PZ_PZWiersz, TXMLNode, "PZWiersz", VELKAR_MAG_JPK_PZ_PZWiersz);
VELKAR_XML_LIST_TYPE(JPK_PZ_PZWiersz);
VELKAR_XML_TYPE(JPK_PZ_PZCtrl, TXMLNode, "PZCtrl", VELKAR_MAG_JPK_PZ_PZCtrl);
VELKAR_XML_TYPE(JPK_PZ, TXMLNode, "PZ", VELKAR_MAG_JPK_PZ);

VELKAR_XML_TYPE(JPK_WZ_WZWartosc, TXMLNode, "WZWartosc", VELKAR_MAG_JPK_WZ_WZWartosc);
VELKAR_XML_LIST_TYPE(JPK_WZ_WZWartosc);
VELKAR_XML_TYPE(JPK_WZ_WZWiersz, TXMLNode, "WZWiersz", VELKAR_MAG_JPK_WZ_WZWiersz);
VELKAR_XML_LIST_TYPE(JPK_WZ_WZWiersz);
VELKAR_XML_TYPE(JPK_WZ_WZCtrl, TXMLNode, "WZCtrl", VELKAR_MAG_JPK_WZ_WZCtrl);
VELKAR_XML_TYPE(JPK_WZ, TXMLNode, "WZ", VELKAR_MAG_JPK_WZ);

VELKAR_XML_TYPE(JPK_RW_RWWartosc, TXMLNode, "RWWartosc", VELKAR_MAG_JPK_RW_RWWartosc);
VELKAR_XML_LIST_TYPE(JPK_RW_RWWartosc);
VELKAR_XML_TYPE(JPK_RW_RWWiersz, TXMLNode, "RWWiersz", VELKAR_MAG_JPK_RW_RWWiersz);
VELKAR_XML_LIST_TYPE(JPK_RW_RWWiersz);
VELKAR_XML_TYPE(JPK_RW_RWCtrl, TXMLNode, "RWCtrl", VELKAR_MAG_JPK_RW_RWCtrl);
VELKAR_XML_TYPE(JPK_RW, TXMLNode, "RW", VELKAR_MAG_JPK_RW);

VELKAR_XML_TYPE(JPK_MM_MMWartosc, TXMLNode, "MMWartosc", VELKAR_MAG_JPK_MM_MMWartosc);
VELKAR_XML_LIST_TYPE(JPK_MM_MMWartosc);
VELKAR_XML_TYPE(JPK_MM_MMWiersz, TXMLNode, "MMWiersz", VELKAR_MAG_JPK_MM_MMWiersz);
VELKAR_XML_LIST_TYPE(JPK_MM_MMWiersz);
VELKAR_XML_TYPE(JPK_MM_MMCtrl, TXMLNode, "MMCtrl", VELKAR_MAG_JPK_MM_MMCtrl);
VELKAR_XML_TYPE(JPK_MM, TXMLNode, "MM", VELKAR_MAG_JPK_MM);

VELKAR_XML_TYPE(JPKMAG, TXMLNode, "JPK", VELKAR_MAG_JPK);

// A new empty JPK_MAG(1) document: version 1.0, root JPK in the JPK_MAG(1) namespace
// without prefix; "etd" is declared on the root with kEtdNamespace when first needed.
IXMLJPKMAG NewJpkMAG();
// Loads a file (safe parse); the root element is taken as it is. Raises EXMLDocError.
IXMLJPKMAG LoadJpkMAG(const std::string& fileName);
IXMLJPKMAG LoadJpkMAGFromXML(std::string_view xml);
IXMLJPKMAG GetJpkMAG(const xml::IXMLDocument& document);

}  // namespace velkar::mag
