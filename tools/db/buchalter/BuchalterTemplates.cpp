// The Buchalter template tables. Field codes are those the Buchalter export sets; types
// and widths are ours: texts wide enough for the JPK values they take (names in two
// 70-character lines), amounts N 15.2, rates and quantities with their decimals, dates D.
#include "tools/db/buchalter/BuchalterTemplates.h"

#include <shapefil.h>

#include <cstdio>
#include <memory>

#include "base/Error.h"
#include "base/Paths.h"

namespace velkar::db::buchalter {

namespace {

// Shared shapes of fields.
TemplateField Text(const char* name, int width, const char* meaning) { return {name, 'C', width, 0, meaning}; }
TemplateField Whole(const char* name, int width, const char* meaning) { return {name, 'N', width, 0, meaning}; }
TemplateField Amount(const char* name, const char* meaning) { return {name, 'N', 15, 2, meaning}; }
TemplateField Rate(const char* name, const char* meaning) { return {name, 'N', 6, 2, meaning}; }
TemplateField Quantity(const char* name, const char* meaning) { return {name, 'N', 12, 3, meaning}; }
TemplateField ExchangeRate(const char* name, const char* meaning) { return {name, 'N', 12, 4, meaning}; }
TemplateField Date(const char* name, const char* meaning) { return {name, 'D', 8, 0, meaning}; }

std::vector<Template> Define() {
  Template sales{"B5SPEX", "dokumenty sprzedaży (jeden rekord na wiersz SprzedazWiersz)",
                 {
                     Text("STV", 1, "status dokumentu (\"T\")"),
                     Text("TTR", 1, "znacznik transakcji (\"N\")"),
                     Whole("STM", 2, "rodzaj dokumentu (1)"),
                     Text("ANU", 1, "dokument anulowany (\"N\")"),
                     Whole("TYV", 2, "typ dokumentu: 1 faktura, 3 zwrot, 5 RO, 9 FP"),
                     Text("PRE", 20, "przedrostek numeru (litery przed numerem)"),
                     Whole("NRV", 15, "numer dokumentu (cyfry)"),
                     Text("POS", 30, "przyrostek numeru"),
                     Date("DAW", "data wystawienia"),
                     Date("DAS", "data sprzedaży"),
                     Date("DAV", "data sprzedaży (VAT)"),
                     Text("KNA", 40, "skrócona nazwa kontrahenta"),
                     Text("NA1", 70, "nazwa kontrahenta, wiersz 1"),
                     Text("NA2", 70, "nazwa kontrahenta, wiersz 2"),
                     Text("KRA", 20, "kraj (\"POLSKA\")"),
                     Text("NIP", 20, "numer kontrahenta (NIP z przedrostkiem kraju albo \"brak\")"),
                     Text("PLA", 10, "forma płatności (\"INNA\")"),
                     Date("DPL", "termin płatności"),
                     Amount("NET", "wartość netto"),
                     Amount("VAT", "kwota VAT"),
                     Amount("BRU", "wartość brutto"),
                     Amount("KRN", "netto zwrotu (korekty)"),
                     Amount("KRV", "VAT zwrotu (korekty)"),
                     Text("OP1", 30, "opis (\"SPRZEDAZ\" / \"ZWROT\")"),
                     Whole("REC", 8, "numer rekordu dokumentu"),
                     Whole("AKT", 1, "znacznik aktualizacji (0)"),
                     Whole("TRY", 2, "tryb (1)"),
                     Whole("TRK", 2, "tryb księgowania (1)"),
                     Text("OSM", 80, "numer dokumentu w całości"),
                     Whole("TYB", 2, "typ bazy (1)"),
                     Text("WAL", 3, "waluta (\"PLN\")"),
                     ExchangeRate("KVA", "kurs waluty (1.0)"),
                     Text("NKK", 13, "znaczniki GTU_01..GTU_13 (T/N)"),
                     Text("NKV", 13, "znaczniki procedur (T/N)"),
                     ExchangeRate("KKS", "kurs księgowy (1.0)"),
                     Text("RE4", 1, "znacznik (\"N\")"),
                 }};
  Template salesItems{"B5ESEX", "pozycje sprzedaży (jeden rekord na stawkę VAT wiersza)",
                      {
                          Text("STV", 1, "status pozycji (\"N\")"),
                          Whole("STM", 2, "rodzaj dokumentu (1)"),
                          Text("CSS", 1, "znacznik (\"T\")"),
                          Whole("TYV", 2, "typ dokumentu, jak w B5SPEX"),
                          Text("PRE", 20, "przedrostek numeru, jak w B5SPEX"),
                          Whole("NRV", 15, "numer dokumentu, jak w B5SPEX"),
                          Text("POS", 30, "przyrostek numeru, jak w B5SPEX"),
                          Date("DAW", "data wystawienia"),
                          Date("DAV", "data sprzedaży"),
                          Whole("KON", 8, "konto (0)"),
                          Whole("TYP", 2, "typ pozycji (1)"),
                          Whole("RYT", 2, "rodzaj (3)"),
                          Rate("RYS", "stawka ryczałtu (3.0)"),
                          Text("NA1", 70, "opis: \"SPRZEDAZ \" i stawka"),
                          Quantity("ILO", "ilość (1.0)"),
                          Rate("RAS", "rabat (0)"),
                          Amount("CNB", "cena netto"),
                          Amount("CBB", "cena brutto"),
                          Amount("CNR", "cena netto po rabacie"),
                          Amount("CBR", "cena brutto po rabacie"),
                          Amount("WNE", "wartość netto"),
                          Amount("WAV", "kwota VAT"),
                          Amount("WAB", "wartość brutto"),
                          Amount("KRN", "netto zwrotu"),
                          Amount("KRV", "VAT zwrotu"),
                          Quantity("KILO", "ilość zwrotu"),
                          Amount("KCNB", "cena netto zwrotu"),
                          Amount("KCBB", "cena brutto zwrotu"),
                          Amount("KCNR", "cena netto zwrotu po rabacie"),
                          Amount("KCBR", "cena brutto zwrotu po rabacie"),
                          Whole("KVAT", 2, "kod stawki zwrotu"),
                          Rate("KVAS", "stawka zwrotu"),
                          Amount("KWAV", "VAT zwrotu"),
                          Amount("KWAB", "brutto zwrotu"),
                          Whole("VAT", 2, "kod stawki: 23→1, 8→2, 0→3, zw→4, 5→8"),
                          Rate("VAS", "stawka VAT (0 dla zwolnionej)"),
                          Whole("REK", 8, "numer rekordu dokumentu"),
                          Whole("REC", 8, "numer rekordu pozycji"),
                          Whole("ZRP", 2, "znacznik (1)"),
                          Text("STA", 1, "status (\"T\")"),
                          Text("WAL", 3, "waluta (\"PLN\")"),
                          ExchangeRate("KVA", "kurs waluty (1.0)"),
                          ExchangeRate("KKS", "kurs księgowy (1.0)"),
                      }};
  Template purchases{"B5ZAEX", "dokumenty zakupu (jeden rekord na wiersz ZakupWiersz)",
                     {
                         Text("TTR", 1, "znacznik transakcji (\"N\")"),
                         Whole("STM", 2, "rodzaj: 2 gdy numer zawiera FUE, inaczej 1"),
                         Text("ANU", 1, "dokument anulowany (\"N\")"),
                         Whole("TYV", 2, "typ dokumentu: 1 faktura, 3 zwrot"),
                         Text("NRV", 80, "numer dokumentu zakupu (tekst)"),
                         Date("DAV", "data wpływu"),
                         Date("DZK", "data wpływu"),
                         Text("KDO", 40, "skrócona nazwa dostawcy"),
                         Text("NA1", 70, "nazwa dostawcy, wiersz 1"),
                         Text("NA2", 70, "nazwa dostawcy, wiersz 2"),
                         Text("KRA", 20, "kraj (\"POLSKA\")"),
                         Text("NIP", 20, "numer dostawcy"),
                         Amount("KRN", "netto zwrotu"),
                         Amount("KRV", "VAT zwrotu"),
                         Text("OP1", 30, "opis (\"ZAKUP TH\" / \"ZWROT\")"),
                         Whole("TYM", 2, "znacznik zwrotu (1)"),
                         Amount("NET", "wartość netto"),
                         Amount("VAT", "kwota VAT"),
                         Amount("BRU", "wartość brutto"),
                         Text("PLA", 10, "forma płatności (\"INNA\")"),
                         Date("DPL", "data zakupu"),
                         Whole("REC", 8, "numer rekordu dokumentu"),
                         Whole("AKT", 1, "znacznik aktualizacji (0)"),
                         Whole("TRY", 2, "tryb (1)"),
                         Whole("TRK", 2, "tryb księgowania (1)"),
                         Text("ZAP", 1, "zapłacono (\"N\")"),
                         Whole("KZA", 2, "znacznik (0)"),
                         Date("DAM", "data zakupu"),
                         Text("STA", 1, "status (\"T\")"),
                         Text("WAL", 3, "waluta (\"PLN\")"),
                         ExchangeRate("KVA", "kurs waluty (1.0)"),
                         ExchangeRate("KKS", "kurs księgowy (1.0)"),
                         Whole("TKO", 2, "typ kontrahenta (1)"),
                     }};
  Template purchaseItems{"B5EZEX", "pozycje zakupu (jeden rekord na wiersz ZakupWiersz)",
                         {
                             Text("STV", 1, "status pozycji (\"N\")"),
                             Whole("STM", 2, "rodzaj, jak w B5ZAEX"),
                             Text("ANU", 1, "anulowana (\"N\")"),
                             Whole("TYV", 2, "typ dokumentu, jak w B5ZAEX"),
                             Text("NRV", 80, "numer dokumentu zakupu (tekst)"),
                             Date("DAV", "data wpływu"),
                             Whole("KON", 8, "konto (0)"),
                             Whole("TYW", 2, "typ (1)"),
                             Whole("TYZ", 2, "typ zakupu (1)"),
                             Whole("TYS", 2, "typ stawki (1)"),
                             Text("NA1", 70, "opis: \"ZAKUP \" i stawka"),
                             Whole("VAT", 2, "kod stawki: 23→1, 8→2, 0→3, 5→8"),
                             Rate("VAS", "stawka VAT"),
                             Text("CZO", 1, "znacznik (\"1\")"),
                             Whole("REK", 8, "numer rekordu dokumentu"),
                             Whole("REC", 8, "numer rekordu pozycji"),
                             Quantity("ILO", "ilość (1.0, 0 dla zwrotu)"),
                             Amount("CEN", "cena netto"),
                             Amount("CEB", "cena brutto"),
                             Amount("WAN", "wartość netto"),
                             Amount("WAV", "kwota VAT"),
                             Amount("WAB", "wartość brutto"),
                             Quantity("ILK", "ilość korekty (-1.0)"),
                             Amount("KRN", "netto zwrotu"),
                             Amount("KRV", "VAT zwrotu"),
                             Text("WAL", 3, "waluta (\"PLN\")"),
                             ExchangeRate("KVA", "kurs waluty (1.0)"),
                             ExchangeRate("KKS", "kurs księgowy (1.0)"),
                             Text("RE3", 1, "znacznik (\"N\")"),
                         }};
  return {sales, salesItems, purchases, purchaseItems};
}

}  // namespace

const std::vector<Template>& BuchalterTemplates() {
  static const std::vector<Template> templates = Define();
  return templates;
}

void WriteTemplate(const Template& table, const std::string& path) {
  ReplaceFileAtomically(path, [&](const std::string& temp) {
    // shapelib names the file it creates itself: base name + ".dbf".
    std::string created = temp + ".dbf";
    {
      // Language driver 0x69: Mazovia, the code page the table's text is written in.
      std::unique_ptr<DBFInfo, decltype(&DBFClose)> dbf(DBFCreateEx(created.c_str(), "LDID/105"), &DBFClose);
      if (!dbf) Fail("Nie można utworzyć tabeli %s", path);
      for (const TemplateField& field : table.fields)
        if (DBFAddNativeFieldType(dbf.get(), field.name, field.type, field.width, field.decimals) < 0) {
          dbf.reset();
          std::remove(created.c_str());
          Fail("Nie można dodać pola %s do tabeli %s", field.name, path);
        }
      DBFSetLastModifiedDate(dbf.get(), 124, 1, 1);  // 2024-01-01: the same bytes on every run
    }
    if (std::rename(created.c_str(), temp.c_str()) != 0) {
      std::remove(created.c_str());
      Fail("Nie można zapisać tabeli %s", path);
    }
  });
}

}  // namespace velkar::db::buchalter
