// Register tables of Gradmo, Tulvo and Fennik written by the tests, the editor and the
// new-JPK_V7M dialog wired as the program wires them, and readers of the rows generated.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/Settings.h"
#include "app/ui/ScriptedUi.h"
#include "base/DateTime.h"
#include "editor/JpkVatDlg.h"
#include "editor/LinkAskDlg.h"
#include "editor/ParagonDlg.h"
#include "generate/GenJpkVatDlg.h"
#include "jpkfiles/JpkLoadSave.h"
#include "jpkfiles/SchemaValidation.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TempDir.h"
#include "tests/tools/db/ParadoxFixture.h"
#include "tools/ContractorData.h"
#include "tools/db/Session.h"

namespace velkar::test {

// A record: the values it sets by field name; every other field is NULL.
using Rec = std::vector<std::pair<std::string, PxValue>>;

inline PxValue D(const char* text) { return PxDate{text}; }

inline void WriteRecords(const std::string& path, const std::vector<PxField>& fields, const std::vector<Rec>& records) {
  std::vector<std::vector<PxValue>> rows;
  for (const Rec& record : records) {
    std::vector<PxValue> row(fields.size());
    for (const auto& [name, value] : record) {
      size_t i = 0;
      while (i < fields.size() && fields[i].name != name) ++i;
      if (i == fields.size()) throw std::runtime_error("no field " + name);
      row[i] = value;
    }
    rows.push_back(std::move(row));
  }
  WriteParadoxTable(path, fields, rows);
}

inline std::vector<PxField> UsersFields() {
  return {{"Number", PxType::Long},      {"Firm Name", PxType::Alpha, 60}, {"NIP", PxType::Alpha, 20},
          {"City", PxType::Alpha, 40},   {"Street", PxType::Alpha, 40},    {"House", PxType::Alpha, 10},
          {"ZipCode", PxType::Alpha, 10}};
}

// Per-period contractor tables (UR, UC) have one Address field.
inline std::vector<PxField> PeriodUsersFields() {
  return {{"Number", PxType::Long}, {"Firm Name", PxType::Alpha, 60}, {"NIP", PxType::Alpha, 20},
          {"City", PxType::Alpha, 40}, {"Address", PxType::Alpha, 60}, {"ZipCode", PxType::Alpha, 10}};
}

// Cards: 1 and 6 valid Polish numbers (1 with hyphens), 2 a German number, 3 a number whose
// check digit fails, 4 no number, 5 no name.
inline std::vector<Rec> StandardUsers() {
  return {{{"Number", 1LL}, {"Firm Name", "Hurtownia Alfa Sp. z o.o."}, {"NIP", "526-025-02-74"}, {"City", "Warszawa"}},
          {{"Number", 2LL}, {"Firm Name", "Feinkost Müller GmbH"}, {"NIP", "DE811234567"}, {"City", "Berlin"}},
          {{"Number", 3LL}, {"Firm Name", "Zły Numer Sp. j."}, {"NIP", "1234567890"}, {"City", "Łódź"}},
          {{"Number", 4LL}, {"Firm Name", "Klient detaliczny"}},
          {{"Number", 5LL}, {"NIP", "5260250274"}},
          {{"Number", 6LL}, {"Firm Name", "Dostawca Beta S.A."}, {"NIP", "7740001454"}, {"City", "Kraków"}}};
}

inline std::vector<PxField> GradmoRegFields() {
  std::vector<PxField> fields = {{"Class", PxType::Short}, {"Year", PxType::Short},   {"MagId", PxType::Short},
                                 {"Number", PxType::Long},  {"Flags", PxType::Long},   {"Document", PxType::Alpha, 30},
                                 {"Payer", PxType::Long},   {"Date", PxType::Date},    {"SaleDate", PxType::Date},
                                 {"GTU", PxType::Long}};
  for (const char* amount : {"Value", "ValueFree", "Value0", "Value3", "Tax3", "Value7", "Tax7", "Value22", "Tax22",
                             "TotalTax"})
    fields.push_back({amount, PxType::Currency});
  return fields;
}

inline std::vector<PxField> TulvoOlderFields() {
  std::vector<PxField> fields = {{"Number", PxType::Long},
                                 {"Period Id", PxType::Short},
                                 {"Dokument", PxType::Alpha, 30},
                                 {"User", PxType::Long},
                                 {"Data Wystawienia", PxType::Date},
                                 {"Data Sprzedazy", PxType::Date},
                                 {"Data Wplywu", PxType::Date},
                                 {"TypDokumentu", PxType::Alpha, 10},
                                 {"GTU", PxType::Long},
                                 {"Procedura", PxType::Long}};
  for (const char* amount : {"Wart. zw", "Wart. 0", "Wart. 3", "VAT 3", "Wart. 7", "VAT 7", "Wart. 22", "VAT 22",
                             "VatNPO", "VAT"})
    fields.push_back({amount, PxType::Number});
  return fields;
}

inline std::vector<PxField> TulvoNewerFields() {
  std::vector<PxField> fields = {{"Number", PxType::AutoInc},  {"RegType", PxType::Short},
                                 {"VatPeriod", PxType::Short}, {"DocName", PxType::Alpha, 30},
                                 {"FirmId", PxType::Long},     {"DocDate", PxType::Date},
                                 {"SaleDate", PxType::Date},   {"TypDokumentu", PxType::Alpha, 10},
                                 {"GTU", PxType::Long},        {"Procedura", PxType::Long}};
  for (const char* amount : {"ValueFree", "Value0", "NetA", "VatA", "NetB", "VatB", "NetD", "VatD"})
    fields.push_back({amount, PxType::Number});
  return fields;
}

inline std::vector<PxField> FennikFields() {
  std::vector<PxField> fields = {{"Number", PxType::Long},   {"RegId", PxType::Short},
                                 {"VATMonth", PxType::Short}, {"DocName", PxType::Alpha, 30},
                                 {"FirmId", PxType::Long},   {"RegDate", PxType::Date},
                                 {"SaleDate", PxType::Date},  {"TypDokumentu", PxType::Alpha, 10},
                                 {"GTU", PxType::Long},      {"Procedura", PxType::Long}};
  for (const char* amount : {"ValueFree", "Value0", "Net3", "Vat3", "Net7", "Vat7", "Net22", "Vat22", "VatNoDeduct"})
    fields.push_back({amount, PxType::Currency});
  return fields;
}

// One generated row: its elements' names in order and their texts.
struct GenRow {
  std::vector<std::string> names;
  std::map<std::string, std::string> values;
  std::string operator[](const std::string& name) const {
    auto it = values.find(name);
    return it == values.end() ? "(brak)" : it->second;
  }
  bool Has(const std::string& name) const { return values.contains(name); }
};

// The editor, its dialogs and the new-JPK_V7M dialog with a scripted UI; a company with the
// folders of the three programs under a temporary folder; March 2024; a frozen clock.
class GenerateTest : public ::testing::Test {
 protected:
  GenerateTest() : editor(openDlg, saveDlg, linkAsk, paragon) {
    ProgramSettings s;
    s.NIP = "5250001090";
    s.Nazwa = "Firma Testowa Sp. z o.o.";
    s.Email = "biuro@firma.pl";
    s.USCode = "1471";
    s.NazwaSystemu = "Velkar";
    s.CurDate = DateTime{2024, 3, 15, 10, 30, 0};
    s.QorDataDir = dir.Path() + "Gradmo/";
    s.UserDir = dir.Path() + "Kontrahenci/";
    s.TulvoUserDir = s.UserDir;
    s.TulvoDir = dir.Path() + "Tulvo/";
    s.FennikDir = dir.Path() + "Fennik/";
    s.ClearEnter = false;
    s.SalesDocumentClasses = MakeSalesDocumentClasses(false);
    Settings() = s;
    for (const char* folder : {"Gradmo", "Kontrahenci", "Tulvo/2024", "Fennik/2024"})
      std::filesystem::create_directories(dir.File(folder));
    Clock::Freeze(DateTime{2024, 4, 2, 9, 5, 7});
    CurrentJpkFileName() = kNewJpkFileName;
  }
  ~GenerateTest() override {
    gen.reset();
    Settings() = ProgramSettings{};
    UsersIsSingle = false;
    Clock::Unfreeze();
  }

  void WriteUsers(const std::vector<Rec>& users = StandardUsers()) {
    WriteRecords(dir.File("Kontrahenci/Users.db"), UsersFields(), users);
  }
  void WriteGradmo(const std::vector<Rec>& records, const std::string& name = "24_03REG") {
    WriteRecords(dir.File("Gradmo/" + name + ".db"), GradmoRegFields(), records);
  }

  // The dialog, created (FormCreate) on first use, after the test's settings.
  TGenJpkVatDlg& Dialog() {
    if (!gen) gen = std::make_unique<TGenJpkVatDlg>(editor, session);
    return *gen;
  }
  // Chooses the source and runs "Generuj"; the error's message, or "" when none.
  std::string Generate(TRadioButton TGenJpkVatDlg::*source) {
    TGenJpkVatDlg& dlg = Dialog();
    dlg.rbSourceClick(dlg.*source);
    try {
      dlg.btnDoItClick();
    } catch (const std::exception& error) {
      return error.what();
    }
    return "";
  }

  std::vector<GenRow> Rows(const char* tag) const {
    std::vector<GenRow> rows;
    if (!editor.LoadedJpk) return rows;
    xml::TXMLNode ewidencja = editor.LoadedJpk.FindChild("Ewidencja");
    if (!ewidencja) return rows;
    for (xml::TXMLNode row : ewidencja.ChildNodes()) {
      if (row.LocalName() != tag) continue;
      GenRow out;
      for (xml::TXMLNode field : row.ChildNodes()) {
        out.names.push_back(field.LocalName());
        out.values[field.LocalName()] = field.Text();
      }
      rows.push_back(std::move(out));
    }
    return rows;
  }
  std::vector<GenRow> Sales() const { return Rows("SprzedazWiersz"); }
  std::vector<GenRow> Purchases() const { return Rows("ZakupWiersz"); }
  std::string Ctrl(const char* record, const char* field) const {
    xml::TXMLNode ctrl = editor.LoadedJpk.FindChild("Ewidencja").FindChild(record);
    xml::TXMLNode value = ctrl ? ctrl.FindChild(field) : xml::TXMLNode();
    return value ? value.Text() : "(brak)";
  }

  // Saves the editor's document and checks it against the official schema.
  std::string SchemaProblems() {
    std::string fileName = dir.File("wynik.xml");
    editor.LoadedJpk.OwnerDocument()->SaveToFile(fileName);
    JpkValidation result = ValidateJpkFile(fileName);
    std::string problems;
    for (const SchemaViolation& violation : result.violations) problems += DescribeViolation(violation) + "\n";
    return problems;
  }

  // After a run, whatever its end: no table open, the session inactive, the cursor normal.
  void ExpectClosedDown() {
    EXPECT_FALSE(gen->tblReg.Active());
    EXPECT_FALSE(gen->tblUsers.Active());
    EXPECT_FALSE(session.Active());
    EXPECT_EQ(ui.BusyDepth(), 0);
  }

  ScriptedUi ui;
  TempDir dir;
  FileDialogOptions openDlg, saveDlg;
  TdlgLinkAsk linkAsk;
  TParagonDlg paragon;
  TJpkVatDlg editor;
  db::Session session;
  std::unique_ptr<TGenJpkVatDlg> gen;
};

}  // namespace velkar::test
