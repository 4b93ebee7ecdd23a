// Turns the bytes of one record into Values, field by field, reusing the Values' storage
// from record to record. Memo and BLOb values outside the record come from the .mb file,
// opened on first need.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "tools/db/paradox/HeaderReader.h"
#include "tools/db/paradox/MemoFile.h"
#include "tools/db/paradox/TextDecoder.h"

namespace velkar::db::paradox {

// Passes warnings on, up to a limit per read, so a table full of bad dates cannot flood
// the user; Finish reports how many were left out.
class WarningSink {
 public:
  explicit WarningSink(std::function<void(const std::string&)> warn) : warn_(std::move(warn)) {}
  void Add(const std::string& text);
  void Finish(const std::string& table);

 private:
  static constexpr int kLimit = 20;
  std::function<void(const std::string&)> warn_;
  int count_ = 0;
};

class RecordDecoder {
 public:
  // `openMemo` gives the .mb file or nullptr when the table has none.
  RecordDecoder(const HeaderInfo& info, const TextDecoder& text, std::function<std::shared_ptr<ByteSource>()> openMemo,
                WarningSink& warnings);

  // `recordNumber` counts from 1 in table order, for messages.
  void Decode(const unsigned char* record, long long recordNumber, std::vector<Value>& values);

 private:
  void DecodeBlob(const FieldLayout& field, const unsigned char* bytes, long long recordNumber, std::size_t index,
                  Value& value);
  const MemoFile* Memo();
  void Warn(long long recordNumber, std::size_t index, const std::string& problem);

  const HeaderInfo& info_;
  const TextDecoder& text_;
  std::function<std::shared_ptr<ByteSource>()> openMemo_;
  WarningSink& warnings_;
  bool memoTried_ = false;
  bool memoMissingWarned_ = false;
  std::unique_ptr<MemoFile> memo_;
  std::string scratch_;
};

}  // namespace velkar::db::paradox
