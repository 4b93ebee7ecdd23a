// `velkar v7m ksef`, `velkar v7m upgrade` and `velkar v7m generate --ksef`, run as a user
// runs them: what they print, the files they write (checked against the schema), their
// Polish messages and exit codes.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/Paths.h"
#include "tests/generate/GenerateFixture.h"
#include "tests/ksef/KsefFixture.h"
#include "tests/support/RunCommand.h"

using namespace velkar;
using namespace velkar::test;

namespace {

const std::string kConfig =
    "[System]\nNIP=5250001090\nNazwa=Firma Testowa\nEmail=biuro@firma.pl\nUSCode=1471\nNazwaSystemu=Velkar\n"
    "CurDate=2026-02-15\nFennikDir=Fennik/\nUserDir=Kontrahenci/\nNetFileDir=./\n";

class KsefCommandsTest : public ::testing::Test {
 protected:
  KsefCommandsTest() { dir.Write("firma.ini", kConfig); }
  CommandResult Run(std::vector<std::string> args) {
    args.insert(args.begin(), "--ini=firma.ini");
    return RunProgram(VELKAR_EXE, args, dir.Path());
  }
  std::string Problems(const std::string& name) {
    JpkValidation result = ValidateJpkFile(dir.File(name));
    return result.violations.empty() ? "" : DescribeViolation(result.violations[0]);
  }
  std::string Structure(const std::string& name) { return ValidateJpkFile(dir.File(name)).structure; }

  TempDir dir;
  const std::string sale = KsefNumber("5250001090", "0000000000E1");
  const std::string purchase = KsefNumber("7740001454", "0000000000E2");
};

RegisterXml V3Register() {
  RegisterXml file;
  file.v3 = true;
  file.sales = {SaleRow(1, "FV/1", "5260250274", "<BFK>1</BFK>"),
                SaleRow(2, "RO/2", "BRAK", "<DI>1</DI><TypDokumentu>RO</TypDokumentu>")};
  file.purchases = {PurchaseRow(1, "FZ/1", "7740001454", "<BFK>1</BFK>"),
                    PurchaseRow(2, "FZ/2", "7740001454", "<OFF>1</OFF>")};
  return file;
}

RegisterXml V2Register() {
  RegisterXml file;
  file.sales = {SaleRow(1, "FV/1", "5260250274"), SaleRow(2, "RO/2", "BRAK", "<TypDokumentu>RO</TypDokumentu>")};
  file.purchases = {PurchaseRow(1, "FZ/1", "7740001454")};
  return file;
}

}  // namespace

TEST_F(KsefCommandsTest, KsefSetsListedNumbersCountsThemAndListsTheRowsLeft) {
  dir.Write("a.xml", V3Register().Xml());
  dir.Write("l.csv", "NumerFaktury;NIP;NumerKSeF\nFV/1;5260250274;" + sale + "\nFZ/2;7740001454;" + purchase + "\n");
  const std::string before = ReadFile(dir.File("a.xml"));
  CommandResult r = Run({"v7m", "ksef", "a.xml", "--numbers", "l.csv", "-o", "b.xml"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "Wiersze z numerem KSeF z listy: 2\n"
            "Wiersze faktur nadal ze znacznikiem domyślnym (BFK/OFF): 1\n"
            "  zakup, wiersz 1: FZ/1 (BFK)\n"
            "Zapisano plik b.xml\n");
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(Problems("b.xml"), "");
  EXPECT_EQ(KsefColumn(v7m::LoadJpkV7(dir.File("b.xml")), "ZakupWiersz"), (std::vector<std::string>{"BFK", purchase}));
  EXPECT_EQ(ReadFile(dir.File("a.xml")), before);

  // Without -o the file itself is written, its earlier content kept in the backup folder.
  CommandResult over = Run({"v7m", "ksef", "a.xml", "--numbers", "l.csv"});
  ASSERT_EQ(over.exitCode, 0) << over.err;
  EXPECT_EQ(ReadFile(dir.File("backup/_a.xml")), before);
  EXPECT_EQ(KsefColumn(v7m::LoadJpkV7(dir.File("a.xml")), "SprzedazWiersz"), (std::vector<std::string>{sale, "DI"}));
}

TEST_F(KsefCommandsTest, KsefRefusals) {
  dir.Write("v2.xml", V2Register().Xml());
  dir.Write("07081.xml", ReplaceAll(V2Register().Xml(), v7m::kTargetNamespace, v7m::kTargetNamespace07081));
  dir.Write("fa.xml", "<?xml version=\"1.0\"?><JPK xmlns=\"http://jpk.mf.gov.pl/wzor/2022/02/17/02171/\"/>");
  dir.Write("v3.xml", V3Register().Xml());
  dir.Write("l.csv", "NumerFaktury;NIP;NumerKSeF\nFV/1;5260250274;" + sale + "\n");
  dir.Write("bez.csv", "NumerFaktury;NumerKSeF\nFV/1;" + sale + "\n");
  struct Case {
    std::vector<std::string> args;
    std::string err;
  };
  const std::vector<Case> cases = {
      {{"v7m", "ksef", "v2.xml", "--numbers", "l.csv", "-o", "out.xml"},
       "Plik v2.xml ma strukturę JPK_V7M (2), która nie ma numerów KSeF; najpierw velkar v7m upgrade\n"},
      {{"v7m", "ksef", "07081.xml", "--numbers", "l.csv", "-o", "out.xml"},
       "Plik 07081.xml ma strukturę JPK_V7M (2), która nie ma numerów KSeF; najpierw velkar v7m upgrade\n"},
      {{"v7m", "ksef", "fa.xml", "--numbers", "l.csv", "-o", "out.xml"}, "Plik fa.xml nie jest plikiem JPK_V7M\n"},
      {{"v7m", "ksef", "v3.xml", "--numbers", "bez.csv", "-o", "out.xml"},
       "Lista numerów KSeF bez.csv nie ma kolumny NIP (wymagane kolumny: NumerFaktury, NIP, NumerKSeF)\n"},
      {{"v7m", "ksef", "v3.xml", "--numbers", "brak.csv", "-o", "out.xml"},
       "Nie można odczytać listy numerów KSeF brak.csv (Nie można otworzyć pliku brak.csv)\n"},
      {{"v7m", "ksef", "brak.xml", "--numbers", "l.csv", "-o", "out.xml"}, "Nie znaleziono pliku brak.xml\n"},
      {{"v7m", "ksef", "v3.xml"}, "Użycie: velkar v7m ksef PLIK --numbers LISTA.csv [-o WYNIK]\n"},
  };
  for (const Case& c : cases) {
    CommandResult r = Run(c.args);
    EXPECT_EQ(r.exitCode, 1) << c.args[2];
    EXPECT_EQ(r.err, c.err);
    EXPECT_FALSE(FileExists(dir.File("out.xml")));
  }
}

TEST_F(KsefCommandsTest, AResultThatBreaksTheSchemaIsNotWritten) {
  RegisterXml file = V3Register();
  file.sales.push_back(SaleRow(3, "FV/3", "5260250274"));  // no KSeF element
  dir.Write("a.xml", file.Xml());
  dir.Write("l.csv", "NumerFaktury;NIP;NumerKSeF\nFV/1;5260250274;" + sale + "\n");
  const std::string before = ReadFile(dir.File("a.xml"));
  for (const char* output : {"out.xml", "a.xml"}) {
    CommandResult r = Run({"v7m", "ksef", "a.xml", "--numbers", "l.csv", "-o", output});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.starts_with(std::string("Nie zapisano pliku ") + output +
                                  ": wynik jest niezgodny ze schematem JPK_V7M (3)"))
        << r.err;
  }
  EXPECT_FALSE(FileExists(dir.File("out.xml")));
  EXPECT_EQ(ReadFile(dir.File("a.xml")), before);
}

TEST_F(KsefCommandsTest, UpgradeAsksForARefundTermInsteadOfP57ThenWritesAValidFile) {
  RegisterXml file = V2Register();
  file.positions = "<P_38>0</P_38><P_51>0</P_51><P_53>100</P_53><P_54>100</P_54><P_57>1</P_57><P_62>0</P_62>";
  dir.Write("a.xml", file.Xml());
  CommandResult refused = Run({"v7m", "upgrade", "a.xml", "-o", "b.xml"});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(refused.err,
            "Plik ma zwrot w terminie 60 dni (P_57), którego nie ma JPK_V7M (3): wybierz inny termin zwrotu "
            "(--zwrot 540|55|56|560|58; podstawowy to 560, 40 dni)\n");
  EXPECT_FALSE(FileExists(dir.File("b.xml")));

  CommandResult bad = Run({"v7m", "upgrade", "a.xml", "--zwrot", "57", "-o", "b.xml"});
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_EQ(bad.err, "Niepoprawna wartość opcji --zwrot: 57 (dozwolone: 540, 55, 56, 560, 58)\n");

  CommandResult r = Run({"v7m", "upgrade", "a.xml", "--zwrot", "560", "-o", "b.xml"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "Przekształcono plik a.xml do struktury JPK_V7M (3)\n"
            "Zwrot z P_57 przeniesiono do P_560\n"
            "Wiersze faktur ze znacznikiem domyślnym (BFK/OFF), do sprawdzenia: 2\n"
            "  sprzedaż, wiersz 1: FV/1 (BFK)\n"
            "  zakup, wiersz 1: FZ/1 (BFK)\n"
            "Zapisano plik b.xml\n");
  EXPECT_EQ(Structure("b.xml"), "JPK_V7M (3)");
  EXPECT_EQ(Problems("b.xml"), "");
}

TEST_F(KsefCommandsTest, UpgradeWithAListAndTheRefusedPeriodsAndStructures) {
  dir.Write("a.xml", V2Register().Xml());
  dir.Write("l.csv", "NumerFaktury,NIP,NumerKSeF\nFV/1,5260250274," + sale + "\n");
  CommandResult r = Run({"v7m", "upgrade", "a.xml", "--ksef", "l.csv"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "Przekształcono plik a.xml do struktury JPK_V7M (3)\n"
            "Wiersze z numerem KSeF z listy: 1\n"
            "Wiersze faktur ze znacznikiem domyślnym (BFK/OFF), do sprawdzenia: 1\n"
            "  zakup, wiersz 1: FZ/1 (BFK)\n"
            "Zapisano plik a.xml\n");
  EXPECT_EQ(Problems("a.xml"), "");
  EXPECT_EQ(Structure("backup/_a.xml"), "JPK_V7M (2)");

  // Now a JPK_V7M(3) file: refused.
  CommandResult again = Run({"v7m", "upgrade", "a.xml", "-o", "c.xml"});
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_EQ(again.err, "Plik jest już w strukturze JPK_V7M (3)\n");
  RegisterXml january = V2Register();
  january.miesiac = "1";
  dir.Write("styczen.xml", january.Xml());
  CommandResult early = Run({"v7m", "upgrade", "styczen.xml", "-o", "c.xml"});
  EXPECT_EQ(early.exitCode, 1);
  EXPECT_EQ(early.err, "Okres 2026-01 rozlicza się w strukturze JPK_V7M (2)\n");
  EXPECT_FALSE(FileExists(dir.File("c.xml")));
}

TEST_F(KsefCommandsTest, GenerateAppliesTheListAndTheGroupListsTheCommands) {
  std::filesystem::create_directories(dir.File("Fennik/2026"));
  std::filesystem::create_directories(dir.File("Kontrahenci"));
  WriteRecords(dir.File("Kontrahenci/Users.db"), UsersFields(), StandardUsers());
  auto rec = [](long long number, long long regId, const std::string& doc, long long firm) {
    return Rec{{"Number", number},
               {"RegId", regId},
               {"VATMonth", 2LL},
               {"DocName", doc},
               {"FirmId", firm},
               {"RegDate", D("2026-02-12")},
               {"SaleDate", D("2026-02-12")},
               {"Net22", 100.0},
               {"Vat22", 23.0}};
  };
  WriteRecords(dir.File("Fennik/2026/Register.db"), FennikFields(),
               {rec(1, 1, "FV/1", 1), rec(2, 1, "FV/2", 1), rec(3, 128, "FZ/3", 6)});
  dir.Write("l.csv", "NumerFaktury,NIP,NumerKSeF\nFV/2,5260250274," + sale + "\n");
  CommandResult r =
      Run({"v7m", "generate", "--from", "fennik", "--month", "2026-02", "--ksef", "l.csv", "-o", "luty.xml"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(Problems("luty.xml"), "");
  v7m::IXMLJPK doc = v7m::LoadJpkV7(dir.File("luty.xml"));
  EXPECT_EQ(KsefColumn(doc, "SprzedazWiersz"), (std::vector<std::string>{"BFK", sale}));
  EXPECT_EQ(KsefColumn(doc, "ZakupWiersz"), (std::vector<std::string>{"BFK"}));

  CommandResult badList = Run({"v7m", "generate", "--from", "fennik", "--month", "2026-02", "--ksef", "x.csv"});
  EXPECT_EQ(badList.exitCode, 1);
  EXPECT_EQ(badList.err, "Nie można odczytać listy numerów KSeF x.csv (Nie można otworzyć pliku x.csv)\n");

  CommandResult january = Run({"v7m", "generate", "--from", "fennik", "--month", "2026-01", "--ksef", "l.csv"});
  EXPECT_EQ(january.exitCode, 1);
  EXPECT_EQ(january.err, "Okres 2026-01 rozlicza się w strukturze JPK_V7M (2), bez numerów KSeF (opcja --ksef)\n");

  CommandResult group = Run({"v7m"});
  EXPECT_NE(group.out.find("  velkar v7m ksef PLIK --numbers LISTA.csv [-o WYNIK]"), std::string::npos) << group.out;
  EXPECT_NE(group.out.find("  velkar v7m upgrade PLIK [-o WYNIK] [--ksef LISTA.csv] [--zwrot 540|55|56|560|58]"),
            std::string::npos);
}
