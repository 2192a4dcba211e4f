// BatchOptions: the command line of the headless front end, parsed without
// touching anything, and the object kinds it selects for one run.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct RunSettings;

// Exit statuses of the headless run.
enum BatchExitStatus : int {
  BatchFinished = 0,
  BatchBadArguments = 2,
  BatchNoConnection = 3,
  BatchReportNotWritten = 4,
  // 128 + the signal, as a shell reports a command ended by it.
  BatchStoppedByInterrupt = 130,
  BatchStoppedByTerminate = 143,
  // The run ended, but objects are missing from the report (named there and
  // on standard error).
  BatchReportIncomplete = 5,
};

struct BatchOptions {
  bool Help = false;
  bool Version = false;
  // No progress line and no finish message; errors still go to standard error.
  bool Quiet = false;
  bool Batch = false;
  // Objects the coverage check lists end the run with BatchReportIncomplete.
  bool Strict = false;
  // A report that is the same for the same schema: no date, no elapsed time,
  // lines ending in LF unless CrLf.
  bool Stable = false;
  // Lines end in CR LF also in a stable report.
  bool CrLf = false;
  // Not empty: the schema is written as one file per object under this
  // folder (always stable), instead of as one report.
  std::string SplitDirectory;
  // Several schemas, one run each (--schemas A,B): into one report, or into
  // SplitDirectory/A, SplitDirectory/B. Names are written as in a schema
  // prefix of CONNECT.
  std::vector<std::string> Schemas;
  std::string ConnectString;
  // Empty: no password file.
  std::string PasswordFile;
  // Kind names as given to --kinds, every kind when the option is absent.
  std::vector<std::string> Kinds;
  bool KindsGiven = false;
  // A *.qmo file whose setup the run uses; --connect, --kinds and --report
  // override its connect string, kinds and report file.
  std::string ConfigFile;
  // Empty or "-": the report goes to standard output.
  std::string ReportFile;
  // A free-form query to script instead of the schema (--query), or the file
  // that holds it (--query-file); at most one of them.
  std::string Query;
  std::string QueryFile;
  // Empty: the user's own settings store.
  std::string SettingsDirectory;
  // Not an option: the settings store's file, filled in once the store is
  // open, so that the report is never written over it.
  std::string SettingsFile;
};

// The kind names --kinds accepts, in the order a run scripts them.
const std::vector<std::string>& BatchKindNames();

// Parses "a,b,c" into known kind names (duplicates kept once); error names
// the first unknown or empty entry.
std::optional<std::vector<std::string>> ParseKindList(const std::string& list, std::string& error);

// Parses the arguments after the program name. Nothing on success; else the
// reason, for a usage error (exit status 2).
std::optional<std::string> ParseBatchArguments(const std::vector<std::string>& arguments,
                                               BatchOptions& options);

// True when arguments ask for the headless front end (--batch, --help or --version).
bool WantsHeadless(const std::vector<std::string>& arguments);

// Sets the object-kind flags of settings: the named kinds on, the others off.
void SelectKinds(RunSettings& settings, const std::vector<std::string>& kinds);

// The text of "quillmark --help".
std::string BatchUsage();
// The text of "quillmark --version".
std::string BatchVersion();
