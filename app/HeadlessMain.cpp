// Command line, settings store and exit status of "quillmark --batch".
#include "app/HeadlessMain.h"

#include <iostream>
#include <memory>

#include <unistd.h>

#include "app/BatchOptions.h"
#include "app/BatchRun.h"
#include "config/QtSettingsStore.h"

int HeadlessMain(const std::vector<std::string>& arguments) {
  BatchOptions options;
  if (const std::optional<std::string> problem = ParseBatchArguments(arguments, options)) {
    std::cerr << "quillmark: " << *problem << "\n\n" << BatchUsage();
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
  const std::unique_ptr<QtSettingsStore> store =
      options.SettingsDirectory.empty()
          ? std::make_unique<QtSettingsStore>()
          : std::make_unique<QtSettingsStore>(options.SettingsDirectory);
  const int status = RunBatch(options, *store, std::cout, std::cerr, STDERR_FILENO);
  store->Sync();
  return status;
}
