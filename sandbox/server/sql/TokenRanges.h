// Ranges of a statement's tokens as the statement rewriters read them:
// parenthesis depth, matching parentheses, the text a range covers, and the
// items of a list at one depth.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

using TokenRange = std::pair<std::size_t, std::size_t>;  // [begin, end)

int ParenDepthAt(const std::vector<SqlToken>& tokens, std::size_t at);
// The ")" that closes the "(" at open; tokens.size() when none does.
std::size_t ClosingParen(const std::vector<SqlToken>& tokens, std::size_t open);
std::string RangeText(const std::string& sql, const std::vector<SqlToken>& tokens,
                      std::size_t begin, std::size_t end);

// The non-empty parts of [begin, end) between the tokens at its own depth
// for which isSeparator(index) holds.
template <typename IsSeparator>
std::vector<TokenRange> SplitTokens(const std::vector<SqlToken>& tokens, std::size_t begin,
                                    std::size_t end, IsSeparator isSeparator) {
  std::vector<TokenRange> parts;
  std::size_t start = begin;
  int depth = 0;
  for (std::size_t i = begin; i <= end; ++i) {
    if (i == end || (depth == 0 && isSeparator(i))) {
      if (i > start)
        parts.emplace_back(start, i);
      start = i + 1;
      continue;
    }
    depth += tokens[i].IsSymbol("(") ? 1 : tokens[i].IsSymbol(")") ? -1 : 0;
  }
  return parts;
}

// The comma-separated items of [begin, end).
std::vector<TokenRange> ListItems(const std::vector<SqlToken>& tokens, std::size_t begin,
                                  std::size_t end);

}  // namespace sandbox
