// Parsing of command options.
#include "cli/ArgParser.h"

#include "base/Error.h"
#include "base/Text.h"

namespace velkar::cli {

std::string ParsedArgs::Get(const std::string& name, const std::string& fallback) const {
  auto it = options.find(name);
  return it == options.end() || it->second.empty() ? fallback : it->second.back();
}

std::vector<std::string> ParsedArgs::All(const std::string& name) const {
  auto it = options.find(name);
  return it == options.end() ? std::vector<std::string>{} : it->second;
}

double ParsedArgs::GetAmount(const std::string& name, double fallback) const {
  if (!Has(name)) return fallback;
  std::string text = Get(name);
  double value = 0;
  if (!TryParseDouble(text, value)) Fail("Niepoprawna kwota w opcji --%s: %s", name, text);
  return value;
}

ParsedArgs ParseArgs(const std::vector<std::string>& words, const std::set<std::string>& valueOptions,
                     const std::set<std::string>& flagOptions) {
  ParsedArgs result;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    bool isOption = (word.size() > 2 && StartsWith(word, "--")) || (word.size() == 2 && word[0] == '-' && word[1] != '-');
    if (!isOption) {
      result.positional.push_back(word);
      continue;
    }
    std::string name = word.substr(word[1] == '-' ? 2 : 1);
    std::string value;
    bool hasValue = false;
    if (size_t eq = name.find('='); eq != std::string::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
      hasValue = true;
    }
    if (valueOptions.contains(name)) {
      if (!hasValue) {
        if (i + 1 >= words.size()) Fail("Brak wartości opcji %s", word);
        value = words[++i];
      }
      result.options[name].push_back(value);
    } else if (flagOptions.contains(name) && !hasValue) {
      result.options[name];
    } else {
      Fail("Nieznana opcja: %s", word);
    }
  }
  return result;
}

}  // namespace velkar::cli
