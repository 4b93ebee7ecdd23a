// The fixed dictionaries and naming rules.
#include "tools/Dictionaries.h"

#include <algorithm>

#include "base/Error.h"

namespace velkar {

const std::array<std::string_view, 28> EUCountries = {
    "AT-Austria",   "BE-Belgia",   "BG-Bułgaria",         "CY-Cypr",    "CZ-Czechy",
    "DE–Niemcy",    "DK-Dania",    "EE-Estonia",          "EL-Grecja",  "ES-Hiszpania",
    "FI-Finlandia", "FR-Francja",  "HR-Chorwacja",        "HU-Węgry",   "IE-Irlandia",
    "IT-Włochy",    "LT-Litwa",    "LU-Luksemburg",       "LV-Łotwa",   "MT-Malta",
    "NL-Holandia",  "PL-Polska",   "PT-Portugalia",       "RO-Rumunia", "SE-Szwecja",
    "SI-Słowenia",  "SK-Słowacja", "XI-Irlandia Północna"};

const std::array<std::string_view, 13> ProcedureMarkers = {
    "SW",   "EE",   "TP",    "TT_WNT",        "TT_D",           "MR_T", "MR_UZ",
    "I_42", "I_63", "B_SPV", "B_SPV_DOSTAWA", "B_MPV_PROWIZJA", "MPP"};

const std::vector<std::string>& EUCountryCodes() {
  static const std::vector<std::string> codes = [] {
    std::vector<std::string> result;
    for (std::string_view entry : EUCountries) result.emplace_back(entry.substr(0, 2));
    return result;
  }();
  return codes;
}

bool IsEUCountryCode(std::string_view code) {
  const auto& codes = EUCountryCodes();
  return std::find(codes.begin(), codes.end(), code) != codes.end();
}

std::string PaymentFormName(int code) {
  switch (code) {
    case 0:
      return "gotówka";
    case 1:
      return "karta płatnicza";
    case 2:
      return "przelew";
    case 4:
      return "za pobraniem";
    case 5:
      return "przedpłata";
    default:
      return ".......";
  }
}

std::string DatePrefixedName(bool yearly, const std::string& name, const DateTime& date) {
  if (yearly) return Format("%04d", date.year) + name;
  return Format("%02d_%02d", date.year % 100, date.month) + name;
}

int TulvoPeriodId(int year, int month) { return (year - 1900) * 100 + 5 * month; }

std::string FormatAccountSymbol(int synthetic, int level1, int level2, int level3, int width) {
  std::string symbol = Format(width == 3 ? "%3.3d" : "%2.2d", synthetic);
  if (level1 != 0) {
    symbol += Format("-%d", level1);
    if (level2 != 0) {
      symbol += Format("-%d", level2);
      if (level3 != 0) symbol += Format("-%d", level3);
    }
  }
  return symbol;
}

}  // namespace velkar
