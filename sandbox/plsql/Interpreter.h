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
struct TriggerState;
enum class TimingPoint;

bool RunAnonymousBlock(Session& session, const std::string& blockText, BindSet& binds,
                       OraError& error);

// Runs the stored function owner.unit (or member of package owner.unit) with
// arguments, for a call in SQL; the overload is chosen by the number of
// arguments. False with error set (ORA-00904 for no such function,
// ORA-06575 for one that does not compile, the function's own error else).
bool CallStoredFunction(Session& session, const std::string& owner, const std::string& unit,
                        const std::string& member, const std::vector<Value>& arguments,
                        Value& result, OraError& error);

// "OWNER.NAME" of the schema-level object or collection type that the
// stored function owner.unit (or member of package owner.unit) taking
// arguments arguments returns; empty for any other result or function.
std::string StoredFunctionResultType(Session& session, const std::string& owner,
                                     const std::string& unit, const std::string& member,
                                     size_t arguments);

// One row of a unit's compilation errors, as ALL_ERRORS lists it.
struct UnitErrorRow {
  int line = 0;
  int position = 0;
  int number = 0;    // of PLS-nnnnn; 0 for "PL/SQL: Statement ignored"
  std::string text;  // "PLS-00306: wrong number or types of arguments in call to 'P'"
};
// The errors the interpreter's compiler finds in the stored unit owner.name
// of type (PROCEDURE, FUNCTION, PACKAGE or PACKAGE BODY) as the dictionary
// holds it now: none when it compiles, or fails only on a construct the
// interpreter lacks rather than on a mistake in the code.
std::vector<UnitErrorRow> StoredUnitErrors(Session& session, const std::string& owner,
                                           const std::string& name, const std::string& type);

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
// Runs the section for point of a compiled compound trigger (nothing when it
// has none), its declarations kept in state for the triggering statement.
bool RunTriggerSection(Session& session, const CompiledBlock& body, TimingPoint point,
                       TriggerState& state, const std::string& unit, BindSet& binds,
                       OraError& error);

}  // namespace sandbox::plsql
