// Ramzes and Magik from warehouse data: the adapters that read the Gradmo tables of the
// export dialog into the record writers of the two documents.
#include "exchange/GradmoExchange.h"

#include "app/MainForm.h"
#include "base/Error.h"
#include "exchange/MagikDoc.h"
#include "exchange/RamzesDoc.h"
#include "tools/ContractorData.h"
#include "tools/Money.h"
#include "tools/Version.h"

namespace velkar {

xml::TXMLNode BuildRamzes(GradmoSource& dlg) {
  xml::TXMLNode root = NewRamzesDoc();
  for (dlg.tblWI.First(); !dlg.tblWI.Eof(); dlg.tblWI.Next()) {
    if (!IsExportedSale(dlg)) continue;
    ContractorIdentity identity = ReadContractor(dlg);
    const db::TTable& card = dlg.ContractorTable();
    RamzesContractor contractor{FieldInt(card, "Number"), FieldText(card, "Identifier"), identity.name, identity.nip,
                                FieldText(card, "ZipCode"), FieldText(card, "City"), ContractorStreet(dlg)};
    long long documentNumber = FieldInt(dlg.tblWI, "Number");
    std::string date = FieldText(dlg.tblWI, "Date");
    RamzesDocument document{contractor.number,
                            documentNumber,
                            FieldText(dlg.tblWI, "Name"),
                            date,
                            FieldText(dlg.tblWI, "SaleDate"),
                            date,
                            FieldText(dlg.tblWI, "Comment"),
                            RamzesDocumentType((FieldInt(dlg.tblWI, "Type") & 1) != 0),
                            1};
    AddRamzesContractor(root, contractor);
    AddRamzesDocument(root, document);
    const db::TTable& reg = dlg.tblReg;
    AddRamzesPostings(root, documentNumber,
                      {FieldNumber(reg, "Value22"), FieldNumber(reg, "Tax22"), FieldNumber(reg, "Value7"),
                       FieldNumber(reg, "Tax7"), FieldNumber(reg, "Value3"), FieldNumber(reg, "Tax3"),
                       FieldNumber(reg, "Value0")});
  }
  return root;
}

void MakeRamzes(GradmoSource& dlg) {
  xml::TXMLNode root = BuildRamzes(dlg);
  SaveExchangeDocument(root.OwnerDocument(), "_Gradmo2Ramzes");
}

namespace {

std::string ProgramVersionText() {
  TMainForm* form = MainForm();
  return FileVersionText(form && !form->AppName.empty() ? form->AppName : RunningExecutablePath());
}

}  // namespace

void AddMagikContractor(GradmoSource& dlg, const xml::TXMLNode& cards, std::set<std::pair<long long, long long>>& written,
                        long long contractor, long long payer) {
  if (written.contains({contractor, payer})) return;
  ContractorIdentity identity = ReadContractor(dlg);
  MagikCard card{contractor, payer, "", identity.name, "", "", "", identity.nip};
  if (UsersIsSingle) {
    const db::TTable& users = dlg.tblUsers;
    card.shortName = FieldText(users, "Identifier");
    card.zipCode = FieldText(users, "ZipCode");
    card.city = FieldText(users, "City");
    card.street = ContractorStreet(dlg);
    // The payer's own card first, unless it is the document's card itself (a contractor
    // that pays for itself gets one card, not two with the same identifier and code).
    if (contractor != payer && !written.contains({payer, payer})) {
      MagikCard payerCard = card;
      payerCard.id = payer;
      AddMagikCard(cards, payerCard);
      written.insert({payer, payer});
    }
    // The contractor's card: its own values of the period table where they are given.
    card.shortName = FieldText(dlg.tblUR, "Identifier");
    for (auto [field, value] : {std::pair{"ZipCode", &card.zipCode}, {"City", &card.city}, {"Address", &card.street}}) {
      std::string own = FieldText(dlg.tblUR, field);
      if (!own.empty()) *value = own;
    }
  } else {
    card.shortName = FieldText(dlg.tblUR, "Identifier");
    card.zipCode = FieldText(dlg.tblUR, "ZipCode");
    card.city = FieldText(dlg.tblUR, "City");
    card.street = FieldText(dlg.tblUR, "Address");
  }
  AddMagikCard(cards, card);
  written.insert({contractor, payer});
}

void FillMagik(GradmoSource& dlg, MagikBuild& build) {
  xml::TXMLNode documents = build.root.AddChild("DOKUMENTY");
  xml::TXMLNode cards = build.root.AddChild("KARTOTEKA_KONTRAHENTOW");
  std::set<std::pair<long long, long long>> written;
  for (dlg.tblWI.First(); !dlg.tblWI.Eof(); dlg.tblWI.Next()) {
    if (!IsExportedSale(dlg)) continue;
    const db::TTable& reg = dlg.tblReg;
    long long contractor = FieldInt(reg, "User");
    long long payer = FieldInt(reg, "Payer");
    xml::TXMLNode document = documents.AddChild("DOKUMENT");
    MagikHeader header;
    header.number = FieldText(dlg.tblWI, "Name");
    header.sourceId = MagikSourceId(FieldInt(dlg.tblWI, "Year"), FieldInt(dlg.tblWI, "Number"));
    header.contractor = contractor;
    header.payer = payer;
    header.gtu = FieldInt(reg, "GTU");
    header.issueDate = FieldText(dlg.tblWI, "Date");
    header.saleDate = FieldText(dlg.tblWI, "SaleDate");
    header.paymentDate = FieldText(reg, "PayDate");
    header.gross = FieldNumber(reg, "Value");
    header.net = round2(header.gross - FieldNumber(reg, "TotalTax"));
    AddMagikHeader(document, header);
    AddMagikRates(document.AddChild("VAT"),
                  {FieldNumber(reg, "Value22"), FieldNumber(reg, "Tax22"), FieldNumber(reg, "Value7"),
                   FieldNumber(reg, "Tax7"), FieldNumber(reg, "Value3"), FieldNumber(reg, "Tax3"),
                   FieldNumber(reg, "Value0"), FieldText(reg, "SaleDate")});
    try {
      AddMagikContractor(dlg, cards, written, contractor, payer);
    } catch (...) {
      documents.ChildNodes().Remove(document);  // a document without its card is not offered
      throw;
    }
    ++build.count;
  }
}

void MakeWapro(GradmoSource& dlg) {
  MagikBuild build{NewMagikDoc(ProgramVersionText()), 0};
  std::exception_ptr failure;
  try {
    FillMagik(dlg, build);
  } catch (...) {
    failure = std::current_exception();
  }
  // What was exported is counted and offered for saving also after an error.
  if (build.count > 0) {
    SetMagikDocumentCount(build.root, build.count);
    ShowInfo(Format(kDocumentsCountMessage, build.count));
  }
  SaveExchangeDocument(build.root.OwnerDocument(), "_Gradmo2Wapro");
  if (failure) std::rethrow_exception(failure);
}

}  // namespace velkar
