// Runs the velkar executable in a test and collects its exit code and output.
#pragma once

#include <string>
#include <vector>

namespace velkar::test {

struct CommandResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs `program` with `args` in `workDir` (empty: the current folder), standard input
// closed.
CommandResult RunProgram(const std::string& program, const std::vector<std::string>& args, const std::string& workDir = {});

}  // namespace velkar::test
