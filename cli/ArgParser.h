// Command-line words: the command's name, its positional arguments and its options.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace velkar::cli {

struct ParsedArgs {
  std::vector<std::string> positional;
  std::map<std::string, std::vector<std::string>> options;  // name without "--"

  bool Has(const std::string& name) const { return options.contains(name); }
  std::string Get(const std::string& name, const std::string& fallback = {}) const;
  std::vector<std::string> All(const std::string& name) const;
  // A decimal amount in the program's format ("." as decimal point); fails in Polish.
  double GetAmount(const std::string& name, double fallback = 0) const;
};

// Parses `words` (everything after the command's name). `valueOptions` take a value
// ("--P39 5" or "--P39=5", "-o OUT"); `flagOptions` take none. An unknown option, or a
// value option without its value, raises a Polish error.
ParsedArgs ParseArgs(const std::vector<std::string>& words, const std::set<std::string>& valueOptions,
                     const std::set<std::string>& flagOptions);

}  // namespace velkar::cli
