// The lock that serialises the exported entry points.
#include "sandbox/oci/ApiCall.h"

namespace sandbox::oci {

std::mutex& ApiMutex() {
  static std::mutex* mutex = new std::mutex;
  return *mutex;
}

}  // namespace sandbox::oci
