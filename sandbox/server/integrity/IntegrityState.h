// What a transaction of a sandbox database owes its constraints: the checks
// of deferred constraints put off to COMMIT, and the SET CONSTRAINTS choices
// that decide which deferrable constraints are deferred now.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace sandbox {

struct IntegrityState {
  // "OWNER.NAME" -> the error to give when the constraint still fails.
  std::map<std::string, std::string> commitChecks;
  std::optional<bool> allDeferred;            // SET CONSTRAINTS ALL ...
  std::map<std::string, bool> namedDeferred;  // SET CONSTRAINT name ...

  bool IsDeferred(const std::string& name, bool initiallyDeferred) const;
  void EndTransaction();
};

}  // namespace sandbox
