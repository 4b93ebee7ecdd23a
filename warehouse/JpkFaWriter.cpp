// JPK_FA(4) from warehouse data: one Faktura per invoice or correction of the month, one
// FakturaWiersz per line, and both control elements.
#include "app/Settings.h"
#include "base/Error.h"
#include "jpkfiles/JpkHeaders.h"
#include "jpkfiles/JpkLoadSave.h"
#include "tools/AmountElements.h"
#include "tools/Dictionaries.h"
#include "tools/Money.h"
#include "warehouse/GenFromGradmoDlg.h"
#include "warehouse/JpkFaWriter.h"
#include "warehouse/WriterHelpers.h"

namespace velkar {

bool IsFaDocumentType(long long type) {
  switch (type & ~1LL) {
    case 0: case 2: case 4: case 20: case 22: case 48: case 50: case 52: return true;
    default: return false;
  }
}

std::string FaRateText(double rate) {
  if (rate < -1) return "zw";
  return xml::XmlFloatToStr(rate);
}

void AddFaHeader(GradmoSource& dlg, const fa::IXMLJPKFA& doc, long long type, const std::string& name, double& sum,
                 int& count) {
  xml::TXMLNode faktura = doc.Faktura().Add();
  Put(faktura, "KodWaluty", "PLN");
  ++count;
  ContractorIdentity contractor = ReadContractor(dlg);
  const ProgramSettings& s = Settings();
  std::string date = FieldText(dlg.tblWI, "Date");
  std::string saleDate = FieldText(dlg.tblWI, "SaleDate");
  Put(faktura, "P_1", date);
  Put(faktura, "P_2A", name);
  Put(faktura, "P_3A", contractor.name);
  Put(faktura, "P_3B", contractor.address);
  Put(faktura, "P_3C", s.Nazwa);
  Put(faktura, "P_3D", s.AddressLine);
  Put(faktura, "P_4B", s.NIP);
  // P_5A is an EU country code (TKodyKrajowUE): a prefix from outside the EU is not written.
  if (!contractor.countryPrefix.empty() && IsEUCountryCode(contractor.countryPrefix))
    Put(faktura, "P_5A", contractor.countryPrefix);
  Put(faktura, "P_5B", contractor.nip);
  if (!saleDate.empty() && saleDate != date) Put(faktura, "P_6", saleDate);

  // Amounts of the register entry, each rounded to the grosz (TKwotowy: 2 decimals).
  SetNetTaxElements(faktura, dlg.tblReg, "P_13_1", "Value22", "P_14_1", "Tax22", false);
  SetNetTaxElements(faktura, dlg.tblReg, "P_13_2", "Value7", "P_14_2", "Tax7", false);
  SetNetTaxElements(faktura, dlg.tblReg, "P_13_3", "Value3", "P_14_3", "Tax3", false);
  SetAmountElement(faktura, dlg.tblReg, "P_13_6", "Value0", false, false);
  SetAmountElement(faktura, dlg.tblReg, "P_13_7", "ValueFree", false, false);
  SetAmountElement(faktura, dlg.tblReg, "P_15", "Value", false, false);
  sum = round2(sum + FieldNumber(dlg.tblReg, "Value"));

  long long regFlags = FieldInt(dlg.tblReg, "Flags");
  PutBool(faktura, "P_16", false);
  PutBool(faktura, "P_17", false);
  PutBool(faktura, "P_18", false);
  PutBool(faktura, "P_18A", (regFlags & 128) != 0);  // split payment
  for (const char* flag : {"P_19", "P_20", "P_21", "P_22", "P_23", "P_106E_2", "P_106E_3"}) PutBool(faktura, flag, false);

  if (type & 1) {
    Put(faktura, "RodzajFaktury", "KOREKTA");
    std::string reason = FieldText(dlg.tblWI, "Comment");
    Put(faktura, "PrzyczynaKorekty", reason.empty() ? "zwrot towaru" : reason);
    if (!dlg.FindMasterDocument())
      Fail("%s  > brak dokumentu korygowanego o nr: %s", name, FieldText(dlg.tblWI, "MasterNumber"));
    Put(faktura, "NrFaKorygowanej", FieldText(dlg.tblMaster, "Name"));
    Put(faktura, "OkresFaKorygowanej", FieldText(dlg.tblMaster, "Date"));
  } else {
    Put(faktura, "RodzajFaktury", "VAT");
  }
}

void AddFaLines(GradmoSource& dlg, const fa::IXMLJPKFA& doc, const std::string& name, bool grossMode, double& sum,
                int& count, GeneratedJpkFile* file) {
  fa::IXMLJPK_FakturaWierszList lines = doc.FakturaWiersz();
  for (dlg.tblWT.First(); !dlg.tblWT.Eof(); dlg.tblWT.Next()) {
    xml::TXMLNode line = lines.Add();
    ++count;
    Put(line, "P_2B", name);
    Put(line, "P_7", Utf8Prefix(FieldText(dlg.tblW, "Name"), 40));
    std::string unit = FieldText(dlg.tblW, "Unit");
    Put(line, "P_8A", unit.empty() ? "szt." : unit);
    double quantity = FieldNumber(dlg.tblWT, "Quantity");
    PutNumber(line, "P_8B", RoundHalfAway(quantity, 6));  // TIlosciJPK: 6 decimals
    double rate = FieldNumber(dlg.tblWT, "VAT");
    double price = FieldNumber(dlg.tblWT, "Price");  // gross unit price
    double netPrice = GrossToNet(rate, price);
    PutNumber(line, "P_9A", netPrice);
    PutNumber(line, "P_9B", round2(price));  // TKwotowy: 2 decimals
    PutNumber(line, "P_10", 0);
    double value = grossMode ? GrossToNet(rate, price * quantity) : round2(netPrice * quantity);
    sum = round2(sum + value);
    PutNumber(line, "P_11", value);
    if (grossMode) PutNumber(line, "P_11A", round2(price * quantity));
    Put(line, "P_12", FaRateText(rate));
    if (file) file->RecordDone(doc);
  }
}

void FillFa(GradmoSource& dlg, const fa::IXMLJPKFA& doc, bool linesPass, GeneratedJpkFile* file) {
  int count = 0;
  double sum = 0;
  for (dlg.tblWI.First(); !dlg.tblWI.Eof(); dlg.tblWI.Next()) {
    long long type = FieldInt(dlg.tblWI, "Type");
    if (!IsFaDocumentType(type) || (FieldInt(dlg.tblReg, "Flags") & 8) != 0) continue;
    bool grossMode = (FieldInt(dlg.tblWI, "Options") & 64) != 0;
    std::string name = FieldText(dlg.tblWI, "Name");
    if (linesPass) {
      AddFaLines(dlg, doc, name, grossMode, sum, count, file);
    } else {
      AddFaHeader(dlg, doc, type, name, sum, count);
      if (file) file->RecordDone(doc);
    }
  }
  if (linesPass) {
    fa::IXMLJPK_FakturaWierszCtrl ctrl = doc.FakturaWierszCtrl();
    PutInt(ctrl, "LiczbaWierszyFaktur", count);
    PutNumber(ctrl, "WartoscWierszyFaktur", sum);
  } else {
    fa::IXMLJPK_FakturaCtrl ctrl = doc.FakturaCtrl();
    PutInt(ctrl, "LiczbaFaktur", count);
    PutNumber(ctrl, "WartoscFaktur", sum);
  }
}

fa::IXMLJPKFA NewJpkFaDocument() {
  fa::IXMLJPKFA doc = fa::NewJpkFA();
  InitJpkFADoc(doc);
  SetJpkFAHeader(doc);
  return doc;
}

void FillJpkFa(GradmoSource& dlg, const fa::IXMLJPKFA& doc, GeneratedJpkFile* file) {
  FillFa(dlg, doc, false, file);
  FillFa(dlg, doc, true, file);
}

fa::IXMLJPKFA BuildJpkFa(GradmoSource& dlg, GeneratedJpkFile* file) {
  fa::IXMLJPKFA doc = NewJpkFaDocument();
  FillJpkFa(dlg, doc, file);
  return doc;
}

void MakeJpkFa(GradmoSource& dlg) {
  // Written to a temporary file as it is made; the save moves that file into place.
  fa::IXMLJPKFA doc = NewJpkFaDocument();
  GeneratedJpkFile file(doc.OwnerDocument());
  FillJpkFa(dlg, doc, &file);
  file.Finish();
  if (AskYesNo(kSaveGeneratedQuestion)) SaveJpkFAAs(doc, file);
}

}  // namespace velkar
