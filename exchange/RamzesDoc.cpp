// The Ramzes exchange document and its three record writers.
#include "exchange/RamzesDoc.h"

#include "model/xml/XmlDocument.h"
#include "model/xml/XmlValues.h"

namespace velkar {

xml::TXMLNode NewRamzesDoc() {
  xml::IXMLDocument doc = xml::TXMLDocument::Create();
  doc->SetEncoding("UTF-8");
  doc->SetNodeIndentStr("\t");
  doc->SetOptions(doc->Options() | xml::doNodeAutoIndent);
  xml::TXMLNode root = doc->CreateElement("Baza", "");
  doc->SetDocumentElement(root);
  return doc->DocumentElement();
}

void AddRamzesContractor(const xml::TXMLNode& root, const RamzesContractor& c) {
  xml::TXMLNode rec = root.AddChild("knt_Kontrahenci");
  rec.AddChild("knt_Id").SetText(xml::XmlIntToStr(c.number));
  rec.AddChild("knt_NazwaSkr").SetText(c.shortName);
  rec.AddChild("knt_Nazwa").SetText(c.name);
  rec.AddChild("knt_Nip").SetText(c.nip);
  rec.AddChild("knt_Pesel");
  rec.AddChild("knt_Regon");
  rec.AddChild("knt_Kod").SetText(c.zipCode);
  rec.AddChild("knt_Miasto").SetText(c.city);
  rec.AddChild("knt_Ulica").SetText(c.street);
  rec.AddChild("knt_DMP").SetText("F");
  rec.AddChild("knt_CPV").SetText("F");
}

void AddRamzesDocument(const xml::TXMLNode& root, const RamzesDocument& d) {
  xml::TXMLNode rec = root.AddChild("dok_Nagdok");
  rec.AddChild("dok_KntId").SetText(xml::XmlIntToStr(d.contractorNumber));
  rec.AddChild("dok_DokId").SetText(xml::XmlIntToStr(d.documentNumber));
  rec.AddChild("dok_Numer").SetText(d.name);
  rec.AddChild("dok_DataDat").SetText(d.issueDate);
  rec.AddChild("dok_DataOper").SetText(d.operationDate);
  rec.AddChild("dok_DataZap").SetText(d.paymentDate);
  rec.AddChild("dok_Opis").SetText(d.description);
  rec.AddChild("dok_Typ").SetText(xml::XmlIntToStr(d.type));
  rec.AddChild("dok_DokFoz").SetText(xml::XmlIntToStr(d.dokFoz));
  rec.AddChild("dok_DMP").SetText("F");
  rec.AddChild("dok_CPV").SetText("F");
}

void AddRamzesPosting(const xml::TXMLNode& root, int64_t documentNumber, int rate, double vat, double net) {
  xml::TXMLNode rec = root.AddChild("dod_Dekrety");
  rec.AddChild("dod_DokId").SetText(xml::XmlIntToStr(documentNumber));
  rec.AddChild("dod_PozSvt").SetText(xml::XmlIntToStr(rate) + "%");
  rec.AddChild("dod_PozNet").SetText(xml::XmlFloatToStr(net));
  rec.AddChild("dod_PozVat").SetText(xml::XmlFloatToStr(vat));
  rec.AddChild("dod_PozBru").SetText(xml::XmlFloatToStr(net + vat));
}

int AddRamzesPostings(const xml::TXMLNode& root, int64_t documentNumber, const RamzesRateAmounts& a) {
  int written = 0;
  const struct {
    int rate;
    double net, vat;
  } rates[] = {{23, a.net23, a.vat23}, {8, a.net8, a.vat8}, {5, a.net5, a.vat5}, {0, a.net0, 0.0}};
  for (const auto& r : rates) {
    if (r.net != 0 || r.vat != 0) {
      AddRamzesPosting(root, documentNumber, r.rate, r.vat, r.net);
      ++written;
    }
  }
  return written;
}

}  // namespace velkar
