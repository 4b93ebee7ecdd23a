// The sales of a JPK_V7M(2) register written as Ramzes records.
#include "exchange/RamzesConvert.h"

#include <unordered_map>

#include "app/ui/UiPort.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "editor/RowReaders.h"
#include "exchange/BuchalterExport.h"
#include "exchange/ExchangeText.h"
#include "exchange/RamzesDoc.h"
#include "exchange/RegisterRows.h"
#include "model/xml/XmlValues.h"

namespace velkar {

std::string V7ToRamzesFileName(const std::string& outputFolder, const std::string& inputFileName) {
  return outputFolder + "JPKVAT_to_Ramzes_" + ExtractFileName(inputFileName);
}

int MapV7ToRamzes(const xml::TXMLNode& baza, const v7m::IXMLJPK& v7, const std::vector<std::string>& cutDict) {
  xml::TXMLNode ewidencja = v7.FindChild("Ewidencja");
  if (!ewidencja) return 0;
  ContractorNameShortener shortener(cutDict);
  std::unordered_map<std::string, int64_t> contractorIds;
  int rows = 0;
  for (xml::TXMLNode row = ewidencja.FindChild("SprzedazWiersz"); row && row.FindChild("LpSprzedazy");
       row = NextElement(row)) {
    RamzesContractor contractor;
    contractor.nip = ChildText(row, "NrKontrahenta");
    contractor.name = ChildText(row, "NazwaKontrahenta");
    std::string key = contractor.nip + '\x1f' + contractor.name;
    auto [it, added] = contractorIds.try_emplace(key, static_cast<int64_t>(contractorIds.size()) + 1);
    (void)added;
    contractor.number = it->second;
    contractor.shortName = shortener.Shorten(contractor.name);
    AddRamzesContractor(baza, contractor);

    RamzesDocument document;
    document.contractorNumber = contractor.number;
    document.documentNumber = xml::XmlStrToInt64(Trim(ChildText(row, "LpSprzedazy")));
    document.name = ChildText(row, "DowodSprzedazy");
    document.issueDate = ChildText(row, "DataWystawienia");
    document.paymentDate = document.issueDate;
    std::string saleDate = ChildText(row, "DataSprzedazy");
    document.operationDate = saleDate.empty() ? document.issueDate : saleDate;
    document.type = RamzesDocumentType(SaleNetOfRow(row) < 0 || SaleTaxOfRow(row) < 0);
    AddRamzesDocument(baza, document);

    // An invoice to receipt sales (FP) was reported by its receipt summary already.
    if (Trim(ChildText(row, "TypDokumentu")) != "FP") {
      RamzesRateAmounts amounts;
      amounts.net23 = ElementAmount(row, "K_19");
      amounts.vat23 = ElementAmount(row, "K_20");
      amounts.net8 = ElementAmount(row, "K_17");
      amounts.vat8 = ElementAmount(row, "K_18");
      amounts.net5 = ElementAmount(row, "K_15");
      amounts.vat5 = ElementAmount(row, "K_16");
      amounts.net0 = ElementAmount(row, "K_13");
      AddRamzesPostings(baza, document.documentNumber, amounts);
    }
    ++rows;
  }
  return rows;
}

std::string ConvertV7ToRamzes(const v7m::IXMLJPK& v7, const std::string& inputFileName, const std::string& outputFolder,
                              const std::vector<std::string>& cutDict) {
  BusyCursor busy;
  xml::TXMLNode baza = NewRamzesDoc();
  MapV7ToRamzes(baza, v7, cutDict);
  std::string fileName = V7ToRamzesFileName(outputFolder, inputFileName);
  baza.OwnerDocument()->SaveToFile(fileName);
  ShowInfo(kConversionDone);
  return fileName;
}

}  // namespace velkar
