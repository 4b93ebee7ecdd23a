// The KSeF number list: a CSV file that names, for each invoice (its number and the
// counterparty's NIP), the number KSeF gave it. The register commands set NrKSeF from it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

namespace velkar {

// Column names of the list's header line (any order; other columns are ignored).
inline constexpr const char* kKsefListInvoiceColumn = "NumerFaktury";
inline constexpr const char* kKsefListNipColumn = "NIP";
inline constexpr const char* kKsefListNumberColumn = "NumerKSeF";

class KsefNumberList {
 public:
  // Reads the list file. The text is UTF-8 (a BOM is dropped) or, when it is not valid
  // UTF-8, Windows-1250. The header line decides the separator (";" or ","); fields may be
  // quoted ("" inside quotes is one "). Lines with no KSeF number are passed over. Every
  // number is checked (CheckKsefNumber). Raises velkar::Error naming the file (and the line)
  // for an unreadable or empty file, a missing column, a bad line, a bad number and an
  // invoice listed twice with different numbers.
  static KsefNumberList Read(const std::string& fileName);
  // The same for the file's bytes; `fileName` names the list in messages.
  static KsefNumberList Parse(std::string_view bytes, const std::string& fileName);

  // The checked number of invoice `document` (trimmed, compared exactly) of the
  // counterparty `nip` (compared as KsefListNip gives it); nullptr when no line names it.
  const std::string* Find(std::string_view document, std::string_view nip) const;
  std::size_t Size() const { return numbers_.size(); }

 private:
  std::unordered_map<std::string, std::string> numbers_;
};

// A counterparty NIP as the list and the register rows are compared: normalised as CheckNIP
// does (spaces and the layout's hyphens out, an EU prefix removed, an empty one "brak"),
// then upper case, so "PL 526-025-02-74" matches the row's 5260250274.
std::string KsefListNip(std::string_view nip);

}  // namespace velkar
