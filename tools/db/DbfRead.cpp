// Loading a dBASE table into the session's SQLite database (records read with shapelib,
// values parsed by the engine).
#include <shapefil.h>

#include <memory>

#include "base/Error.h"
#include "base/Text.h"
#include "tools/db/DbfFormat.h"
#include "tools/db/Mazovia.h"
#include "tools/db/Store.h"
#include "tools/db/paradox/TextDecoder.h"

namespace velkar::db {

namespace {

// The code page of a dBASE table's text from its language driver byte or .cpg file
// (shapelib gives "LDID/n" or the .cpg text). Tables without one are taken as Windows-1250.
std::function<std::string(const std::string&)> TextDecoderOf(DBFHandle dbf) {
  const char* page = DBFGetCodePage(dbf);
  std::string name = page ? ToLowerAscii(Trim(page)) : std::string();
  int codePage = 1250;
  if (StartsWith(name, "ldid/")) {
    long long ldid = 0;
    TryParseInt(name.substr(5), ldid);
    if (ldid == kMazoviaLanguageDriver)
      return [](const std::string& bytes) { return Cp1250ToUtf8(FromMazovia(bytes)); };
    switch (ldid) {
      case 0x01: codePage = 437; break;
      case 0x02: codePage = 850; break;
      case 0x03: codePage = 1252; break;
      case 0x26:
      case 0x65: codePage = 866; break;
      case 0x64: codePage = 852; break;
      case 0xC9: codePage = 1251; break;
      default: codePage = 1250; break;
    }
  } else if (name == "utf-8" || name == "utf8" || name == "65001") {
    return [](const std::string& bytes) { return bytes; };
  } else if (!name.empty()) {
    size_t digits = name.find_first_of("0123456789");
    long long number = 0;
    if (digits != std::string::npos && TryParseInt(name.substr(digits), number) && number > 0 && number <= 65535)
      codePage = static_cast<int>(number);
  }
  auto decoder = paradox::TextDecoder::ForCodePage(codePage);
  if (!decoder) decoder = paradox::TextDecoder::ForCodePage(1250);
  auto shared = std::make_shared<paradox::TextDecoder>(*decoder);
  return [shared](const std::string& bytes) { return shared->Decode(bytes); };
}

thread_local std::string tDbfComplaint;

void KeepDbfComplaint(const char* message) { tDbfComplaint = message ? Trim(message) : std::string(); }

}  // namespace

DBFHandle OpenDbf(const std::string& path, const char* access) {
  SAHooks hooks;
  SASetupDefaultHooks(&hooks);
  hooks.Error = KeepDbfComplaint;  // copied into the handle: later complaints are kept too
  tDbfComplaint.clear();
  return DBFOpenLL(path.c_str(), access, &hooks);
}

std::string DbfLibraryDetail() {
  std::string detail = tDbfComplaint.empty() ? std::string() : " (" + tDbfComplaint + ")";
  tDbfComplaint.clear();
  return detail;
}

void RequireReadableDbfFields(const std::vector<DbfFieldInfo>& fields, const std::string& tableName) {
  for (const DbfFieldInfo& f : fields)
    if (f.type != 'C' && f.type != 'N' && f.type != 'F' && f.type != 'D' && f.type != 'L')
      Fail("Tabela %s: pole %s: typ %c nieobsługiwany", tableName, f.name, f.type);
}

std::vector<DbfFieldInfo> ReadDbfFields(DBFHandle dbf, const std::string& tableName) {
  std::vector<DbfFieldInfo> fields;
  for (int i = 0; i < DBFGetFieldCount(dbf); ++i) {
    char name[XBASE_FLDNAME_LEN_READ + 1] = {};
    int width = 0, decimals = 0;
    DBFGetFieldInfo(dbf, i, name, &width, &decimals);
    int offset = dbf->panFieldOffset[i];
    if (width <= 0 || offset < 1 || offset + width > dbf->nRecordLength)
      Fail("Tabela %s jest uszkodzona: pole %s leży poza rekordem", tableName, Trim(name));
    fields.push_back({Trim(name), DBFGetNativeFieldType(dbf, i), width, decimals, offset});
  }
  return fields;
}

void LoadDbfTable(const std::string& path, TableBuilder& builder) {
  std::unique_ptr<DBFInfo, decltype(&DBFClose)> dbf(OpenDbf(path, "rb"), &DBFClose);
  if (!dbf) Fail("Nie można odczytać tabeli dBASE %s: plik nie jest tabelą dBASE lub jest uszkodzony%s", path,
                 DbfLibraryDetail());
  std::vector<DbfFieldInfo> fields = ReadDbfFields(dbf.get(), path);
  RequireReadableDbfFields(fields, path);
  auto decode = TextDecoderOf(dbf.get());

  std::vector<Column> columns;
  for (const DbfFieldInfo& f : fields) {
    ColumnType type = ColumnType::Text;
    if (f.type == 'N' || f.type == 'F') type = f.decimals == 0 && f.width < 19 ? ColumnType::Integer : ColumnType::Float;
    else if (f.type == 'D') type = ColumnType::Date;
    else if (f.type == 'L') type = ColumnType::Boolean;
    columns.push_back({f.name, type, f.width, f.decimals});
  }
  builder.Define(std::move(columns));

  for (int record = 0; record < DBFGetRecordCount(dbf.get()); ++record) {
    const char* raw = DBFReadTuple(dbf.get(), record);
    if (!raw) Fail("Tabela %s jest uszkodzona (rekord %d)%s", path, record + 1, DbfLibraryDetail());
    if (raw[0] == '*') continue;  // deleted
    for (size_t i = 0; i < fields.size(); ++i) {
      const DbfFieldInfo& f = fields[i];
      builder.Bind(static_cast<int>(i), ParseDbfValue(f, std::string_view(raw + f.offset, static_cast<size_t>(f.width)),
                                                      path, decode));
    }
    builder.AddRow();
  }
}

}  // namespace velkar::db
