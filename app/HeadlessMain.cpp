// Command line, settings store and exit status of "quillmark --batch".
#include "app/HeadlessMain.h"

#include <csignal>
#include <iostream>
#include <memory>

#include <sys/prctl.h>
#include <unistd.h>

#include "app/BatchOptions.h"
#include "app/BatchRun.h"
#include "app/TerminalSafeStream.h"
#include "config/QtSettingsStore.h"
#include "config/SettingsFileCheck.h"

int HeadlessMain(const std::vector<std::string>& arguments) {
  TerminalSafeStream errors(std::cerr);
  BatchOptions options;
  if (const std::optional<std::string> problem = ParseBatchArguments(arguments, options)) {
    errors << "quillmark: " << *problem << "\n\n" << BatchUsage();
    return BatchBadArguments;
  }
  if (options.Help) {
    std::cout << BatchUsage();
    return BatchFinished;
  }
  if (options.Version) {
    std::cout << BatchVersion();
    return BatchFinished;
  }
  // A headless run holds a password from its command line, file or terminal
  // until it ends: no core dump (and no other user's debugger) may see it.
  ::prctl(PR_SET_DUMPABLE, 0);
  if (!options.SettingsDirectory.empty()) {
    const std::string problem = SettingsDirectoryProblem(options.SettingsDirectory);
    if (!problem.empty()) {
      errors << "quillmark: the settings folder " << options.SettingsDirectory.substr(0, 200)
             << (options.SettingsDirectory.size() > 200 ? "..." : "")
             << " cannot be used: " << problem << "\n";
      return BatchBadArguments;
    }
  }
  const std::unique_ptr<QtSettingsStore> store =
      options.SettingsDirectory.empty()
          ? std::make_unique<QtSettingsStore>()
          : std::make_unique<QtSettingsStore>(options.SettingsDirectory);
  if (!store->Problem().empty()) {
    errors << "quillmark: " << store->Problem() << "\n";
  }
  options.SettingsFile = store->Location();
  // A closed standard output (a pager quit early) is a report that could not
  // be written, status 4, not a death by SIGPIPE.
  std::signal(SIGPIPE, SIG_IGN);
  const int status = RunBatch(options, *store, std::cout, errors, STDERR_FILENO);
  store->Sync();
  return status;
}
