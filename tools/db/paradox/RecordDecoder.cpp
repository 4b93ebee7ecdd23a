// Field decoding by type; the encodings are in ValueCodec.
#include "tools/db/paradox/RecordDecoder.h"

#include "base/Error.h"
#include "tools/db/paradox/ValueCodec.h"

namespace velkar::db::paradox {

namespace {

std::uint32_t U32le(const unsigned char* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

void SetNull(Value& value) { value.kind = Value::Kind::Null; }

}  // namespace

void WarningSink::Add(const std::string& text) {
  if (++count_ <= kLimit && warn_) warn_(text);
}

void WarningSink::Finish(const std::string& table) {
  if (count_ > kLimit && warn_) warn_(Format("Tabela %s: pominięto %d dalszych ostrzeżeń", table, count_ - kLimit));
  count_ = 0;
}

RecordDecoder::RecordDecoder(const HeaderInfo& info, const TextDecoder& text,
                             std::function<std::shared_ptr<ByteSource>()> openMemo, WarningSink& warnings)
    : info_(info), text_(text), openMemo_(std::move(openMemo)), warnings_(warnings) {}

void RecordDecoder::Warn(long long recordNumber, std::size_t index, const std::string& problem) {
  warnings_.Add(Format("Tabela %s, rekord %lld, pole %s: %s; odczytano jako puste", info_.header.fileName, recordNumber,
                       info_.header.fields[index].name, problem));
}

const MemoFile* RecordDecoder::Memo() {
  if (!memoTried_) {
    memoTried_ = true;
    if (std::shared_ptr<ByteSource> source = openMemo_ ? openMemo_() : nullptr) {
      memo_ = std::make_unique<MemoFile>(std::move(source));
      if (const char* problem = memo_->CheckHeader())
        Fail("Plik notatek tabeli %s jest uszkodzony: %s", info_.header.fileName, problem);
    }
  }
  return memo_.get();
}

void RecordDecoder::DecodeBlob(const FieldLayout& field, const unsigned char* bytes, long long recordNumber,
                               std::size_t index, Value& value) {
  const int leader = field.size - 10;
  const unsigned char* tail = bytes + leader;
  std::uint32_t pointer = U32le(tail);
  std::uint32_t length = U32le(tail + 4);
  if (length == 0) return SetNull(value);
  const std::string& fieldName = info_.header.fields[index].name;
  if (pointer == 0) {
    // A value no longer than its leader is kept in the record itself.
    if (length > static_cast<std::uint32_t>(leader))
      Fail("Tabela %s jest uszkodzona: rekord %lld, pole %s: wartość dłuższa niż miejsce w rekordzie",
           info_.header.fileName, recordNumber, fieldName);
    scratch_.assign(reinterpret_cast<const char*>(bytes), length);
  } else {
    const MemoFile* memo = Memo();
    if (!memo) {
      if (!memoMissingWarned_) {
        memoMissingWarned_ = true;
        warnings_.Add(Format("Brak pliku notatek (.mb) tabeli %s: wartości pól notatek i BLOb spoza rekordu "
                             "odczytano jako puste (pierwsza: rekord %lld, pole %s)",
                             info_.header.fileName, recordNumber, fieldName));
      }
      return SetNull(value);
    }
    if (const char* problem = memo->Read(pointer, length, scratch_))
      Fail("Plik notatek tabeli %s jest uszkodzony: rekord %lld, pole %s: %s", info_.header.fileName, recordNumber,
           fieldName, problem);
  }
  switch (field.type) {
    case FieldType::Memo:
      value.kind = Value::Kind::Text;
      text_.Decode(reinterpret_cast<const unsigned char*>(scratch_.data()), scratch_.size(), value.text);
      return;
    case FieldType::Graphic:
      // An 8-byte sub-header, whose bytes 4–7 give the image size, precedes the image.
      value.kind = Value::Kind::Binary;
      if (scratch_.size() >= 8 &&
          U32le(reinterpret_cast<const unsigned char*>(scratch_.data()) + 4) == scratch_.size() - 8) {
        value.text.assign(scratch_, 8);
      } else {
        warnings_.Add(Format("Tabela %s, rekord %lld, pole %s: grafika bez nagłówka; odczytano ją w całości",
                             info_.header.fileName, recordNumber, fieldName));
        value.text.swap(scratch_);
      }
      return;
    default:
      value.kind = Value::Kind::Binary;
      value.text.swap(scratch_);
      return;
  }
}

void RecordDecoder::Decode(const unsigned char* record, long long recordNumber, std::vector<Value>& values) {
  values.resize(info_.layout.size());
  for (std::size_t i = 0; i < info_.layout.size(); ++i) {
    const FieldLayout& field = info_.layout[i];
    const unsigned char* bytes = record + field.offset;
    Value& value = values[i];
    // The Values are reused from record to record: nothing of the last record may show through.
    value.text.clear();
    value.integer = 0;
    value.number = 0;
    value.boolean = false;
    switch (field.type) {
      case FieldType::Alpha: {
        if (bytes[0] == 0) {
          SetNull(value);
          break;
        }
        std::size_t length = 1;
        while (length < static_cast<std::size_t>(field.size) && bytes[length] != 0) ++length;
        value.kind = Value::Kind::Text;
        text_.Decode(bytes, length, value.text);
        break;
      }
      case FieldType::Bytes:
        if (AllZero(bytes, field.size)) {
          SetNull(value);
        } else {
          value.kind = Value::Kind::Binary;
          value.text.assign(reinterpret_cast<const char*>(bytes), field.size);
        }
        break;
      case FieldType::Short:
      case FieldType::Long:
      case FieldType::AutoInc:
        if (AllZero(bytes, field.size)) {
          SetNull(value);
        } else {
          value.kind = Value::Kind::Integer;
          value.integer = DecodeFlippedInt(bytes, field.size);
        }
        break;
      case FieldType::Number:
      case FieldType::Currency:
        if (AllZero(bytes, 8)) {
          SetNull(value);
        } else {
          value.kind = Value::Kind::Number;
          value.number = DecodeSortableDouble(bytes);
        }
        break;
      case FieldType::Logical:
        if (bytes[0] == 0x80 || bytes[0] == 0x81) {
          value.kind = Value::Kind::Boolean;
          value.boolean = bytes[0] == 0x81;
        } else {
          if (bytes[0] != 0) Warn(recordNumber, i, Format("nieprawidłowa wartość logiczna 0x%02X", bytes[0]));
          SetNull(value);
        }
        break;
      case FieldType::Date:
        if (AllZero(bytes, 4)) {
          SetNull(value);
        } else if (std::int64_t day = DecodeFlippedInt(bytes, 4); FormatDayNumber(day, value.text)) {
          value.kind = Value::Kind::Text;
        } else {
          Warn(recordNumber, i, Format("data spoza lat 1–9999 (dzień nr %lld)", static_cast<long long>(day)));
          SetNull(value);
        }
        break;
      case FieldType::Time:
        if (AllZero(bytes, 4)) {
          SetNull(value);
        } else if (std::int64_t ms = DecodeFlippedInt(bytes, 4); FormatTimeOfDay(ms, value.text)) {
          value.kind = Value::Kind::Text;
        } else {
          Warn(recordNumber, i, Format("nieprawidłowa godzina (%lld ms)", static_cast<long long>(ms)));
          SetNull(value);
        }
        break;
      case FieldType::Timestamp:
        if (AllZero(bytes, 8)) {
          SetNull(value);
        } else if (FormatTimestamp(DecodeSortableDouble(bytes), value.text)) {
          value.kind = Value::Kind::Text;
        } else {
          Warn(recordNumber, i, "data i godzina spoza lat 1–9999");
          SetNull(value);
        }
        break;
      case FieldType::Bcd:
        if (DecodeBcd(bytes, field.decimals, value.number) == BcdResult::Null)
          SetNull(value);
        else
          value.kind = Value::Kind::Number;
        break;
      case FieldType::Memo:
      case FieldType::Blob:
      case FieldType::FormattedMemo:
      case FieldType::Ole:
      case FieldType::Graphic:
        SetNull(value);
        DecodeBlob(field, bytes, recordNumber, i, value);
        break;
    }
  }
}

}  // namespace velkar::db::paradox
