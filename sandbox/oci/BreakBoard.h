// BreakBoard: which connection a server or service context handle is logged
// on through, readable without the library's lock. OCIBreak comes from
// another thread while the call it must end runs and holds that lock, so it
// finds the session to interrupt here instead of in the handle registry.
#pragma once

#include <memory>
#include <mutex>
#include <unordered_map>

#include "sandbox/oci/Connection.h"

namespace sandbox::oci {

class BreakBoard {
 public:
  static BreakBoard& Instance();

  // Called when a session begins through these handles (client pointers).
  void Enter(const void* handle, const std::shared_ptr<Connection>& connection);
  // Asks the session logged on through handle to end its statement with
  // ORA-01013; false when no session was logged on through it.
  bool Interrupt(const void* handle);
  // Withdraws a break that ended no statement; false as for Interrupt.
  bool Reset(const void* handle);

 private:
  BreakBoard() = default;
  std::shared_ptr<Connection> Find(const void* handle);

  std::mutex mutex_;
  std::unordered_map<const void*, std::weak_ptr<Connection>> connections_;
};

}  // namespace sandbox::oci
