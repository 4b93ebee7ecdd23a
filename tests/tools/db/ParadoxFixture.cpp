// Writing Paradox test tables with pxlib.
#include "tests/tools/db/ParadoxFixture.h"

#include <iconv.h>
extern "C" {
#include <paradox.h>  // a C header without its own extern "C"
}

#include <cstring>
#include <stdexcept>

namespace velkar::test {

namespace {

int FieldLength(const PxField& field) {
  switch (field.type) {
    case PxType::Alpha: return field.size;
    case PxType::Short: return 2;
    case PxType::Date:
    case PxType::Long:
    case PxType::AutoInc: return 4;
    case PxType::Currency:
    case PxType::Number: return 8;
    case PxType::Logical: return 1;
  }
  return 0;
}

char PxTypeCode(PxType type) {
  switch (type) {
    case PxType::Alpha: return pxfAlpha;
    case PxType::Date: return pxfDate;
    case PxType::Short: return pxfShort;
    case PxType::Long: return pxfLong;
    case PxType::Currency: return pxfCurrency;
    case PxType::Number: return pxfNumber;
    case PxType::Logical: return pxfLogical;
    case PxType::AutoInc: return pxfAutoInc;
  }
  return pxfAlpha;
}

std::string ToCp1250(const std::string& utf8) {
  iconv_t cd = iconv_open("CP1250", "UTF-8");
  std::string out(utf8.size() * 2 + 1, '\0');
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* outPtr = out.data();
  size_t outLeft = out.size();
  size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1)) throw std::runtime_error("text not in code page 1250: " + utf8);
  out.resize(out.size() - outLeft);
  return out;
}

// pxlib reports errors through a C callback; they are collected and raised after the call.
void ErrorHandler(pxdoc_t*, int level, const char* message, void* data) {
  if (level != PX_Warning && data) *static_cast<std::string*>(data) = message;
}

}  // namespace

void WriteParadoxTable(const std::string& path, const std::vector<PxField>& fields, long long count,
                       const std::function<void(long long, std::vector<PxValue>&)>& row) {
  std::string error;
  pxdoc_t* doc = PX_new3(ErrorHandler, nullptr, nullptr, nullptr, &error);
  auto check = [&] {
    if (!error.empty()) throw std::runtime_error("pxlib: " + error);
  };
  std::vector<pxfield_t> defs(fields.size());
  std::vector<std::string> names;
  names.reserve(fields.size());
  int recordSize = 0;
  for (size_t i = 0; i < fields.size(); ++i) {
    names.push_back(fields[i].name);
    defs[i].px_fname = static_cast<char*>(doc->malloc(doc, names[i].size() + 1, "field name"));
    std::memcpy(defs[i].px_fname, names[i].c_str(), names[i].size() + 1);
    defs[i].px_ftype = PxTypeCode(fields[i].type);
    defs[i].px_flen = FieldLength(fields[i]);
    defs[i].px_fdc = 0;
    recordSize += defs[i].px_flen;
  }
  pxfield_t* owned = static_cast<pxfield_t*>(doc->malloc(doc, sizeof(pxfield_t) * defs.size(), "fields"));
  std::memcpy(owned, defs.data(), sizeof(pxfield_t) * defs.size());
  if (PX_create_file(doc, owned, static_cast<int>(fields.size()), path.c_str(), pxfFileTypNonIndexDB) < 0) {
    PX_delete(doc);
    throw std::runtime_error("cannot create " + path);
  }
  PX_set_value(doc, "codepage", 1250);
  check();
  std::vector<char> record(static_cast<size_t>(recordSize));
  std::vector<PxValue> values(fields.size());
  for (long long r = 0; r < count; ++r) {
    std::fill(values.begin(), values.end(), PxValue{});
    row(r, values);
    std::fill(record.begin(), record.end(), '\0');
    int offset = 0;
    for (size_t i = 0; i < fields.size(); ++i) {
      char* data = record.data() + offset;
      int length = defs[i].px_flen;
      offset += length;
      const PxValue& v = values[i];
      if (std::holds_alternative<std::monostate>(v)) continue;
      switch (fields[i].type) {
        case PxType::Alpha: {
          std::string bytes = ToCp1250(std::get<std::string>(v));
          if (static_cast<int>(bytes.size()) > length) throw std::runtime_error("value too long for " + names[i]);
          std::vector<char> buffer(bytes.begin(), bytes.end());
          buffer.push_back('\0');
          PX_put_data_alpha(doc, data, length, buffer.data());
          break;
        }
        case PxType::Date: {
          const std::string& text = std::get<PxDate>(v).text;
          int y = std::stoi(text.substr(0, 4)), m = std::stoi(text.substr(5, 2)), d = std::stoi(text.substr(8, 2));
          PX_put_data_long(doc, data, 4, static_cast<int>(PX_GregorianToSdn(y, m, d) - 1721425));
          break;
        }
        case PxType::Short: PX_put_data_short(doc, data, 2, static_cast<short>(std::get<long long>(v))); break;
        case PxType::Long:
        case PxType::AutoInc: PX_put_data_long(doc, data, 4, static_cast<int>(std::get<long long>(v))); break;
        case PxType::Currency:
        case PxType::Number: PX_put_data_double(doc, data, 8, std::get<double>(v)); break;
        case PxType::Logical: PX_put_data_byte(doc, data, 1, std::get<bool>(v) ? 1 : 0); break;
      }
    }
    PX_put_record(doc, record.data());
    check();
  }
  PX_close(doc);
  PX_delete(doc);
  check();
}

void WriteParadoxTable(const std::string& path, const std::vector<PxField>& fields,
                       const std::vector<std::vector<PxValue>>& rows) {
  WriteParadoxTable(path, fields, static_cast<long long>(rows.size()), [&](long long i, std::vector<PxValue>& values) {
    const auto& source = rows[static_cast<size_t>(i)];
    for (size_t k = 0; k < values.size() && k < source.size(); ++k) values[k] = source[k];
  });
}

}  // namespace velkar::test
