// NIP check: the eight steps of the number's normalisation and validation.
#include "tools/Nip.h"

#include <string_view>
#include <vector>

#include "app/ui/UiPort.h"
#include "base/Error.h"
#include "base/Text.h"
#include "tools/Dictionaries.h"

namespace velkar {

namespace {

// The characters of a UTF-8 text (a lead byte with its continuation bytes), so that
// lengths and positions count letters, not bytes: "123456789ą" has ten characters.
std::vector<std::string_view> Characters(const std::string& text) {
  std::vector<std::string_view> result;
  size_t i = 0;
  while (i < text.size()) {
    size_t end = i + 1;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
    result.emplace_back(text.data() + i, end - i);
    i = end;
  }
  return result;
}

bool IsLatinCapital(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(std::string_view c) { return c.size() == 1 && c[0] >= '0' && c[0] <= '9'; }

std::string UpperAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

// Hyphens at the given 1-based character positions.
bool HyphensAt(const std::vector<std::string_view>& chars, std::initializer_list<size_t> positions) {
  for (size_t p : positions)
    if (chars[p - 1] != "-") return false;
  return true;
}

}  // namespace

void CheckNIP(std::string& countryPrefix, std::string& nip, const NIPErrorHandler& onError, const std::string& document,
              const std::string& contractorName) {
  auto report = [&](const char* message) { onError(message, nip, document, contractorName); };

  // 1. No spaces; nothing at all means "brak".
  countryPrefix.clear();
  nip = ReplaceAll(nip, " ", "");
  if (nip.empty()) nip = "brak";
  // 2. "brak" in any letter case is not checked.
  if (ToLowerAscii(nip) == "brak") return;
  // 3.
  nip = UpperAscii(nip);
  // 4. A country prefix: an EU one is taken off the number, and only a Polish number is
  // checked further.
  if (nip.size() >= 3 && IsLatinCapital(nip[0]) && IsLatinCapital(nip[1])) {
    countryPrefix = nip.substr(0, 2);
    if (IsEUCountryCode(countryPrefix)) nip.erase(0, 2);
    if (countryPrefix != "PL") return;
  }
  // 5.
  std::vector<std::string_view> chars = Characters(nip);
  if (chars.size() != 10 && chars.size() != 13) return report("Zła długość numeru");
  // 6. NNN-NNN-NN-NN or NNN-NN-NN-NNN.
  if (chars.size() == 13) {
    bool layout = HyphensAt(chars, {4, 8, 11}) || HyphensAt(chars, {4, 7, 10});
    if (!layout || Characters(ReplaceAll(nip, "-", "")).size() != 10) return report("Zły format numeru");
    nip = ReplaceAll(nip, "-", "");
    chars = Characters(nip);
  }
  // 7.
  for (std::string_view c : chars)
    if (!IsDigit(c)) return report("Niedozwolone znaki w numerze");
  // 8. The check digit: weighted sum modulo 11; a remainder of 10 matches no digit.
  static constexpr int kWeights[9] = {6, 5, 7, 2, 3, 4, 5, 6, 7};
  int sum = 0;
  for (int i = 0; i < 9; ++i) sum += (nip[static_cast<size_t>(i)] - '0') * kWeights[i];
  if (sum % 11 != nip[9] - '0') report("Zła suma kontrolna numeru");
}

void AskContinueOnNIPError(const std::string& message, const std::string& nip, const std::string& document,
                           const std::string& contractorName) {
  std::string text = message + Format(" NIP: %s\r%s\r%s\rKontynuować?", nip, document, contractorName);
  if (Ui().Ask(MessageKind::Error, text, Buttons::YesNo) != Answer::Yes) throw Error("Wczytywanie przerwano");
}

void NormaliseContractorNIP(std::string& countryPrefix, std::string& nip, bool validate, const NIPErrorHandler& onError,
                            const std::string& document, const std::string& contractorName) {
  if (validate) {
    CheckNIP(countryPrefix, nip, onError, document, contractorName);
  } else {
    countryPrefix.clear();
    if (nip.empty()) nip = "brak";
  }
  if (StartsWith(nip, "GB")) {
    countryPrefix = "GB";
    nip.erase(0, 2);
  } else if (StartsWith(nip, "CH")) {
    countryPrefix = "CH";
  }
}

}  // namespace velkar
