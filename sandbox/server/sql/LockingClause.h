// A query's FOR UPDATE clause. The sandbox keeps one transaction per
// database, so no other session can hold or wait for the rows a query
// would lock: the clause is read and left out.
#pragma once

#include <vector>

#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

// Drops a closing FOR UPDATE [OF column, ...] [NOWAIT | WAIT n | SKIP
// LOCKED] at the outer level from tokens; a clause of any other shape stays,
// for the statement to fail as Oracle's would.
void DropForUpdate(std::vector<SqlToken>& tokens);

}  // namespace sandbox
