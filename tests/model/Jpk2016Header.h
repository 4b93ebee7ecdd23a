// The header and taxpayer of a 2016 JPK file (JPK_KR(1), JPK_MAG(1)) as the file services
// write them: both schemas share TNaglowek and Podmiot1 with its etd identity and address.
#pragma once

#include <string>

#include "model/etd/Etd2016.h"
#include "model/xml/XmlNode.h"

namespace velkar::test {

// Declares "etd" (2016/01/25) and "xsi" on the root; fills Naglowek for `form` ("JPK_KR":
// system code "JPK_KR (1)", schema 1-0, office 1471) over `dataOd`..`dataDo`, and Podmiot1
// as the company `name` at a Warszawa address without street or flat number. `Jpk` is the
// typed root of either document.
template <class Jpk>
void FillHeader2016(const Jpk& jpk, const std::string& form, const std::string& dataOd, const std::string& dataDo,
                    const std::string& name) {
  xml::TXMLNode root = jpk.OwnerDocument()->DocumentElement();
  root.DeclareNamespace("etd", etd2016::kNamespace);
  root.DeclareNamespace("xsi", "http://www.w3.org/2001/XMLSchema-instance");
  auto h = jpk.Naglowek();
  h.KodFormularza().SetText(form);
  h.KodFormularza().Set_kodSystemowy(form + " (1)");
  h.KodFormularza().Set_wersjaSchemy("1-0");
  h.Set_WariantFormularza(1);
  h.Set_CelZlozenia(1);
  h.Set_DataWytworzeniaJPK("2024-04-02T09:05:07");
  h.Set_DataOd(dataOd);
  h.Set_DataDo(dataDo);
  h.Set_DomyslnyKodWaluty("PLN");
  h.Set_KodUrzedu(1471);
  auto p = jpk.Podmiot1();
  p.IdentyfikatorPodmiotu().Set_NIP("5261040828");
  p.IdentyfikatorPodmiotu().Set_PelnaNazwa(name);
  p.AdresPodmiotu().Set_KodKraju("PL");
  p.AdresPodmiotu().Set_Wojewodztwo("mazowieckie");
  p.AdresPodmiotu().Set_Powiat("Warszawa");
  p.AdresPodmiotu().Set_Gmina("Warszawa");
  p.AdresPodmiotu().Set_NrDomu("1");
  p.AdresPodmiotu().Set_Miejscowosc("Warszawa");
  p.AdresPodmiotu().Set_KodPocztowy("00-001");
  p.AdresPodmiotu().Set_Poczta("Warszawa");
}

}  // namespace velkar::test
