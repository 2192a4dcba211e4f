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
// The open cursor whose number argument i holds, kept alive while the call
// holds it (a statement it runs may close it); an unknown number (NULL too)
// gives ORA-29471 and denies the session every later call.
std::shared_ptr<DbmsSqlCursor> DbmsSqlCursorArg(SuppliedCall& call, size_t i = 0);
// The whole number argument i holds, fallback when it is not given or NULL;
// ORA-06502 for a fraction or a number outside the 32-bit integers.
long long DbmsSqlWholeArg(const SuppliedCall& call, size_t i, long long fallback);
// What argument i holds, by its declared type when it names a variable.
SqlValueKind DbmsSqlKindOf(const SuppliedCall& call, size_t i);
// What a variable of type holds (PLS-00306 for a BOOLEAN, a record or a
// collection, which no column takes).
SqlValueKind DbmsSqlKindOfType(const TypeSpec& type, const SuppliedCall& call);
// A placeholder name as BIND_VARIABLE, BIND_ARRAY and VARIABLE_VALUE take it,
// with or without its colon, upper case.
std::string DbmsSqlBindName(const SuppliedCall& call, size_t i);
// The name argument i as a placeholder of the statement (ORA-01006 when the
// statement has none of that name).
std::string DbmsSqlPlaceholderArg(const SuppliedCall& call, const DbmsSqlCursor& cursor, size_t i);
// ORA-06562 when an OUT argument i of a known type is not of kind.
void DbmsSqlCheckOut(const SuppliedCall& call, size_t i, SqlValueKind kind);
// A fetched or returned value as an argument of kind receives it.
PlValue DbmsSqlValue(const Value& value, SqlValueKind kind, const Session& session);

// Defining, fetching and describing columns, bind values read back, and
// cursor numbers and cursor variables turned into each other
// (DbmsSqlFetch.cpp).
const std::vector<SuppliedRoutine>& DbmsSqlFetchRoutines();
// BIND_ARRAY, DEFINE_ARRAY and COLUMN_VALUE into a table (DbmsSqlArrays.cpp).
const std::vector<SuppliedRoutine>& DbmsSqlArrayRoutines();
// The value of a fetched column from COLUMN_VALUE's point of view, for
// both files: the define at position (ORA-01007 when there is none).
SqlDefine& DbmsSqlDefineAt(DbmsSqlCursor& cursor, long long position);
long long DbmsSqlPositionArg(const SuppliedCall& call, const DbmsSqlCursor& cursor, size_t i);

}  // namespace sandbox::plsql
