// ConnectionBreaker: bookkeeping of live connections and pending breaks.
#include "sandbox/oci/ConnectionBreaker.h"

#include <algorithm>

namespace sandbox::oci {

ConnectionBreaker& ConnectionBreaker::Instance() {
  static ConnectionBreaker* breaker = new ConnectionBreaker;
  return *breaker;
}

void ConnectionBreaker::Register(const std::shared_ptr<Connection>& connection) {
  std::erase_if(connections_, [](const std::weak_ptr<Connection>& c) { return c.expired(); });
  connections_.push_back(connection);
  auto pending = pendingBreaks_.find(&connection->GetDatabase());
  if (pending != pendingBreaks_.end() && pending->second > 0) {
    --pending->second;
    connection->Break();
  }
}

int ConnectionBreaker::BreakAll(const Database& database, int laterLogons) {
  int broken = 0;
  for (const std::weak_ptr<Connection>& weak : connections_) {
    std::shared_ptr<Connection> connection = weak.lock();
    if (connection && &connection->GetDatabase() == &database && connection->Break())
      ++broken;
  }
  pendingBreaks_[&database] = std::max(laterLogons, 0);
  return broken;
}

int ConnectionBreaker::ArmCallBreak(const Database& database, Call call, int n) {
  CallCount& count = callCounts_[{&database, call}];
  const int counted = count.counted;
  count = CallCount{0, std::max(n, 0)};
  return counted;
}

void ConnectionBreaker::BeforeCall(Connection& connection, Call call) {
  const auto found = callCounts_.find({&connection.GetDatabase(), call});
  if (found == callCounts_.end()) {
    return;
  }
  if (++found->second.counted == found->second.breakAt) {
    connection.Break();
  }
}

}  // namespace sandbox::oci
