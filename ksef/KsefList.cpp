// Reading the KSeF number list (CSV with a header line) into a look-up by invoice number
// and counterparty NIP.
#include "ksef/KsefList.h"

#include <optional>
#include <vector>

#include "app/IniFile.h"
#include "base/Error.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "ksef/Ksef.h"
#include "tools/Nip.h"

namespace velkar {

namespace {

// One record of the CSV text: its fields and the line it starts on.
struct CsvRecord {
  std::vector<std::string> fields;
  int line = 0;
};

// Splits CSV text into records one at a time. A quoted field may hold separators, line
// breaks and doubled quotes; text after its closing quote is kept as it stands.
class CsvReader {
 public:
  CsvReader(std::string_view text, char separator, const std::string& fileName)
      : text_(text), separator_(separator), fileName_(fileName) {}

  // The next record; nullopt at the end of the text.
  std::optional<CsvRecord> Next() {
    if (pos_ >= text_.size()) return std::nullopt;
    CsvRecord record;
    record.line = line_;
    std::string field;
    bool quotedField = false;
    while (pos_ < text_.size()) {
      char c = text_[pos_++];
      if (c == '"' && field.empty() && !quotedField) {
        quotedField = true;
        ReadQuoted(field, record.line);
      } else if (c == separator_) {
        record.fields.push_back(std::move(field));
        field.clear();
        quotedField = false;
      } else if (c == '\n') {
        ++line_;
        break;
      } else if (c == '\r') {
        // "\r\n" or a lone "\r" ends the record.
        if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
        ++line_;
        break;
      } else {
        field += c;
      }
    }
    record.fields.push_back(std::move(field));
    return record;
  }

 private:
  void ReadQuoted(std::string& field, int startLine) {
    while (pos_ < text_.size()) {
      char c = text_[pos_++];
      if (c == '"') {
        if (pos_ < text_.size() && text_[pos_] == '"') {
          field += '"';
          ++pos_;
          continue;
        }
        return;
      }
      if (c == '\n') ++line_;
      field += c;
    }
    Fail("Lista numerów KSeF %s, wiersz %d: niezamknięty cudzysłów", fileName_, startLine);
  }

  std::string_view text_;
  char separator_;
  const std::string& fileName_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

// ";" when the header line holds more semicolons than commas (outside quotes), else ",".
char SeparatorOf(std::string_view text) {
  int semicolons = 0, commas = 0;
  bool quoted = false;
  for (char c : text) {
    if (c == '"') quoted = !quoted;
    if (quoted) continue;
    if (c == '\n' || c == '\r') break;
    if (c == ';') ++semicolons;
    if (c == ',') ++commas;
  }
  return semicolons > commas ? ';' : ',';
}

std::size_t ColumnIndex(const std::vector<std::string>& header, const char* name, const std::string& fileName) {
  for (std::size_t i = 0; i < header.size(); ++i)
    if (EqualsNoCase(Trim(header[i]), name)) return i;
  Fail("Lista numerów KSeF %s nie ma kolumny %s (wymagane kolumny: %s, %s, %s)", fileName, name, kKsefListInvoiceColumn,
       kKsefListNipColumn, kKsefListNumberColumn);
}

bool AllEmpty(const std::vector<std::string>& fields) {
  for (const std::string& field : fields)
    if (!Trim(field).empty()) return false;
  return true;
}

std::string Key(std::string_view document, std::string_view nip) {
  std::string key = Trim(document);
  key += '\x1f';  // a separator no document number holds
  key += KsefListNip(nip);
  return key;
}

}  // namespace

std::string KsefListNip(std::string_view nip) {
  std::string prefix;
  std::string normalised(nip);
  // A defect of the number is no reason to refuse the line: it is compared as normalised.
  NormaliseContractorNIP(
      prefix, normalised, true, [](const std::string&, const std::string&, const std::string&, const std::string&) {},
      "", "");
  for (char& c : normalised)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return normalised;
}

KsefNumberList KsefNumberList::Read(const std::string& fileName) {
  std::string bytes;
  try {
    bytes = ReadWholeFile(fileName);
  } catch (const Error& error) {
    Fail("Nie można odczytać listy numerów KSeF %s (%s)", fileName, error.what());
  }
  return Parse(bytes, fileName);
}

KsefNumberList KsefNumberList::Parse(std::string_view bytes, const std::string& fileName) {
  std::string text(bytes);
  if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
  text = ToUtf8FromWindows1250IfNeeded(text);

  CsvReader reader(text, SeparatorOf(text), fileName);
  std::optional<CsvRecord> header = reader.Next();
  while (header && AllEmpty(header->fields)) header = reader.Next();
  if (!header) Fail("Lista numerów KSeF %s jest pusta", fileName);
  const std::size_t invoiceColumn = ColumnIndex(header->fields, kKsefListInvoiceColumn, fileName);
  const std::size_t nipColumn = ColumnIndex(header->fields, kKsefListNipColumn, fileName);
  const std::size_t numberColumn = ColumnIndex(header->fields, kKsefListNumberColumn, fileName);
  const std::size_t needed = std::max({invoiceColumn, nipColumn, numberColumn}) + 1;

  KsefNumberList list;
  while (std::optional<CsvRecord> record = reader.Next()) {
    const std::vector<std::string>& fields = record->fields;
    if (AllEmpty(fields)) continue;
    if (fields.size() < needed)
      Fail("Lista numerów KSeF %s, wiersz %d: za mało kolumn (jest %d, potrzeba %d)", fileName, record->line,
           fields.size(), needed);
    std::string document = Trim(fields[invoiceColumn]);
    if (document.empty()) Fail("Lista numerów KSeF %s, wiersz %d: brak numeru faktury", fileName, record->line);
    // An invoice without a number yet keeps its marker.
    if (Trim(fields[numberColumn]).empty()) continue;
    std::string number;
    try {
      number = CheckKsefNumber(fields[numberColumn], document);
    } catch (const Error& error) {
      Fail("Lista numerów KSeF %s, wiersz %d: %s", fileName, record->line, error.what());
    }
    auto [it, added] = list.numbers_.emplace(Key(document, fields[nipColumn]), number);
    if (!added && it->second != number)
      Fail("Lista numerów KSeF %s, wiersz %d: faktura %s (NIP %s) ma już inny numer KSeF: %s", fileName, record->line,
           document, Trim(fields[nipColumn]), it->second);
  }
  return list;
}

const std::string* KsefNumberList::Find(std::string_view document, std::string_view nip) const {
  auto it = numbers_.find(Key(document, nip));
  return it == numbers_.end() ? nullptr : &it->second;
}

}  // namespace velkar
