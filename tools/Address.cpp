// Postal address line.
#include "tools/Address.h"

#include "base/Error.h"
#include "base/Text.h"

namespace velkar {

std::string FormatAddress(const std::string& zipCode, const std::string& city, const std::string& street,
                          bool zipCityFirst, const std::string& house, const std::string& flat) {
  std::string inner = Trim(street + " " + house + " " + flat);
  std::string result = zipCityFirst ? Format("%s %s  %s", zipCode, city, inner) : Format("%s  %s %s", inner, zipCode, city);
  return Trim(result);
}

}  // namespace velkar
