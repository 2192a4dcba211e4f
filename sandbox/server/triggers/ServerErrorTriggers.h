// SERVERERROR triggers: they fire when a client's call fails, with the
// call's error stack for ORA_SERVER_ERROR(n), ORA_SERVER_ERROR_MSG(n),
// ORA_SERVER_ERROR_DEPTH and ORA_IS_SERVERERROR(code). The call's error
// goes back to the client as it was, whatever the triggers do.
#pragma once

#include <vector>

#include "sandbox/server/Server.h"

namespace sandbox {

class ServerSession;

// The errors of an error's text, top first: its own code and first line, then
// each "ORA-nnnnn: " or "PLS-nnnnn: " line below it (a line of neither kind
// goes on the message above it).
std::vector<SystemEvent::Error> ErrorStack(const OraError& error);

// Fires the AFTER SERVERERROR triggers of the session for a call that failed
// with error, unless it is one Oracle fires none for (ORA-01403, ORA-01422,
// ORA-01423, ORA-01034, ORA-04030, ORA-00018, ORA-00020). inTransaction: a
// transaction was open when the call began; the triggers' work then joins
// it, and what their autonomous blocks commit outlives its rollback. Else
// their work is committed after they fire. A failing trigger's work is
// undone and its error dropped.
void FireServerErrorTriggers(ServerSession& session, const OraError& error, bool inTransaction);

}  // namespace sandbox
