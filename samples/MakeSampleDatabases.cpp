// velkar-samples: writes the sample Paradox databases of the demo company.
#include <iostream>
#include <string>

#include "base/Error.h"
#include "base/Text.h"
#include "samples/SampleTables.h"

int main(int argc, char** argv) {
  using namespace velkar;
  try {
    std::string folder;
    samples::SampleSet set;
    for (int i = 1; i < argc; ++i) {
      std::string word = argv[i];
      long long number = 0;
      if (word == "--scale" || word == "--seed") {
        if (i + 1 >= argc || !TryParseInt(argv[i + 1], number) || number < 0)
          Fail("Opcja %s wymaga liczby nieujemnej", word);
        ++i;
        if (word == "--scale")
          set.scale = number;
        else
          set.seed = static_cast<std::uint64_t>(number);
      } else if (word == "--help" || word == "-h") {
        std::cout
            << "Użycie: velkar-samples FOLDER [--scale N] [--seed S]\n"
               "Zapisuje przykładowe bazy Gradmo, Tulvo i Fennik firmy demonstracyjnej.\n"
               "--scale N: zamiast danych firmy N dokumentów w rejestrach ostatniego miesiąca (testy wydajności).\n";
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
    samples::WriteSampleDatabases(folder, set);
    return 0;
  } catch (const std::exception& error) {
    std::cerr << error.what() << std::endl;
    return 1;
  }
}
