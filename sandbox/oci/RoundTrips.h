// RoundTrips: the calls that would travel to a real server and back. Each is
// counted, and delayed by $QUILLMARK_SANDBOX_RTT_MS milliseconds (fractions
// allowed; unset or 0: no delay) so that a benchmark can show what a network
// costs. With $QUILLMARK_SANDBOX_ROUND_TRIP_LOG naming a file, the count is
// written there ("round trips: N") when the library is unloaded.
#pragma once

#include <cstdint>

namespace sandbox::oci {

// One round trip: counts it and waits the simulated delay.
void RoundTrip();
std::uint64_t RoundTripCount();

}  // namespace sandbox::oci
