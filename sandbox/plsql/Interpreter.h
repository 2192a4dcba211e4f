// Entry point of the PL/SQL interpreter: runs one anonymous block (text that
// starts with BEGIN or DECLARE) in a session. Queries inside the block go
// through session.OpenQuery and session.Execute with the block's variables
// passed as binds; :name placeholders of the block are read and written
// through binds. Errors are reported as Oracle reports them (ORA-06550 with
// line and column for a block that does not compile).
#pragma once

#include <string>

#include "sandbox/server/Server.h"

namespace sandbox::plsql {

bool RunAnonymousBlock(Session& session, const std::string& blockText, BindSet& binds,
                       OraError& error);

}  // namespace sandbox::plsql
