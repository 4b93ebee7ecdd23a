// Fixed dictionaries and small naming rules shared by the generators and exporters: EU
// country codes, procedure markers, payment forms, period table names, Tulvo period
// numbers and account symbols.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "base/DateTime.h"

namespace velkar {

// The 28 EU VAT country entries, code and name ("AT-Austria" ...). Greece is EL (its VAT
// prefix), Northern Ireland XI; GB is not a member. The Germany entry is written with an
// en dash, "DE–Niemcy"; only the first two characters of an entry are ever used.
extern const std::array<std::string_view, 28> EUCountries;

// The two-letter codes of EUCountries, built on first use and kept to the end.
const std::vector<std::string>& EUCountryCodes();

// Exact, case-sensitive membership in EUCountryCodes: "DE" is, "de" and "GB" are not.
bool IsEUCountryCode(std::string_view code);

// JPK_V7M procedure markers by bit number of a procedure mask (bit 0 = value 1 "SW" ...
// bit 12 = value 4096 "MPP").
extern const std::array<std::string_view, 13> ProcedureMarkers;

// Name of a payment form: 0 "gotówka", 1 "karta płatnicza", 2 "przelew",
// 4 "za pobraniem", 5 "przedpłata", any other code "......." (seven dots).
std::string PaymentFormName(int code);

// A per-period table name: "yyyy" + name when yearly, else "yy_mm" + name
// (March 2024: 2024REG or 24_03REG).
std::string DatePrefixedName(bool yearly, const std::string& name, const DateTime& date);

// True when the document class with its lowest bit cleared equals `base` (a class and
// its correction, 22 and 23, both match 22).
inline bool ClassIs(int documentClass, int base) { return (documentClass & ~1) == base; }

// The period number of the Tulvo tables: (year - 1900) * 100 + 5 * month (March 2024 is
// 12415; December ends in 60 and its year-end closing period is December's + 10).
int TulvoPeriodId(int year, int month);

// An account symbol: the synthetic account zero-padded to 3 digits when width is 3, else
// to 2, then "-level1", "-level2", "-level3", each only while the levels before it and
// itself are not 0 (201-1-5).
std::string FormatAccountSymbol(int synthetic, int level1, int level2, int level3, int width);

}  // namespace velkar
