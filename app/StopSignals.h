// StopSignals: while it lives, Ctrl+C (SIGINT) and SIGTERM ask the headless
// run to stop as the desktop's Stop command does, so that the report written
// so far is kept and ends with the stop line. A second signal ends the
// process at once, as a user pressing Ctrl+C twice expects; so does a run
// that has not stopped within a second of the first.
#pragma once

#include <chrono>
#include <csignal>
#include <optional>

class StopSignals {
 public:
  StopSignals();
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // The first signal received since construction, or 0.
  static int Received();

  // True once a signal came more than a second ago (first asked after it
  // came): a run that has not ended by then is blocked (a report on a FIFO
  // nobody reads, a stalled disk) and is abandoned rather than waited for.
  bool GraceExpired();

 private:
  std::optional<std::chrono::steady_clock::time_point> firstSeen_;
  struct sigaction previousInterrupt_ {};
  struct sigaction previousTerminate_ {};
};
