// Header checks follow the order of the format description: version and size first, then
// the descriptors, the names, encryption and finally the block counts.
#include "tools/db/paradox/HeaderReader.h"

#include "base/Error.h"

namespace velkar::db::paradox {

namespace {

constexpr int kFixedPart = 0x58;

int U16(const std::string& b, int at) {
  return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}
std::uint32_t U32(const std::string& b, int at) {
  return static_cast<std::uint32_t>(U16(b, at)) | static_cast<std::uint32_t>(U16(b, at + 2)) << 16;
}

[[noreturn]] void Damaged(const std::string& table, const std::string& detail) {
  Fail("Tabela %s jest uszkodzona: %s", table, detail);
}

struct TypeRule {
  int code;
  FieldType type;
  int minSize;  // for BCD: decimals
  int maxSize;
};

constexpr TypeRule kTypes[] = {
    {0x01, FieldType::Alpha, 1, 255},      {0x02, FieldType::Date, 4, 4},
    {0x03, FieldType::Short, 2, 2},        {0x04, FieldType::Long, 4, 4},
    {0x05, FieldType::Currency, 8, 8},     {0x06, FieldType::Number, 8, 8},
    {0x09, FieldType::Logical, 1, 1},      {0x0C, FieldType::Memo, 10, 255},
    {0x0D, FieldType::Blob, 10, 255},      {0x0E, FieldType::FormattedMemo, 10, 255},
    {0x0F, FieldType::Ole, 10, 255},       {0x10, FieldType::Graphic, 10, 255},
    {0x14, FieldType::Time, 4, 4},         {0x15, FieldType::Timestamp, 8, 8},
    {0x16, FieldType::AutoInc, 4, 4},      {0x17, FieldType::Bcd, 0, 32},
    {0x18, FieldType::Bytes, 1, 255},
};

const TypeRule* FindType(int code) {
  for (const TypeRule& rule : kTypes)
    if (rule.code == code) return &rule;
  return nullptr;
}

}  // namespace

HeaderInfo ReadHeader(const ByteSource& source, const std::string& tableName) {
  const std::uint64_t fileSize = source.Size();
  std::string fixed(kFixedPart, '\0');
  if (fileSize < kFixedPart || !source.ReadAt(0, fixed.data(), kFixedPart))
    Fail("Plik %s nie jest tabelą Paradox (jest krótszy niż nagłówek)", tableName);

  HeaderInfo info;
  TableHeader& h = info.header;
  h.fileName = tableName;
  h.fileVersion = static_cast<unsigned char>(fixed[0x39]);
  if (h.fileVersion < 3 || h.fileVersion > 12)
    Fail("Plik %s nie jest tabelą Paradox (nieznana wersja pliku: %d)", tableName, h.fileVersion);
  const int descriptorsAt = h.fileVersion <= 4 ? 0x58 : 0x78;
  if (fileSize < static_cast<std::uint64_t>(descriptorsAt))
    Fail("Plik %s nie jest tabelą Paradox (jest krótszy niż nagłówek)", tableName);

  int fileType = static_cast<unsigned char>(fixed[0x04]);
  if (fileType == 1 || (fileType >= 3 && fileType <= 8))
    Fail("Plik %s jest plikiem indeksu Paradox, nie tabelą", tableName);
  if (fileType != 0 && fileType != 2) Fail("Plik %s nie jest tabelą Paradox (nieznany rodzaj pliku: %d)", tableName, fileType);
  h.keyed = fileType == 0;

  int blockCode = static_cast<unsigned char>(fixed[0x05]);
  if (blockCode < 1 || blockCode > 32) Damaged(tableName, Format("nieprawidłowy rozmiar bloku (kod %d)", blockCode));
  h.blockSize = blockCode * 0x400;

  info.headerSize = U16(fixed, 0x02);
  if (info.headerSize < descriptorsAt || static_cast<std::uint64_t>(info.headerSize) > fileSize)
    Damaged(tableName, Format("nieprawidłowy rozmiar nagłówka (%d bajtów)", info.headerSize));

  const int fieldCount = U16(fixed, 0x21);
  const int tableNameLength = h.fileVersion <= 11 ? 79 : 261;
  if (fieldCount < 1 || fieldCount > 255) Damaged(tableName, Format("nieprawidłowa liczba pól (%d)", fieldCount));
  const int namesAt = descriptorsAt + 6 * fieldCount + 4 + tableNameLength;
  if (namesAt > info.headerSize) Damaged(tableName, "nagłówek jest za krótki na opis pól");

  std::string header(static_cast<std::size_t>(info.headerSize), '\0');
  if (!source.ReadAt(0, header.data(), header.size())) Fail("Błąd odczytu tabeli %s", tableName);

  info.recordSize = U16(header, 0x00);
  int offset = 0;
  for (int i = 0; i < fieldCount; ++i) {
    int code = static_cast<unsigned char>(header[descriptorsAt + 2 * i]);
    int size = static_cast<unsigned char>(header[descriptorsAt + 2 * i + 1]);
    const TypeRule* rule = FindType(code);
    if (!rule) Damaged(tableName, Format("pole nr %d ma nieznany typ (0x%02X)", i + 1, code));
    if (size < rule->minSize || size > rule->maxSize)
      Damaged(tableName, Format("pole nr %d ma nieprawidłowy rozmiar (%d)", i + 1, size));
    FieldLayout field{rule->type, offset, size, 0};
    if (rule->type == FieldType::Bcd) {
      field.size = 17;
      field.decimals = size;
    }
    offset += field.size;
    info.layout.push_back(field);
    h.fields.push_back({std::string(), rule->type, size});
  }
  if (offset != info.recordSize)
    Damaged(tableName, Format("rozmiar rekordu (%d) nie zgadza się z sumą rozmiarów pól (%d)", info.recordSize, offset));
  if (info.recordSize < 1 || info.recordSize > h.blockSize - 6)
    Damaged(tableName, Format("rekord (%d bajtów) nie mieści się w bloku (%d bajtów)", info.recordSize, h.blockSize));

  h.keyFieldCount = U16(header, 0x23);
  if (h.keyFieldCount > fieldCount) Damaged(tableName, Format("nieprawidłowa liczba pól klucza (%d)", h.keyFieldCount));

  int at = namesAt;
  for (int i = 0; i < fieldCount; ++i) {
    int end = at;
    while (end < info.headerSize && header[end] != '\0') ++end;
    if (end >= info.headerSize) Damaged(tableName, Format("nazwa pola nr %d wychodzi poza nagłówek", i + 1));
    if (end == at) Damaged(tableName, Format("pole nr %d nie ma nazwy", i + 1));
    info.rawFieldNames.push_back(header.substr(at, end - at));
    at = end + 1;
  }

  if (h.fileVersion >= 5) {
    h.headerCodePage = U16(header, 0x6A);
    h.encrypted = U32(header, 0x5C) != 0;
  } else {
    h.encrypted = U32(header, 0x25) != 0;
  }

  h.headerRecordCount = U32(header, 0x06);
  info.usedBlocks = U16(header, 0x0A);
  info.fileBlocks = U16(header, 0x0C);
  info.firstBlock = U16(header, 0x0E);
  info.lastBlock = U16(header, 0x10);
  if (h.encrypted) return info;  // the blocks are scrambled: nothing more can be checked

  if (static_cast<std::uint64_t>(info.fileBlocks) * static_cast<std::uint64_t>(h.blockSize) + info.headerSize > fileSize)
    Fail("Tabela %s jest niekompletna: nagłówek podaje %d bloków, a plik jest krótszy", tableName, info.fileBlocks);
  if (info.firstBlock == 0 ? h.headerRecordCount != 0 : info.firstBlock > info.fileBlocks)
    Damaged(tableName, Format("nieprawidłowy numer pierwszego bloku (%d)", info.firstBlock));
  return info;
}

}  // namespace velkar::db::paradox
