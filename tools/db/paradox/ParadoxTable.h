// Read-only access to Paradox tables (.db with their .mb memo/BLOb file), versions 3.0 to
// 7.x. Every header value is checked before it is used, so a damaged table gives a Polish
// velkar::Error naming the table, never a crash, an overread or an endless loop.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velkar::db::paradox {

enum class FieldType {
  Alpha, Date, Short, Long, Currency, Number, Logical, Memo, Blob, FormattedMemo, Ole, Graphic,
  Time, Timestamp, AutoInc, Bcd, Bytes
};

// `size` is the descriptor's size byte: bytes in the record, except for Bcd, where it is the
// number of decimals (a Bcd field always takes 17 bytes).
struct FieldDef {
  std::string name;  // UTF-8
  FieldType type;
  int size;
};

// One field of one record.
//   Alpha, Memo, Date ("yyyy-MM-dd"), Time ("hh:mm:ss"), Timestamp ("yyyy-MM-dd hh:mm:ss") → Text;
//   Short, Long, AutoInc → Integer; Number, Currency, Bcd → Number; Logical → Boolean;
//   Bytes, Blob, FormattedMemo, Ole → Binary (raw bytes); Graphic → Binary (the image file,
//   without its 8-byte sub-header). A blank field of any type is Null.
struct Value {
  enum class Kind { Null, Text, Integer, Number, Boolean, Binary } kind = Kind::Null;
  std::string text;       // Text (UTF-8) and Binary (raw bytes)
  long long integer = 0;  // Short, Long, AutoInc
  double number = 0;      // Number, Currency, Bcd
  bool boolean = false;   // Logical
};

struct ReadOptions {
  // Code page of tables whose header names none (every 3.0 and 3.5 table).
  int defaultCodePage = 852;
  // When not 0, used instead of the header's code page (a folder whose tables carry a
  // wrong one).
  int codePageOverride = 0;
  // Receives Polish warnings: header counts that disagree with the block chain, values out
  // of range (read as Null), memo values unavailable because the .mb file is missing.
  std::function<void(const std::string&)> warn;
};

struct TableHeader {
  std::string fileName;     // the .db file read
  int fileVersion = 0;      // header byte 0x39: 3 = 3.0, 4 = 3.5, 5–9 = 4.x, 10–11 = 5.x, 12 = 7.x
  int codePage = 0;         // the code page text is decoded from
  long long recordCount = 0;  // records held by the block chain (what ForEachRecord visits)
  bool keyed = false;
  int keyFieldCount = 0;
  int blockSize = 0;        // bytes
  bool encrypted = false;
  std::vector<FieldDef> fields;
  // Beyond the reading contract, for `velkar db info`:
  int headerCodePage = 0;           // the header's code page word, 0 when it has none
  long long headerRecordCount = 0;  // the record count stored in the header
};

class ParadoxTable {
 public:
  // Opens `dbFileName`, with or without the ".db" extension (looked up case-insensitively,
  // as is the .mb file), reads and checks the header and walks the block chain. An
  // encrypted table opens (its header is readable) but ForEachRecord refuses it.
  // Throws velkar::Error.
  static ParadoxTable Open(const std::string& dbFileName, const ReadOptions& options = {});
  // The same from bytes in memory; `memo` is the .mb file, if there is one. `name` names the
  // table in messages.
  static ParadoxTable OpenBytes(const std::string& name, std::string db, std::optional<std::string> memo,
                                const ReadOptions& options = {});

  const TableHeader& Header() const;
  // Calls `row` for each record in table order; stops early when it returns false. The
  // vector passed is reused between calls. Throws velkar::Error on a damaged table or memo
  // file and for an encrypted table. Not safe to call from two threads at once.
  void ForEachRecord(const std::function<bool(const std::vector<Value>&)>& row) const;

  struct Impl;

 private:
  explicit ParadoxTable(std::shared_ptr<const Impl> impl) : impl_(std::move(impl)) {}
  std::shared_ptr<const Impl> impl_;
};

std::string FieldTypeName(FieldType type);  // for `velkar db info`

}  // namespace velkar::db::paradox
