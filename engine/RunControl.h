// RunControl: pause, resume, skip and stop of a running script. The commands
// run on the user-interface thread and only change the shared flags; the worker
// polls them between objects through CheckPause and CheckStop and ends a
// stopped run through StopRun.
#pragma once

class ReportOutput;
class RunHost;
class RunPhases;
struct RunFlags;
struct RunSettings;

class RunControl {
 public:
  RunControl(RunSettings& settings, RunFlags& flags, ReportOutput& output, RunHost& host);
  // The phases whose server call RequestStop interrupts; without them a stop
  // waits for the worker's next check.
  void InterruptCallsOf(RunPhases& phases) { phases_ = &phases; }

  // User-interface thread.
  void PauseCommand();
  void ResumeCommand();
  void SkipCommand();
  // Asks whether to stop; on Yes, RequestStop.
  void StopCommand();
  // Any thread: the worker stops at its next check, and the server call it
  // waits for, if any, is interrupted so that the check comes at once.
  void RequestStop();
  bool CanPause() const;
  bool CanResume() const;
  bool CanSkip() const;
  bool CanStop() const;

  // Worker thread. The pause wait: while paused, sleeps in 100 ms steps, and
  // stops the run when Stop was chosen meanwhile.
  void CheckPause();
  // What a phase loop calls before each object: the pause wait, then StopRun
  // when the run was stopped.
  void CheckStop();
  // Writes the stop line, saves or closes the report file, tells the user and
  // ends the worker: it throws RunStopped, which only the run driver catches.
  [[noreturn]] void StopRun();
  // Worker thread, where a server call failed: when the run was stopped, the
  // failure is the break that Stop sent, no fault of the object, and the run
  // ends with the stop line.
  void StopIfStopped();

  // Interval of the pause wait in milliseconds.
  static constexpr int PausePollMilliseconds = 100;

 private:
  friend class RunDriver;
  // Thrown by StopRun to unwind the worker; caught at the top of the worker.
  struct RunStopped {};

  RunSettings& settings_;
  RunFlags& flags_;
  ReportOutput& output_;
  RunHost& host_;
  RunPhases* phases_ = nullptr;
};
