// The .db header: read, checked value by value in an order where each check reads only
// what earlier checks proved present, and turned into the table's description and the
// record layout.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/db/paradox/ByteSource.h"
#include "tools/db/paradox/ParadoxTable.h"

namespace velkar::db::paradox {

struct FieldLayout {
  FieldType type;
  int offset;  // in the record
  int size;    // bytes in the record (17 for BCD)
  int decimals;  // BCD only
};

struct HeaderInfo {
  TableHeader header;  // recordCount not yet known: the chain is walked later
  std::vector<FieldLayout> layout;
  std::vector<std::string> rawFieldNames;  // bytes in the table's code page
  int recordSize = 0;
  int headerSize = 0;
  int fileBlocks = 0;
  int usedBlocks = 0;
  int firstBlock = 0;
  int lastBlock = 0;
};

// Throws velkar::Error naming `tableName` for anything that is not a sound table header.
HeaderInfo ReadHeader(const ByteSource& source, const std::string& tableName);

}  // namespace velkar::db::paradox
