// The one-line postal address of the taxpayer and of contractors.
#pragma once

#include <string>

namespace velkar {

// "Długa 5  00-950 Warszawa", or with zipCityFirst "00-950 Warszawa  Długa 5"
// (two blanks between the street part and the town part); outer blanks removed.
std::string FormatAddress(const std::string& zipCode, const std::string& city, const std::string& street,
                          bool zipCityFirst, const std::string& house, const std::string& flat);

}  // namespace velkar
