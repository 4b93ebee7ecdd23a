// `velkar convert`, run as a user runs it: the files it writes, read back with
// `velkar db dump` and `velkar validate`, its messages on standard output and standard
// error, and its exit codes.
#include <filesystem>

#include "tests/exchange/ExchangeFixture.h"
#include "tests/support/RunCommand.h"

namespace velkar::test {
namespace {

const std::string kExe = VELKAR_EXE;
const std::string kConfig =
    "[System]\nNIP=5250001090\nNazwa=Firma Testowa\nEmail=biuro@firma.pl\nUSCode=1471\nNazwaSystemu=Velkar\n"
    "CurDate=2024-03-15\n";

class ConvertCommandTest : public ::testing::Test {
 protected:
  ConvertCommandTest() {
    dir.Write("firma.ini", kConfig);
    // The program folder (the configuration's) holds the Buchalter templates.
    std::filesystem::create_directories(dir.File("Buchalter"));
    std::filesystem::copy(SourceDir() + "/Buchalter/Empty", dir.File("Buchalter/Empty"));
    std::filesystem::create_directory(dir.File("wyniki"));
  }
  CommandResult Run(std::vector<std::string> args) {
    args.insert(args.begin(), "--ini=firma.ini");
    return RunProgram(kExe, args, dir.Path());
  }
  TempDir dir;
};

TEST_F(ConvertCommandTest, FaToV7mWritesAValidRegister) {
  FaFile fa;
  fa.invoices = {MakeInvoice("FV/1/2024", kTaxpayerNip, "7740001454", {{"P_13_1", "100"}, {"P_14_1", "23"}}),
                 MakeInvoice("FZ/9", "7740001454", kTaxpayerNip, {{"P_13_2", "50"}, {"P_14_2", "4"}})};
  dir.Write("faktury.xml", fa.Xml());
  CommandResult r = Run({"convert", "--from", "fa", "--to", "v7m", "faktury.xml", "--out-dir", "wyniki"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "Zakończono konwersję\nSprawdź wygenerowane dane\n");
  EXPECT_EQ(r.err, "");
  CommandResult v = Run({"validate", "wyniki/JPK_FA_to_V7_faktury.xml"});
  EXPECT_EQ(v.exitCode, 0) << v.out;
  EXPECT_EQ(v.out, "wyniki/JPK_FA_to_V7_faktury.xml: JPK_V7M (2): poprawny\n");
}

TEST_F(ConvertCommandTest, V7mToBuchalterTablesReadBackWithDbDump) {
  V7mFile file;
  file.sales = {Sale(1, {{"K_19", "200"}, {"K_20", "46"}}, "5260250274", "Żabka Polska sp. z o.o.")};
  file.purchases = {Purchase(1, {{"K_42", "100"}, {"K_43", "8"}}, "FUE/1/2024")};
  dir.Write("rejestr.xml", file.Xml());
  CommandResult r = Run({"convert", "--from", "v7m", "--to", "buchalter", "rejestr.xml", "--out-dir", "wyniki"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "Zakończono konwersję\nSprawdź wygenerowane dane\n");
  CommandResult dump = Run({"db", "dump", "wyniki/B5SPEX24.dbf", "--fields", "TYV,PRE,NRV,POS,KNA,NA1,NET,VAT,BRU"});
  ASSERT_EQ(dump.exitCode, 0) << dump.err;
  EXPECT_EQ(dump.out,
            "TYV,PRE,NRV,POS,KNA,NA1,NET,VAT,BRU\r\n1,FV,1,2024,ŻABKA POLSKA SP. Z O.O.,ŻABKA POLSKA SP. Z "
            "O.O.,200,46,246\r\n");
  dump = Run({"db", "dump", "wyniki/B5EZEX24.dbf", "--fields", "STM,NRV,NA1,VAT,VAS,WAN,WAV,WAB"});
  EXPECT_EQ(dump.out, "STM,NRV,NA1,VAT,VAS,WAN,WAV,WAB\r\n2,FUE/1/2024,ZAKUP 8,2,8,100,8,108\r\n");
}

TEST_F(ConvertCommandTest, RegistersOfTheThirdStructureAndOfTheEarlierPublicationConvertAlike) {
  V7mFile file;
  file.sales = {Sale(1, {{"K_19", "200"}, {"K_20", "46"}}, "5260250274", "Żabka Polska sp. z o.o.")};
  std::string v2 = file.Xml();
  ASSERT_NE(v2.find(v7m::kTargetNamespace), std::string::npos);
  for (const char* ns : {v7m::kTargetNamespace3, v7m::kTargetNamespace07081}) {
    std::string text = v2;
    text.replace(text.find(v7m::kTargetNamespace), std::string(v7m::kTargetNamespace).size(), ns);
    dir.Write("rejestr.xml", text);
    std::filesystem::remove_all(dir.File("wyniki"));
    std::filesystem::create_directory(dir.File("wyniki"));
    CommandResult r = Run({"convert", "--from", "v7m", "--to", "buchalter", "rejestr.xml", "--out-dir", "wyniki"});
    ASSERT_EQ(r.exitCode, 0) << ns << ": " << r.err;
    CommandResult dump = Run({"db", "dump", "wyniki/B5SPEX24.dbf", "--fields", "NRV,KNA,NET,VAT,BRU"});
    EXPECT_EQ(dump.out, "NRV,KNA,NET,VAT,BRU\r\n1,ŻABKA POLSKA SP. Z O.O.,200,46,246\r\n") << ns;
    EXPECT_EQ(ReadFile(dir.File("rejestr.xml")), text) << "the input stays as it was";
  }
}

TEST_F(ConvertCommandTest, V7mToRamzesAndTheDefaultOutputFolder) {
  V7mFile file;
  file.sales = {Sale(1, {{"K_19", "200"}, {"K_20", "46"}})};
  dir.Write("rejestr.xml", file.Xml());
  // No --out-dir and no SaveDir: the program folder.
  CommandResult r = Run({"convert", "--from", "v7m", "--to", "ramzes", "rejestr.xml"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::string text = ReadFile(dir.File("JPKVAT_to_Ramzes_rejestr.xml"));
  EXPECT_NE(text.find("\t\t<dod_PozSvt>23%</dod_PozSvt>\n"), std::string::npos) << text;
}

TEST_F(ConvertCommandTest, RefusalsAndErrorsGoToStandardErrorWithExitCode1) {
  dir.Write("rejestr.xml", V7mFile{}.Xml());
  CommandResult r = Run({"convert", "--from", "v7m", "--to", "v7m", "rejestr.xml"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "Taki sam format danych źródłowych i wynikowych: JPK_V7M (2)\n");
  EXPECT_EQ(r.out, "");
  r = Run({"convert", "--from", "fa", "--to", "buchalter", "rejestr.xml"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "Konwersja do formatu Buchalter wymaga pliku JPK_V7M (2)\n");
  r = Run({"convert", "--from", "fa", "--to", "v7m", "rejestr.xml"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err,
            "Interfejs nie jest obsługiwany: węzeł \"JPK\" nie jest IXMLJPKFA\nZła struktura pliku. Brak zgodności z "
            "JPK_FA (4)\n");
  r = Run({"convert", "--from", "v7m", "--to", "buchalter", "brak.xml"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "Nie znaleziono pliku\n");
  r = Run({"convert", "--from", "xls", "--to", "buchalter", "rejestr.xml"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Opcja --from"), std::string::npos) << r.err;
}

TEST_F(ConvertCommandTest, APrefixedFileIsRepairedOnlyWithYes) {
  FaFile fa;
  fa.invoices = {MakeInvoice("FV/1/2024", kTaxpayerNip, "7740001454", {{"P_13_1", "100"}, {"P_14_1", "23"}})};
  dir.Write("faktury.xml", Prefixed(fa.Xml()));
  CommandResult r = Run({"convert", "--from", "fa", "--to", "v7m", "faktury.xml", "--out-dir", "wyniki", "--no"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(ReadFile(dir.File("faktury.xml")).find("tns:"), std::string::npos);
  r = Run({"convert", "--from", "fa", "--to", "v7m", "faktury.xml", "--out-dir", "wyniki", "--yes"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(ReadFile(dir.File("faktury.xml")).find("tns:"), std::string::npos);
  EXPECT_TRUE(FileExists(dir.File("backup/~faktury.xml")));
}

}  // namespace
}  // namespace velkar::test
