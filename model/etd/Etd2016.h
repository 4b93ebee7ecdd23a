// The common-definitions (etd) types of 2016/01/25 that JPK_KR(1) and JPK_MAG(1) both use
// for JPK/Podmiot1: the identity of a legal person and a Polish address. Their children are
// in the etd namespace: written as "etd:NIP" and so on (the prefix the document declares),
// read at their schema positions.
#pragma once

#include "model/xml/XmlProperties.h"

namespace velkar::etd2016 {

// The common definitions of 2016/01/25 (eD/DefinicjeTypy).
inline constexpr const char* kNamespace = "http://crd.gov.pl/xml/schematy/dziedzinowe/mf/2016/01/25/eD/DefinicjeTypy/";

// TIdentyfikatorOsobyNiefizycznej (used as JPK/Podmiot1/IdentyfikatorPodmiotu)
#define VELKAR_ETD2016_TIdentyfikatorOsobyNiefizycznej(P) \
  P(Etd, NIP, 0)                                          \
  P(Etd, PelnaNazwa, 1)                                   \
  P(Etd, REGON, 2)

// TAdresPolski (used as JPK/Podmiot1/AdresPodmiotu)
#define VELKAR_ETD2016_TAdresPolski(P) \
  P(Etd, KodKraju, 0)                  \
  P(Etd, Wojewodztwo, 1)               \
  P(Etd, Powiat, 2)                    \
  P(Etd, Gmina, 3)                     \
  P(Etd, Ulica, 4)                     \
  P(Etd, NrDomu, 5)                    \
  P(Etd, NrLokalu, 6)                  \
  P(Etd, Miejscowosc, 7)               \
  P(Etd, KodPocztowy, 8)               \
  P(Etd, Poczta, 9)

VELKAR_XML_TYPE(TIdentyfikatorOsobyNiefizycznej_etd, ::velkar::xml::TXMLNode, "IdentyfikatorPodmiotu",
                VELKAR_ETD2016_TIdentyfikatorOsobyNiefizycznej);
VELKAR_XML_TYPE(TAdresPolski_etd, ::velkar::xml::TXMLNode, "AdresPodmiotu", VELKAR_ETD2016_TAdresPolski);

}  // namespace velkar::etd2016
