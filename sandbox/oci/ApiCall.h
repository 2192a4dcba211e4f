// ApiCall: the frame of every exported entry point. Calls are serialised (the
// sandbox's server state is not thread-safe, and a client may use different
// handles from different threads), and no C++ exception ever crosses into the
// C caller: a failure to allocate becomes OCI_ERROR.
#pragma once

#include <exception>
#include <mutex>

#include "oracle/OciApi.h"
#include "sandbox/oci/HandleRegistry.h"

namespace sandbox::oci {

std::mutex& ApiMutex();

template <class Body>
sword ApiCall(Body&& body) noexcept {
  try {
    std::lock_guard<std::mutex> lock(ApiMutex());
    return body(HandleRegistry::Instance());
  } catch (...) {
    return OCI_ERROR;
  }
}

// The opaque pointer that a client receives for a handle.
inline void* ToClient(Handle* handle) {
  return handle;
}

}  // namespace sandbox::oci
