// A child process for the loader tests: builds one session from a library
// choice (and optionally an "OCIDLL" value) given on the command line, as the
// program does, and prints what it loaded and the NLS_LANG the client sees. Library search paths
// only take effect at process start, so these cases cannot run inside the test process.
//
//   oracle_loader_probe CHOICE [OCIDLL]
#include <cstdio>
#include <cstdlib>

#include "config/MemorySettingsStore.h"
#include "oracle/OracleSession.h"
#include "oracle/StderrClientMessages.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s CHOICE [OCIDLL]\n", argv[0]);
    return 2;
  }
  MemorySettingsStore settings;
  settings.SetInt("Settings", "OCIVER", std::atoi(argv[1]));
  if (argc > 2) {
    settings.SetString("Settings", "OCIDLL", argv[2]);
  }
  StderrClientMessages messages;
  OracleSession session(settings, messages);
  const char* nlsLang = std::getenv("NLS_LANG");
  std::printf("kind=%d usable=%d file=%s\nNLS_LANG=%s\n", session.LibraryKind(),
              session.Library().IsUsable() ? 1 : 0, session.Library().FileName().c_str(),
              nlsLang != nullptr ? nlsLang : "(unset)");
  return 0;
}
