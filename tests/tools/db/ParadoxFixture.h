// Paradox tables for tests and benchmarks, written with pxlib's writer (an implementation
// independent of our reader). Values are checked against their fields first: pxlib
// overruns a field given a longer value.
#pragma once

#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace velkar::test {

enum class PxType { Alpha, Date, Short, Long, Currency, Number, Logical, AutoInc };

struct PxField {
  std::string name;
  PxType type;
  int size = 0;  // Alpha only: characters
};

struct PxDate {
  std::string text;  // yyyy-MM-dd
};

// NULL, a whole number, a number, a text (UTF-8), a logical value, a date.
using PxValue = std::variant<std::monostate, long long, double, std::string, bool, PxDate>;

// Writes `path` (a .db file) in code page 1250. Throws std::runtime_error on bad input.
void WriteParadoxTable(const std::string& path, const std::vector<PxField>& fields,
                       const std::vector<std::vector<PxValue>>& rows);

// The same for large tables: `row(i, values)` fills the values of record i.
void WriteParadoxTable(const std::string& path, const std::vector<PxField>& fields, long long count,
                       const std::function<void(long long, std::vector<PxValue>&)>& row);

}  // namespace velkar::test
