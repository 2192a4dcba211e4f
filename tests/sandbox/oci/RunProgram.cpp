// Runs the qmsandbox-run program on a script for the runner tests.
#include "RunProgram.h"

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace sandbox::testing {

RunResult RunScript(const std::string& connect, const std::string& script) {
  std::filesystem::path directory = std::filesystem::temp_directory_path();
  std::filesystem::path path =
      directory / ("qmsandbox-runner-" + std::to_string(getpid()) + ".sql");
  std::filesystem::path errors =
      directory / ("qmsandbox-runner-" + std::to_string(getpid()) + ".err");
  std::ofstream(path) << script;
  std::string command = std::string(QMSANDBOX_RUNNER) + " -l " + QMSANDBOX_LIBRARY + " '" +
                        connect + "' " + path.string() + " 2>" + errors.string();
  RunResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr)
    return result;
  std::array<char, 4096> chunk;
  while (std::size_t n = fread(chunk.data(), 1, chunk.size(), pipe))
    result.output.append(chunk.data(), n);
  int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  std::ifstream errorFile(errors);
  std::string line;
  while (std::getline(errorFile, line)) {
    // Name the script as the test wrote it, without its temporary directory.
    std::size_t at = line.find(path.string());
    if (at != std::string::npos)
      line.replace(at, path.string().size(), "script.sql");
    result.output += line + "\n";
  }
  std::filesystem::remove(path);
  std::filesystem::remove(errors);
  return result;
}

}  // namespace sandbox::testing
