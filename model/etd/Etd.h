// The common-definitions (etd) type the JPK_V7M(2) binding takes over: the identity of a
// natural person. Its children are in the etd namespace: written as "etd:NIP" and so on
// (the prefix the document declares), read at their schema positions.
#pragma once

#include "model/xml/XmlProperties.h"

namespace velkar::etd {

// TIdentyfikatorOsobyFizycznej2 (used as JPK/Podmiot1/OsobaFizyczna)
#define VELKAR_ETD_TIdentyfikatorOsobyFizycznej2(P) \
  P(Etd, NIP, 0)                                    \
  P(Etd, ImiePierwsze, 1)                           \
  P(Etd, Nazwisko, 2)                               \
  P(Etd, DataUrodzenia, 3)

VELKAR_XML_TYPE(TIdentyfikatorOsobyFizycznej2, ::velkar::xml::TXMLNode, "OsobaFizyczna",
                VELKAR_ETD_TIdentyfikatorOsobyFizycznej2);

}  // namespace velkar::etd
