// One headless scripting run from connect to the closing line.
#include "app/BatchRun.h"

#include <cstdlib>
#include <memory>
#include <optional>
#include <ostream>
#include <utility>

#include "app/ConsoleLogonPrompts.h"
#include "app/ConsoleRunHost.h"
#include "app/QueryFile.h"
#include "app/ReportTargetCheck.h"
#include "app/SchemasRun.h"
#include "app/StopSignals.h"
#include "app/TerminalProgress.h"
#include "app/TerminalSafeStream.h"
#include "config/ConfigurationFile.h"
#include "engine/ReportFile.h"
#include "engine/RunDialogs.h"
#include "engine/RunEngine.h"
#include "engine/RunFlags.h"
#include "engine/SplitRun.h"
#include "oracle/ProcessExit.h"
#include "scripting/connection/ConnectStringParts.h"
#include "scripting/connection/DatabaseConnection.h"
#include "scripting/connection/RunHostClientMessages.h"
#include "scripting/connection/ScriptingPhases.h"
#include "scripting/data/RowSource.h"

namespace {

// The run's choices come from the command line: nothing is asked.
class BatchRunDialogs : public RunDialogs {
 public:
  explicit BatchRunDialogs(std::string statement) : statement_(std::move(statement)) {}

  bool EditRunParameters(RunSettings&) override { return true; }
  bool EditStatement(std::string& statement) override {
    statement = statement_;
    return true;
  }
  void SaveReport() override {}
  void LoadConfiguration(const std::string&) override {}
  bool HasUsableConnection() override { return true; }

 private:
  std::string statement_;
};

// Ends the process when a stop request found the worker blocked in report
// I/O: the thread cannot be unblocked, and what reached the report stays.
[[noreturn]] void AbandonBlockedRun(std::ostream& errors, TerminalProgress& progress) {
  progress.Finish();
  errors << "quillmark: the run did not stop within a second: ended with the report as far "
            "as it was written\n";
  errors.flush();
  std::_Exit(StopSignals::Received() == SIGTERM ? BatchStoppedByTerminate
                                                : BatchStoppedByInterrupt);
}

// A client library that cannot be loaded leaves the session without one, so
// that the logon fails and the run ends with its own exit status.
void KeepRunningWithoutLibrary(int) {}

// The configuration file's bytes, checked whole before anything is connected
// or changed; header receives its connect string, decoded its setup.
std::optional<std::string> ReadConfiguration(const std::string& path, std::string& bytes,
                                             ConfigurationHeader& header, RunSettings& decoded) {
  if (std::optional<std::string> problem = ReadConfigurationFile(path, bytes)) {
    return problem;
  }
  return DecodeConfiguration(bytes, header, decoded);
}

// The report file of a run: --report, else the file a configuration's output
// or auto-save mode names, else none (standard output).
std::string ReportFileOf(const BatchOptions& options, const RunSettings& settings) {
  if (!options.ReportFile.empty() || options.ConfigFile.empty()) {
    return options.ReportFile;
  }
  return settings.ReportToFile || settings.AutoSave ? settings.ReportFileName : std::string();
}

}  // namespace

int RunBatch(const BatchOptions& options, SettingsStore& store, std::ostream& output,
             std::ostream& errorStream, int progressFd) {
  if (!options.Schemas.empty()) {
    return RunSchemas(options, store, output, errorStream, progressFd);
  }
  TerminalSafeStream errors(errorStream);
  std::string query = options.Query;
  if (!options.QueryFile.empty()) {
    if (std::optional<std::string> problem = ReadQueryFile(options.QueryFile, query)) {
      errors << "quillmark: " << *problem << "\n";
      return BatchBadArguments;
    }
  }
  if (!options.QueryFile.empty() && query.find_first_not_of(" \t\r\n") == std::string::npos) {
    errors << "quillmark: the query file " << options.QueryFile << " holds no query\n";
    return BatchBadArguments;
  }
  std::string configuration;
  ConfigurationHeader header;
  RunSettings configured;
  if (!options.ConfigFile.empty()) {
    if (std::optional<std::string> problem =
            ReadConfiguration(options.ConfigFile, configuration, header, configured)) {
      errors << "quillmark: " << options.ConfigFile << ": " << *problem << "\n";
      return BatchBadArguments;
    }
  }
  const std::string connectString =
      options.ConnectString.empty() ? header.ConnectString : options.ConnectString;
  if (connectString.empty()) {
    errors << "quillmark: " << options.ConfigFile
           << " names no database: give one with --connect CONNECT\n";
    return BatchBadArguments;
  }

  const bool split = !options.SplitDirectory.empty();
  if (split) {
    if (std::optional<std::string> problem = SplitRun::PrepareFolder(options.SplitDirectory)) {
      errors << "quillmark: " << *problem << "\n";
      return BatchBadArguments;
    }
  }
  const std::string reportTarget =
      split ? SplitRun::ReportFileIn(options.SplitDirectory) : ReportFileOf(options, configured);
  if (std::optional<std::string> problem = ReportClobbersInput(
          reportTarget == ReportFile::StandardOutputName ? std::string() : reportTarget,
          {{"the settings file", options.SettingsFile},
           {"the --config file", options.ConfigFile},
           {"the --query-file", options.QueryFile},
           {"the --password-file", options.PasswordFile}})) {
    errors << "quillmark: " << *problem << "\n";
    return BatchBadArguments;
  }

  TerminalProgress progress(progressFd, options.Quiet);
  ConsoleRunHost host(errors, &progress, options.Quiet);
  RunHostClientMessages messages(host);
  SetProcessExitHandler(KeepRunningWithoutLibrary);
  ConsoleLogonPrompts prompts(errors, options.PasswordFile);
  auto connection = std::make_shared<DatabaseConnection>(store, messages, prompts, connectString);
  SetProcessExitHandler(nullptr);
  if (connection->NotConnected()) {
    // Only the database: whatever stands before it may hold a password.
    errors << "quillmark: not connected to the database '"
           << ParseConnectString(connectString).Database << "'\n";
    return BatchNoConnection;
  }
  if (!connection->SchemaVisible()) {
    errors << "quillmark: schema " << connection->CurrentSchema()
           << " does not exist or cannot be seen\n";
    return BatchNoConnection;
  }
  // A statement that will be refused is refused now, before the report file
  // (which may hold an earlier report) is created.
  if (!query.empty()) {
    if (std::optional<std::string> refusal = RowSource::RefusalOf(*connection->Session(), query)) {
      errors << "quillmark: " << *refusal << "\n";
      return BatchBadArguments;
    }
  }

  ScriptingPhases phases;
  BatchRunDialogs dialogs(query);
  RunEngine engine(store, host, phases, dialogs);
  phases.AttachEngine(engine);
  phases.AttachHost(host);
  phases.SetConnection(connection);

  // The kinds and the output are for this run only: the engine writes its
  // settings back to the store, so it gets them as they were stored.
  const RunSettings stored = engine.Settings();
  RunSettings& settings = engine.Settings();
  if (!configuration.empty()) {
    DecodeConfiguration(configuration, header, settings);  // read whole once already
  }
  if (options.KindsGiven || options.ConfigFile.empty()) {
    SelectKinds(settings, options.Kinds);
  }
  // The report is written as the run goes, to the file or to standard
  // output: only the file-mode notice stays in the report model.
  const std::string chosenFile = ReportFileOf(options, settings);
  const bool toStandardOutput = chosenFile.empty() || chosenFile == ReportFile::StandardOutputName;
  const std::string reportFile =
      toStandardOutput ? std::string(ReportFile::StandardOutputName) : chosenFile;
  settings.StableOutput = options.Stable ? 1 : 0;
  settings.LfLineBreaks = options.Stable && !options.CrLf ? 1 : 0;
  // Only --split splits a headless run, whatever the desktop keeps.
  settings.SplitFolder = options.SplitDirectory;
  settings.SplitCrLf = options.CrLf ? 1 : 0;
  settings.AutoSave = 0;
  settings.ReportToFile = 1;
  settings.ReportFileName = reportFile;
  engine.Flags().ReportSaved = 1;

  output.flush();
  {
    StopSignals signals;
    RunFlags& flags = engine.Flags();
    if (query.empty()) {
      engine.Driver().StartRun();
    } else {
      engine.Driver().StartStatementCommand();
    }
    engine.Driver().WaitForWorker([&] {
      // What the Stop command does once the user said Yes.
      if (StopSignals::Received() != 0 && flags.Running) {
        engine.Control().RequestStop();
      }
      if (signals.GraceExpired()) {
        AbandonBlockedRun(errors, progress);
      }
      progress.Tick();
    });
    progress.Finish();
  }

  const bool fileFailed = !settings.ReportToFile;
  host.ReleaseHeldMessage(!fileFailed);
  if (fileFailed) {
    // Text that could not reach the file is not lost: it goes to the output.
    output << engine.Model().Text();
    output.flush();
  }
  settings = stored;
  if (fileFailed) {
    errors << "quillmark: the report could not be written to "
           << (toStandardOutput ? std::string("standard output") : reportFile) << "\n";
    return BatchReportNotWritten;
  }
  const std::string missing = engine.Unscripted().Summary("quillmark: ", "\n");
  errors << missing;
  if (engine.Flags().Stopped) {
    return StopSignals::Received() == SIGTERM ? BatchStoppedByTerminate : BatchStoppedByInterrupt;
  }
  // Objects of kinds the tool does not script leave the report complete for
  // what it covers, unless the caller asked to treat them as missing.
  if (engine.Unscripted().Count() != 0 ||
      (options.Strict && engine.Unscripted().UncoveredCount() != 0)) {
    return BatchReportIncomplete;
  }
  return BatchFinished;
}
