// The value of one column of a query's current row as the server hands it
// to a session (see Value in Server.h for the forms).
#pragma once

#include <sqlite3.h>

#include "sandbox/server/Server.h"
#include "sandbox/server/functions/OracleFunctions.h"

namespace sandbox {

// fromValue: the column's type follows each value (an expression the
// translation could not type); session gives the formats of timestamps.
Value ColumnValue(sqlite3_stmt* statement, int column, const ColumnInfo& info, bool fromValue,
                  const SqlFunctionContext& session);

}  // namespace sandbox
