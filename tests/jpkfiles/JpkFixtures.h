// Shared helpers of the JPK file tests: the taxpayer of the tests' configuration with a
// frozen clock, the official schema bundle kept next to the source tree, and the least
// content each schema requires beside the header.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "app/Settings.h"
#include "base/DateTime.h"
#include "jpkfiles/SchemaValidation.h"
#include "model/fa/JpkFA.h"
#include "model/kr/JpkKR.h"
#include "model/mag/JpkMAG.h"
#include "tests/support/TempDir.h"

namespace velkar::test {

// A company with a complete address, period March 2024.
inline ProgramSettings CompanySettings() {
  ProgramSettings s;
  s.NIP = "5250001090";
  s.Nazwa = "Firma Testowa Sp. z o.o.";
  s.Email = "biuro@firma.pl";
  s.Regon = "012345678";
  s.Wojewodztwo = "mazowieckie";
  s.Powiat = "Warszawa";
  s.Gmina = "Warszawa";
  s.Ulica = "Prosta";
  s.NrDomu = "1";
  s.NrLokalu = "2";
  s.Miasto = "Warszawa";
  s.KodPocztowy = "00-001";
  s.Poczta = "Warszawa";
  s.USCode = "1471";
  s.NazwaSystemu = "Velkar";
  s.CurDate = {2024, 3, 15};
  return s;
}

// The same taxpayer as a natural person.
inline ProgramSettings PersonSettings() {
  ProgramSettings s = CompanySettings();
  s.Imie = "Jan";
  s.Nazwisko = "Kowalski";
  s.DataUrodzenia = {1980, 7, 9};
  s.Telefon = "221234567";
  return s;
}

// Installs settings and freezes the clock at 2024-04-02 09:05:07 for a test.
class TaxpayerScope {
 public:
  explicit TaxpayerScope(const ProgramSettings& settings = CompanySettings()) : old_(Settings()) {
    Settings() = settings;
    Clock::Freeze({2024, 4, 2, 9, 5, 7});
  }
  ~TaxpayerScope() {
    Settings() = old_;
    Clock::Unfreeze();
  }
  TaxpayerScope(const TaxpayerScope&) = delete;
  TaxpayerScope& operator=(const TaxpayerScope&) = delete;

 private:
  ProgramSettings old_;
};

// Lowers the file-size limit of the process for a scope: writing more than `bytes` into a
// file then fails as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limited = old_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    signal(SIGXFSZ, oldHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit old_{};
  sighandler_t oldHandler_;
};

// The schema folder found from the source tree ("shared/xsd" above it).
inline std::string SchemaDir() {
  static const std::string dir = FindSchemaDir(SchemaDirCandidates{{}, {}, {}, {SourceDir()}});
  if (dir.empty()) ADD_FAILURE() << "no shared/xsd folder above " << SourceDir();
  return dir;
}

// Sets VELKAR_XSD_DIR to the bundle for a scope, so the program's own look-up finds it
// first whatever the configuration says.
class SchemaDirForProgram {
 public:
  SchemaDirForProgram() {
    if (const char* old = std::getenv("VELKAR_XSD_DIR")) old_ = old;
    setenv("VELKAR_XSD_DIR", SchemaDir().c_str(), 1);
  }
  ~SchemaDirForProgram() {
    if (old_)
      setenv("VELKAR_XSD_DIR", old_->c_str(), 1);
    else
      unsetenv("VELKAR_XSD_DIR");
  }
  SchemaDirForProgram(const SchemaDirForProgram&) = delete;
  SchemaDirForProgram& operator=(const SchemaDirForProgram&) = delete;

 private:
  std::optional<std::string> old_;
};

// JPK_FA(4) needs one invoice with its required fields, one invoice line and both control
// records.
inline void AddLeastInvoiceContent(const fa::IXMLJPKFA& doc) {
  auto invoice = doc.Faktura().Add();
  invoice.Set_KodWaluty("PLN");
  invoice.Set_P_1("2024-03-10");
  invoice.Set_P_2A("FV 1/2024");
  invoice.Set_P_3C("Firma Testowa Sp. z o.o.");
  invoice.Set_P_3D("Warszawa");
  invoice.Set_P_15(0);
  for (auto set : {&fa::IXMLJPK_Faktura::Set_P_16, &fa::IXMLJPK_Faktura::Set_P_17, &fa::IXMLJPK_Faktura::Set_P_18,
                   &fa::IXMLJPK_Faktura::Set_P_18A, &fa::IXMLJPK_Faktura::Set_P_19, &fa::IXMLJPK_Faktura::Set_P_20,
                   &fa::IXMLJPK_Faktura::Set_P_21, &fa::IXMLJPK_Faktura::Set_P_22, &fa::IXMLJPK_Faktura::Set_P_23,
                   &fa::IXMLJPK_Faktura::Set_P_106E_2, &fa::IXMLJPK_Faktura::Set_P_106E_3})
    (invoice.*set)(false);
  invoice.Set_RodzajFaktury("VAT");
  doc.FakturaCtrl().Set_LiczbaFaktur(1);
  doc.FakturaCtrl().Set_WartoscFaktur(0);
  doc.FakturaWiersz().Add().Set_P_2B("FV 1/2024");
  doc.FakturaWierszCtrl().Set_LiczbaWierszyFaktur(1);
  doc.FakturaWierszCtrl().Set_WartoscWierszyFaktur(0);
}

// JPK_MAG(1) needs the warehouse name.
inline void AddLeastWarehouseContent(const mag::IXMLJPKMAG& doc) { doc.Set_Magazyn("Magazyn Główny"); }

// JPK_KR(1) needs one account, one journal entry, one posting and both control records.
inline void AddLeastLedgerContent(const kr::IXMLJPKKR& doc) {
  auto account = doc.ZOiS().Add();
  account.Set_typ("G");
  for (auto set : {&kr::IXMLJPK_ZOiS::Set_KodKonta, &kr::IXMLJPK_ZOiS::Set_OpisKonta, &kr::IXMLJPK_ZOiS::Set_TypKonta,
                   &kr::IXMLJPK_ZOiS::Set_KodZespolu, &kr::IXMLJPK_ZOiS::Set_OpisZespolu,
                   &kr::IXMLJPK_ZOiS::Set_KodKategorii, &kr::IXMLJPK_ZOiS::Set_OpisKategorii})
    (account.*set)("100");
  for (auto set :
       {&kr::IXMLJPK_ZOiS::Set_BilansOtwarciaWinien, &kr::IXMLJPK_ZOiS::Set_BilansOtwarciaMa,
        &kr::IXMLJPK_ZOiS::Set_ObrotyWinien, &kr::IXMLJPK_ZOiS::Set_ObrotyMa, &kr::IXMLJPK_ZOiS::Set_ObrotyWinienNarast,
        &kr::IXMLJPK_ZOiS::Set_ObrotyMaNarast, &kr::IXMLJPK_ZOiS::Set_SaldoWinien, &kr::IXMLJPK_ZOiS::Set_SaldoMa})
    (account.*set)(0);
  auto entry = doc.Dziennik().Add();
  entry.Set_typ("G");
  entry.Set_LpZapisuDziennika(1);
  entry.Set_NrZapisuDziennika("1");
  entry.Set_OpisDziennika("Dziennik");
  entry.Set_NrDowoduKsiegowego("PK 1");
  entry.Set_RodzajDowodu("PK");
  entry.Set_DataOperacji("2024-03-01");
  entry.Set_DataDowodu("2024-03-01");
  entry.Set_DataKsiegowania("2024-03-01");
  entry.Set_KodOperatora("ADM");
  entry.Set_OpisOperacji("Otwarcie");
  entry.Set_DziennikKwotaOperacji(0);
  doc.DziennikCtrl().Set_LiczbaWierszyDziennika(1);
  doc.DziennikCtrl().Set_SumaKwotOperacji(0);
  auto posting = doc.KontoZapis().Add();
  posting.Set_typ("G");
  posting.Set_LpZapisu(1);
  posting.Set_NrZapisu("1");
  posting.Set_KodKontaWinien("100");
  posting.Set_KwotaWinien(0);
  posting.Set_KodKontaMa("100");
  posting.Set_KwotaMa(0);
  doc.KontoZapisCtrl().Set_LiczbaWierszyKontoZapisj(1);
  doc.KontoZapisCtrl().Set_SumaWinien(0);
  doc.KontoZapisCtrl().Set_SumaMa(0);
}

}  // namespace velkar::test
