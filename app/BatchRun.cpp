// One headless scripting run from connect to the closing line.
#include "app/BatchRun.h"

#include <memory>
#include <ostream>

#include "app/ConsoleLogonPrompts.h"
#include "app/ConsoleRunHost.h"
#include "engine/RunDialogs.h"
#include "engine/RunEngine.h"
#include "oracle/ProcessExit.h"
#include "scripting/connection/DatabaseConnection.h"
#include "scripting/connection/RunHostClientMessages.h"
#include "scripting/connection/ScriptingPhases.h"

namespace {

// The run's choices come from the command line: nothing is asked.
class BatchRunDialogs : public RunDialogs {
 public:
  bool EditRunParameters(RunSettings&) override { return true; }
  bool EditStatement(std::string&) override { return false; }
  void SaveReport() override {}
  void LoadConfiguration(const std::string&) override {}
  bool HasUsableConnection() override { return true; }
};

// A client library that cannot be loaded leaves the session without one, so
// that the logon fails and the run ends with its own exit status.
void KeepRunningWithoutLibrary(int) {}

}  // namespace

int RunBatch(const BatchOptions& options, SettingsStore& store, std::ostream& output,
             std::ostream& errors) {
  ConsoleRunHost host(errors);
  RunHostClientMessages messages(host);
  SetProcessExitHandler(KeepRunningWithoutLibrary);
  ConsoleLogonPrompts prompts(errors);
  auto connection =
      std::make_shared<DatabaseConnection>(store, messages, prompts, options.ConnectString);
  SetProcessExitHandler(nullptr);
  if (connection->NotConnected()) {
    errors << "quillmark: not connected to the database of '" << options.ConnectString << "'\n";
    return BatchNoConnection;
  }

  ScriptingPhases phases;
  BatchRunDialogs dialogs;
  RunEngine engine(store, host, phases, dialogs);
  phases.AttachEngine(engine);
  phases.AttachHost(host);
  phases.SetConnection(connection);

  // The kinds and the output are for this run only: the engine writes its
  // settings back to the store, so it gets them as they were stored.
  const RunSettings stored = engine.Settings();
  RunSettings& settings = engine.Settings();
  SelectKinds(settings, options.Kinds);
  settings.AutoSave = 0;
  settings.ReportToFile = options.ReportFile.empty() ? 0 : 1;
  settings.ReportFileName = options.ReportFile;
  engine.Flags().ReportSaved = 1;

  engine.Driver().StartRun();
  engine.Driver().WaitForWorker([] {});

  const bool fileFailed = !options.ReportFile.empty() && !settings.ReportToFile;
  if (options.ReportFile.empty() || fileFailed) {
    // Text that could not reach the file is not lost: it goes to the output.
    output << engine.Model().Text();
    output.flush();
  }
  settings = stored;
  if (fileFailed) {
    errors << "quillmark: the report could not be written to " << options.ReportFile << "\n";
    return BatchReportNotWritten;
  }
  const std::string missing = engine.Unscripted().Summary("quillmark: ", "\n");
  if (!missing.empty()) {
    errors << missing;
    return BatchReportIncomplete;
  }
  return BatchFinished;
}
