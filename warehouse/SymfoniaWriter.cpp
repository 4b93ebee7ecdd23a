// The Sage Symfonia exchange text "Qor2sage.txt": an INFO block and one block per sales
// document of the month (contractor, number, dates, payment terms), in Windows-1250 with
// CR LF line ends.
#include "app/Settings.h"
#include "base/Error.h"
#include "base/Paths.h"
#include "tools/Dictionaries.h"
#include "tools/db/Mazovia.h"
#include "warehouse/GenFromGradmoDlg.h"
#include "warehouse/SymfoniaWriter.h"

namespace velkar {

namespace {

void Line(std::string& out, const std::string& text) {
  out += text;
  out += "\r\n";
}

void Key(std::string& out, const char* key, const std::string& value) { Line(out, std::string("  ") + key + " =" + value); }

}  // namespace

int BuildSymfoniaText(GradmoSource& dlg, std::string& text) {
  const ProgramSettings& s = Settings();
  Line(text, "INFO{");
  Key(text, "Nazwa programu", s.NazwaSystemu);
  Key(text, "Wersja_programu", std::to_string(s.Wersja_programu));
  Key(text, "Wersja szablonu", std::to_string(s.Wersja_szablonu));
  Line(text, "}");
  int count = 0;
  for (dlg.tblWI.First(); !dlg.tblWI.Eof(); dlg.tblWI.Next()) {
    if (!IsExportedSale(dlg)) continue;
    ContractorIdentity contractor = ReadContractor(dlg);
    ++count;
    Line(text, "Dokument{");
    Line(text, "  anulowany =0");
    Line(text, "  rodzaj_dok =sprzedaży");
    Key(text, "khnip", contractor.nip);
    Key(text, "khnazwa", contractor.name);
    Key(text, "khadres", contractor.address);
    Key(text, "kod", FieldText(dlg.tblWI, "Name"));
    Key(text, "data", FieldText(dlg.tblWI, "Date"));
    Key(text, "datasp", FieldText(dlg.tblWI, "SaleDate"));
    Key(text, "forma_platnosci", PaymentFormName(static_cast<int>(FieldInt(dlg.tblWI, "PayInfo"))) + " " +
                                     std::to_string(FieldInt(dlg.tblWI, "PayDelay")) + " dni");
    Line(text, "}");
  }
  return count;
}

std::string SymfoniaFileName() { return IncludeTrailingPathDelimiter(CurrentDir()) + kSymfoniaFile; }

void MakeSymfonia(GradmoSource& dlg) {
  MakeSymfoniaFile(dlg, dlg.SymfoniaTarget.empty() ? SymfoniaFileName() : dlg.SymfoniaTarget);
}

int MakeSymfoniaFile(GradmoSource& dlg, const std::string& fileName) {
  // The whole text is built first and written in one transaction: a run that fails leaves
  // an earlier file as it was and no partial file.
  std::string text;
  int count = BuildSymfoniaText(dlg, text);
  WriteFileAtomically(fileName, db::Utf8ToCp1250(text));
  if (count > 0) ShowInfo(Format(kDocumentsCountMessage, count));
  return count;
}

}  // namespace velkar
