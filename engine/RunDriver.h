// RunDriver: starts a run and carries it out on its worker thread. The
// commands run on the user-interface thread; the worker writes the report
// header, runs the sections of its restore plan (or the rows of one statement), writes the
// closing line and ends an unattended run's program. At most one worker exists;
// the driver never leaves a running thread behind.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

class ReportModel;
class ReportOutput;
class RunDialogs;
class RunHost;
class RunPhases;
class SplitRun;
class UnscriptedObjects;
struct RunFlags;
struct RunSettings;

class RunDriver {
 public:
  // unscripted is emptied when a run starts and summed up before its closing line.
  RunDriver(RunSettings& settings, RunFlags& flags, ReportOutput& output,
            UnscriptedObjects& unscripted, RunHost& host, RunPhases& phases, RunDialogs& dialogs);
  // Stops a run still going and waits for its worker. A window whose host
  // needs its event loop calls WaitForWorker first.
  ~RunDriver();
  RunDriver(const RunDriver&) = delete;
  RunDriver& operator=(const RunDriver&) = delete;

  // "Start": the unsaved-report question, the parameters dialog, StartRun.
  void StartCommand();
  // "Rerun Last": StartRun with the settings as they are.
  void RerunLastCommand();
  // "Start SQL Script": the SQL script dialog, then a statement run.
  void StartStatementCommand();
  // A statement run of statement without the SQL script dialog (a library
  // file with Auto Run): the same refusal and unsaved-report question.
  void StartStatementRun(const std::string& statement);
  // The unattended start with a configuration file.
  void StartAutomaticRun(const std::string& configurationPath);
  // Common start of a scripting run.
  void StartRun();

  // Start and Start SQL Script are enabled while no run and no worker is active.
  bool CanStart() const;
  // Rerun Last also needs a scripting run to have been started.
  bool CanRerunLast() const;

  // True from the start of a worker until it has ended.
  bool IsWorkerActive() const { return workerActive_.load(); }
  // Runs pumpEvents until the worker has ended, then joins it; the worker may be
  // waiting on a call that the window's thread must carry out.
  void WaitForWorker(const std::function<void()>& pumpEvents);
  // Stops a run still going without asking and joins its worker; for owners
  // whose host does not need the caller's thread.
  void StopWorker();

  // Elapsed seconds as "%02i:%02i:%02i"; hours may have more digits.
  static std::string FormatElapsedTime(std::int64_t seconds);
  // The header's date: the local time formatted with "%B %d, %Y  %X".
  static std::string FormatHeaderDate(std::int64_t secondsSinceEpoch);

 private:
  enum class RunKind { Scripting, Statement };

  bool RefuseWhileRunning();
  bool KeepUnsavedReport();
  void StartWorker(RunKind kind);
  // Closes the last run's control panel and opens the new run's.
  void ReplaceControlPanel();
  void Work(RunKind kind);
  void WriteFileModeNotice();
  void WriteHeader();
  void RunRestorePlan();
  void RunStructureStep();
  void WriteUnscriptedSummary();
  void BeginStep(const char* status, const char* caption, int count);
  // The closing steps, ending with the unattended end when it applies; split
  // is the run's split into files, when it has one.
  void FinishRun(RunKind kind, std::int64_t elapsedSeconds, SplitRun& split);
  // Writes the object files of a split run and says what went wrong or was
  // removed.
  void WriteSplitFiles(SplitRun& split);

  RunSettings& settings_;
  RunFlags& flags_;
  ReportOutput& output_;
  UnscriptedObjects& unscripted_;
  RunHost& host_;
  RunPhases& phases_;
  RunDialogs& dialogs_;

  std::thread worker_;
  std::atomic<bool> workerActive_{false};
  // The configuration file of the unattended run in progress; empty otherwise.
  std::string unattendedConfiguration_;
};
