// The old outer-join marker: "WHERE a.id = b.a_id(+)" rewritten, in Oracle's
// dialect, as "FROM a LEFT JOIN b ON (a.id = b.a_id)", with every condition
// that marks a table moved into that table's ON clause.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sandbox/server/Server.h"
#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

// The statement with the first query block that uses (+) rewritten; nullopt
// when none does. Sets error (ORA-01719, ORA-01468, ORA-25156) for a use of
// the marker Oracle refuses.
std::optional<std::string> RewriteOuterJoinMarkers(const std::string& sql,
                                                   const std::vector<SqlToken>& tokens,
                                                   OraError& error);

}  // namespace sandbox
