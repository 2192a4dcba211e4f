// ConnectionBreaker: the test hooks behind QmSandboxBreakConnections and
// QmSandboxBreakAtCall. It knows every live connection by database, breaks
// those of one database on request, breaks a given number of the logons that
// follow, and can break a connection just before the n-th execute or fetch.
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

  enum class Call { Execute = 0, Fetch = 1 };
  // Counts calls of this kind to database from now on; the n-th one (n > 0)
  // finds its connection broken. Returns the number counted since the last
  // arming of this kind.
  int ArmCallBreak(const Database& database, Call call, int n);
  // Called before a call is served on connection.
  void BeforeCall(Connection& connection, Call call);

 private:
  ConnectionBreaker() = default;
  std::vector<std::weak_ptr<Connection>> connections_;
  std::map<const Database*, int> pendingBreaks_;
  struct CallCount {
    int counted = 0;
    int breakAt = 0;
  };
  std::map<std::pair<const Database*, Call>, CallCount> callCounts_;
};

}  // namespace sandbox::oci
