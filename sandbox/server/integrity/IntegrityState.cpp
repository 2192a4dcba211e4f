// The deferral decisions of a transaction's constraints.
#include "sandbox/server/integrity/IntegrityState.h"

namespace sandbox {

bool IntegrityState::IsDeferred(const std::string& name, bool initiallyDeferred) const {
  if (const auto found = namedDeferred.find(name); found != namedDeferred.end())
    return found->second;
  return allDeferred.value_or(initiallyDeferred);
}

void IntegrityState::EndTransaction() {
  commitChecks.clear();
  allDeferred.reset();
  namedDeferred.clear();
}

}  // namespace sandbox
