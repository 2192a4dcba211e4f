// Ctrl+C and SIGTERM as a stop request of the headless run.
#include "app/StopSignals.h"

namespace {

volatile std::sig_atomic_t received = 0;

extern "C" void OnStopSignal(int signal) {
  if (received == 0) {
    received = signal;
  }
  // The next one takes the default action: the user insists.
  std::signal(signal, SIG_DFL);
}

void Install(int signal, struct sigaction& previous) {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  // Interrupted reads and writes of the run go on instead of failing.
  action.sa_flags = SA_RESTART;
  sigaction(signal, &action, &previous);
}

}  // namespace

StopSignals::StopSignals() {
  received = 0;
  Install(SIGINT, previousInterrupt_);
  Install(SIGTERM, previousTerminate_);
}

StopSignals::~StopSignals() {
  sigaction(SIGINT, &previousInterrupt_, nullptr);
  sigaction(SIGTERM, &previousTerminate_, nullptr);
}

int StopSignals::Received() {
  return received;
}

bool StopSignals::GraceExpired() {
  constexpr auto grace = std::chrono::seconds(1);
  if (received == 0) {
    return false;
  }
  const auto now = std::chrono::steady_clock::now();
  if (!firstSeen_) {
    firstSeen_ = now;
  }
  return now - *firstSeen_ >= grace;
}
