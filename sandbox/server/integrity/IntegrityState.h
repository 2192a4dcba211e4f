// What a transaction of a sandbox database owes its constraints: the checks
// put off to the end of the statement (self-referencing keys) or to COMMIT
// (deferred constraints), and the SET CONSTRAINTS choices that decide which
// deferrable constraints are deferred now.
#pragma once

#include <sqlite3.h>

#include <map>
#include <optional>
#include <string>

namespace sandbox {

struct IntegrityState {
  // "OWNER.NAME" -> the error to give when the constraint still fails.
  std::map<std::string, std::string> statementChecks;
  std::map<std::string, std::string> commitChecks;
  std::optional<bool> allDeferred;            // SET CONSTRAINTS ALL ...
  std::map<std::string, bool> namedDeferred;  // SET CONSTRAINT name ...

  bool IsDeferred(const std::string& name, bool initiallyDeferred) const;
  void EndTransaction();
};

// Registers ora_constraint_now(name, message, deferrable, initiallyDeferred,
// atStatementEnd), called by the enforcement triggers on a violating row: 1
// when the violation is to be raised now, 0 when it was put off (recorded).
void RegisterIntegrityFunctions(sqlite3* db, IntegrityState* state);

}  // namespace sandbox
