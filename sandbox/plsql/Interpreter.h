// Entry point of the PL/SQL interpreter: runs one anonymous block (text that
// starts with BEGIN or DECLARE) in a session. Queries inside the block go
// through session.OpenQuery and session.Execute with the block's variables
// passed as binds; :name placeholders of the block are read and written
// through binds. Errors are reported as Oracle reports them (ORA-06550 with
// line and column for a block that does not compile).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sandbox/server/Server.h"

namespace sandbox::plsql {

struct CompiledBlock;

bool RunAnonymousBlock(Session& session, const std::string& blockText, BindSet& binds,
                       OraError& error);

// Runs the stored function owner.unit (or member of package owner.unit) with
// arguments, for a call in SQL; the overload is chosen by the number of
// arguments. False with error set (ORA-00904 for no such function,
// ORA-06575 for one that does not compile, the function's own error else).
bool CallStoredFunction(Session& session, const std::string& owner, const std::string& unit,
                        const std::string& member, const std::vector<Value>& arguments,
                        Value& result, OraError& error);

// A trigger's body (its :NEW and :OLD references already placeholders),
// compiled through the session's cache; null with error set when it does
// not compile. The server compiles it before the rows change, so that the
// queries it describes do not meet the table in mid-change.
std::shared_ptr<const CompiledBlock> CompileTriggerBody(Session& session, const std::string& text,
                                                        OraError& error);
// Runs a compiled trigger body as the unit "OWNER.NAME": its error trail
// names the trigger's lines, counted from the body's first line.
bool RunTriggerBody(Session& session, const CompiledBlock& body, const std::string& unit,
                    BindSet& binds, OraError& error);

}  // namespace sandbox::plsql
