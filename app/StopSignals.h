// StopSignals: while it lives, Ctrl+C (SIGINT) and SIGTERM ask the headless
// run to stop as the desktop's Stop command does, so that the report written
// so far is kept and ends with the stop line. A second signal ends the
// process at once, as a user pressing Ctrl+C twice expects.
#pragma once

#include <csignal>

class StopSignals {
 public:
  StopSignals();
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // The first signal received since construction, or 0.
  static int Received();

 private:
  struct sigaction previousInterrupt_ {};
  struct sigaction previousTerminate_ {};
};
