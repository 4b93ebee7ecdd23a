// JPK_V7M registers of either structure written as XML text for the KSeF tests, KSeF
// numbers with a right checksum, and the schema check of a document.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/Text.h"
#include "jpkfiles/SchemaValidation.h"
#include "ksef/Ksef.h"
#include "model/v7m/JpkV7.h"
#include "tests/support/TempDir.h"

namespace velkar::test {

// A KSeF number of the issuer `nip` with its CRC-8 ("5260250274-20260210-0A1B2C3D4E5F-xx").
inline std::string KsefNumber(const std::string& nip, const std::string& technical = "0A1B2C3D4E5F",
                              const std::string& date = "20260210") {
  std::string first = nip + "-" + date + "-" + technical;
  return first + "-" + KsefChecksum(first);
}

// An element list "<A>1</A><B>2</B>" from name/value pairs.
inline std::string Elements(const std::vector<std::pair<std::string, std::string>>& fields) {
  std::string x;
  for (const auto& [name, value] : fields) x += "<" + name + ">" + value + "</" + name + ">";
  return x;
}

// A sale row: identification, then `extra` (TypDokumentu, a KSeF element ...), then K_19/K_20.
inline std::string SaleRow(int lp, const std::string& dowod, const std::string& nip, const std::string& extra = "") {
  return "<SprzedazWiersz>" +
         Elements({{"LpSprzedazy", std::to_string(lp)},
                   {"NrKontrahenta", nip},
                   {"NazwaKontrahenta", "Nabywca " + std::to_string(lp)},
                   {"DowodSprzedazy", dowod},
                   {"DataWystawienia", "2026-02-10"}}) +
         extra + "<K_19>100.00</K_19><K_20>23.00</K_20></SprzedazWiersz>";
}

inline std::string PurchaseRow(int lp, const std::string& dowod, const std::string& nip,
                               const std::string& extra = "") {
  return "<ZakupWiersz>" +
         Elements({{"LpZakupu", std::to_string(lp)},
                   {"NrDostawcy", nip},
                   {"NazwaDostawcy", "Dostawca " + std::to_string(lp)},
                   {"DowodZakupu", dowod},
                   {"DataZakupu", "2026-02-11"}}) +
         extra + "<K_42>50.00</K_42><K_43>11.50</K_43></ZakupWiersz>";
}

struct RegisterXml {
  bool v3 = false;
  std::string rok = "2026";
  std::string miesiac = "2";
  bool person = false;    // OsobaFizyczna (etd children) instead of OsobaNiefizyczna
  std::string positions;  // PozycjeSzczegolowe's content; no Deklaracja when empty
  std::vector<std::string> sales;
  std::vector<std::string> purchases;

  std::string Xml() const {
    const std::string ns = v3 ? v7m::kTargetNamespace3 : v7m::kTargetNamespace;
    const std::string etd = v3 ? v7m::kEtdNamespace3 : v7m::kEtdNamespace;
    std::string x = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<JPK xmlns=\"" + ns + "\" xmlns:etd=\"" + etd + "\">";
    x += std::string("<Naglowek><KodFormularza kodSystemowy=\"") + (v3 ? "JPK_V7M (3)" : "JPK_V7M (2)") +
         "\" wersjaSchemy=\"1-0E\">JPK_VAT</KodFormularza><WariantFormularza>" + (v3 ? "3" : "2") +
         "</WariantFormularza><DataWytworzeniaJPK>" + (v3 ? "2026-03-02T08:00:00Z" : "2026-03-02T08:00:00") +
         "</DataWytworzeniaJPK><NazwaSystemu>Velkar</NazwaSystemu><CelZlozenia poz=\"P_7\">1</CelZlozenia>"
         "<KodUrzedu>1471</KodUrzedu><Rok>" +
         rok + "</Rok><Miesiac>" + miesiac + "</Miesiac></Naglowek>";
    if (person)
      x += "<Podmiot1 rola=\"Podatnik\"><OsobaFizyczna><etd:NIP>5250001090</etd:NIP><etd:ImiePierwsze>Anna"
           "</etd:ImiePierwsze><etd:Nazwisko>Kowalczyk</etd:Nazwisko><etd:DataUrodzenia>1984-06-30"
           "</etd:DataUrodzenia><Email>anna@firma.pl</Email></OsobaFizyczna></Podmiot1>";
    else
      x += "<Podmiot1 rola=\"Podatnik\"><OsobaNiefizyczna><NIP>5250001090</NIP><PelnaNazwa>Firma Testowa"
           "</PelnaNazwa><Email>biuro@firma.pl</Email></OsobaNiefizyczna></Podmiot1>";
    if (!positions.empty())
      x += std::string("<Deklaracja><Naglowek><KodFormularzaDekl kodSystemowy=\"") +
           (v3 ? "VAT-7 (23)" : "VAT-7 (22)") +
           "\" kodPodatku=\"VAT\" rodzajZobowiazania=\"Z\" wersjaSchemy=\"1-0E\">VAT-7</KodFormularzaDekl>"
           "<WariantFormularzaDekl>" +
           (v3 ? "23" : "22") + "</WariantFormularzaDekl></Naglowek><PozycjeSzczegolowe>" + positions +
           "</PozycjeSzczegolowe><Pouczenia>1</Pouczenia></Deklaracja>";
    x += "<Ewidencja>";
    for (const std::string& row : sales) x += row;
    x += "<SprzedazCtrl><LiczbaWierszySprzedazy>" + std::to_string(sales.size()) +
         "</LiczbaWierszySprzedazy><PodatekNalezny>0</PodatekNalezny></SprzedazCtrl>";
    for (const std::string& row : purchases) x += row;
    x += "<ZakupCtrl><LiczbaWierszyZakupow>" + std::to_string(purchases.size()) +
         "</LiczbaWierszyZakupow><PodatekNaliczony>0</PodatekNaliczony></ZakupCtrl></Ewidencja></JPK>\n";
    return x;
  }
  v7m::IXMLJPK Load() const { return v7m::LoadJpkV7FromXML(Xml()); }
};

// The rows of a register: for each, its KSeF element as "BFK", "DI", "OFF" or the number;
// "(brak)" for a row without one.
inline std::vector<std::string> KsefColumn(const v7m::IXMLJPK& doc, const char* rowTag) {
  std::vector<std::string> column;
  xml::TXMLNode ewidencja = doc.FindChild("Ewidencja");
  for (xml::TXMLNode row : ewidencja.ChildNodes()) {
    if (row.LocalName() != rowTag) continue;
    std::string number;
    std::optional<KsefMarker> marker = RowKsef(row, &number);
    column.push_back(!marker ? "(brak)" : *marker == KsefMarker::NrKSeF ? number : KsefMarkerName(*marker));
  }
  return column;
}

// The schema's complaints about `doc` saved as `fileName` ("" when it validates).
inline std::string SchemaProblems(const v7m::IXMLJPK& doc, const std::string& fileName) {
  doc.OwnerDocument()->SaveToFile(fileName);
  JpkValidation result = ValidateJpkFile(fileName);
  std::string problems;
  for (const SchemaViolation& violation : result.violations) problems += DescribeViolation(violation) + "\n";
  return problems;
}

}  // namespace velkar::test
