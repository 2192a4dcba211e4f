// Replaceable process exit of the client layer (see ProcessExit.h).
#include "oracle/ProcessExit.h"

#include <atomic>
#include <cstdlib>

namespace {

void ExitWithCode(int exitCode) {
  std::exit(exitCode);
}

std::atomic<ProcessExitHandler> installedHandler{&ExitWithCode};

}  // namespace

void SetProcessExitHandler(ProcessExitHandler handler) {
  installedHandler.store(handler != nullptr ? handler : &ExitWithCode);
}

void EndProcess(int exitCode) {
  installedHandler.load()(exitCode);
}
