// Carries out a statement's row changes against their tables' rules: fills
// DEFAULT ON NULL columns, stores values in their form, checks NOT NULL,
// checks, keys and foreign keys (cascading deletes into child tables), and
// puts deferred constraints off to COMMIT. Oracle checks immediate
// constraints when the statement ends, so a statement may insert a child
// before its parent.
#pragma once

#include "sandbox/server/Server.h"
#include "sandbox/server/integrity/RowChanges.h"

namespace sandbox {

class ServerDatabase;

class RowChecks {
 public:
  RowChecks(ServerDatabase& database, NameResolver& resolver);

  // Settles the changes of the current statement recorded since the last
  // call. A statement with row triggers settles each row before its AFTER
  // ROW triggers (statementEnd false): the checks of a foreign key into its
  // own table then wait for the call at its end.
  bool Settle(bool statementEnd, OraError& error);

 private:
  enum class Part { All, AllButSelf, SelfOnly };
  bool Complete(RowChange& change, OraError& error);
  bool Check(RowChange& change, Part part, bool& postponed, OraError& error);
  bool CheckRow(RowChange& change, Part part, bool& postponed, OraError& error);
  bool CheckChildren(RowChange& change, Part part, bool& postponed, OraError& error);
  bool Run(const TableRules& rules, const std::string& sql, const RowChange& change,
           const std::vector<SqliteValuePtr>* key, OraError& error);
  // A broken constraint: put off to COMMIT when deferred, else the error.
  bool Broken(const RuleConstraint& constraint, const std::string& message, OraError& error);

  ServerDatabase& database_;
  NameResolver& resolver_;
  RowChanges& changes_;
};

}  // namespace sandbox
