// Hierarchical queries (START WITH ... CONNECT BY [NOCYCLE] PRIOR ...) with
// LEVEL, PRIOR, CONNECT_BY_ROOT, SYS_CONNECT_BY_PATH and CONNECT_BY_ISLEAF,
// rewritten in Oracle's dialect as a recursive WITH over the query block's
// FROM list (a table, view, subquery or join), rows in depth-first order.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sandbox/server/Server.h"
#include "sandbox/server/sql/SqlToken.h"
#include "sandbox/server/sql/SqlTranslator.h"

namespace sandbox {

// The statement with its first hierarchical query block rewritten; nullopt
// when it has none. Sets error for a block without FROM (ORA-00923).
// A select list of "*" (or "alias.*") over one FROM item names the item's
// columns, which resolver describes, so that the hierarchy's own do not show.
std::optional<std::string> RewriteHierarchicalQuery(const std::string& sql,
                                                    const std::vector<SqlToken>& tokens,
                                                    NameResolver& resolver, OraError& error);

}  // namespace sandbox
