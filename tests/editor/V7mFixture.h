// JPK_V7M(2) and JPK_V7M(3) documents for the editor tests, written as XML text so the data a test
// relies on stands next to its assertions, and the editor windows wired as the program
// wires them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/Settings.h"
#include "app/ui/ScriptedUi.h"
#include "base/DateTime.h"
#include "editor/JpkVatDlg.h"
#include "editor/LinkAskDlg.h"
#include "editor/ParagonDlg.h"
#include "jpkfiles/JpkHeaders.h"
#include "jpkfiles/JpkLoadSave.h"
#include "jpkfiles/NodeCopy.h"
#include "jpkfiles/SchemaValidation.h"
#include "model/v7m/JpkV7.h"
#include "tests/support/TempDir.h"

namespace velkar::test {

using Fields = std::vector<std::pair<std::string, std::string>>;

// A register row: its identification and its amounts, in schema order.
struct Row {
  Fields fields;
};

inline Row Sale(int lp, Fields amounts, const std::string& contractor = "5260250274",
                const std::string& name = "Kontrahent Sp. z o.o.") {
  Row row{{{"LpSprzedazy", std::to_string(lp)},
           {"NrKontrahenta", contractor},
           {"NazwaKontrahenta", name},
           {"DowodSprzedazy", "FV/" + std::to_string(lp) + "/2024"},
           {"DataWystawienia", "2024-03-15"}}};
  row.fields.insert(row.fields.end(), amounts.begin(), amounts.end());
  return row;
}

// A sale row with its TypDokumentu ("FP", "RO") before the amounts.
inline Row TypedSale(int lp, const std::string& type, Fields amounts) {
  Row row = Sale(lp, {});
  row.fields.push_back({"TypDokumentu", type});
  row.fields.insert(row.fields.end(), amounts.begin(), amounts.end());
  return row;
}

// A sale row marked KorektaPodstawyOpodt (art. 89a ust. 1 correction).
inline Row CorrectionSale(int lp, Fields amounts) {
  Row row = Sale(lp, {});
  row.fields.push_back({"KorektaPodstawyOpodt", "1"});
  row.fields.push_back({"TerminPlatnosci", "2023-09-30"});
  row.fields.insert(row.fields.end(), amounts.begin(), amounts.end());
  return row;
}

// The row with its KSeF element ("BFK", "OFF", "DI" as 1, or a number for NrKSeF) after
// its dates, where JPK_V7M(3) wants it.
inline Row Ksef(Row row, const std::string& marker, const std::string& number = "") {
  auto after = row.fields.begin();
  for (auto it = row.fields.begin(); it != row.fields.end(); ++it)
    if (it->first.starts_with("Data")) after = it + 1;
  row.fields.insert(after, {marker, marker == "NrKSeF" ? number : "1"});
  return row;
}

inline Row Purchase(int lp, Fields amounts, const std::string& dowod = "") {
  Row row{{{"LpZakupu", std::to_string(lp)},
           {"NrDostawcy", "7740001454"},
           {"NazwaDostawcy", "Dostawca S.A."},
           {"DowodZakupu", dowod.empty() ? "FZ/" + std::to_string(lp) : dowod},
           {"DataZakupu", "2024-03-10"}}};
  row.fields.insert(row.fields.end(), amounts.begin(), amounts.end());
  return row;
}

struct V7mFile {
  std::vector<Row> sales;
  std::vector<Row> purchases;
  Fields positions;  // PozycjeSzczegolowe; no Deklaracja when empty and !declaration
  bool declaration = false;
  bool ewidencja = true;
  // Control records as written; "-" leaves the record out.
  std::string saleCount = "auto", saleTax = "0", purchaseCount = "auto", purchaseTax = "0";
  std::string miesiac = "3";
  std::string rok = "2024";
  v7m::V7Structure structure = v7m::V7Structure::V2;
  std::string podmiot =
      "<Podmiot1 rola=\"Podatnik\"><OsobaNiefizyczna><NIP>5250001090</NIP>"
      "<PelnaNazwa>Firma Testowa</PelnaNazwa><Email>biuro@firma.pl</Email>"
      "</OsobaNiefizyczna></Podmiot1>";

  // A JPK_V7M(3) file of March 2026 (its rows need their KSeF elements: see Ksef).
  static V7mFile V3() {
    V7mFile file;
    file.structure = v7m::V7Structure::V3;
    file.rok = "2026";
    return file;
  }

  std::string Xml() const {
    const bool v3 = structure == v7m::V7Structure::V3;
    std::string x = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<JPK xmlns=\"" +
                    std::string(v7m::TargetNamespace(structure)) + "\" xmlns:etd=\"" + v7m::EtdNamespace(structure) +
                    "\">";
    x += std::string("<Naglowek><KodFormularza kodSystemowy=\"") + v7m::SystemCode(structure) +
         "\" wersjaSchemy=\"1-0E\">JPK_VAT</KodFormularza><WariantFormularza>" + (v3 ? "3" : "2") +
         "</WariantFormularza><DataWytworzeniaJPK>" + (v3 ? "2026-04-02T09:05:07Z" : "2024-04-02T09:05:07") +
         "</DataWytworzeniaJPK><NazwaSystemu>Velkar</NazwaSystemu><CelZlozenia poz=\"P_7\">1</CelZlozenia>"
         "<KodUrzedu>1471</KodUrzedu><Rok>" +
         rok + "</Rok><Miesiac>" + miesiac + "</Miesiac></Naglowek>";
    x += podmiot;
    if (declaration || !positions.empty()) {
      x += std::string("<Deklaracja><Naglowek><KodFormularzaDekl kodSystemowy=\"") +
           (v3 ? "VAT-7 (23)" : "VAT-7 (22)") +
           "\" kodPodatku=\"VAT\" rodzajZobowiazania=\"Z\" wersjaSchemy=\"1-0E\">VAT-7</KodFormularzaDekl>"
           "<WariantFormularzaDekl>" +
           (v3 ? "23" : "22") + "</WariantFormularzaDekl></Naglowek><PozycjeSzczegolowe>";
      for (const auto& [name, value] : positions) x += "<" + name + ">" + value + "</" + name + ">";
      x += "</PozycjeSzczegolowe><Pouczenia>1</Pouczenia></Deklaracja>";
    }
    if (ewidencja) {
      x += "<Ewidencja>";
      for (const Row& row : sales) x += RowXml("SprzedazWiersz", row);
      if (saleCount != "-")
        x += "<SprzedazCtrl><LiczbaWierszySprzedazy>" + Count(saleCount, sales.size()) +
             "</LiczbaWierszySprzedazy><PodatekNalezny>" + saleTax + "</PodatekNalezny></SprzedazCtrl>";
      for (const Row& row : purchases) x += RowXml("ZakupWiersz", row);
      if (purchaseCount != "-")
        x += "<ZakupCtrl><LiczbaWierszyZakupow>" + Count(purchaseCount, purchases.size()) +
             "</LiczbaWierszyZakupow><PodatekNaliczony>" + purchaseTax + "</PodatekNaliczony></ZakupCtrl>";
      x += "</Ewidencja>";
    }
    return x + "</JPK>\n";
  }

  v7m::IXMLJPK Load() const { return v7m::LoadJpkV7FromXML(Xml()); }

 private:
  static std::string Count(const std::string& given, size_t rows) {
    return given == "auto" ? std::to_string(rows) : given;
  }
  static std::string RowXml(const std::string& tag, const Row& row) {
    std::string x = "<" + tag + ">";
    for (const auto& [name, value] : row.fields) x += "<" + name + ">" + value + "</" + name + ">";
    return x + "</" + tag + ">";
  }
};

// The editor with its dialogs, a scripted UI, settings for March 2024 and a frozen clock.
class EditorTest : public ::testing::Test {
 protected:
  EditorTest() : dlg(openDlg, saveDlg, linkAsk, paragon) {
    Settings() = ProgramSettings{};
    Settings().NIP = "5250001090";
    Settings().CurDate = DateTime{2024, 3, 15};
    Settings().ClearEnter = false;
    Clock::Freeze(DateTime{2024, 4, 2, 9, 5, 7});
    CurrentJpkFileName() = kNewJpkFileName;
  }
  ~EditorTest() override { Clock::Unfreeze(); }

  // Puts a document into the editor as a freshly opened file would be.
  void Adopt(const V7mFile& file) {
    dlg.LoadedJpk = file.Load();
    InitJpkV7Doc(dlg.LoadedJpk);
    dlg.RefreshInfo();
  }
  bool Modified() const { return dlg.LoadedJpk.OwnerDocument()->Modified(); }
  // Opens `fileName` through the button, answering TdlgLinkAsk (when it is shown) with
  // `linkResult`.
  bool Open(const std::string& fileName, int linkResult = mrCancel) {
    ui.QueueFileName(fileName);
    if (dlg.LoadedJpk) ui.QueueModal([linkResult](Window&) { return linkResult; });
    return dlg.btnOpenJPKClick();
  }
  std::string Position(const std::string& name) const {
    xml::TXMLNode d = dlg.LoadedJpk.FindChild("Deklaracja");
    xml::TXMLNode p = d ? d.FindChild("PozycjeSzczegolowe") : xml::TXMLNode();
    xml::TXMLNode e = p ? p.FindChild(name) : xml::TXMLNode();
    return e ? e.Text() : "(brak)";
  }
  // The names of the declaration positions in document order.
  std::vector<std::string> PositionNames() const {
    std::vector<std::string> names;
    xml::TXMLNode p = dlg.LoadedJpk.FindChild("Deklaracja").FindChild("PozycjeSzczegolowe");
    for (xml::TXMLNode child : p.ChildNodes()) names.push_back(child.LocalName());
    return names;
  }
  // Saves the document to a file and checks it against the official schema.
  std::string SchemaProblems(const std::string& fileName) {
    dlg.LoadedJpk.OwnerDocument()->SaveToFile(fileName);
    JpkValidation result = ValidateJpkFile(fileName);
    std::string problems;
    for (const SchemaViolation& violation : result.violations) problems += DescribeViolation(violation) + "\n";
    return problems;
  }

  ScriptedUi ui;
  TempDir dir;
  FileDialogOptions openDlg, saveDlg;
  TdlgLinkAsk linkAsk;
  TParagonDlg paragon;
  TJpkVatDlg dlg;
};

}  // namespace velkar::test
