// Reading the configuration into ProgramSettings: order, defaults, required keys, folders.
#include <gtest/gtest.h>

#include "app/IniFile.h"
#include "app/Settings.h"
#include "base/Error.h"

using namespace velkar;

namespace {

const std::string kMinimal =
    "[System]\nNIP=5250001090\nNazwa=Firma Testowa sp. z o.o.\nEmail=biuro@firma.pl\n"
    "USCode=1471\nNazwaSystemu=Velkar\n";

ProgramSettings Read(const std::string& text) {
  return ReadProgramSettings(TIniFile::FromText("/etc/firma.ini", text));
}

std::string FailureOf(const std::string& text) {
  try {
    Read(text);
  } catch (const Error& e) {
    return e.what();
  }
  return "(no failure)";
}

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { Clock::Freeze({2025, 3, 31, 9, 15, 0}); }
  void TearDown() override { Clock::Unfreeze(); }
};

}  // namespace

TEST_F(SettingsTest, MinimalCompanyConfigurationGivesTheDefaults) {
  ProgramSettings s = Read(kMinimal);
  EXPECT_EQ(s.NIP, "5250001090");
  EXPECT_TRUE(s.ClearEnter);
  EXPECT_TRUE(s.AddAnulParag);
  EXPECT_FALSE(s.YearQorTbl);
  EXPECT_EQ(s.DowodSprzedazyRO, "Raport fiskalny okresowy");
  EXPECT_EQ(s.SkadMM, "Magazyn Główny");
  EXPECT_EQ(s.Wersja_programu, 42);
  EXPECT_EQ(s.Wersja_szablonu, 3);
  EXPECT_EQ(s.NetFileDir, "");
  EXPECT_EQ(s.UserDir, "");
  EXPECT_EQ(s.SalesDocumentClasses, (std::set<int>{0, 1, 2, 3, 4, 5, 7, 22, 23, 50, 51}));
}

TEST_F(SettingsTest, CurDateDefaultsToOneCalendarMonthBackWithTheTimeOfDay) {
  ProgramSettings s = Read(kMinimal);
  EXPECT_EQ(FormatDateTimeStamp(s.CurDate), "2025-02-28T09:15:00");
  EXPECT_EQ(FormatDate(Read(kMinimal + "CurDate=2024-07-15\n").CurDate), "2024-07-15");
  EXPECT_EQ(FormatDate(Read(kMinimal + "CurDate=\n").CurDate), "2025-02-28");
}

// A working date that is no date would otherwise make files for the wrong period.
TEST_F(SettingsTest, CurDateThatIsNoDateIsAnError) {
  EXPECT_EQ(FailureOf(kMinimal + "CurDate=2024-02-30\n"), "Niepoprawna data w kluczu CurDate: 2024-02-30");
  EXPECT_EQ(FailureOf(kMinimal + "CurDate=15.07.2024\n"), "Niepoprawna data w kluczu CurDate: 15.07.2024");
}

// Wider values used to be cut to an int: 4294968146 became 850, 9999999999999 1316134911.
TEST_F(SettingsTest, NumbersOutOfRangeAreErrorsNotWrappedValues) {
  EXPECT_EQ(FailureOf(kMinimal + "ParadoxCodePage=4294968146\n"),
            "Wartość w kluczu ParadoxCodePage spoza zakresu 1..65535: 4294968146");
  EXPECT_EQ(FailureOf(kMinimal + "ParadoxCodePage=0x-354\n"),
            "Wartość w kluczu ParadoxCodePage spoza zakresu 1..65535: 0x-354");
  EXPECT_EQ(FailureOf(kMinimal + "[Sage]\nWersja_programu=9999999999999\n"),
            "Wartość w kluczu Wersja_programu spoza zakresu 0..2147483647: 9999999999999");
  EXPECT_EQ(FailureOf(kMinimal + "[Sage]\nWersja_szablonu=99999999999999999999999\n"),
            "Wartość w kluczu Wersja_szablonu spoza zakresu 0..2147483647: 99999999999999999999999");
  EXPECT_EQ(Read(kMinimal + "ParadoxCodePage=0x4E4\n").ParadoxCodePage, 1252);
  EXPECT_EQ(Read(kMinimal + "ParadoxCodePage=1250\n").ParadoxCodePage, 1250);
}

TEST_F(SettingsTest, RequiredKeysFailInReadingOrderWithTheirSection) {
  EXPECT_EQ(FailureOf("[System]\nNazwa=X\n"), "Brak pola: \"NIP = \" w pliku konfiguracyjnym w sekcji: System");
  EXPECT_EQ(FailureOf("[System]\nNIP=1\nNazwa=\nEmail=\n"),
            "Brak pola: \"Nazwa = \" w pliku konfiguracyjnym w sekcji: System");
  EXPECT_EQ(FailureOf("[System]\nNIP=1\nNazwa=X\nUSCode=1\n"),
            "Brak pola: \"Email = \" w pliku konfiguracyjnym w sekcji: System");
  EXPECT_EQ(FailureOf("[System]\nNIP=1\nNazwa=X\nEmail=a\nUSCode=1\n"),
            "Brak pola: \"NazwaSystemu = \" w pliku konfiguracyjnym w sekcji: System");
  EXPECT_EQ(FailureOf(""), "Brak pola: \"NIP = \" w pliku konfiguracyjnym w sekcji: System");
}

TEST_F(SettingsTest, NaturalPersonNeedsSurnameAndARealDateOfBirth) {
  EXPECT_EQ(FailureOf(kMinimal + "Imie=Jan\n"), "Brak pola: \"Nazwisko = \" w pliku konfiguracyjnym w sekcji: System");
  EXPECT_EQ(FailureOf(kMinimal + "Imie=Jan\nNazwisko=Kowalski\n"),
            "Brak pola: \"DataUrodzenia = \" w pliku konfiguracyjnym");
  EXPECT_EQ(FailureOf(kMinimal + "Imie=Jan\nNazwisko=Kowalski\nDataUrodzenia=1970-13-01\n"),
            "Brak pola: \"DataUrodzenia = \" w pliku konfiguracyjnym");
  EXPECT_EQ(FailureOf(kMinimal + "Imie=Jan\nNazwisko=Kowalski\nDataUrodzenia=2025-03-31\n"),
            "Brak pola: \"DataUrodzenia = \" w pliku konfiguracyjnym");
  ProgramSettings s = Read(kMinimal + "Imie=Jan\nNazwisko=Kowalski\nDataUrodzenia=1970-01-02\n");
  EXPECT_EQ(FormatDate(s.DataUrodzenia), "1970-01-02");
  // Without a first name the surname and date are not read at all.
  EXPECT_EQ(Read(kMinimal + "Imie=\n").Nazwisko, "");
}

TEST_F(SettingsTest, FolderKeysGetATrailingSeparatorAndFallBackAsDeclared) {
  ProgramSettings s = Read(kMinimal + "QorDataDir=C:\\Dane\nNetFileDir=/srv/net\n");
  EXPECT_EQ(s.QorDataDir, "C:/Dane/");
  EXPECT_EQ(s.UserDir, "C:/Dane/");
  EXPECT_EQ(s.TulvoUserDir, "C:/Dane/");
  EXPECT_EQ(s.NetFileDir, "/srv/net/");
  EXPECT_EQ(Read(kMinimal + "QorDataDir=\n").QorDataDir, "");
  ProgramSettings fennik = Read(kMinimal + "FennikDir=/f\nNetFileDir=/n\n");
  EXPECT_EQ(fennik.UserDir, "/f/");
  ProgramSettings explicitUser = Read(kMinimal + "FennikDir=/f\nNetFileDir=/n\nUserDir=/u\nTulvoUserDir=\n");
  EXPECT_EQ(explicitUser.UserDir, "/u/");
  EXPECT_EQ(explicitUser.TulvoUserDir, "");
}

TEST_F(SettingsTest, NetFileDirIsRequiredOnlyWithADataFolder) {
  EXPECT_EQ(FailureOf(kMinimal + "TulvoDir=/t\n"), "Brak wpisu NetFileDir w pliku /etc/firma.ini");
  EXPECT_EQ(Read(kMinimal).NetFileDir, "");
  EXPECT_EQ(Read(kMinimal + "TulvoDir=/t\nNetFileDir=\n").NetFileDir, "");
}

TEST_F(SettingsTest, SessionIsSetUpRightAfterNetFileDir) {
  std::string seen = "(not called)";
  ReadProgramSettings(TIniFile::FromText("x.ini", kMinimal + "QorDataDir=/q\nNetFileDir=/net\n"),
                      [&](const std::string& dir) { seen = dir; });
  EXPECT_EQ(seen, "/net/");
}

TEST_F(SettingsTest, SwitchesAndNumbersFallBackOnWrongValues) {
  ProgramSettings s = Read(kMinimal + "AddFaktMarket=1\nClearEnter=0\nAddAnulParag=tak\nYearQorTbl=7\n"
                                      "[Sage]\nWersja_programu=abc\nWersja_szablonu=5\n");
  EXPECT_TRUE(s.AddFaktMarket);
  EXPECT_TRUE(s.SalesDocumentClasses.contains(48));
  EXPECT_FALSE(s.ClearEnter);
  EXPECT_TRUE(s.AddAnulParag);
  EXPECT_TRUE(s.YearQorTbl);
  EXPECT_EQ(s.Wersja_programu, 42);
  EXPECT_EQ(s.Wersja_szablonu, 5);
}

TEST_F(SettingsTest, SectionsAndKeysIgnoreCaseAndValuesAreTrimmed) {
  ProgramSettings s = Read("[SYSTEM]\nnip =  123 \nNAZWA=Firma\nemail=a@b.pl\nuscode=1\nnazwasystemu=V\n"
                           "[sage]\nWERSJA_PROGRAMU=43\n");
  EXPECT_EQ(s.NIP, "123");
  EXPECT_EQ(s.Wersja_programu, 43);
}

TEST_F(SettingsTest, AddressLineFollowsAdrZipCityFirst) {
  std::string address = "Ulica=Długa\nNrDomu=5\nKodPocztowy=00-950\nMiasto=Warszawa\n";
  EXPECT_EQ(Read(kMinimal + address).AddressLine, "Długa 5  00-950 Warszawa");
  EXPECT_EQ(Read(kMinimal + address + "AdrZipCityFirst=1\n").AddressLine, "00-950 Warszawa  Długa 5");
}

TEST_F(SettingsTest, Windows1250ConfigurationIsReadAsPolishText) {
  // "Łódź" in Windows-1250.
  ProgramSettings s = Read(kMinimal + "Miasto=\xA3\xF3\x64\x9F\n");
  EXPECT_EQ(s.Miasto, "Łódź");
}

// The KSeF marker of invoice rows: checked and normalised when read, so a typo stops the
// start-up instead of the first JPK_V7M(3) row that needs it.
TEST_F(SettingsTest, KsefMarkerSettingIsNormalisedAndChecked) {
  EXPECT_EQ(Read(kMinimal).ZnacznikKSeF, "BFK");
  EXPECT_EQ(Read(kMinimal + "ZnacznikKSeF= off \n").ZnacznikKSeF, "OFF");
  EXPECT_EQ(Read(kMinimal + "ZnacznikKSeF=Di\n").ZnacznikKSeF, "DI");
  EXPECT_EQ(Read(kMinimal + "ZnacznikKSeF=\n").ZnacznikKSeF, "BFK");
  EXPECT_EQ(FailureOf(kMinimal + "ZnacznikKSeF=NrKSeF\n"),
            "Nieznany znacznik KSeF w ustawieniu ZnacznikKSeF: \"NrKSeF\" (dozwolone: BFK, DI, OFF)");
  EXPECT_EQ(FailureOf(kMinimal + "ZnacznikKSeF=BKF\n"),
            "Nieznany znacznik KSeF w ustawieniu ZnacznikKSeF: \"BKF\" (dozwolone: BFK, DI, OFF)");
}
