// Assertion helpers for the Paradox reader tests.
#include "tests/tools/db/paradox/ReadHelpers.h"

#include <fmt/format.h>

namespace velkar::test::paradox {

using db::paradox::Value;

std::string Show(const Value& value) {
  switch (value.kind) {
    case Value::Kind::Null: return "NULL";
    case Value::Kind::Text: return "T:" + value.text;
    case Value::Kind::Integer: return "I:" + std::to_string(value.integer);
    case Value::Kind::Number: return fmt::format("N:{}", value.number);
    case Value::Kind::Boolean: return value.boolean ? "B:1" : "B:0";
    case Value::Kind::Binary: {
      std::string out = "X:";
      for (std::size_t i = 0; i < value.text.size(); ++i)
        out += fmt::format("{}{:02X}", i ? " " : "", static_cast<unsigned char>(value.text[i]));
      return out;
    }
  }
  return "?";
}

std::vector<std::string> ReadAll(const db::paradox::ParadoxTable& table) {
  std::vector<std::string> rows;
  table.ForEachRecord([&](const std::vector<Value>& values) {
    std::string row;
    for (std::size_t i = 0; i < values.size(); ++i) row += (i ? " | " : "") + Show(values[i]);
    rows.push_back(row);
    return true;
  });
  return rows;
}

db::paradox::ReadOptions Collected::Options(int defaultCodePage) {
  db::paradox::ReadOptions options;
  options.defaultCodePage = defaultCodePage;
  options.warn = [this](const std::string& text) { warnings.push_back(text); };
  return options;
}

}  // namespace velkar::test::paradox
