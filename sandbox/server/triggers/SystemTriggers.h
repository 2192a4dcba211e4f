// System triggers: those created ON SCHEMA or ON DATABASE for DDL events and
// logons rather than on a table. They are read from ALL_TRIGGERS when their
// event happens: a schema trigger fires for the statements of the user who
// owns it, a database trigger for everyone's. A trigger that fails ends the
// statement (or the logon) with "ORA-00604: error occurred at recursive SQL
// level 1" over its own error.
#pragma once

#include <string>
#include <vector>

#include "sandbox/server/Server.h"
#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

class Catalog;
class ServerSession;

struct SystemTrigger {
  std::string owner, name;
  bool before = false;
  std::vector<std::string> events;  // "CREATE", "DDL", "LOGON" ...
  std::string when;                 // the WHEN condition; empty for none
  std::string body;
  bool valid = true;

  bool FiresFor(const std::string& event) const;
};

// Whether event names a DDL event (CREATE, DROP, TRUNCATE ...).
bool IsDdlEvent(const std::string& event);

// The enabled system triggers that may fire for the session user's
// statements, in creation order.
std::vector<SystemTrigger> SessionSystemTriggers(ServerSession& session);

// Runs the triggers of timing (before or after) that event fires, with
// the event attribute functions answering for event.
bool FireSystemTriggers(ServerSession& session, const std::vector<SystemTrigger>& triggers,
                        bool before, const SystemEvent& event, OraError& error);

// The system triggers around one DDL statement: BEFORE ones fire before it
// runs, AFTER ones (that were there before it ran) once it has run, all in
// the statement's transaction, so that a failing trigger undoes the
// statement.
class DdlTriggers {
 public:
  DdlTriggers(ServerSession& session, const std::vector<SqlToken>& tokens, Catalog& catalog);
  bool Before(OraError& error);
  bool After(OraError& error);

 private:
  ServerSession& session_;
  std::vector<SystemTrigger> triggers_;
  SystemEvent event_;
  bool objectExisted_ = false;
  bool fires_ = false;
};

// The AFTER LOGON triggers of a new session. Their failure denies the logon,
// except to a user who may administer database triggers (a DBA), for whom
// it is ignored as on Oracle.
bool FireLogonTriggers(ServerSession& session, OraError& error);

// The BEFORE LOGOFF triggers of a session that ends. A failure is ignored:
// the session ends whatever its triggers do, as on Oracle.
void FireLogoffTriggers(ServerSession& session);

}  // namespace sandbox
