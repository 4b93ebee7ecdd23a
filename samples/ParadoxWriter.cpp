// Paradox tables written through pxlib; text encoded here with iconv, so that the length
// checked is the length stored.
#include "samples/ParadoxWriter.h"

#include <iconv.h>

extern "C" {  // pxlib's header declares C functions without saying so
#include <paradox.h>
}

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "base/Error.h"
#include "base/Paths.h"

namespace velkar::samples {

namespace {

int StoredSize(const FieldDef& field) {
  switch (field.type) {
    case FieldType::Alpha:
      return field.size;
    case FieldType::Short:
      return 2;
    case FieldType::Date:
    case FieldType::Long:
    case FieldType::AutoInc:
      return 4;
    case FieldType::Number:
    case FieldType::Currency:
      return 8;
  }
  return 0;
}

char PxType(FieldType type) {
  switch (type) {
    case FieldType::Alpha:
      return pxfAlpha;
    case FieldType::Date:
      return pxfDate;
    case FieldType::Short:
      return pxfShort;
    case FieldType::Long:
      return pxfLong;
    case FieldType::AutoInc:
      return pxfAutoInc;
    case FieldType::Number:
      return pxfNumber;
    case FieldType::Currency:
      return pxfCurrency;
  }
  return pxfAlpha;
}

void CollectError(pxdoc_t*, int level, const char* message, void* data) {
  auto* text = static_cast<std::string*>(data);
  if (level != PX_Warning && text->empty()) *text = message ? message : "";
}

pxdoc_t* NewDocument(std::string* errors) {
  static const bool booted = [] {
    PX_boot();
    return true;
  }();
  (void)booted;
  return PX_new3(CollectError, nullptr, nullptr, nullptr, errors);
}

// pxlib leaves the writer's memory addresses and the time of writing in header words
// that readers ignore (pointers, update time); zeroing them makes the same data give the
// same bytes. `fields` is the field count of a table, -1 for its primary index.
void ClearRunTimeBytes(std::string& bytes, int fields) {
  auto zero = [&bytes](size_t offset, size_t count) {
    for (size_t i = offset; i < offset + count && i < bytes.size(); ++i) bytes[i] = '\0';
  };
  zero(0x16, 8);
  zero(0x30, 8);
  zero(0x55, 1);
  if (fields < 0) {
    zero(0x58, 4);
  } else {
    zero(0x60, 4);
    // After the field descriptors of a 4.x+ header: a pointer and one per field name.
    zero(0x78 + 2 * static_cast<size_t>(fields), 4 + 4 * static_cast<size_t>(fields));
  }
}

// The file pxlib writes is kept in memory: pxlib seeks and reads hundreds of times for
// every record it puts, which on a real file are as many system calls. The table is
// written to disk once, when complete.
class MemoryStream {
 public:
  MemoryStream() {
#if defined(__GLIBC__)
    cookie_io_functions_t io{Read, Write, Seek, nullptr};
    file_ = fopencookie(this, "w+", io);
#else
    file_ = std::tmpfile();
#endif
    if (!file_) Fail("Brak pamięci na tabelę");
  }
  ~MemoryStream() {
    if (file_) std::fclose(file_);
  }
  MemoryStream(const MemoryStream&) = delete;
  MemoryStream& operator=(const MemoryStream&) = delete;

  std::FILE* File() const { return file_; }

  // Everything written; the stream is not used afterwards.
  std::string Take() {
    if (std::fflush(file_) != 0) Fail("Błąd zapisu tabeli");
#if defined(__GLIBC__)
    return std::move(data_);
#else
    std::string bytes;
    if (std::fseek(file_, 0, SEEK_END) != 0) Fail("Błąd zapisu tabeli");
    long size = std::ftell(file_);
    if (size < 0 || std::fseek(file_, 0, SEEK_SET) != 0) Fail("Błąd zapisu tabeli");
    bytes.resize(static_cast<size_t>(size));
    if (std::fread(bytes.data(), 1, bytes.size(), file_) != bytes.size()) Fail("Błąd zapisu tabeli");
    return bytes;
#endif
  }

 private:
#if defined(__GLIBC__)
  static ssize_t Read(void* cookie, char* buffer, size_t size) {
    auto* self = static_cast<MemoryStream*>(cookie);
    size_t n = self->pos_ < self->data_.size() ? std::min(size, self->data_.size() - self->pos_) : 0;
    std::memcpy(buffer, self->data_.data() + self->pos_, n);
    self->pos_ += n;
    return static_cast<ssize_t>(n);
  }
  static ssize_t Write(void* cookie, const char* buffer, size_t size) {
    auto* self = static_cast<MemoryStream*>(cookie);
    if (self->pos_ + size > self->data_.size()) self->data_.resize(self->pos_ + size);
    std::memcpy(self->data_.data() + self->pos_, buffer, size);
    self->pos_ += size;
    return static_cast<ssize_t>(size);
  }
  static int Seek(void* cookie, off64_t* offset, int whence) {
    auto* self = static_cast<MemoryStream*>(cookie);
    off64_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? static_cast<off64_t>(self->pos_)
                                                                 : static_cast<off64_t>(self->data_.size());
    if (base + *offset < 0) return -1;
    self->pos_ = static_cast<size_t>(base + *offset);
    *offset = static_cast<off64_t>(self->pos_);
    return 0;
  }
  std::string data_;
  size_t pos_ = 0;
#endif
  std::FILE* file_ = nullptr;
};

}  // namespace

long ParadoxDayNumber(const DateTime& date) { return DayNumber(date.DateOnly()) + 693594; }

struct ParadoxWriter::Impl {
  pxdoc_t* doc = nullptr;
  std::string error;
  std::vector<char> buffer;
  iconv_t toCodePage = reinterpret_cast<iconv_t>(-1);
  MemoryStream stream;
  bool closed = false;

  ~Impl() {
    if (doc) {
      PX_close(doc);
      PX_delete(doc);
    }
    if (toCodePage != reinterpret_cast<iconv_t>(-1)) iconv_close(toCodePage);
  }

  std::string Encode(const std::string& text, const std::string& table, const std::string& field) {
    std::string out(text.size() * 2 + 4, '\0');
    char* in = const_cast<char*>(text.data());
    size_t inLeft = text.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    iconv(toCodePage, nullptr, nullptr, nullptr, nullptr);
    if (iconv(toCodePage, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1))
      Fail("Tekstu \"%s\" pola %s tabeli %s nie da się zapisać w stronie kodowej tabeli", text, field, table);
    out.resize(out.size() - outLeft);
    return out;
  }
};

Record::Record(const ParadoxWriter& table) : table_(&table), values_(table.def_.fields.size()) {}

Record& Record::Set(const std::string& field, FieldValue value) {
  values_[static_cast<size_t>(table_->FieldIndex(field))] = std::move(value);
  return *this;
}

ParadoxWriter::ParadoxWriter(const std::string& path, const TableDef& def, std::int64_t expectedRecords)
    : impl_(std::make_unique<Impl>()), path_(path), name_(ExtractFileName(path)), def_(def) {
  if (def.fields.empty() || def.fields.size() > 255) Fail("Tabela %s: zła liczba pól", name_);
  int recordSize = 0;
  for (size_t i = 0; i < def.fields.size(); ++i) {
    const FieldDef& f = def.fields[i];
    if (f.type == FieldType::Alpha && (f.size < 1 || f.size > 255))
      Fail("Tabela %s: zła długość pola %s", name_, f.name);
    if (!index_.emplace(f.name, static_cast<int>(i)).second) Fail("Tabela %s: powtórzone pole %s", name_, f.name);
    recordSize += StoredSize(f);
  }

  impl_->toCodePage = iconv_open(Format("CP%d", def.codePage).c_str(), "UTF-8");
  if (impl_->toCodePage == reinterpret_cast<iconv_t>(-1)) Fail("Nieznana strona kodowa %d", def.codePage);

  impl_->doc = NewDocument(&impl_->error);
  if (!impl_->doc) Fail("Tabela %s: brak pamięci", name_);

  // pxlib takes over the field array and frees it with the document.
  auto* fields = static_cast<pxfield_t*>(std::calloc(def.fields.size(), sizeof(pxfield_t)));
  for (size_t i = 0; i < def.fields.size(); ++i) {
    fields[i].px_fname = strdup(def.fields[i].name.c_str());
    fields[i].px_ftype = PxType(def.fields[i].type);
    fields[i].px_flen = StoredSize(def.fields[i]);
    fields[i].px_fdc = 0;
  }
  int type = def.keyFields > 0 ? pxfFileTypIndexDB : pxfFileTypNonIndexDB;
  Check(PX_create_fp(impl_->doc, fields, static_cast<int>(def.fields.size()), impl_->stream.File(), type),
        "utworzenie");
  Check(PX_set_parameter(impl_->doc, "tablename", name_.c_str()), "nazwa");
  Check(PX_set_value(impl_->doc, "codepage", static_cast<float>(def.codePage)), "strona kodowa");
  if (def.keyFields > 0) Check(PX_set_value(impl_->doc, "numprimkeys", static_cast<float>(def.keyFields)), "klucz");
  // Block size code (KiB): pxlib picks a small one; a table of more than 65535 such
  // blocks needs bigger ones.
  if (expectedRecords * recordSize > 48LL * 1024 * 1024) impl_->doc->px_head->px_maxtablesize = 16;
  if (expectedRecords * recordSize > 768LL * 1024 * 1024) impl_->doc->px_head->px_maxtablesize = 32;
  impl_->buffer.resize(static_cast<size_t>(recordSize));
}

ParadoxWriter::~ParadoxWriter() = default;

int ParadoxWriter::FieldIndex(const std::string& field) const {
  auto it = index_.find(field);
  if (it == index_.end()) Fail("Tabela %s nie ma pola %s", name_, field);
  return it->second;
}

void ParadoxWriter::Check(int result, const char* what) {
  if (result >= 0) return;
  std::string message = impl_->error;
  impl_->error.clear();
  Fail("Tabela %s: błąd zapisu (%s): %s", name_, what, message);
}

void ParadoxWriter::Append(const Record& record) {
  if (record.table_ != this) Fail("Tabela %s: rekord innej tabeli", name_);
  pxdoc_t* doc = impl_->doc;
  std::fill(impl_->buffer.begin(), impl_->buffer.end(), '\0');
  char* at = impl_->buffer.data();
  for (size_t i = 0; i < def_.fields.size(); ++i) {
    const FieldDef& f = def_.fields[i];
    const FieldValue& v = record.values_[i];
    int size = StoredSize(f);
    if (!std::holds_alternative<std::monostate>(v)) {
      auto wrongType = [&] { Fail("Tabela %s: zły typ wartości pola %s", name_, f.name); };
      switch (f.type) {
        case FieldType::Alpha: {
          if (!std::holds_alternative<std::string>(v)) wrongType();
          const std::string& text = std::get<std::string>(v);
          if (text.find('\0') != std::string::npos) Fail("Tabela %s: znak NUL w polu %s", name_, f.name);
          std::string stored = impl_->Encode(text, name_, f.name);
          if (static_cast<int>(stored.size()) > size)
            Fail("Tabela %s: tekst \"%s\" jest dłuższy niż pole %s (%d znaków)", name_, text, f.name, size);
          std::memcpy(at, stored.data(), stored.size());  // the rest stays 00, the padding
          break;
        }
        case FieldType::Date:
          if (!std::holds_alternative<DateTime>(v)) wrongType();
          PX_put_data_long(doc, at, 4, static_cast<int>(ParadoxDayNumber(std::get<DateTime>(v))));
          break;
        case FieldType::Short: {
          if (!std::holds_alternative<long long>(v)) wrongType();
          long long n = std::get<long long>(v);
          if (n < -32767 || n > 32767) Fail("Tabela %s: liczba %d nie mieści się w polu %s", name_, n, f.name);
          PX_put_data_short(doc, at, 2, static_cast<short>(n));
          break;
        }
        case FieldType::Long:
        case FieldType::AutoInc: {
          if (!std::holds_alternative<long long>(v)) wrongType();
          long long n = std::get<long long>(v);
          if (n < -2147483647LL || n > 2147483647LL)
            Fail("Tabela %s: liczba %d nie mieści się w polu %s", name_, n, f.name);
          PX_put_data_long(doc, at, 4, static_cast<int>(n));
          break;
        }
        case FieldType::Number:
        case FieldType::Currency: {
          double d = 0;
          if (std::holds_alternative<double>(v))
            d = std::get<double>(v);
          else if (std::holds_alternative<long long>(v))
            d = static_cast<double>(std::get<long long>(v));
          else
            wrongType();
          PX_put_data_double(doc, at, 8, d);
          break;
        }
      }
    }
    at += size;
  }
  if (count_ > 2147483646) Fail("Tabela %s: za dużo rekordów", name_);
  Check(PX_put_recordn(doc, impl_->buffer.data(), static_cast<int>(count_)), "rekord");
  ++count_;
}

void ParadoxWriter::Close() {
  if (impl_->closed) return;
  bool keyed = def_.keyFields > 0;
  std::string index;
  if (keyed) {
    MemoryStream stream;
    pxdoc_t* indexDoc = NewDocument(&impl_->error);
    if (!indexDoc) Fail("Tabela %s: brak pamięci", name_);
    int created = PX_create_fp(indexDoc, nullptr, 0, stream.File(), pxfFileTypPrimIndex);
    if (created >= 0) PX_set_parameter(indexDoc, "tablename", name_.c_str());
    int written = created < 0 ? -1 : PX_write_primary_index(impl_->doc, indexDoc);
    PX_close(indexDoc);
    PX_delete(indexDoc);
    Check(created, "indeks");
    Check(written, "indeks");
    index = stream.Take();
    ClearRunTimeBytes(index, -1);
  }
  PX_close(impl_->doc);
  PX_delete(impl_->doc);
  impl_->doc = nullptr;
  std::string table = impl_->stream.Take();
  ClearRunTimeBytes(table, static_cast<int>(def_.fields.size()));
  WriteFileAtomically(path_ + ".db", table);
  if (keyed) {
    WriteFileAtomically(path_ + ".px", index);
  } else {
    std::error_code ignored;  // an unkeyed table has no primary index: an old one would mislead
    std::filesystem::remove(path_ + ".px", ignored);
  }
  impl_->closed = true;
}

}  // namespace velkar::samples
