// Reading the configuration into ProgramSettings.
#include "app/Settings.h"

#include <climits>

#include "app/IniFile.h"
#include "base/Error.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "tools/Address.h"

namespace velkar {

namespace {
const char kSystem[] = "System";
const char kSage[] = "Sage";
}  // namespace

ProgramSettings& Settings() {
  static ProgramSettings settings;
  return settings;
}

std::string ReadRequiredSetting(const TIniFile& ini, const std::string& section, const std::string& key) {
  std::string value = ini.ReadString(section, key, "");
  if (value.empty()) Fail("Brak pola: \"%s = \" w pliku konfiguracyjnym w sekcji: %s", key, section);
  return value;
}

std::string ReadDirSetting(const TIniFile& ini, const std::string& key, const std::string& defaultValue) {
  if (auto value = ini.Find(kSystem, key)) {
    if (value->empty()) return {};
    // Folders are written with either separator; the program uses the platform's one.
    return IncludeTrailingPathDelimiter(NativePath(*value));
  }
  if (defaultValue.empty()) Fail("Brak wpisu %s w pliku %s", key, ini.FileName());
  if (defaultValue == "-") return {};
  return defaultValue;
}

// ZnacznikKSeF: BFK, DI or OFF in any letter case, blanks around it ignored; empty or
// missing is BFK. Another value stops the reading at once rather than the first JPK_V7M(3)
// row that would need it.
static std::string ReadKsefMarkerSetting(const TIniFile& ini) {
  std::string value = Trim(ini.ReadString(kSystem, "ZnacznikKSeF", "BFK"));
  for (char& c : value)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (value.empty()) return "BFK";
  if (value != "BFK" && value != "DI" && value != "OFF")
    Fail("Nieznany znacznik KSeF w ustawieniu ZnacznikKSeF: \"%s\" (dozwolone: BFK, DI, OFF)",
         ini.ReadString(kSystem, "ZnacznikKSeF", ""));
  return value;
}

std::set<int> MakeSalesDocumentClasses(bool addFaktMarket) {
  std::set<int> classes{0, 1, 2, 3, 4, 5, 7, 22, 23, 50, 51};
  if (addFaktMarket) classes.insert(48);
  return classes;
}

ProgramSettings ReadProgramSettings(const TIniFile& ini, const std::function<void(const std::string&)>& setUpSession) {
  ProgramSettings s;
  s.NIP = ReadRequiredSetting(ini, kSystem, "NIP");
  s.Nazwa = ReadRequiredSetting(ini, kSystem, "Nazwa");
  s.Imie = ini.ReadString(kSystem, "Imie", "");
  if (!s.Imie.empty()) {
    s.Nazwisko = ReadRequiredSetting(ini, kSystem, "Nazwisko");
    // A missing key, an unreadable date and a date equal to today are all "missing".
    DateTime today = Clock::Today();
    s.DataUrodzenia = ini.ReadDate(kSystem, "DataUrodzenia", today);
    if (s.DataUrodzenia == today) Fail("Brak pola: \"%s = \" w pliku konfiguracyjnym", "DataUrodzenia");
  }
  s.Email = ReadRequiredSetting(ini, kSystem, "Email");
  s.Telefon = ini.ReadString(kSystem, "Telefon", "");
  s.Regon = ini.ReadString(kSystem, "Regon", "");
  s.Miasto = ini.ReadString(kSystem, "Miasto", "");
  s.Wojewodztwo = ini.ReadString(kSystem, "Wojewodztwo", "");
  s.Powiat = ini.ReadString(kSystem, "Powiat", "");
  s.Gmina = ini.ReadString(kSystem, "Gmina", "");
  s.Ulica = ini.ReadString(kSystem, "Ulica", "");
  s.NrDomu = ini.ReadString(kSystem, "NrDomu", "");
  s.NrLokalu = ini.ReadString(kSystem, "NrLokalu", "");
  s.KodPocztowy = ini.ReadString(kSystem, "KodPocztowy", "");
  s.Poczta = ini.ReadString(kSystem, "Poczta", "");
  s.USCode = ReadRequiredSetting(ini, kSystem, "USCode");
  s.NazwaSystemu = ReadRequiredSetting(ini, kSystem, "NazwaSystemu");
  s.CurDate = ini.ReadRequiredDate(kSystem, "CurDate", IncMonth(Clock::Now(), -1));
  s.QorDataDir = ReadDirSetting(ini, "QorDataDir", "-");
  s.TulvoDir = ReadDirSetting(ini, "TulvoDir", "-");
  s.FennikDir = ReadDirSetting(ini, "FennikDir", "-");
  bool anyDataDir = !s.QorDataDir.empty() || !s.TulvoDir.empty() || !s.FennikDir.empty();
  s.NetFileDir = ReadDirSetting(ini, "NetFileDir", anyDataDir ? "" : "-");
  if (setUpSession) setUpSession(s.NetFileDir);
  s.UserDir = ReadDirSetting(ini, "UserDir", !s.QorDataDir.empty() ? s.QorDataDir : !s.FennikDir.empty() ? s.FennikDir : "-");
  s.TulvoUserDir = ReadDirSetting(ini, "TulvoUserDir", !s.UserDir.empty() ? s.UserDir : "-");
  s.SaveDir = ReadDirSetting(ini, "SaveDir", "-");
  s.NameSufix = ini.ReadString(kSystem, "NameSufix", "");
  s.YearQorTbl = ini.ReadBool(kSystem, "YearQorTbl", false);
  s.YearUsrTbl = ini.ReadBool(kSystem, "YearUsrTbl", false);
  s.AdrZipCityFirst = ini.ReadBool(kSystem, "AdrZipCityFirst", false);
  s.RegBySaleDate = ini.ReadBool(kSystem, "RegBySaleDate", false);
  s.AddAnulParag = ini.ReadBool(kSystem, "AddAnulParag", true);
  s.AddValZw2Net = ini.ReadBool(kSystem, "AddValZw2Net", false);
  s.AddNPO2Net = ini.ReadBool(kSystem, "AddNPO2Net", false);
  s.AddFaktMarket = ini.ReadBool(kSystem, "AddFaktMarket", false);
  s.AddCostInvo = ini.ReadBool(kSystem, "AddCostInvo", false);
  s.Zakup2Ex = ini.ReadBool(kSystem, "Zakup2Ex", false);
  s.Sprzedaz2ImpUslugEx = ini.ReadBool(kSystem, "Sprzedaz2ImpUslugEx", false);
  s.ClearEnter = ini.ReadBool(kSystem, "ClearEnter", true);
  s.DowodSprzedazyRO = ini.ReadString(kSystem, "DowodSprzedazyRO", "Raport fiskalny okresowy");
  s.SkadMM = ini.ReadString(kSystem, "SkadMM", "Magazyn Główny");
  s.DokadMM = ini.ReadString(kSystem, "DokadMM", "Magazyn Główny");
  s.ZnacznikKSeF = ReadKsefMarkerSetting(ini);
  s.SchemaDir = ReadDirSetting(ini, "SchemaDir", "-");
  // Code pages are 16-bit numbers; a wider value must not wrap round into another one.
  s.ParadoxCodePage = static_cast<int>(ini.ReadIntegerInRange(kSystem, "ParadoxCodePage", 852, 1, 65535));
  s.Wersja_programu = static_cast<int>(ini.ReadIntegerInRange(kSage, "Wersja_programu", 42, 0, INT_MAX));
  s.Wersja_szablonu = static_cast<int>(ini.ReadIntegerInRange(kSage, "Wersja_szablonu", 3, 0, INT_MAX));

  s.AddressLine = FormatAddress(s.KodPocztowy, s.Miasto, s.Ulica, s.AdrZipCityFirst, s.NrDomu, s.NrLokalu);
  s.SalesDocumentClasses = MakeSalesDocumentClasses(s.AddFaktMarket);
  return s;
}

std::vector<std::pair<std::string, std::string>> DescribeSettings(const ProgramSettings& s) {
  auto flag = [](bool value) { return std::string(value ? "1" : "0"); };
  std::vector<std::pair<std::string, std::string>> rows = {
      {"NIP", s.NIP}, {"Nazwa", s.Nazwa}, {"Imie", s.Imie}};
  if (!s.Imie.empty()) {
    rows.emplace_back("Nazwisko", s.Nazwisko);
    rows.emplace_back("DataUrodzenia", FormatDate(s.DataUrodzenia));
  }
  std::string curDate = FormatDateTimeStamp(s.CurDate);
  curDate[10] = ' ';
  std::vector<std::pair<std::string, std::string>> rest = {
      {"Email", s.Email}, {"Telefon", s.Telefon}, {"Regon", s.Regon}, {"Miasto", s.Miasto},
      {"Wojewodztwo", s.Wojewodztwo}, {"Powiat", s.Powiat}, {"Gmina", s.Gmina}, {"Ulica", s.Ulica},
      {"NrDomu", s.NrDomu}, {"NrLokalu", s.NrLokalu}, {"KodPocztowy", s.KodPocztowy}, {"Poczta", s.Poczta},
      {"USCode", s.USCode}, {"NazwaSystemu", s.NazwaSystemu}, {"CurDate", curDate},
      {"QorDataDir", s.QorDataDir}, {"TulvoDir", s.TulvoDir}, {"FennikDir", s.FennikDir},
      {"NetFileDir", s.NetFileDir}, {"UserDir", s.UserDir}, {"TulvoUserDir", s.TulvoUserDir},
      {"SaveDir", s.SaveDir}, {"NameSufix", s.NameSufix}, {"YearQorTbl", flag(s.YearQorTbl)},
      {"YearUsrTbl", flag(s.YearUsrTbl)}, {"AdrZipCityFirst", flag(s.AdrZipCityFirst)},
      {"RegBySaleDate", flag(s.RegBySaleDate)}, {"AddAnulParag", flag(s.AddAnulParag)},
      {"AddValZw2Net", flag(s.AddValZw2Net)}, {"AddNPO2Net", flag(s.AddNPO2Net)},
      {"AddFaktMarket", flag(s.AddFaktMarket)}, {"AddCostInvo", flag(s.AddCostInvo)},
      {"Zakup2Ex", flag(s.Zakup2Ex)}, {"Sprzedaz2ImpUslugEx", flag(s.Sprzedaz2ImpUslugEx)},
      {"ClearEnter", flag(s.ClearEnter)}, {"DowodSprzedazyRO", s.DowodSprzedazyRO}, {"SkadMM", s.SkadMM},
      {"DokadMM", s.DokadMM}, {"ZnacznikKSeF", s.ZnacznikKSeF}, {"SchemaDir", s.SchemaDir}, {"ParadoxCodePage", std::to_string(s.ParadoxCodePage)},
      {"Wersja_programu", std::to_string(s.Wersja_programu)},
      {"Wersja_szablonu", std::to_string(s.Wersja_szablonu)}, {"AddressLine", s.AddressLine}};
  rows.insert(rows.end(), rest.begin(), rest.end());
  std::string classes;
  for (int c : s.SalesDocumentClasses) classes += (classes.empty() ? "" : ", ") + std::to_string(c);
  rows.emplace_back("SalesDocumentClasses", classes);
  return rows;
}

}  // namespace velkar
