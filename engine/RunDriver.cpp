// Starting runs and the worker that carries them out.
#include "engine/RunDriver.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <exception>
#include <optional>
#include <string>

#include "engine/ReportColour.h"
#include "engine/ReportOutput.h"
#include "engine/ReportText.h"
#include "engine/RestorePlan.h"
#include "engine/RunControl.h"
#include "engine/RunDialogs.h"
#include "engine/RunFlags.h"
#include "engine/RunHost.h"
#include "engine/RunPhases.h"
#include "engine/RunSettings.h"
#include "engine/SplitRun.h"
#include "engine/ThreadPriority.h"
#include "engine/UnscriptedObjects.h"

namespace {

constexpr const char* FinishedText = "Quillmark for Oracle has finished scripting the database";
// The control panel's last word; the phase's last status would read as if
// the run were still at work.
constexpr const char* FinishedStatusText = "Finished.";

// Keeps SkipAllowed set while a phase that honours Skip runs, also when the
// phase ends by a stop: a stale flag would let Skip act on the next run.
class SkipAllowedScope {
 public:
  explicit SkipAllowedScope(RunFlags& flags) : flags_(flags) { flags_.SkipAllowed = 1; }
  ~SkipAllowedScope() { flags_.SkipAllowed = 0; }
  SkipAllowedScope(const SkipAllowedScope&) = delete;
  SkipAllowedScope& operator=(const SkipAllowedScope&) = delete;

 private:
  RunFlags& flags_;
};

// The worker's active flag, cleared as the worker's very last step.
class WorkerActiveScope {
 public:
  explicit WorkerActiveScope(std::atomic<bool>& active) : active_(active) {}
  ~WorkerActiveScope() { active_ = false; }
  WorkerActiveScope(const WorkerActiveScope&) = delete;
  WorkerActiveScope& operator=(const WorkerActiveScope&) = delete;

 private:
  std::atomic<bool>& active_;
};

std::int64_t SteadySeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

RunDriver::RunDriver(RunSettings& settings, RunFlags& flags, ReportOutput& output,
                     UnscriptedObjects& unscripted, RunHost& host, RunPhases& phases,
                     RunDialogs& dialogs)
    : settings_(settings),
      flags_(flags),
      output_(output),
      unscripted_(unscripted),
      host_(host),
      phases_(phases),
      dialogs_(dialogs) {}

RunDriver::~RunDriver() {
  StopWorker();
}

bool RunDriver::CanStart() const {
  return !flags_.Running && !workerActive_;
}

bool RunDriver::CanRerunLast() const {
  return CanStart() && flags_.HasRunBefore;
}

// A stopped run's worker may still be finishing after Running went to 0; a
// second worker would write into the same report, so it waits too.
bool RunDriver::RefuseWhileRunning() {
  if (CanStart()) {
    return false;
  }
  host_.ShowMessage(
      "You cannot start another script before the previous one ends.\nPress the <stop> icon to "
      "terminate the current script",
      MessageButtons::Ok, MessageIcon::Warning);
  return true;
}

// The unsaved-report question; false when the command must end.
bool RunDriver::KeepUnsavedReport() {
  if (!flags_.ReportSaved) {
    flags_.SaveCancelled = 0;
    const MessageAnswer answer =
        host_.ShowMessage("The report has not been saved. Do you wish to save it?",
                          MessageButtons::YesNoCancel, MessageIcon::Question);
    if (answer == MessageAnswer::Cancel) {
      return false;
    }
    if (answer == MessageAnswer::Yes) {
      dialogs_.SaveReport();
    }
  }
  return !flags_.SaveCancelled;
}

void RunDriver::StartCommand() {
  if (RefuseWhileRunning() || !KeepUnsavedReport()) {
    return;
  }
  phases_.ClearRunObjectLists();
  flags_.SkipAllowed = 0;
  if (!dialogs_.EditRunParameters(settings_)) {
    return;
  }
  flags_.ReportSaved = 0;
  StartRun();
}

void RunDriver::RerunLastCommand() {
  // A rerun replaces the report as Start does, so it asks the same question.
  if (!CanRerunLast() || !KeepUnsavedReport()) {
    return;
  }
  phases_.ClearRunObjectLists();
  flags_.ReportSaved = 0;
  StartRun();
}

void RunDriver::StartStatementCommand() {
  if (RefuseWhileRunning() || !KeepUnsavedReport()) {
    return;
  }
  std::string statement = settings_.StatementText;
  if (!dialogs_.EditStatement(statement)) {
    return;
  }
  flags_.Running = 1;
  ReplaceControlPanel();
  settings_.StatementText = statement;
  StartWorker(RunKind::Statement);
}

void RunDriver::StartStatementRun(const std::string& statement) {
  if (RefuseWhileRunning() || !KeepUnsavedReport()) {
    return;
  }
  settings_.StatementText = statement;
  flags_.Running = 1;
  ReplaceControlPanel();
  StartWorker(RunKind::Statement);
}

void RunDriver::StartAutomaticRun(const std::string& configurationPath) {
  if (RefuseWhileRunning()) {
    return;
  }
  dialogs_.LoadConfiguration(configurationPath);
  if (!dialogs_.HasUsableConnection()) {
    host_.RestoreMainWindow();
    host_.ShowMessage(
        "Could not automatically start a script session, please make sure a valid database "
        "connection (including password) is saved in the configuration file.\nSee the help "
        "topics for more information.",
        MessageButtons::Ok, MessageIcon::Warning);
    return;
  }
  phases_.ClearRunObjectLists();
  flags_.SkipAllowed = 0;
  // Only a run that really starts unattended may end the program.
  unattendedConfiguration_ = configurationPath;
  flags_.Running = 1;
  ReplaceControlPanel();
  StartWorker(RunKind::Scripting);
}

void RunDriver::StartRun() {
  if (RefuseWhileRunning()) {
    return;
  }
  flags_.HasRunBefore = 1;
  settings_.UpdateCommentPrefixes();
  flags_.Running = 1;
  ReplaceControlPanel();
  StartWorker(RunKind::Scripting);
}

void RunDriver::ReplaceControlPanel() {
  host_.DestroyControlPanel();
  host_.SetCaption(CaptionFor("Retrieving Databases Information"));
  // The host keeps track of whether the panel's window exists.
  host_.CreateControlPanel();
}

void RunDriver::StartWorker(RunKind kind) {
  if (worker_.joinable()) {
    worker_.join();  // the previous worker has ended: CanStart held
  }
  workerActive_ = true;
  worker_ = std::thread([this, kind] { Work(kind); });
}

void RunDriver::WaitForWorker(const std::function<void()>& pumpEvents) {
  while (workerActive_) {
    pumpEvents();
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (worker_.joinable()) {
    worker_.join();
  }
}

void RunDriver::StopWorker() {
  if (workerActive_) {
    flags_.Running = 0;
    phases_.InterruptServerCall();
  }
  if (worker_.joinable()) {
    worker_.join();
  }
}

void RunDriver::Work(RunKind kind) {
  WorkerActiveScope active(workerActive_);
  // Outside the try block: a run that ends on an error still closes the
  // report file of the split before the split gives the settings back.
  SplitRun split;
  try {
    if (kind == RunKind::Statement) {
      LowerCurrentThreadPriority();
    }
    flags_.SkipRequested = 0;
    flags_.Stopped = 0;
    unscripted_.Clear();
    const std::int64_t start = SteadySeconds();
    if (kind == RunKind::Scripting && !settings_.SplitFolder.empty()) {
      if (std::optional<std::string> problem = split.Begin(settings_)) {
        flags_.Running = 0;
        host_.ShowMessage("Could not write the schema into a folder: " + *problem,
                          MessageButtons::Ok, MessageIcon::Warning);
        host_.SetCaption(CaptionFor("Ready"));
        phases_.WithdrawInterruption();
        return;
      }
    }
    output_.PrepareReport();
    if (settings_.ReportToFile) {
      WriteFileModeNotice();
    }
    WriteHeader();
    if (kind == RunKind::Scripting) {
      RunRestorePlan();
    } else {
      SkipAllowedScope skipAllowed(flags_);
      // No count is known ahead: the bar shows that the run is busy.
      BeginStep("Executing the statement ...", "Executing Statement", 0);
      phases_.ScriptRows(settings_.StatementText, std::string(), std::string());
    }
    FinishRun(kind, SteadySeconds() - start, split);
  } catch (const RunControl::RunStopped&) {
    // StopRun has written its closing line and told the user.
  } catch (const std::exception& error) {
    // An exception must not end the program from the worker thread; the run
    // ends as if stopped, with the reason in the report.
    flags_.Running = 0;
    try {
      unscripted_.Add("RUN", "", std::string("stopped by an internal error: ") + error.what());
      output_.OutputLine("\r\n\r\n" + settings_.SqlCommentPrefix +
                             "Quillmark Stopped ... internal error: " + error.what() + "\r\n",
                         NoticeColour, false, false);
      WriteUnscriptedSummary();
      if (settings_.ReportToFile) {
        output_.CloseReportFile();
      }
      host_.SetCaption(CaptionFor("Ready"));
    } catch (const std::exception&) {
      // Nothing more can be reported.
    }
  }
  // A stop's break that came after the last server call must not end the
  // next one.
  phases_.WithdrawInterruption();
}

void RunDriver::WriteFileModeNotice() {
  settings_.ReportToFile = 0;
  output_.OutputLine(
      "Output of this report is being written to file: " + settings_.ReportFileName + "\r\n\r\n",
      NoticeColour, false, false);
  settings_.ReportToFile = 1;
  flags_.ReportSaved = 1;
  output_.OpenReportFile();
}

void RunDriver::WriteHeader() {
  const auto comment = [this](const std::string& text) {
    output_.OutputLine(text, CommentColour, false, true);
  };
  // Names, values and the statement may hold "&": SQL*Plus replaying the
  // report would otherwise take it for a substitution variable (the line is a
  // tool command that other clients skip).
  output_.OutputLine("SET DEFINE OFF\r\n", CommentColour, false, true);
  comment(BannerOpen + "*\r\n");
  // A stable report is the same for the same schema, so it holds no date.
  if (!settings_.StableOutput) {
    comment("*  Date: " + FormatHeaderDate(std::time(nullptr)) + "\r\n*\r\n");
  }
  comment("*  This script was automatically generated by Quillmark for Oracle (" +
          std::string(ProductWebAddress) + ")");
  comment("\r\n*\r\n*  SOURCE DATABASE:  ");
  output_.OutputLine(phases_.SourceDatabaseName(), NameColour, false, true);
  comment("\r\n*\r\n*");
  output_.OutputLine("  IMPORTANT:  ", AlertColour, false, true);
  comment(
      "As with any script, you should always perform a sanity check before executing it in your "
      "target database.");
  comment("\r\n*" + BannerClose);
}

void RunDriver::RunRestorePlan() {
  for (const PlannedSection& planned : PlanRestore(settings_)) {
    switch (planned.section) {
      case RestoreSection::Privileges:
        phases_.RunPrivilegePhase();
        break;
      case RestoreSection::Sequences: {
        SkipAllowedScope skipAllowed(flags_);
        phases_.RunSequencePhase();
        break;
      }
      case RestoreSection::Tables:
        phases_.RunTablePhase();
        if (settings_.DoTable) {
          RunStructureStep();
        }
        break;
      case RestoreSection::Data: {
        SkipAllowedScope skipAllowed(flags_);
        phases_.RunDataPhase();
        break;
      }
      case RestoreSection::Indexes: {
        const int count = phases_.TableCount();
        BeginStep("Analyzing Indexes ...", "Analyzing Indexes", count);
        phases_.RunIndexPhase();
        host_.SetProgressPosition(count);
        break;
      }
      case RestoreSection::Constraints: {
        phases_.ClearConstraintCounters();
        // Two passes over the tables: keys and checks, then foreign keys.
        const int count = 2 * phases_.TableCount();
        BeginStep("Analyzing Constraints ...", "Analyzing Constraints", count);
        phases_.RunConstraintPhase();
        host_.SetProgressPosition(count);
        break;
      }
      case RestoreSection::StoredSource:
        phases_.ScriptSourceSection(planned.sourceCodes, planned.pass);
        break;
      case RestoreSection::Synonyms:
        phases_.RunSynonymPhase();
        break;
      case RestoreSection::DatabaseLinks:
        phases_.RunDatabaseLinkPhase();
        break;
      case RestoreSection::MaterializedViewLogs:
        phases_.RunMaterializedViewLogPhase();
        break;
      case RestoreSection::MaterializedViews:
        phases_.RunMaterializedViewPhase();
        break;
      case RestoreSection::ObjectGrants:
        phases_.RunObjectGrantPhase();
        break;
    }
  }
  phases_.RunCoverageCheck();
}

void RunDriver::RunStructureStep() {
  const int count = phases_.StructureObjectCount();
  BeginStep("Analyzing Structures ...", "Analyzing Structures", count);
  phases_.RunStructurePass();
  BeginStep("Analyzing Structures ...", "Analyzing Structures", count);
  host_.SetProgressPosition(count);
}

void RunDriver::WriteUnscriptedSummary() {
  const std::string summary = unscripted_.Summary(settings_.SqlCommentPrefix, "\r\n");
  if (!summary.empty()) {
    output_.OutputLine("\r\n\r\n" + summary, NoticeColour, false, true);
  }
}

void RunDriver::BeginStep(const char* status, const char* caption, int count) {
  host_.SetStatusText(status);
  host_.SetProgressRange(0, count);
  host_.SetProgressPosition(0);
  host_.SetProgressStep(1);
  host_.SetCaption(CaptionFor(caption));
}

void RunDriver::FinishRun(RunKind kind, std::int64_t elapsedSeconds, SplitRun& split) {
  flags_.Running = 0;
  host_.SetProgressRange(0, 100);
  host_.SetProgressPosition(100);
  host_.SetStatusText(FinishedStatusText);
  WriteUnscriptedSummary();
  const std::string elapsed = settings_.StableOutput
                                  ? std::string()
                                  : " Elapsed Time: " + FormatElapsedTime(elapsedSeconds) + " ---";
  output_.OutputLine("\r\n\r\n--- End of Quillmark for Oracle ---" + elapsed + "\r\n", NoticeColour,
                     false, false);
  host_.SetCaption(CaptionFor("Finished"));
  flags_.ReportSaved = 0;
  if (settings_.AutoSave) {
    output_.AutoSaveReport();
    output_.ForgetAutoSaveFile();
  }
  if (settings_.ReportToFile) {
    flags_.ReportSaved = 1;
    output_.CloseReportFile();
  }
  if (split.Active()) {
    WriteSplitFiles(split);
  }
  if (kind == RunKind::Scripting && !unattendedConfiguration_.empty()) {
    unattendedConfiguration_.clear();
    if (settings_.ReportToFile) {
      host_.EndProcess(1);
      return;
    }
    host_.RestoreMainWindow();
  }
  const std::size_t failed = unscripted_.Count();
  if (failed == 0) {
    host_.ShowMessage(FinishedText, MessageButtons::Ok, MessageIcon::Information);
  } else {
    // A report that lacks objects must not pass for a whole one.
    host_.ShowMessage(std::string(FinishedText) + ", but " + std::to_string(failed) +
                          (failed == 1 ? " object" : " objects") +
                          " could not be scripted: see the list at the end of the report.",
                      MessageButtons::Ok, MessageIcon::Warning);
  }
  host_.SetCaption(CaptionFor("Ready"));
}

void RunDriver::WriteSplitFiles(SplitRun& split) {
  const std::string folder = settings_.SplitFolder;
  // The report reached its file unless file mode was left on a failure.
  std::optional<std::string> problem =
      settings_.ReportToFile ? split.Finish(unscripted_.Count() == 0)
                             : std::optional<std::string>("the report could not be written");
  split.End();
  if (problem) {
    unscripted_.Add("FOLDER", folder, "the object files could not be written: " + *problem);
    host_.ShowMessage("Could not write the object files into " + folder + ": " + *problem,
                      MessageButtons::Ok, MessageIcon::Warning);
    return;
  }
  if (!split.Removed().empty()) {
    std::string text = "The files of objects that are gone were removed from " + folder + ":";
    for (const std::string& removed : split.Removed()) {
      text += "\n  " + removed;
    }
    host_.ShowMessage(text, MessageButtons::Ok, MessageIcon::Information);
  }
}

std::string RunDriver::FormatElapsedTime(std::int64_t seconds) {
  if (seconds < 0) {
    seconds = 0;
  }
  const long long hours = seconds / 3600;
  const long long minutes = seconds / 60 - hours * 60;
  char text[64];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", hours, minutes,
                static_cast<long long>(seconds % 60));
  return text;
}

std::string RunDriver::FormatHeaderDate(std::int64_t secondsSinceEpoch) {
  const std::time_t time = static_cast<std::time_t>(secondsSinceEpoch);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &time);
#else
  localtime_r(&time, &local);
#endif
  char text[128];
  const std::size_t length = std::strftime(text, sizeof text, "%B %d, %Y  %X", &local);
  return std::string(text, length);
}
