// ConnectionBreaker: the test hook behind QmSandboxBreakConnections. It knows
// every live connection by database, breaks those of one database on request
// and breaks a given number of the logons that follow.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "sandbox/oci/Connection.h"

namespace sandbox::oci {

class ConnectionBreaker {
 public:
  static ConnectionBreaker& Instance();

  // Enters a new logon; it is broken at once when breaks are pending for its database.
  void Register(const std::shared_ptr<Connection>& connection);
  // Breaks every open connection to database and the next laterLogons logons
  // to it; returns the number broken now.
  int BreakAll(const Database& database, int laterLogons);

 private:
  ConnectionBreaker() = default;
  std::vector<std::weak_ptr<Connection>> connections_;
  std::map<const Database*, int> pendingBreaks_;
};

}  // namespace sandbox::oci
