// Byte-level Paradox file builder for tests.
#include "tests/tools/db/paradox/TableBuilder.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <set>
#include <stdexcept>

namespace velkar::test::paradox {

namespace {

std::string BigEndian(std::uint64_t value, int bytes) {
  std::string out(static_cast<std::size_t>(bytes), '\0');
  for (int i = bytes - 1; i >= 0; --i, value >>= 8) out[static_cast<std::size_t>(i)] = static_cast<char>(value & 0xFF);
  return out;
}

std::string Flipped(long long value, int bytes) {
  std::uint64_t top = std::uint64_t{1} << (bytes * 8 - 1);
  std::uint64_t mask = bytes == 8 ? ~std::uint64_t{0} : (top << 1) - 1;
  return BigEndian((static_cast<std::uint64_t>(value) & mask) ^ top, bytes);
}

int FieldBytes(const FieldSpec& field) { return field.code == 0x17 ? 17 : field.size; }

}  // namespace

std::string Short(int value) { return Flipped(value, 2); }
std::string Long(long long value) { return Flipped(value, 4); }

std::string Double(double value) {
  std::uint64_t bits = std::bit_cast<std::uint64_t>(value);
  bits = (bits >> 63) ? ~bits : bits | (std::uint64_t{1} << 63);
  return BigEndian(bits, 8);
}

std::string DayNumber(long long day) { return Flipped(day, 4); }

std::string Date(int year, int month, int day) {
  using namespace std::chrono;
  auto unixDays = sys_days{std::chrono::year{year} / std::chrono::month{static_cast<unsigned>(month)} /
                           std::chrono::day{static_cast<unsigned>(day)}}.time_since_epoch().count();
  return DayNumber(unixDays + 719163);
}

std::string Time(int hour, int minute, int second, int millisecond) {
  return Long(((hour * 60LL + minute) * 60 + second) * 1000 + millisecond);
}

std::string Timestamp(int year, int month, int day, int hour, int minute, int second) {
  std::string date = Date(year, month, day);
  long long dayNumber = 0;
  for (char c : date) dayNumber = dayNumber << 8 | static_cast<unsigned char>(c);
  dayNumber ^= 0x80000000LL;
  return Double(static_cast<double>(dayNumber * 86'400'000LL + ((hour * 60LL + minute) * 60 + second) * 1000));
}

std::string Logical(bool value) { return std::string(1, value ? '\x81' : '\x80'); }

std::string Alpha(const std::string& bytes, int size) {
  if (static_cast<int>(bytes.size()) > size) throw std::invalid_argument("Alpha value longer than its field");
  return bytes + std::string(static_cast<std::size_t>(size) - bytes.size(), '\0');
}

std::string Bcd(const std::string& text, int decimals) {
  bool negative = !text.empty() && text[0] == '-';
  std::string digits = text.substr(negative ? 1 : 0);
  std::string integer = digits.substr(0, digits.find('.'));
  integer.erase(0, integer.find_first_not_of('0'));
  std::string fraction = digits.find('.') == std::string::npos ? "" : digits.substr(digits.find('.') + 1);
  fraction.resize(static_cast<std::size_t>(decimals), '0');
  std::string all = integer + fraction;
  all.insert(0, 32 - all.size(), '0');
  std::string out(1, static_cast<char>((negative ? 0x00 : 0x80) | 0x40 | decimals));
  for (int i = 0; i < 32; i += 2) {
    int byte = (all[static_cast<std::size_t>(i)] - '0') << 4 | (all[static_cast<std::size_t>(i) + 1] - '0');
    out += static_cast<char>(negative ? byte ^ 0xFF : byte);
  }
  return out;
}

std::string BlobField(const std::string& leader, int leaderSize, std::uint32_t pointer, std::uint32_t length) {
  std::string out = Alpha(leader, leaderSize);
  std::string tail(10, '\0');
  PutU32(tail, 0, pointer);
  PutU32(tail, 4, length);
  PutU16(tail, 8, pointer ? 1 : 0);
  return out + tail;
}

std::string Blank(int size) { return std::string(static_cast<std::size_t>(size), '\0'); }

void PutU16(std::string& file, std::size_t at, int value) {
  file[at] = static_cast<char>(value & 0xFF);
  file[at + 1] = static_cast<char>(value >> 8 & 0xFF);
}

void PutU32(std::string& file, std::size_t at, std::uint32_t value) {
  PutU16(file, at, static_cast<int>(value & 0xFFFF));
  PutU16(file, at + 2, static_cast<int>(value >> 16));
}

int TableBuilder::RecordSize() const {
  int size = 0;
  for (const FieldSpec& field : fields_) size += FieldBytes(field);
  return size;
}

TableBuilder& TableBuilder::Record(const std::string& bytes) {
  if (static_cast<int>(bytes.size()) != RecordSize()) throw std::invalid_argument("record of the wrong size");
  records_.push_back(bytes);
  return *this;
}

std::string TableBuilder::Build() const {
  const int n = static_cast<int>(fields_.size());
  const int recordSize = RecordSize();
  const int blockSize = blockKiB_ * 1024;
  const int perBlock = perBlock_ > 0 ? perBlock_ : (blockSize - 6) / std::max(recordSize, 1);
  const int dataBlocks = records_.empty() ? 0 : static_cast<int>((records_.size() + perBlock - 1) / perBlock);
  std::vector<int> chain = chain_;
  if (chain.empty())
    for (int b = 1; b <= dataBlocks; ++b) chain.push_back(b);
  if (static_cast<int>(chain.size()) != dataBlocks) throw std::invalid_argument("chain of the wrong length");
  int fileBlocks = std::max(dataBlocks, chain.empty() ? 0 : *std::max_element(chain.begin(), chain.end())) + freeBlocks_;
  std::set<int> used(chain.begin(), chain.end());
  std::vector<int> freeList;
  for (int b = 1; b <= fileBlocks; ++b)
    if (!used.contains(b)) freeList.push_back(b);

  // Header.
  const bool late = version_ >= 5;
  const int d = late ? 0x78 : 0x58;
  const int tableNameLength = version_ <= 11 ? 79 : 261;
  std::string h(static_cast<std::size_t>(d), '\0');
  PutU16(h, 0x00, recordSize);
  h[0x04] = static_cast<char>(keyFields_ > 0 ? 0 : 2);
  h[0x05] = static_cast<char>(blockKiB_);
  PutU32(h, 0x06, static_cast<std::uint32_t>(records_.size()));
  PutU16(h, 0x0A, dataBlocks);
  PutU16(h, 0x0C, fileBlocks);
  PutU16(h, 0x0E, chain.empty() ? 0 : chain.front());
  PutU16(h, 0x10, chain.empty() ? 0 : chain.back());
  PutU16(h, 0x21, n);
  PutU16(h, 0x23, keyFields_);
  PutU32(h, 0x25, late ? 0xFF00FF00u : (encrypted_ ? 0x1234ABCDu : 0));
  h[0x39] = static_cast<char>(version_);
  if (!encrypted_) PutU16(h, 0x3E, 0x0F1F);
  PutU16(h, 0x4D, freeList.empty() ? 0 : freeList.front());
  if (late) {
    PutU16(h, 0x58, 0x0100 + version_);
    PutU16(h, 0x5A, 0x0100 + version_);
    PutU32(h, 0x5C, encrypted_ ? 0x5EC2E7u : 0);
    PutU16(h, 0x64, n + 1);
    PutU16(h, 0x6A, codePage_);
  }
  for (const FieldSpec& field : fields_) {
    h += static_cast<char>(field.code);
    h += static_cast<char>(field.size);
  }
  h += std::string(4 + 4 * static_cast<std::size_t>(n), '\x11');  // stale pointers
  h += Alpha("builder.db", tableNameLength);
  for (const FieldSpec& field : fields_) h += field.name + '\0';
  if (late) {
    for (int i = 0; i < n; ++i) h += std::string{static_cast<char>(n - i), '\0'};  // ids out of order
    h += std::string("ascii") + '\0';
  }
  int headerSize = headerSize_ > 0 ? headerSize_ : late ? static_cast<int>((h.size() + 0x7FF) / 0x800 * 0x800)
                                                        : static_cast<int>(h.size());
  h.resize(static_cast<std::size_t>(headerSize), '\0');
  PutU16(h, 0x02, headerSize);

  // Blocks: unused room and free blocks hold stale bytes, as in real files.
  std::string file = h + std::string(static_cast<std::size_t>(fileBlocks) * blockSize, '\xAA');
  auto blockAt = [&](int number) { return static_cast<std::size_t>(headerSize) + static_cast<std::size_t>(number - 1) * blockSize; };
  for (int i = 0; i < dataBlocks; ++i) {
    std::size_t at = blockAt(chain[static_cast<std::size_t>(i)]);
    PutU16(file, at, i + 1 < dataBlocks ? chain[static_cast<std::size_t>(i) + 1] : 0);
    PutU16(file, at + 2, i > 0 ? chain[static_cast<std::size_t>(i) - 1] : 0);
    std::size_t first = static_cast<std::size_t>(i) * perBlock;
    std::size_t count = std::min<std::size_t>(perBlock, records_.size() - first);
    PutU16(file, at + 4, static_cast<int>((count - 1) * recordSize));
    for (std::size_t r = 0; r < count; ++r) file.replace(at + 6 + r * recordSize, recordSize, records_[first + r]);
  }
  for (std::size_t i = 0; i < freeList.size(); ++i) {
    std::size_t at = blockAt(freeList[i]);
    PutU16(file, at, i + 1 < freeList.size() ? freeList[i + 1] : 0);
    PutU16(file, at + 2, 0);
    PutU16(file, at + 4, -recordSize & 0xFFFF);
    if (!records_.empty()) file.replace(at + 6, recordSize, records_.front());
  }
  if (encrypted_)
    for (std::size_t i = static_cast<std::size_t>(headerSize); i < file.size(); ++i) file[i] = static_cast<char>(file[i] ^ 0x5A);
  return file;
}

MemoBuilder::MemoBuilder() : file_(4096, '\0') {
  file_[0] = 0;
  PutU16(file_, 1, 1);
  PutU16(file_, 0x0B, 0x1000);
  PutU16(file_, 0x0D, 0x1000);
}

std::uint32_t MemoBuilder::AddSingle(const std::string& data) {
  std::size_t units = (9 + data.size() + 4095) / 4096;
  std::size_t at = file_.size();
  file_.resize(at + units * 4096, '\0');
  file_[at] = 2;
  PutU16(file_, at + 1, static_cast<int>(units));
  PutU32(file_, at + 3, static_cast<std::uint32_t>(data.size()));
  PutU16(file_, at + 7, 1);
  file_.replace(at + 9, data.size(), data);
  return static_cast<std::uint32_t>(at) | 0xFF;
}

std::uint32_t MemoBuilder::AddSmall(const std::string& data) {
  int chunks = static_cast<int>((data.size() + 15) / 16);
  if (smallBlock_ == 0 || nextEntry_ < 0 || nextChunk_ + chunks > 256) {
    smallBlock_ = file_.size();
    file_.resize(smallBlock_ + 4096, '\0');
    file_[smallBlock_] = 3;
    PutU16(file_, smallBlock_ + 1, 1);
    nextEntry_ = 0x3F;
    nextChunk_ = 0x15;
  }
  std::size_t entry = smallBlock_ + 0x0C + 5 * static_cast<std::size_t>(nextEntry_);
  file_[entry] = static_cast<char>(nextChunk_);
  file_[entry + 1] = static_cast<char>(chunks);
  PutU16(file_, entry + 2, 1);
  file_[entry + 4] = static_cast<char>(data.size() - (chunks - 1) * 16u);
  file_.replace(smallBlock_ + nextChunk_ * 16u, data.size(), data);
  std::uint32_t pointer = static_cast<std::uint32_t>(smallBlock_) | static_cast<std::uint32_t>(nextEntry_);
  --nextEntry_;
  nextChunk_ += chunks;
  return pointer;
}

}  // namespace velkar::test::paradox
