// Walking the chain of data blocks that holds a table's records in table order. Each block
// is checked (number in range, visited once, record count inside the block), so a damaged
// chain ends in an error, never in a loop or a read past the file.
#pragma once

#include <functional>
#include <string>

#include "tools/db/paradox/ByteSource.h"
#include "tools/db/paradox/HeaderReader.h"

namespace velkar::db::paradox {

struct ChainTotals {
  long long records = 0;
  int blocks = 0;
  int lastBlock = 0;
  bool complete = false;  // false when the visitor stopped the walk
};

// Calls `visit` with the records of each block (`count` records of recordSize bytes, or
// nullptr when `headersOnly`) until it returns false. Throws velkar::Error naming the table.
ChainTotals WalkChain(const ByteSource& source, const HeaderInfo& info, bool headersOnly,
                      const std::function<bool(const unsigned char* records, int count)>& visit,
                      const std::function<void(const std::string&)>& warn);

}  // namespace velkar::db::paradox
