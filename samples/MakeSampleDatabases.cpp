// velkar-samples: writes the sample Paradox databases of the demo company.
#include <iostream>
#include <optional>
#include <string>

#include "base/DateTime.h"
#include "base/Error.h"
#include "base/Text.h"
#include "samples/SampleTables.h"

int main(int argc, char** argv) {
  using namespace velkar;
  try {
    std::string folder;
    samples::SampleSet set;
    long long ledger = 0;  // --ledger N: only Tulvo's ledger of 2024, N postings in March
    for (int i = 1; i < argc; ++i) {
      std::string word = argv[i];
      long long number = 0;
      if (word == "--scale" || word == "--seed" || word == "--ledger") {
        if (i + 1 >= argc || !TryParseInt(argv[i + 1], number) || number < 0)
          Fail("Opcja %s wymaga liczby nieujemnej", word);
        ++i;
        if (word == "--scale")
          set.scale = number;
        else if (word == "--ledger")
          ledger = number;
        else
          set.seed = static_cast<std::uint64_t>(number);
      } else if (word == "--month") {
        // The one month to write (a benchmark set of March 2026, say): RRRR-MM.
        std::optional<DateTime> month;
        if (i + 1 < argc && std::string(argv[i + 1]).size() == 7) month = ParseDate(std::string(argv[i + 1]) + "-01");
        if (!month) Fail("Opcja --month wymaga miesiąca RRRR-MM");
        set.months = {*month};
        ++i;
      } else if (word == "--help" || word == "-h") {
        std::cout << "Użycie: velkar-samples FOLDER [--scale N] [--month RRRR-MM] [--ledger N] [--seed S]\n"
                     "Zapisuje przykładowe bazy Gradmo, Tulvo i Fennik firmy demonstracyjnej.\n"
                     "--scale N: zamiast danych firmy N dokumentów w rejestrach marca 2024 (testy wydajności).\n"
                     "--month RRRR-MM: tylko ten miesiąc (z --scale: miesiąc rejestrów).\n"
                     "--ledger N: tylko księga Tulvo 2024 z N zapisami w marcu (testy wydajności JPK_KR).\n";
        return 0;
      } else if (!word.empty() && word[0] == '-') {
        Fail("Nieznana opcja: %s", word);
      } else if (folder.empty()) {
        folder = word;
      } else {
        Fail("Za dużo argumentów: %s", word);
      }
    }
    if (folder.empty()) Fail("Podaj folder (velkar-samples FOLDER [--scale N])");
    if (set.scale > 100000000) Fail("Za duża skala: %d", set.scale);
    if (ledger > 0) {
      if (ledger > 30000000) Fail("Za duża skala księgi: %d", ledger);
      samples::WriteBenchmarkLedger(folder, ledger, set.seed);
      return 0;
    }
    samples::WriteSampleDatabases(folder, set);
    return 0;
  } catch (const std::exception& error) {
    std::cerr << error.what() << std::endl;
    return 1;
  }
}
