// JPK_MAG(1) from warehouse data: goods received (PZ), issued (WZ), internal issues (RW)
// and transfers (MM) of the month, each kind with its values, lines and control element.
#include "warehouse/JpkMagWriter.h"

#include "app/Settings.h"
#include "base/Error.h"
#include "jpkfiles/JpkHeaders.h"
#include "jpkfiles/JpkLoadSave.h"
#include "tools/Money.h"
#include "warehouse/GenFromGradmoDlg.h"
#include "warehouse/WriterHelpers.h"

namespace velkar {

namespace {

// One kind's element of the document, created with its first document.
struct KindElement {
  const mag::IXMLJPKMAG& doc;
  const std::string& kind;
  xml::TXMLNode node;
  const xml::TXMLNode& Get() {
    if (!node) node = doc.AddChild(kind);
    return node;
  }
};

std::string Name(const std::string& kind, const char* stem) { return stem + kind; }

// The text between the first and the second "-" (the whole rest when there is no second).
std::string SecondPiece(const std::string& number) {
  size_t first = number.find('-');
  if (first == std::string::npos) return {};
  size_t second = number.find('-', first + 1);
  return number.substr(first + 1, second == std::string::npos ? std::string::npos : second - first - 1);
}

void AddMagHeader(GradmoSource& dlg, const xml::TXMLNode& kindNode, const std::string& kind, double& sum, int& count,
                  long long type, const std::string& number) {
  xml::TXMLNode value = kindNode.AddChild(kind + "Wartosc");
  double documentValue = round2(FieldNumber(dlg.tblReg, "CostValue"));
  std::string date = FieldText(dlg.tblWI, "Date");
  std::string saleDate = FieldText(dlg.tblWI, "SaleDate");
  Put(value, Name(kind, "Numer").c_str(), number);
  // The invoice reference of PZ and WZ: the referred document, or the number's second piece.
  auto invoiceReference = [&](const std::string& referenceDate) {
    if (type == 152 || type == 153 || type == 24 || type == 25) {
      if (dlg.FindMasterDocument()) {
        Put(value, Name(kind, "NumerFa").c_str(), FieldText(dlg.tblMaster, "Name"));
        Put(value, Name(kind, "DataFa").c_str(), FieldText(dlg.tblMaster, "Date"));
      }
    } else {
      Put(value, Name(kind, "NumerFa").c_str(), SecondPiece(number));
      Put(value, Name(kind, "DataFa").c_str(), referenceDate);
    }
  };
  if (kind == "PZ") {
    bool receiptFirst = type == 128 || type == 129;
    std::string dataPZ = receiptFirst ? saleDate : date;
    Put(value, "DataPZ", dataPZ);
    PutNumber(value, "WartoscPZ", documentValue);
    Put(value, "DataOtrzymaniaPZ", receiptFirst ? date : saleDate);
    Put(value, "Dostawca", FieldText(dlg.tblUC, "Firm Name"));
    invoiceReference(dataPZ);
  } else {
    Put(value, Name(kind, "Data").c_str(), date);
    PutNumber(value, Name(kind, "Wartosc").c_str(), documentValue);
    Put(value, Name(kind, "DataWydania").c_str(), saleDate);
    if (kind == "WZ") {
      Put(value, "OdbiorcaWZ", FieldText(dlg.tblUR, "Firm Name"));
      invoiceReference(date);
    } else if (kind == "RW") {
      Put(value, "SkadRW", "Magazyn Główny");
    } else {
      Put(value, "SkadMM", Settings().SkadMM);
      Put(value, "DokadMM", FieldInt(dlg.tblUR, "Number") != 0 ? FieldText(dlg.tblUR, "Firm Name") : Settings().DokadMM);
    }
  }
  ++count;
  sum = round2(sum + documentValue);
}

void AddMagLines(GradmoSource& dlg, const xml::TXMLNode& kindNode, const std::string& kind, const std::string& number,
                 GeneratedJpkFile* file) {
  const std::string quantityName = kind == "PZ" ? "IloscPrzyjetaPZ" : "IloscWydana" + kind;
  for (dlg.tblWT.First(); !dlg.tblWT.Eof(); dlg.tblWT.Next()) {
    xml::TXMLNode line = kindNode.AddChild(kind + "Wiersz");
    Put(line, Name(kind, "Numer2").c_str(), number);
    Put(line, Name(kind, "KodTowaru").c_str(), FieldText(dlg.tblW, "Group") + "-" + FieldText(dlg.tblW, "Index"));
    Put(line, Name(kind, "NazwaTowaru").c_str(), FieldText(dlg.tblW, "Name"));
    double quantity = RoundHalfAway(FieldNumber(dlg.tblWT, "Quantity"), 6);
    PutNumber(line, quantityName.c_str(), quantity);
    Put(line, Name(kind, "JednostkaMiary").c_str(), FieldText(dlg.tblW, "Unit"));
    double price = 0;
    if (kind != "WZ") {
      price = FieldNumber(dlg.tblWT, "Price");
    } else if (long long series = FieldInt(dlg.tblWT, "Series"); series != 0) {
      // A WZ line is valued at the cost of its series.
      if (dlg.tblWS.Eof())
        Fail("Brak serii: %s-%s-%d", FieldText(dlg.tblWT, "Group"), FieldText(dlg.tblWT, "Index"), series);
      price = FieldNumber(dlg.tblWS, "Cost");
    }
    PutNumber(line, Name(kind, "CenaJedn").c_str(), round2(price));
    PutNumber(line, Name(kind, "WartoscPozycji").c_str(), round2(price * quantity));
    if (file) file->RecordDone(kindNode);
  }
}

}  // namespace

bool IsMagKind(const std::string& kind, long long type, long long flags) {
  if ((flags & 17) != 0) return false;
  if (kind == "PZ") return type == 128 || type == 129 || type == 152 || type == 153;
  if (kind == "WZ") return (type >= 0 && type <= 25) && type != 8 && type != 16 && type != 17;
  if (kind == "RW") return type == 32;
  if (kind == "MM") return type == 8 || type == 16 || type == 17 || type == 36;
  return false;
}

std::string MagDocumentNumber(const std::string& kind, long long type, long long number, const std::string& name) {
  if (kind == "PZ" && type != 152 && type != 153) return Format("PZ%d-%s", number, name);
  if (kind == "WZ" && type != 24 && type != 25) return "WZ-" + name;
  return name;
}

void FillMagKind(GradmoSource& dlg, const mag::IXMLJPKMAG& doc, const std::string& kind, GeneratedJpkFile* file) {
  int count = 0;
  double sum = 0;
  KindElement element{doc, kind, {}};
  for (int pass = 1; pass <= 2; ++pass) {
    for (dlg.tblWI.First(); !dlg.tblWI.Eof(); dlg.tblWI.Next()) {
      long long type = FieldInt(dlg.tblWI, "Type");
      if (!IsMagKind(kind, type, FieldInt(dlg.tblWI, "Flags"))) continue;
      std::string number = MagDocumentNumber(kind, type, FieldInt(dlg.tblWI, "Number"), FieldText(dlg.tblWI, "Name"));
      if (pass == 1) {
        AddMagHeader(dlg, element.Get(), kind, sum, count, type, number);
        if (file) file->RecordDone(element.Get());
      } else {
        AddMagLines(dlg, element.Get(), kind, number, file);
      }
    }
  }
  if (count >= 1) {
    xml::TXMLNode ctrl = element.Get().AddChild(kind + "Ctrl");
    PutInt(ctrl, Name(kind, "Liczba").c_str(), count);
    PutNumber(ctrl, Name(kind, "Suma").c_str(), sum);
  }
}

mag::IXMLJPKMAG NewJpkMagDocument() {
  mag::IXMLJPKMAG doc = mag::NewJpkMAG();
  InitJpkMAGDoc(doc);
  SetJpkMAGHeader(doc);
  doc.Set_Magazyn("0");
  return doc;
}

void FillJpkMag(GradmoSource& dlg, const mag::IXMLJPKMAG& doc, GeneratedJpkFile* file) {
  for (const char* kind : {"PZ", "WZ", "RW", "MM"}) FillMagKind(dlg, doc, kind, file);
}

mag::IXMLJPKMAG BuildJpkMag(GradmoSource& dlg, GeneratedJpkFile* file) {
  mag::IXMLJPKMAG doc = NewJpkMagDocument();
  FillJpkMag(dlg, doc, file);
  return doc;
}

void MakeJpkMag(GradmoSource& dlg) {
  // Written to a temporary file as it is made; the save moves that file into place.
  mag::IXMLJPKMAG doc = NewJpkMagDocument();
  GeneratedJpkFile file(doc.OwnerDocument());
  FillJpkMag(dlg, doc, &file);
  file.Finish();
  if (AskYesNo(kSaveGeneratedQuestion)) SaveJpkMAGAs(doc, file);
}

}  // namespace velkar
