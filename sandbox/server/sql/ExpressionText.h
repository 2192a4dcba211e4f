// The text Oracle keeps for an expression it stores itself (virtual columns,
// function-based index keys): names upper-cased and quoted, keywords and
// function names upper-cased, blanks only between words.
#pragma once

#include <string>
#include <vector>

#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

std::string StoredExpressionText(const std::vector<SqlToken>& tokens, std::size_t begin,
                                 std::size_t end);

// Names of the columns an expression refers to, in order of appearance.
std::vector<std::string> ExpressionColumns(const std::vector<SqlToken>& tokens, std::size_t begin,
                                           std::size_t end);

}  // namespace sandbox
