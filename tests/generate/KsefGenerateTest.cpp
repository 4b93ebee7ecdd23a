// Generation for a period from February 2026: JPK_V7M(3) with one KSeF element on every
// row (the register's "NrKSeF" field, else the marker rules), the checks of the numbers,
// the warning about another issuer, a number list, and January 2026 still JPK_V7M(2).
#include <filesystem>

#include "ksef/KsefList.h"
#include "tests/generate/GenerateFixture.h"
#include "tests/ksef/KsefFixture.h"

using namespace velkar;
using namespace velkar::test;

namespace {

// The KSeF element of a generated row ("BFK", "DI", "OFF" or the number), "(brak)" without one.
std::string Ksef(const GenRow& row) {
  for (const char* marker : {"BFK", "DI", "OFF"})
    if (row.Has(marker)) return marker;
  return row["NrKSeF"];
}

std::vector<std::string> KsefOf(const std::vector<GenRow>& rows) {
  std::vector<std::string> out;
  for (const GenRow& row : rows) out.push_back(Ksef(row));
  return out;
}

class KsefGenerateTest : public GenerateTest {
 protected:
  KsefGenerateTest() {
    // A JPK_V7M(3) file is made from February 2026 on: so is its creation stamp.
    Clock::Freeze(DateTime{2026, 3, 3, 9, 5, 7});
    for (const char* folder : {"Fennik/2026", "Tulvo/2026"}) std::filesystem::create_directories(dir.File(folder));
  }

  static std::vector<PxField> WithNumberField(std::vector<PxField> fields) {
    fields.push_back({"NrKSeF", PxType::Alpha, 40});
    return fields;
  }
  static Rec Fennik(long long number, long long regId, const std::string& doc, Rec more, long long firm = 1,
                    long long month = 2) {
    Rec rec = {{"Number", number},
               {"RegId", regId},
               {"VATMonth", month},
               {"DocName", doc},
               {"FirmId", firm},
               {"RegDate", D("2026-02-12")},
               {"SaleDate", D("2026-02-10")},
               {"Net22", 100.0},
               {"Vat22", 23.0}};
    rec.insert(rec.end(), more.begin(), more.end());
    return rec;
  }
  void WriteFennik(const std::vector<Rec>& records, bool numberField = true) {
    std::vector<PxField> fields = numberField ? WithNumberField(FennikFields()) : FennikFields();
    WriteRecords(dir.File("Fennik/2026/Register.db"), fields, records);
  }
  std::string GenerateFor(TRadioButton TGenJpkVatDlg::*source, int month) {
    Dialog().SetMonth(DateTime{2026, month, 1});
    return Generate(source);
  }

  const std::string own = KsefNumber("5250001090", "0000000000A1");
  const std::string foreign = KsefNumber("7740001454", "0000000000B2");
  const std::string supplier = KsefNumber("7740001454", "0000000000C3");
};

}  // namespace

TEST_F(KsefGenerateTest, FebruaryRowsCarryTheRegisterNumberOrTheMarkerOfTheirRule) {
  WriteUsers();
  WriteFennik({
      Fennik(1, 1, "FV/1", {{"NrKSeF", " " + own + " "}}),
      Fennik(2, 1, "FV/2", {}),
      Fennik(3, 1, "RO/3", {{"TypDokumentu", "RO"}}),
      Fennik(4, 1, "WEW/4", {{"TypDokumentu", "WEW"}}),
      Fennik(5, 1, "FP/5", {{"TypDokumentu", "FP"}}),
      Fennik(6, 128, "FZ/6", {}, 6),
      Fennik(7, 128, "WEW/7", {{"TypDokumentu", "WEW"}}, 6),
      Fennik(8, 131, "SAD/8", {{"Procedura", 2LL}}, 6),
      Fennik(9, 128, "FZ/9", {{"NrKSeF", supplier}}, 6),
  });
  ASSERT_EQ(GenerateFor(&TGenJpkVatDlg::rbFennik, 2), "");
  EXPECT_EQ(v7m::StructureOfJpkV7(editor.LoadedJpk), v7m::V7Structure::V3);
  std::vector<GenRow> sales = Sales();
  EXPECT_EQ(KsefOf(sales), (std::vector<std::string>{own, "BFK", "DI", "DI", "BFK"}));
  EXPECT_EQ(KsefOf(Purchases()), (std::vector<std::string>{"BFK", "DI", "DI", supplier}));
  // The element stands after the dates and before TypDokumentu.
  ASSERT_EQ(sales.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(sales[2].names.begin() + 4, sales[2].names.begin() + 8),
            (std::vector<std::string>{"DataWystawienia", "DataSprzedazy", "DI", "TypDokumentu"}));
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_EQ(SchemaProblems(), "");
}

TEST_F(KsefGenerateTest, TheDefaultMarkerComesFromTheSettingsAndATableWithoutTheFieldUsesTheRules) {
  for (const char* setting : {"OFF", "DI", "BFK"}) {
    Settings().ZnacznikKSeF = setting;
    WriteUsers();
    WriteFennik(
        {Fennik(1, 1, "FV/1", {}), Fennik(2, 1, "RO/2", {{"TypDokumentu", "RO"}}), Fennik(3, 128, "FZ/3", {}, 6)},
        false);
    gen.reset();
    editor.LoadedJpk = v7m::IXMLJPK();
    ASSERT_EQ(GenerateFor(&TGenJpkVatDlg::rbFennik, 2), "") << setting;
    EXPECT_EQ(KsefOf(Sales()), (std::vector<std::string>{setting, "DI"}));
    EXPECT_EQ(KsefOf(Purchases()), (std::vector<std::string>{setting}));
    EXPECT_EQ(SchemaProblems(), "") << setting;
  }
}

TEST_F(KsefGenerateTest, ABadNumberStopsTheRunNamingTheDocument) {
  std::string bad = own;
  bad.back() = bad.back() == '0' ? '1' : '0';
  WriteUsers();
  WriteFennik({Fennik(1, 1, "FV/1", {}), Fennik(2, 1, "FV/2", {{"NrKSeF", bad}})});
  EXPECT_EQ(GenerateFor(&TGenJpkVatDlg::rbFennik, 2), "Błędny numer KSeF dokumentu FV/2: " + bad);
  EXPECT_FALSE(editor.LoadedJpk);
  ExpectClosedDown();
}

TEST_F(KsefGenerateTest, SalesNumbersOfAnotherIssuerGiveOneWarningAndTheListFillsTheRest) {
  WriteUsers();
  WriteFennik({Fennik(1, 1, "FV/1", {{"NrKSeF", foreign}}), Fennik(2, 1, "FV/2", {}), Fennik(3, 1, "FV/3", {}),
               Fennik(4, 128, "FZ/4", {}, 6)});
  const std::string listed = KsefNumber("7740001454", "0000000000D4");
  Dialog().KsefNumbers = std::make_shared<const KsefNumberList>(KsefNumberList::Parse(
      "NumerFaktury,NIP,NumerKSeF\nFV/2,5260250274," + listed + "\nFZ/4,7740001454," + supplier + "\n", "l.csv"));
  ASSERT_EQ(GenerateFor(&TGenJpkVatDlg::rbFennik, 2), "");
  EXPECT_EQ(KsefOf(Sales()), (std::vector<std::string>{foreign, listed, "BFK"}));
  EXPECT_EQ(KsefOf(Purchases()), (std::vector<std::string>{supplier}));
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].kind, MessageKind::Warning);
  EXPECT_EQ(
      ui.Messages()[0].text,
      "Numer KSeF wystawiono pod innym NIP-em niż NIP podatnika (5250001090) w dokumentach sprzedaży:\rFV/1\rFV/2");
  EXPECT_EQ(SchemaProblems(), "");
}

TEST_F(KsefGenerateTest, JanuaryStaysV7m2WithoutKsefElements) {
  WriteUsers();
  WriteFennik({Fennik(1, 1, "FV/1", {{"NrKSeF", own}}, 1, 1), Fennik(2, 128, "FZ/2", {}, 6, 1)});
  ASSERT_EQ(GenerateFor(&TGenJpkVatDlg::rbFennik, 1), "");
  EXPECT_EQ(editor.LoadedJpk.NamespaceURI(), v7m::kTargetNamespace);
  EXPECT_EQ(KsefOf(Sales()), (std::vector<std::string>{"(brak)"}));
  EXPECT_EQ(KsefOf(Purchases()), (std::vector<std::string>{"(brak)"}));
  EXPECT_EQ(SchemaProblems(), "");
}

TEST_F(KsefGenerateTest, GradmoAndTulvoRowsAreMarkedToo) {
  WriteUsers();
  // The field name is compared as other field names are: letter case does not matter.
  std::vector<PxField> gradmo = GradmoRegFields();
  gradmo.push_back({"NRKSEF", PxType::Alpha, 40});
  auto doc = [](long long number, long long cls, long long flags, const std::string& document, long long payer,
                Rec more = {}) {
    Rec rec = {{"Class", cls},     {"Year", 2026LL},          {"MagId", 1LL},
               {"Number", number}, {"Flags", flags},          {"Document", document},
               {"Payer", payer},   {"Date", D("2026-02-05")}, {"SaleDate", D("2026-02-05")},
               {"Value22", 100.0}, {"Tax22", 23.0},           {"TotalTax", 23.0}};
    rec.insert(rec.end(), more.begin(), more.end());
    return rec;
  };
  WriteRecords(dir.File("Gradmo/26_02REG.db"), gradmo,
               {doc(1, 0, 0, "FV 1", 1, {{"NRKSEF", own}}), doc(2, 6, 8, "PAR 2", 4), doc(3, 0, 16, "FV 3", 1),
                doc(4, 128, 0, "FZ 4", 6), doc(5, 128, 1024, "SAD 5", 6)});
  ASSERT_EQ(GenerateFor(&TGenJpkVatDlg::rbGradmo, 2), "");
  // A cancelled receipt is WEW (DI); an invoice to a receipt FP (the default); IMP purchases DI.
  EXPECT_EQ(KsefOf(Sales()), (std::vector<std::string>{own, "DI", "BFK"}));
  EXPECT_EQ(KsefOf(Purchases()), (std::vector<std::string>{"BFK", "DI"}));
  EXPECT_EQ(SchemaProblems(), "");

  gen.reset();
  editor.LoadedJpk = v7m::IXMLJPK();
  auto tulvo = [](long long regType, const std::string& document, long long firm, Rec more = {}) {
    Rec rec = {{"RegType", regType},
               {"VatPeriod", 2LL},
               {"DocName", document},
               {"FirmId", firm},
               {"DocDate", D("2026-02-07")},
               {"SaleDate", D("2026-02-07")},
               {"NetA", 100.0},
               {"VatA", 23.0}};
    rec.insert(rec.end(), more.begin(), more.end());
    return rec;
  };
  WriteRecords(dir.File("Tulvo/2026/Register.db"), WithNumberField(TulvoNewerFields()),
               {tulvo(0, "RO 1", 1, {{"TypDokumentu", "RO"}}), tulvo(0, "FV 2", 1, {{"NrKSeF", own}}),
                tulvo(128, "FZ 3", 6, {{"TypDokumentu", "WEW"}}), tulvo(128, "FZ 4", 6)});
  ASSERT_EQ(GenerateFor(&TGenJpkVatDlg::rbTulvo, 2), "");
  EXPECT_EQ(KsefOf(Sales()), (std::vector<std::string>{"DI", own}));
  EXPECT_EQ(KsefOf(Purchases()), (std::vector<std::string>{"DI", "BFK"}));
  EXPECT_EQ(SchemaProblems(), "");
}
