// One headless scripting run from connect to the closing line.
#include "app/BatchRun.h"

#include <fstream>
#include <memory>
#include <optional>
#include <ostream>
#include <sstream>
#include <utility>

#include "app/ConsoleLogonPrompts.h"
#include "app/ConsoleRunHost.h"
#include "app/StopSignals.h"
#include "app/TerminalProgress.h"
#include "config/ConfigurationFile.h"
#include "engine/ReportFile.h"
#include "engine/RunDialogs.h"
#include "engine/RunEngine.h"
#include "engine/RunFlags.h"
#include "oracle/ProcessExit.h"
#include "scripting/connection/ConnectStringParts.h"
#include "scripting/connection/DatabaseConnection.h"
#include "scripting/connection/RunHostClientMessages.h"
#include "scripting/connection/ScriptingPhases.h"

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

// The query of --query, or the text of --query-file; false when that file
// cannot be read.
bool ReadQuery(const BatchOptions& options, std::string& query) {
  if (options.QueryFile.empty()) {
    query = options.Query;
    return true;
  }
  std::ifstream file(options.QueryFile, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  query = text.str();
  return file.good() || file.eof();
}

// A client library that cannot be loaded leaves the session without one, so
// that the logon fails and the run ends with its own exit status.
void KeepRunningWithoutLibrary(int) {}

}  // namespace

namespace {

// The configuration file's bytes, checked whole before anything is connected
// or changed; header receives its connect string.
std::optional<std::string> ReadConfiguration(const std::string& path, std::string& bytes,
                                             ConfigurationHeader& header) {
  if (std::optional<std::string> problem = ReadConfigurationFile(path, bytes)) {
    return problem;
  }
  RunSettings scratch;
  return DecodeConfiguration(bytes, header, scratch);
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
             std::ostream& errors, int progressFd) {
  std::string query;
  if (!ReadQuery(options, query)) {
    errors << "quillmark: the query file " << options.QueryFile << " could not be read\n";
    return BatchBadArguments;
  }
  if (!options.QueryFile.empty() && query.find_first_not_of(" \t\r\n") == std::string::npos) {
    errors << "quillmark: the query file " << options.QueryFile << " holds no query\n";
    return BatchBadArguments;
  }
  std::string configuration;
  ConfigurationHeader header;
  if (!options.ConfigFile.empty()) {
    if (std::optional<std::string> problem =
            ReadConfiguration(options.ConfigFile, configuration, header)) {
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

  TerminalProgress progress(progressFd, options.Quiet);
  ConsoleRunHost host(errors, &progress, options.Quiet);
  RunHostClientMessages messages(host);
  SetProcessExitHandler(KeepRunningWithoutLibrary);
  ConsoleLogonPrompts prompts(errors, options.PasswordFile);
  auto connection = std::make_shared<DatabaseConnection>(store, messages, prompts, connectString);
  SetProcessExitHandler(nullptr);
  if (connection->NotConnected()) {
    errors << "quillmark: not connected to the database of '"
           << ConnectStringWithoutPassword(connectString) << "'\n";
    return BatchNoConnection;
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
  std::string reportFile = ReportFileOf(options, settings);
  const bool toStandardOutput = reportFile.empty() || reportFile == ReportFile::StandardOutputName;
  if (toStandardOutput) {
    reportFile = ReportFile::StandardOutputName;
  }
  settings.AutoSave = 0;
  settings.ReportToFile = 1;
  settings.ReportFileName = reportFile;
  engine.Flags().ReportSaved = 1;

  output.flush();
  {
    const StopSignals signals;
    RunFlags& flags = engine.Flags();
    if (query.empty()) {
      engine.Driver().StartRun();
    } else {
      engine.Driver().StartStatementCommand();
    }
    engine.Driver().WaitForWorker([&] {
      // What the Stop command does once the user said Yes.
      if (StopSignals::Received() != 0 && flags.Running) {
        flags.Running = 0;
      }
      progress.Tick();
    });
    progress.Finish();
  }

  const bool fileFailed = !settings.ReportToFile;
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
