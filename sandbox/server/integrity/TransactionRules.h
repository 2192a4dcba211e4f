// What DML and COMMIT owe the constraints and the tables of a session's
// transaction: identity columns that refuse values, checks put off to
// COMMIT, SET CONSTRAINTS, savepoints, and temporary tables emptied at
// COMMIT.
#pragma once

#include <vector>

#include "sandbox/server/Server.h"
#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

class ServerSession;

class TransactionRules {
 public:
  explicit TransactionRules(ServerSession& session) : session_(session) {}
  // ORA-32795 / ORA-32796 for an INSERT or UPDATE of a GENERATED ALWAYS
  // identity column.
  bool CheckIdentity(const std::vector<SqlToken>& tokens, OraError& error);
  // Deferred checks, then the commit; on a failed check the transaction is
  // rolled back and ORA-02091 names the constraint's own error.
  bool Commit(OraError& error);
  // SAVEPOINT name, and ROLLBACK [WORK] TO [SAVEPOINT] name, which keeps
  // the savepoint and ends those set after it (ORA-01086 for a name the
  // transaction has not set).
  bool Savepoint(const std::vector<SqlToken>& tokens, OraError& error);
  static bool NamesSavepoint(const std::vector<SqlToken>& tokens);
  bool RollbackToSavepoint(const std::vector<SqlToken>& tokens, OraError& error);
  // SET CONSTRAINT[S] {ALL | name [, name]} {IMMEDIATE | DEFERRED}
  bool SetConstraints(const std::vector<SqlToken>& tokens, OraError& error);

 private:
  ServerSession& session_;
};

}  // namespace sandbox
