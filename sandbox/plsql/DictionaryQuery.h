// Dictionary queries the compiler runs through the session: the rows of a
// query of the ALL_ views as the session sees them.
#pragma once

#include <string>
#include <vector>

#include "sandbox/server/Server.h"

namespace sandbox::plsql {

// text as a SQL string literal.
std::string SqlLiteral(const std::string& text);

// Every row of sql; none when the query fails.
std::vector<std::vector<Value>> DictionaryRows(Session& session, const std::string& sql);

}  // namespace sandbox::plsql
