// A KSeF number made up for sample files: issuer, date, technical part and CRC-8, in the
// 35-character form a KSeF number has. Shared by the sample databases and the sample
// JPK_V7M registers.
#pragma once

#include <cstdint>
#include <string>

#include "base/DateTime.h"
#include "base/Error.h"
#include "ksef/Ksef.h"

namespace velkar::samples {

// `issuerNip` (ten digits) "-" the date as yyyymmdd "-" the low 48 bits of `technical` as
// twelve upper-case hex digits "-" the CRC-8 of those 32 characters.
inline std::string MakeKsefNumber(const std::string& issuerNip, const DateTime& date, std::uint64_t technical) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string hex(12, '0');
  for (int i = 11; i >= 0; --i, technical >>= 4) hex[static_cast<size_t>(i)] = kHex[technical & 0xF];
  std::string first32 = Format("%s-%04d%02d%02d-%s", issuerNip, date.year, date.month, date.day, hex);
  return first32 + "-" + KsefChecksum(first32);
}

}  // namespace velkar::samples
