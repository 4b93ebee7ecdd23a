// libFuzzer target for the Paradox reader: the input is a .db file, optionally followed by
// kMemoMarker and an .mb file. Opening and reading may raise velkar::Error; anything else
// (a crash, an overread, a hang, a sanitizer report) is a fault.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/Error.h"
#include "tools/db/paradox/ParadoxTable.h"

namespace {
constexpr std::string_view kMemoMarker = "\xFF\xFE--MB--\xFE\xFF";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  std::optional<std::string> memo;
  std::size_t split = input.find(kMemoMarker);
  if (split != std::string_view::npos) {
    memo = std::string(input.substr(split + kMemoMarker.size()));
    input = input.substr(0, split);
  }
  velkar::db::paradox::ReadOptions options;
  // Every third input decodes tables without a code page as a multi-byte one, so that
  // iconv's path for those is fuzzed too.
  if (size % 3 == 0) options.defaultCodePage = 932;
  std::size_t warnings = 0;
  options.warn = [&](const std::string& text) { warnings += text.size(); };
  try {
    auto table = velkar::db::paradox::ParadoxTable::OpenBytes("fuzz.db", std::string(input), memo, options);
    std::size_t total = 0;
    table.ForEachRecord([&](const std::vector<velkar::db::paradox::Value>& values) {
      for (const auto& value : values) total += value.text.size();
      return true;
    });
  } catch (const velkar::Error&) {
  }
  return 0;
}
