// RoundTrips: the simulated network delay and the count of round trips.
#include "sandbox/oci/RoundTrips.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

namespace sandbox::oci {
namespace {

std::chrono::microseconds ConfiguredDelay() {
  const char* text = std::getenv("QUILLMARK_SANDBOX_RTT_MS");
  if (text == nullptr)
    return {};
  char* end = nullptr;
  const double milliseconds = std::strtod(text, &end);
  // A value that is no number, negative or above a minute is taken for none.
  if (end == text || !(milliseconds > 0) || milliseconds > 60000)
    return {};
  return std::chrono::microseconds(static_cast<long long>(milliseconds * 1000));
}

// Writes the count when the library goes away, if asked to.
class RoundTripLog {
 public:
  ~RoundTripLog() {
    const char* path = std::getenv("QUILLMARK_SANDBOX_ROUND_TRIP_LOG");
    if (path == nullptr || *path == '\0')
      return;
    std::ofstream log(path, std::ios::trunc);
    log << "round trips: " << count.load() << "\n";
  }
  std::atomic<std::uint64_t> count{0};
};

RoundTripLog& Log() {
  static RoundTripLog log;
  return log;
}

}  // namespace

void RoundTrip() {
  static const std::chrono::microseconds delay = ConfiguredDelay();
  ++Log().count;
  if (delay.count() > 0)
    std::this_thread::sleep_for(delay);
}

std::uint64_t RoundTripCount() {
  return Log().count.load();
}

}  // namespace sandbox::oci
