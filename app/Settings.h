// ProgramSettings: the taxpayer, the source folders and the switches, read once at start
// from the configuration file. Only CurDate changes afterwards (the chosen period).
#pragma once

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/DateTime.h"

namespace velkar {

class TIniFile;

struct ProgramSettings {
  // Section "System"
  std::string NIP;
  std::string Nazwa;
  std::string Imie;
  std::string Nazwisko;
  DateTime DataUrodzenia;
  std::string Email;
  std::string Telefon;
  std::string Regon;
  std::string Miasto;
  std::string Wojewodztwo;
  std::string Powiat;
  std::string Gmina;
  std::string Ulica;
  std::string NrDomu;
  std::string NrLokalu;
  std::string KodPocztowy;
  std::string Poczta;
  std::string USCode;
  std::string NazwaSystemu;
  DateTime CurDate;
  std::string QorDataDir;
  std::string TulvoDir;
  std::string FennikDir;
  std::string NetFileDir;
  std::string UserDir;
  std::string TulvoUserDir;
  std::string SaveDir;
  std::string NameSufix;
  bool YearQorTbl = false;
  bool YearUsrTbl = false;
  bool AdrZipCityFirst = false;
  bool RegBySaleDate = false;
  bool AddAnulParag = true;
  bool AddValZw2Net = false;
  bool AddNPO2Net = false;
  bool AddFaktMarket = false;
  bool AddCostInvo = false;
  bool Zakup2Ex = false;
  bool Sprzedaz2ImpUslugEx = false;
  bool ClearEnter = true;
  std::string DowodSprzedazyRO = "Raport fiskalny okresowy";
  std::string SkadMM = "Magazyn Główny";
  std::string DokadMM = "Magazyn Główny";
  // The KSeF marker of JPK_V7M(3) rows that carry no KSeF number and are not receipts,
  // internal documents or imports: "BFK", "DI" or "OFF".
  std::string ZnacznikKSeF = "BFK";
  // Beyond the taxpayer's switches: where the official schemas are, and the code page
  // of Paradox 3.x tables that carry none.
  std::string SchemaDir;
  int ParadoxCodePage = 852;
  // Section "Sage"
  int Wersja_programu = 42;
  int Wersja_szablonu = 3;

  // Derived at start
  std::string AddressLine;
  std::set<int> SalesDocumentClasses;
};

// The settings the program runs with.
ProgramSettings& Settings();

// Text value of a required key; fails with "Brak pola: ..." when missing or empty.
std::string ReadRequiredSetting(const TIniFile& ini, const std::string& section, const std::string& key);

// A folder key of section "System": a value that is not empty ends with a separator;
// a missing key fails when `defaultValue` is empty, gives "" when it is "-", and
// `defaultValue` itself otherwise.
std::string ReadDirSetting(const TIniFile& ini, const std::string& key, const std::string& defaultValue);

// Reads every setting in the program's reading order; the first failure stops the
// reading. `setUpSession` runs right after NetFileDir is read (the database session is
// pointed at it there). Fills the derived fields.
ProgramSettings ReadProgramSettings(const TIniFile& ini, const std::function<void(const std::string& netFileDir)>& setUpSession = {});

// The settings as "Key = value" pairs in reading order, then the derived fields.
std::vector<std::pair<std::string, std::string>> DescribeSettings(const ProgramSettings& settings);

std::set<int> MakeSalesDocumentClasses(bool addFaktMarket);

}  // namespace velkar
