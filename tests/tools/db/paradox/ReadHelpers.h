// Short forms of read values for assertions: "NULL", "T:text", "I:5", "N:2.5", "B:1",
// "X:41 42" (binary as hex).
#pragma once

#include <string>
#include <vector>

#include "tools/db/paradox/ParadoxTable.h"

namespace velkar::test::paradox {

std::string Show(const db::paradox::Value& value);
// Every record of the table, each as its fields' Show forms joined by " | ".
std::vector<std::string> ReadAll(const db::paradox::ParadoxTable& table);

// Options that collect the warnings.
struct Collected {
  std::vector<std::string> warnings;
  db::paradox::ReadOptions Options(int defaultCodePage = 852);
};

}  // namespace velkar::test::paradox
