// BreakBoard: the handle-to-connection table of OCIBreak and OCIReset.
#include "sandbox/oci/BreakBoard.h"

namespace sandbox::oci {

BreakBoard& BreakBoard::Instance() {
  // Never destroyed: a late break from another thread may still come.
  static BreakBoard* board = new BreakBoard;
  return *board;
}

void BreakBoard::Enter(const void* handle, const std::shared_ptr<Connection>& connection) {
  std::lock_guard lock(mutex_);
  std::erase_if(connections_, [](const auto& entry) { return entry.second.expired(); });
  connections_[handle] = connection;
}

std::shared_ptr<Connection> BreakBoard::Find(const void* handle) {
  std::lock_guard lock(mutex_);
  const auto found = connections_.find(handle);
  return found != connections_.end() ? found->second.lock() : nullptr;
}

bool BreakBoard::Interrupt(const void* handle) {
  const std::shared_ptr<Connection> connection = Find(handle);
  if (!connection)
    return false;
  connection->GetSession().Interrupt();
  return true;
}

bool BreakBoard::Reset(const void* handle) {
  const std::shared_ptr<Connection> connection = Find(handle);
  if (!connection)
    return false;
  connection->GetSession().TakeInterrupt();
  return true;
}

}  // namespace sandbox::oci
