// One headless scripting run from connect to the closing line.
#include "app/BatchRun.h"

#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>
#include <utility>

#include "app/ConsoleLogonPrompts.h"
#include "app/ConsoleRunHost.h"
#include "engine/ReportFile.h"
#include "engine/RunDialogs.h"
#include "engine/RunEngine.h"
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

int RunBatch(const BatchOptions& options, SettingsStore& store, std::ostream& output,
             std::ostream& errors) {
  std::string query;
  if (!ReadQuery(options, query)) {
    errors << "quillmark: the query file " << options.QueryFile << " could not be read\n";
    return BatchBadArguments;
  }
  if (!options.QueryFile.empty() && query.find_first_not_of(" \t\r\n") == std::string::npos) {
    errors << "quillmark: the query file " << options.QueryFile << " holds no query\n";
    return BatchBadArguments;
  }
  ConsoleRunHost host(errors);
  RunHostClientMessages messages(host);
  SetProcessExitHandler(KeepRunningWithoutLibrary);
  ConsoleLogonPrompts prompts(errors, options.PasswordFile);
  auto connection =
      std::make_shared<DatabaseConnection>(store, messages, prompts, options.ConnectString);
  SetProcessExitHandler(nullptr);
  if (connection->NotConnected()) {
    errors << "quillmark: not connected to the database of '"
           << ConnectStringWithoutPassword(options.ConnectString) << "'\n";
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
  SelectKinds(settings, options.Kinds);
  settings.AutoSave = 0;
  // The report is written as the run goes, to the file or to standard
  // output: only the file-mode notice stays in the report model.
  const bool toStandardOutput =
      options.ReportFile.empty() || options.ReportFile == ReportFile::StandardOutputName;
  settings.ReportToFile = 1;
  settings.ReportFileName = toStandardOutput ? ReportFile::StandardOutputName : options.ReportFile;
  engine.Flags().ReportSaved = 1;

  output.flush();
  if (query.empty()) {
    engine.Driver().StartRun();
  } else {
    engine.Driver().StartStatementCommand();
  }
  engine.Driver().WaitForWorker([] {});

  const bool fileFailed = !settings.ReportToFile;
  if (fileFailed) {
    // Text that could not reach the file is not lost: it goes to the output.
    output << engine.Model().Text();
    output.flush();
  }
  settings = stored;
  if (fileFailed) {
    errors << "quillmark: the report could not be written to "
           << (toStandardOutput ? std::string("standard output") : options.ReportFile) << "\n";
    return BatchReportNotWritten;
  }
  const std::string missing = engine.Unscripted().Summary("quillmark: ", "\n");
  if (!missing.empty()) {
    errors << missing;
    return BatchReportIncomplete;
  }
  return BatchFinished;
}
