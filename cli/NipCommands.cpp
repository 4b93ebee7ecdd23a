// The command that checks contractors' tax numbers as the generators do.
#include <iostream>

#include "base/Error.h"
#include "cli/Commands.h"
#include "tools/Nip.h"

namespace velkar::cli {

namespace {

// A CSV field: quoted when it holds a comma, a quote or a line break.
std::string CsvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

// Each number as a contractor's NIP is read: normalised, its country prefix, and the
// defect the check finds (the generators would ask whether to go on). With
// --no-validate only the rules of unchecked reading apply.
int RunNip(CommandContext& context) {
  if (context.args.positional.empty()) Fail("Podaj numer NIP (velkar nip NUMER...)");
  bool validate = !context.args.Has("no-validate");
  std::cout << "Numer,NIP,Prefiks,Błąd\n";
  for (const std::string& number : context.args.positional) {
    std::string prefix, nip = number, defect;
    NormaliseContractorNIP(
        prefix, nip, validate,
        [&defect](const std::string& message, const std::string&, const std::string&, const std::string&) {
          defect = message;
        },
        "", "");
    std::cout << CsvField(number) << ',' << CsvField(nip) << ',' << CsvField(prefix) << ',' << CsvField(defect) << '\n';
  }
  return 0;
}

}  // namespace

std::vector<Command> NipCommands() {
  return {{"nip", "velkar nip NUMER... [--no-validate]", {}, {"no-validate"}, RunNip}};
}

}  // namespace velkar::cli
