// MERGE INTO target USING source ON (condition) WHEN [NOT] MATCHED THEN ...
// as the UPDATE, DELETE and INSERT statements that do its work, in Oracle's
// dialect, for the session to run in order as one statement.
#pragma once

#include <string>
#include <vector>

#include "sandbox/server/Server.h"
#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

// False with Oracle's parse error for a MERGE it cannot read.
bool RewriteMerge(const std::string& sql, const std::vector<SqlToken>& tokens,
                  std::vector<std::string>& statements, OraError& error);

}  // namespace sandbox
