// KSeF numbers of the sample documents.
#include "samples/SampleKsef.h"

#include "base/Error.h"
#include "base/Paths.h"
#include "samples/Company.h"
#include "samples/KsefNumber.h"

namespace velkar::samples {

bool RegisterHasKsefField(int year) { return year >= 2026; }

bool KsefPeriod(const DateTime& month) { return month.year > 2026 || (month.year == 2026 && month.month >= 2); }

SampleRandom KsefRandom(std::uint64_t seed, const DateTime& month) {
  return SampleRandom(seed ^ 0x4B53654600000000ULL ^ (static_cast<std::uint64_t>(month.year) * 100 + month.month));
}

std::string DomesticNip(const Contractor& contractor) {
  if (!contractor.Domestic() || !contractor.nipAccepted) return {};
  std::string digits;
  for (char c : contractor.nip)
    if (c >= '0' && c <= '9') digits += c;
  return digits;
}

std::string SampleKsefNumber(const std::string& issuerNip, const DateTime& date, SampleRandom& random) {
  return MakeKsefNumber(issuerNip, date, random.Next());
}

void DrawKsef(const std::string& issuerNip, const DateTime& date, SampleRandom& random, std::string& inRegister,
              std::string& inList) {
  inRegister.clear();
  inList.clear();
  if (issuerNip.empty()) return;
  if (random.Percent(60))
    inRegister = SampleKsefNumber(issuerNip, date, random);
  else if (random.Percent(50))
    inList = SampleKsefNumber(issuerNip, date, random);
}

std::string KsefListName(const DateTime& month) { return Format("KSeF_%04d-%02d.csv", month.year, month.month); }

void WriteKsefList(const std::string& path, const std::vector<KsefListEntry>& entries) {
  std::string text = "NumerFaktury;NIP;NumerKSeF\r\n";
  for (const KsefListEntry& e : entries) text += e.document + ";" + e.nip + ";" + e.number + "\r\n";
  WriteFileAtomically(path, text);
}

}  // namespace velkar::samples
