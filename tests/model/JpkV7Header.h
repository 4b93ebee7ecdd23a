// The JPK_V7M(2) header as the file services write it, shared by the binding's tests and
// the model benchmark so that both build the same document.
#pragma once

#include "model/v7m/JpkV7.h"

namespace velkar::test {

// Declares "etd" on the root and fills Naglowek: JPK_VAT, system code "JPK_V7M (2)", schema
// 1-0E, variant 2, purpose 1 (P_7), office 1471, March 2024, system "Velkar".
inline void FillV7Naglowek(const v7m::IXMLJPK& jpk) {
  jpk.OwnerDocument()->DocumentElement().DeclareNamespace("etd", v7m::kEtdNamespace);
  v7m::IXMLJPK_Naglowek h = jpk.Naglowek();
  h.KodFormularza().SetText("JPK_VAT");
  h.KodFormularza().Set_kodSystemowy("JPK_V7M (2)");
  h.KodFormularza().Set_wersjaSchemy("1-0E");
  h.Set_WariantFormularza(2);
  h.Set_DataWytworzeniaJPK("2024-04-02T09:05:07");
  h.Set_NazwaSystemu("Velkar");
  h.CelZlozenia().Set_poz("P_7");
  h.CelZlozenia().SetText("1");
  h.Set_KodUrzedu("1471");
  h.Set_Rok("2024");
  h.Set_Miesiac(3);
}

}  // namespace velkar::test
