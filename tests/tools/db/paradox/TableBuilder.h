// Builds Paradox .db and .mb files byte by byte, as the format description lays them out,
// for the cases a writer library cannot produce: 3.x headers, odd header and block sizes,
// code pages, BCD, memo files, scattered block chains, free blocks and damage.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velkar::test::paradox {

// Field values in their record encoding (big-endian, sign-flipped).
std::string Short(int value);
std::string Long(long long value);
std::string Double(double value);  // Number, Currency, Timestamp
std::string Date(int year, int month, int day);
std::string DayNumber(long long day);
std::string Time(int hour, int minute, int second, int millisecond = 0);
std::string Timestamp(int year, int month, int day, int hour, int minute, int second);
std::string Logical(bool value);
// `bytes` (already in the table's code page) padded with 00 to `size`.
std::string Alpha(const std::string& bytes, int size);
// A BCD value with `decimals` fraction digits from its decimal text ("-12.34").
std::string Bcd(const std::string& text, int decimals);
// The 10-byte tail of a memo/BLOb field after a leader of `leader` bytes.
std::string BlobField(const std::string& leader, int leaderSize, std::uint32_t pointer, std::uint32_t length);
std::string Blank(int size);

struct FieldSpec {
  std::string name;  // bytes in the table's code page
  int code;          // type code
  int size;          // descriptor size byte (BCD: decimals)
};

class TableBuilder {
 public:
  explicit TableBuilder(int fileVersion = 12) : version_(fileVersion) {}

  TableBuilder& BlockSizeKiB(int kib) { blockKiB_ = kib; return *this; }
  TableBuilder& CodePage(int codePage) { codePage_ = codePage; return *this; }
  TableBuilder& KeyFields(int count) { keyFields_ = count; return *this; }
  TableBuilder& Field(const std::string& name, int code, int size) { fields_.push_back({name, code, size}); return *this; }
  // Without it the header of a 3.x table ends at its last field name (so its size is no
  // multiple of the block size) and a later header is padded to a multiple of 0x800.
  TableBuilder& HeaderSize(int size) { headerSize_ = size; return *this; }
  TableBuilder& Record(const std::string& bytes);
  TableBuilder& RecordsPerBlock(int count) { perBlock_ = count; return *this; }
  // Block numbers of the chain in order (1-based); blocks of the file that the chain does
  // not use become free blocks filled with stale records.
  TableBuilder& ChainBlocks(std::vector<int> numbers) { chain_ = std::move(numbers); return *this; }
  TableBuilder& FreeBlocks(int count) { freeBlocks_ = count; return *this; }
  TableBuilder& Encrypted() { encrypted_ = true; return *this; }

  int RecordSize() const;
  std::string Build() const;

 private:
  int version_;
  int blockKiB_ = 2;
  int codePage_ = 1252;
  int keyFields_ = 0;
  int headerSize_ = 0;
  int perBlock_ = 0;
  int freeBlocks_ = 0;
  bool encrypted_ = false;
  std::vector<FieldSpec> fields_;
  std::vector<std::string> records_;
  std::vector<int> chain_;
};

// Builds an .mb file: the header block, then each value in a single-value block (type 2)
// or a shared block of small values (type 3). The Add... calls return the 4-byte pointer
// that the record's reference holds.
class MemoBuilder {
 public:
  MemoBuilder();
  std::uint32_t AddSingle(const std::string& data);
  // Values up to 4096 − 0x150 bytes share sub-allocated blocks, entries handed out from 0x3F
  // downwards.
  std::uint32_t AddSmall(const std::string& data);
  const std::string& Bytes() const { return file_; }

 private:
  std::string file_;
  std::uint64_t smallBlock_ = 0;
  int nextEntry_ = -1;
  int nextChunk_ = 0;
};

// Writes little-endian words into a built file (for damage).
void PutU16(std::string& file, std::size_t at, int value);
void PutU32(std::string& file, std::size_t at, std::uint32_t value);

}  // namespace velkar::test::paradox
