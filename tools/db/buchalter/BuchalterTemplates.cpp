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
  Template sales{"B5SPEX", "sales documents, one record per SprzedazWiersz row",
                 {
                     Text("STV", 1, "document status (\"T\")"),
                     Text("TTR", 1, "transaction mark (\"N\")"),
                     Whole("STM", 2, "document kind (1)"),
                     Text("ANU", 1, "cancelled (\"N\")"),
                     Whole("TYV", 2, "document type: 1 invoice, 3 return, 5 RO, 9 FP"),
                     Text("PRE", 20, "number prefix (the letters before the number)"),
                     Whole("NRV", 15, "document number (its digits)"),
                     Text("POS", 30, "number suffix"),
                     Date("DAW", "issue date"),
                     Date("DAS", "sale date"),
                     Date("DAV", "sale date (VAT)"),
                     Text("KNA", 40, "shortened contractor name"),
                     Text("NA1", 70, "contractor name, line 1"),
                     Text("NA2", 70, "contractor name, line 2"),
                     Text("KRA", 20, "country (\"POLSKA\")"),
                     Text("NIP", 20, "contractor number (NIP with a country prefix, or \"brak\")"),
                     Text("PLA", 10, "payment form (\"INNA\")"),
                     Date("DPL", "payment date"),
                     Amount("NET", "net amount"),
                     Amount("VAT", "VAT amount"),
                     Amount("BRU", "gross amount"),
                     Amount("KRN", "net of a return (correction)"),
                     Amount("KRV", "VAT of a return (correction)"),
                     Text("OP1", 30, "description (\"SPRZEDAZ\" / \"ZWROT\")"),
                     Whole("REC", 8, "document record number"),
                     Whole("AKT", 1, "update mark (0)"),
                     Whole("TRY", 2, "mode (1)"),
                     Whole("TRK", 2, "posting mode (1)"),
                     Text("OSM", 80, "the whole document number"),
                     Whole("TYB", 2, "base type (1)"),
                     Text("WAL", 3, "currency (\"PLN\")"),
                     ExchangeRate("KVA", "exchange rate (1.0)"),
                     Text("NKK", 13, "GTU_01 to GTU_13 marks (T/N)"),
                     Text("NKV", 13, "procedure marks (T/N)"),
                     ExchangeRate("KKS", "booking exchange rate (1.0)"),
                     Text("RE4", 1, "mark (\"N\")"),
                 }};
  Template salesItems{"B5ESEX", "sales items, one record per VAT rate present in the row",
                      {
                          Text("STV", 1, "item status (\"N\")"),
                          Whole("STM", 2, "document kind (1)"),
                          Text("CSS", 1, "mark (\"T\")"),
                          Whole("TYV", 2, "document type, as in B5SPEX"),
                          Text("PRE", 20, "number prefix, as in B5SPEX"),
                          Whole("NRV", 15, "document number, as in B5SPEX"),
                          Text("POS", 30, "number suffix, as in B5SPEX"),
                          Date("DAW", "issue date"),
                          Date("DAV", "sale date"),
                          Whole("KON", 8, "account (0)"),
                          Whole("TYP", 2, "item type (1)"),
                          Whole("RYT", 2, "kind (3)"),
                          Rate("RYS", "flat-rate percentage (3.0)"),
                          Text("NA1", 70, "description: \"SPRZEDAZ \" and the rate"),
                          Quantity("ILO", "quantity (1.0)"),
                          Rate("RAS", "discount (0)"),
                          Amount("CNB", "net price"),
                          Amount("CBB", "gross price"),
                          Amount("CNR", "net price after discount"),
                          Amount("CBR", "gross price after discount"),
                          Amount("WNE", "net amount"),
                          Amount("WAV", "VAT amount"),
                          Amount("WAB", "gross amount"),
                          Amount("KRN", "net of a return"),
                          Amount("KRV", "VAT of a return"),
                          Quantity("KILO", "quantity of a return"),
                          Amount("KCNB", "net price of a return"),
                          Amount("KCBB", "gross price of a return"),
                          Amount("KCNR", "net price of a return after discount"),
                          Amount("KCBR", "gross price of a return after discount"),
                          Whole("KVAT", 2, "rate code of a return"),
                          Rate("KVAS", "rate of a return"),
                          Amount("KWAV", "VAT of a return"),
                          Amount("KWAB", "gross of a return"),
                          Whole("VAT", 2, "rate code: 23→1, 8→2, 0→3, exempt→4, 5→8"),
                          Rate("VAS", "VAT rate (0 when exempt)"),
                          Whole("REK", 8, "document record number"),
                          Whole("REC", 8, "item record number"),
                          Whole("ZRP", 2, "mark (1)"),
                          Text("STA", 1, "status (\"T\")"),
                          Text("WAL", 3, "currency (\"PLN\")"),
                          ExchangeRate("KVA", "exchange rate (1.0)"),
                          ExchangeRate("KKS", "booking exchange rate (1.0)"),
                      }};
  Template purchases{"B5ZAEX", "purchase documents, one record per ZakupWiersz row",
                     {
                         Text("TTR", 1, "transaction mark (\"N\")"),
                         Whole("STM", 2, "kind: 2 when the number contains FUE, else 1"),
                         Text("ANU", 1, "cancelled (\"N\")"),
                         Whole("TYV", 2, "document type: 1 invoice, 3 return"),
                         Text("NRV", 80, "purchase document number (text)"),
                         Date("DAV", "receipt date"),
                         Date("DZK", "receipt date"),
                         Text("KDO", 40, "shortened supplier name"),
                         Text("NA1", 70, "supplier name, line 1"),
                         Text("NA2", 70, "supplier name, line 2"),
                         Text("KRA", 20, "country (\"POLSKA\")"),
                         Text("NIP", 20, "supplier number"),
                         Amount("KRN", "net of a return"),
                         Amount("KRV", "VAT of a return"),
                         Text("OP1", 30, "description (\"ZAKUP TH\" / \"ZWROT\")"),
                         Whole("TYM", 2, "return mark (1)"),
                         Amount("NET", "net amount"),
                         Amount("VAT", "VAT amount"),
                         Amount("BRU", "gross amount"),
                         Text("PLA", 10, "payment form (\"INNA\")"),
                         Date("DPL", "purchase date"),
                         Whole("REC", 8, "document record number"),
                         Whole("AKT", 1, "update mark (0)"),
                         Whole("TRY", 2, "mode (1)"),
                         Whole("TRK", 2, "posting mode (1)"),
                         Text("ZAP", 1, "paid (\"N\")"),
                         Whole("KZA", 2, "mark (0)"),
                         Date("DAM", "purchase date"),
                         Text("STA", 1, "status (\"T\")"),
                         Text("WAL", 3, "currency (\"PLN\")"),
                         ExchangeRate("KVA", "exchange rate (1.0)"),
                         ExchangeRate("KKS", "booking exchange rate (1.0)"),
                         Whole("TKO", 2, "contractor type (1)"),
                     }};
  Template purchaseItems{"B5EZEX", "purchase items, one record per ZakupWiersz row",
                         {
                             Text("STV", 1, "item status (\"N\")"),
                             Whole("STM", 2, "kind, as in B5ZAEX"),
                             Text("ANU", 1, "cancelled (\"N\")"),
                             Whole("TYV", 2, "document type, as in B5ZAEX"),
                             Text("NRV", 80, "purchase document number (text)"),
                             Date("DAV", "receipt date"),
                             Whole("KON", 8, "account (0)"),
                             Whole("TYW", 2, "type (1)"),
                             Whole("TYZ", 2, "purchase type (1)"),
                             Whole("TYS", 2, "rate type (1)"),
                             Text("NA1", 70, "description: \"ZAKUP \" and the rate"),
                             Whole("VAT", 2, "rate code: 23→1, 8→2, 0→3, 5→8"),
                             Rate("VAS", "VAT rate"),
                             Text("CZO", 1, "mark (\"1\")"),
                             Whole("REK", 8, "document record number"),
                             Whole("REC", 8, "item record number"),
                             Quantity("ILO", "quantity (1.0; 0 for a return)"),
                             Amount("CEN", "net price"),
                             Amount("CEB", "gross price"),
                             Amount("WAN", "net amount"),
                             Amount("WAV", "VAT amount"),
                             Amount("WAB", "gross amount"),
                             Quantity("ILK", "correction quantity (-1.0)"),
                             Amount("KRN", "net of a return"),
                             Amount("KRV", "VAT of a return"),
                             Text("WAL", 3, "currency (\"PLN\")"),
                             ExchangeRate("KVA", "exchange rate (1.0)"),
                             ExchangeRate("KKS", "booking exchange rate (1.0)"),
                             Text("RE3", 1, "mark (\"N\")"),
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
