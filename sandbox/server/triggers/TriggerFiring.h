// Fires the triggers of one DML statement: compiles the bodies of those its
// event fires before any row changes, then runs them at each timing, row by
// row with the row's values bound to :NEW and :OLD. A trigger's error ends
// with "ORA-04088: error during execution of trigger 'OWNER.NAME'".
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sandbox/plsql/BlockCache.h"
#include "sandbox/server/Server.h"
#include "sandbox/server/triggers/TableTriggers.h"

namespace sandbox {

namespace plsql {
struct TriggerState;
}

class ServerSession;

// The row a row trigger sees, by TableTriggers::columns. :NEW of a DELETE
// and :OLD of an INSERT are NULL; assigned marks the columns BEFORE ROW
// triggers set.
struct TriggerRow {
  std::vector<Value> oldValues, newValues;
  std::vector<bool> assigned;
};

class TriggerFiring {
 public:
  // setColumns: the columns an UPDATE sets (UPDATE OF and UPDATING('col')).
  TriggerFiring(ServerSession& session, const TableTriggers& table, DmlEvent event,
                std::vector<std::string> setColumns);

  // Compiles the enabled triggers the event fires; ORA-04098 for one that
  // stays INVALID when compiled again or that our compiler cannot compile,
  // ORA-00036 past the nesting limit.
  bool Prepare(OraError& error);
  bool HasRowTriggers(TableTrigger::Timing timing) const;
  // Fires the triggers of a timing: statement triggers when row is null.
  bool Fire(TableTrigger::Timing timing, TriggerRow* row, OraError& error);

 private:
  struct Ready {
    const TableTrigger* trigger;
    std::shared_ptr<const plsql::CompiledBlock> body;
    // A compound trigger's declarations, fresh for each statement.
    std::shared_ptr<plsql::TriggerState> state;
  };
  // Whether the trigger fires at a timing, for a row or for the statement.
  static bool FiresAt(const Ready& ready, TableTrigger::Timing timing, bool forRow);
  bool FireOne(const Ready& ready, TableTrigger::Timing timing, TriggerRow* row, OraError& error);
  bool WhenHolds(const TableTrigger& trigger, BindSet& binds, bool& holds, OraError& error);

  ServerSession& session_;
  const TableTriggers& table_;
  DmlEvent event_;
  std::vector<std::string> setColumns_;
  std::vector<Ready> ready_;
};

}  // namespace sandbox
