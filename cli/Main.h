// The entry of the `velkar` executable.
#pragma once

#include <string>
#include <vector>

namespace velkar::cli {

// With no command (only "/ini=" or "--ini") the GUI starts; with a command it runs
// without a display. Errors print their Polish message on standard error; exit code 1.
int Main(int argc, char** argv);

// Starts the GUI; provided by the GUI library, or a stub without it.
int RunGui(int argc, char** argv, const std::vector<std::string>& startupArgs);

}  // namespace velkar::cli
