// The converter's test bench: the converter and the editor wired as the program wires them,
// a scripted UI, settings for March 2024, a JPK_FA(4) file builder, and the Buchalter tables
// read back record by record (as `velkar db dump` prints them).
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/MainForm.h"
#include "app/Settings.h"
#include "app/ui/ScriptedUi.h"
#include "base/DateTime.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "editor/JpkVatDlg.h"
#include "editor/LinkAskDlg.h"
#include "editor/ParagonDlg.h"
#include "exchange/ExchFormatDlg.h"
#include "model/fa/JpkFA.h"
#include "tests/editor/V7mFixture.h"
#include "tests/support/TempDir.h"
#include "tools/db/CsvExport.h"
#include "tools/db/Session.h"
#include "tools/db/Table.h"

namespace velkar::test {

// One invoice of a JPK_FA(4) file: the elements of Faktura in schema order.
struct Invoice {
  Fields fields;
};

// An invoice of `seller` (P_4B) to `buyer` (P_5B) with its amounts.
inline Invoice MakeInvoice(const std::string& number, const std::string& seller, const std::string& buyer,
                           Fields amounts) {
  Invoice invoice{{{"KodWaluty", "PLN"},
                   {"P_1", "2024-03-12"},
                   {"P_2A", number},
                   {"P_3A", "Nabywca Sp. z o.o."},
                   {"P_3B", "ul. Długa 1, 00-001 Warszawa"},
                   {"P_3C", "Sprzedawca S.A."},
                   {"P_3D", "ul. Krótka 2, 30-001 Kraków"},
                   {"P_4A", "PL"},
                   {"P_4B", seller},
                   {"P_5B", buyer}}};
  invoice.fields.insert(invoice.fields.end(), amounts.begin(), amounts.end());
  invoice.fields.push_back({"P_15", "0"});
  for (const char* flag : {"P_16", "P_17", "P_18", "P_18A", "P_19", "P_20", "P_21", "P_22", "P_23", "P_106E_2"})
    invoice.fields.push_back({flag, "false"});
  invoice.fields.push_back({"RodzajFaktury", "VAT"});
  return invoice;
}

inline constexpr const char* kTaxpayerNip = "5250001090";

struct FaFile {
  std::string nip = kTaxpayerNip;
  std::vector<Invoice> invoices;

  std::string Xml() const {
    std::string x = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<JPK xmlns=\"" + std::string(fa::kTargetNamespace) +
                    "\" xmlns:etd=\"" + fa::kEtdNamespace + "\">";
    x += "<Naglowek><KodFormularza kodSystemowy=\"JPK_FA (4)\" wersjaSchemy=\"1-0\">JPK_FA</KodFormularza>"
         "<WariantFormularza>4</WariantFormularza><CelZlozenia>1</CelZlozenia>"
         "<DataWytworzeniaJPK>2024-04-02T09:05:07</DataWytworzeniaJPK><DataOd>2024-03-01</DataOd>"
         "<DataDo>2024-03-31</DataDo><KodUrzedu>1471</KodUrzedu></Naglowek>";
    x += "<Podmiot1><IdentyfikatorPodmiotu><NIP>" + nip +
         "</NIP><PelnaNazwa>Firma Testowa</PelnaNazwa></IdentyfikatorPodmiotu></Podmiot1>";
    for (const Invoice& invoice : invoices) {
      x += "<Faktura>";
      for (const auto& [name, value] : invoice.fields) x += "<" + name + ">" + value + "</" + name + ">";
      x += "</Faktura>";
    }
    x += "<FakturaCtrl><LiczbaFaktur>" + std::to_string(invoices.size()) +
         "</LiczbaFaktur><WartoscFaktur>0</WartoscFaktur></FakturaCtrl></JPK>\n";
    return x;
  }
};

// The same document with its own namespace declared under the prefix tns (as some
// programs write JPK files): every element prefixed.
inline std::string Prefixed(const std::string& xml) {
  std::string out = ReplaceAll(ReplaceAll(ReplaceAll(xml, "<", "<tns:"), "<tns:/", "</tns:"), "<tns:?xml", "<?xml");
  return ReplaceAll(out, "<tns:JPK xmlns=", "<tns:JPK xmlns:tns=");
}

// A record of a dBASE table: field name → the text `velkar db dump` prints for it.
using Record = std::map<std::string, std::string>;

// Splits one CSV line (RFC 4180, no line breaks inside fields).
inline std::vector<std::string> CsvCells(const std::string& line) {
  std::vector<std::string> cells(1);
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
        cells.back() += '"';
        ++i;
      } else if (c == '"') {
        quoted = false;
      } else {
        cells.back() += c;
      }
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      cells.emplace_back();
    } else if (c != '\r') {
      cells.back() += c;
    }
  }
  return cells;
}

// Every record of a CSV text with a header line.
inline std::vector<Record> CsvRecords(const std::string& csv) {
  std::vector<Record> records;
  std::istringstream in(csv);
  std::string line;
  std::vector<std::string> header;
  while (std::getline(in, line)) {
    std::vector<std::string> cells = CsvCells(line);
    if (header.empty()) {
      header = cells;
      continue;
    }
    Record record;
    for (size_t i = 0; i < header.size() && i < cells.size(); ++i) record[header[i]] = cells[i];
    records.push_back(record);
  }
  return records;
}

// The records of a dBASE table read back through the database engine, as CSV text.
inline std::vector<Record> ReadTable(const std::string& path) {
  db::Session session;
  db::TTable table(&session);
  table.DatabaseName = ExtractFilePath(path);
  table.TableName = ExtractFileName(path);
  table.Open();
  std::ostringstream csv;
  db::WriteCsv(table, {}, table.TableName, csv);
  table.Close();
  return CsvRecords(csv.str());
}

// The converter with the main window and the editor, as the program creates them; RunDir
// is the source tree, which holds Buchalter/Empty/.
class ExchangeTest : public ::testing::Test {
 protected:
  ExchangeTest() : editor(openDlg, saveDlg, linkAsk, paragon), dlg((Prepare(), mainForm)) { dlg.JpkVatDlg = &editor; }
  ~ExchangeTest() override { Clock::Unfreeze(); }

  void Prepare() {
    Settings() = ProgramSettings{};
    Settings().NIP = kTaxpayerNip;
    Settings().Nazwa = "Firma Testowa";
    Settings().Email = "biuro@firma.pl";
    Settings().USCode = "1471";
    Settings().NazwaSystemu = "Velkar";
    Settings().CurDate = DateTime{2024, 3, 15};
    Clock::Freeze(DateTime{2024, 4, 2, 9, 5, 7});
    mainForm.RunDir = IncludeTrailingPathDelimiter(SourceDir());
  }

  // The dialog shown, with its input and output chosen as a user types them.
  void Choose(const std::string& input, const std::string& output, const std::string& file, const std::string& folder) {
    dlg.FormShow();
    dlg.cbInputFormat.Text = input;
    dlg.cbOutputFormat.Text = output;
    dlg.edInputFile.Text = file;
    dlg.edOutputFolder.Text = folder;
  }

  ScriptedUi ui;
  TempDir dir;
  TMainForm mainForm;
  FileDialogOptions openDlg, saveDlg;
  TdlgLinkAsk linkAsk;
  TParagonDlg paragon;
  TJpkVatDlg editor;
  TExchFormatDlg dlg;
};

}  // namespace velkar::test
