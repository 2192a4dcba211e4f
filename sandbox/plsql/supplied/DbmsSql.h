// What the files of DBMS_SQL share: the session's cursors as a call finds
// them, and the routines of each file.
#pragma once

#include <string>
#include <vector>

#include "sandbox/plsql/supplied/DbmsSqlState.h"
#include "sandbox/plsql/supplied/SuppliedPackages.h"

namespace sandbox::plsql {

// The session's cursors; ORA-29471 once the session is denied them.
DbmsSqlSession& DbmsSqlStateOf(SuppliedCall& call);
// The open cursor whose number argument i holds; an unknown number (NULL
// too) gives ORA-29471 and denies the session every later call.
DbmsSqlCursor& DbmsSqlCursorArg(SuppliedCall& call, size_t i = 0);
// What argument i holds, by its declared type when it names a variable.
SqlValueKind DbmsSqlKindOf(const SuppliedCall& call, size_t i);
// ORA-06562 when an OUT argument i of a known type is not of kind.
void DbmsSqlCheckOut(const SuppliedCall& call, size_t i, SqlValueKind kind);
// A fetched or returned value as an argument of kind receives it.
PlValue DbmsSqlValue(const Value& value, SqlValueKind kind, const Session& session);

// Defining, fetching and describing columns, bind values read back, and
// cursor numbers and cursor variables turned into each other
// (DbmsSqlFetch.cpp).
const std::vector<SuppliedRoutine>& DbmsSqlFetchRoutines();

}  // namespace sandbox::plsql
