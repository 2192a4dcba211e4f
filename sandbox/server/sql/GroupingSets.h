// GROUP BY with ROLLUP, CUBE and GROUPING SETS, which SQLite lacks, rewritten
// in Oracle's dialect as the UNION ALL of one plain GROUP BY per grouping set:
// columns outside a set read NULL there, and GROUPING() and GROUPING_ID()
// become the constants they have in it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sandbox/server/Server.h"
#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

// The statement with its first such query block rewritten; nullopt when it
// has none. Sets error for a grouping clause Oracle would refuse.
std::optional<std::string> RewriteGroupingSets(const std::string& sql,
                                               const std::vector<SqlToken>& tokens,
                                               OraError& error);

}  // namespace sandbox
