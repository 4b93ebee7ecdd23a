// The typed JPK_FA(4) document: node classes TXML... (aliases IXML...) declared from the
// tables of JpkFASchema.h, leaves first, and the entry functions NewJpkFA / LoadJpkFA.
#pragma once

#include <string>
#include <string_view>

#include "model/fa/JpkFASchema.h"
#include "model/xml/XmlBinding.h"
#include "model/xml/XmlProperties.h"

namespace velkar::fa {

using xml::TXMLNode;

// The JPK_FA(4) namespace and the common definitions it uses (2018/08/24).
inline constexpr const char* kTargetNamespace = "http://jpk.mf.gov.pl/wzor/2022/02/17/02171/";
inline constexpr const char* kEtdNamespace = "http://crd.gov.pl/xml/schematy/dziedzinowe/mf/2018/08/24/eD/DefinicjeTypy/";

VELKAR_XML_TYPE(TNaglowek_KodFormularza, TXMLNode, "KodFormularza", VELKAR_FA_TNaglowek_KodFormularza);
VELKAR_XML_TYPE(TNaglowek, TXMLNode, "Naglowek", VELKAR_FA_TNaglowek);
VELKAR_XML_TYPE(JPK_Naglowek, TXMLTNaglowek, "Naglowek", VELKAR_XML_NO_PROPERTIES);

VELKAR_XML_TYPE(TIdentyfikatorOsobyNiefizycznej1, TXMLNode, "IdentyfikatorPodmiotu",
                VELKAR_FA_TIdentyfikatorOsobyNiefizycznej1);
VELKAR_XML_TYPE(TAdresPolski1_etd, TXMLNode, "AdresPodmiotu", VELKAR_FA_TAdresPolski1_etd);
VELKAR_XML_TYPE(TAdresZagraniczny_etd, TXMLNode, "AdresPodmiotu2", VELKAR_FA_TAdresZagraniczny_etd);
VELKAR_XML_TYPE(JPK_Podmiot1, TXMLNode, "Podmiot1", VELKAR_FA_JPK_Podmiot1);

VELKAR_XML_TYPE(JPK_Faktura, TXMLNode, "Faktura", VELKAR_FA_JPK_Faktura);
VELKAR_XML_LIST_TYPE(JPK_Faktura);
VELKAR_XML_TYPE(JPK_FakturaCtrl, TXMLNode, "FakturaCtrl", VELKAR_FA_JPK_FakturaCtrl);
VELKAR_XML_TYPE(JPK_FakturaWiersz, TXMLNode, "FakturaWiersz", VELKAR_FA_JPK_FakturaWiersz);
VELKAR_XML_LIST_TYPE(JPK_FakturaWiersz);
VELKAR_XML_TYPE(JPK_FakturaWierszCtrl, TXMLNode, "FakturaWierszCtrl", VELKAR_FA_JPK_FakturaWierszCtrl);
VELKAR_XML_TYPE(JPK_Zamowienie_ZamowienieWiersz, TXMLNode, "ZamowienieWiersz",
                VELKAR_FA_JPK_Zamowienie_ZamowienieWiersz);
VELKAR_XML_LIST_TYPE(JPK_Zamowienie_ZamowienieWiersz);
VELKAR_XML_TYPE(JPK_Zamowienie, TXMLNode, "Zamowienie", VELKAR_FA_JPK_Zamowienie);
VELKAR_XML_LIST_TYPE(JPK_Zamowienie);
VELKAR_XML_TYPE(JPK_ZamowienieCtrl, TXMLNode, "ZamowienieCtrl", VELKAR_FA_JPK_ZamowienieCtrl);

VELKAR_XML_TYPE(JPKFA, TXMLNode, "JPK", VELKAR_FA_JPK);

// A new empty JPK_FA(4) document: version 1.0, root JPK in the JPK_FA(4) namespace without
// prefix; "etd" is declared on the root with kEtdNamespace when first needed.
IXMLJPKFA NewJpkFA();
// Loads a file (safe parse); the root element is taken as it is. Raises EXMLDocError.
IXMLJPKFA LoadJpkFA(const std::string& fileName);
IXMLJPKFA LoadJpkFAFromXML(std::string_view xml);
IXMLJPKFA GetJpkFA(const xml::IXMLDocument& document);

}  // namespace velkar::fa
