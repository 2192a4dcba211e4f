// Runs the qmsandbox-run program on a script for the runner tests.
#pragma once

#include <string>

namespace sandbox::testing {

struct RunResult {
  int status = -1;
  std::string output;  // standard output, then standard error
};

// Writes script to a temporary file and runs qmsandbox-run on it with the
// library under test; in error lines the file is named "script.sql".
RunResult RunScript(const std::string& connect, const std::string& script);

}  // namespace sandbox::testing
