// Block chain: block n starts at headerSize + (n − 1) × blockSize, with no rounding of the
// header to a block boundary; its 6-byte header holds next, prev and the last record's offset.
#include "tools/db/paradox/BlockChain.h"

#include <vector>

#include "base/Error.h"

namespace velkar::db::paradox {

ChainTotals WalkChain(const ByteSource& source, const HeaderInfo& info, bool headersOnly,
                      const std::function<bool(const unsigned char* records, int count)>& visit,
                      const std::function<void(const std::string&)>& warn) {
  const std::string& table = info.header.fileName;
  const int blockSize = info.header.blockSize;
  ChainTotals totals;
  std::vector<bool> visited(static_cast<std::size_t>(info.fileBlocks) + 1, false);
  std::vector<unsigned char> block(static_cast<std::size_t>(headersOnly ? 6 : blockSize));
  bool prevWarned = false;
  int previous = 0;
  for (int number = info.firstBlock; number != 0;) {
    if (number > info.fileBlocks)
      Fail("Tabela %s jest uszkodzona: łańcuch bloków wskazuje nieistniejący blok %d", table, number);
    if (visited[static_cast<std::size_t>(number)])
      Fail("Tabela %s jest uszkodzona: łańcuch bloków zapętla się (blok %d)", table, number);
    visited[static_cast<std::size_t>(number)] = true;
    std::uint64_t start = static_cast<std::uint64_t>(info.headerSize) + static_cast<std::uint64_t>(number - 1) * blockSize;
    if (!source.ReadAt(start, block.data(), block.size()))
      Fail("Tabela %s jest niekompletna: blok %d wychodzi poza koniec pliku", table, number);
    int next = block[0] | block[1] << 8;
    int prev = block[2] | block[3] << 8;
    int lastOffset = static_cast<std::int16_t>(block[4] | block[5] << 8);
    if (prev != previous && !prevWarned && warn) {
      warn(Format("Tabela %s: blok %d nie wskazuje wstecz na blok %d; odczyt idzie dalej za łańcuchem", table, number, previous));
      prevWarned = true;
    }
    int count = 0;
    if (lastOffset != -info.recordSize) {
      if (lastOffset < 0 || lastOffset % info.recordSize != 0 || 6 + lastOffset + info.recordSize > blockSize)
        Fail("Tabela %s jest uszkodzona: blok %d ma nieprawidłową liczbę rekordów", table, number);
      count = lastOffset / info.recordSize + 1;
    }
    totals.records += count;
    ++totals.blocks;
    totals.lastBlock = number;
    if (!visit(headersOnly ? nullptr : block.data() + 6, count)) return totals;
    previous = number;
    number = next;
  }
  totals.complete = true;
  return totals;
}

}  // namespace velkar::db::paradox
