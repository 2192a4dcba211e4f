// Entry point of the PL/SQL interpreter: runs one anonymous block (text that
// starts with BEGIN or DECLARE) in a session. Queries inside the block go
// through session.OpenQuery and session.Execute with the block's variables
// passed as binds; :name placeholders of the block are read and written
// through binds. Errors are reported as Oracle reports them (ORA-06550 with
// line and column for a block that does not compile).
#pragma once

#include <string>
#include <vector>

#include "sandbox/server/Server.h"

namespace sandbox::plsql {

bool RunAnonymousBlock(Session& session, const std::string& blockText, BindSet& binds,
                       OraError& error);

// Runs the stored function owner.unit (or member of package owner.unit) with
// arguments, for a call in SQL; the overload is chosen by the number of
// arguments. False with error set (ORA-00904 for no such function,
// ORA-06575 for one that does not compile, the function's own error else).
bool CallStoredFunction(Session& session, const std::string& owner, const std::string& unit,
                        const std::string& member, const std::vector<Value>& arguments,
                        Value& result, OraError& error);

}  // namespace sandbox::plsql
