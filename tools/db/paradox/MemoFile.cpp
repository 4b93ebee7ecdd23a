// Reading memo and BLOb values from the .mb file: single-value blocks (type 2) and
// sub-allocated blocks of up to 64 small values (type 3).
#include "tools/db/paradox/MemoFile.h"

namespace velkar::db::paradox {

namespace {
constexpr std::uint64_t kUnit = 0x1000;
}

const char* MemoFile::CheckHeader() const {
  unsigned char type = 0xFF;
  if (source_->Size() < kUnit || !source_->ReadAt(0, &type, 1)) return "plik krótszy niż blok nagłówka";
  if (type != 0) return "brak bloku nagłówka";
  return nullptr;
}

const char* MemoFile::Read(std::uint32_t pointer, std::uint32_t length, std::string& out) const {
  std::uint64_t block = pointer & 0xFFFFFF00u;
  unsigned index = pointer & 0xFFu;
  std::uint64_t size = source_->Size();
  if (block < kUnit || block % kUnit != 0) return "odwołanie do nieistniejącego bloku";
  if (block + kUnit > size) return "odwołanie poza koniec pliku";
  unsigned char head[9];
  if (!source_->ReadAt(block, head, sizeof head)) return "błąd odczytu bloku";

  if (index == 0xFF) {
    if (head[0] != 2) return "blok wartości ma zły typ";
    std::uint64_t units = head[1] | head[2] << 8;
    std::uint32_t stored = head[3] | head[4] << 8 | head[5] << 16 | static_cast<std::uint32_t>(head[6]) << 24;
    if (units == 0 || block + units * kUnit > size) return "blok wartości sięga poza koniec pliku";
    if (stored != length) return "długość wartości niezgodna z rekordem";
    if (9 + static_cast<std::uint64_t>(length) > units * kUnit) return "wartość dłuższa niż jej blok";
    out.resize(length);
    if (!source_->ReadAt(block + 9, out.data(), length)) return "błąd odczytu wartości";
    return nullptr;
  }
  if (index > 0x3F) return "zły numer wartości w bloku";
  if (head[0] != 3) return "blok wartości ma zły typ";
  unsigned char entry[5];
  if (!source_->ReadAt(block + 0x0C + 5 * index, entry, sizeof entry)) return "błąd odczytu bloku";
  if (entry[0] == 0) return "odwołanie do usuniętej wartości";
  if (entry[1] == 0 || entry[4] < 1 || entry[4] > 16) return "uszkodzony wpis wartości";
  std::uint64_t stored = (entry[1] - 1u) * 16u + entry[4];
  if (stored != length) return "długość wartości niezgodna z rekordem";
  std::uint64_t offset = entry[0] * 16u;
  if (offset + length > kUnit) return "wartość sięga poza swój blok";
  out.resize(length);
  if (!source_->ReadAt(block + offset, out.data(), length)) return "błąd odczytu wartości";
  return nullptr;
}

}  // namespace velkar::db::paradox
