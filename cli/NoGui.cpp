// The command line built without the GUI.
#include "base/Error.h"
#include "cli/Main.h"

namespace velkar::cli {

int RunGui(int, char**, const std::vector<std::string>&) {
  Fail("Ta wersja programu nie ma okna; podaj polecenie (velkar --help)");
}

}  // namespace velkar::cli
