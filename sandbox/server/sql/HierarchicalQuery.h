// Hierarchical queries (START WITH ... CONNECT BY [NOCYCLE] PRIOR ...) with
// LEVEL, rewritten in Oracle's dialect as a recursive WITH over the one
// table of the query block, rows in depth-first order.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sandbox/server/Server.h"
#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

// The statement with its first hierarchical query block rewritten; nullopt
// when it has none. Sets error for a form that is not kept (a join in the
// FROM list of such a block gives ORA-01437).
std::optional<std::string> RewriteHierarchicalQuery(const std::string& sql,
                                                    const std::vector<SqlToken>& tokens,
                                                    OraError& error);

}  // namespace sandbox
