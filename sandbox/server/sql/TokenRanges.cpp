// Token range helpers of the statement rewriters.
#include "sandbox/server/sql/TokenRanges.h"

namespace sandbox {

int ParenDepthAt(const std::vector<SqlToken>& tokens, std::size_t at) {
  int depth = 0;
  for (std::size_t i = 0; i < at; ++i)
    depth += tokens[i].IsSymbol("(") ? 1 : tokens[i].IsSymbol(")") ? -1 : 0;
  return depth;
}

std::size_t ClosingParen(const std::vector<SqlToken>& tokens, std::size_t open) {
  int depth = 0;
  for (std::size_t i = open; i < tokens.size(); ++i) {
    depth += tokens[i].IsSymbol("(") ? 1 : tokens[i].IsSymbol(")") ? -1 : 0;
    if (depth == 0)
      return i;
  }
  return tokens.size();
}

std::string RangeText(const std::string& sql, const std::vector<SqlToken>& tokens,
                      std::size_t begin, std::size_t end) {
  if (begin >= end)
    return {};
  return sql.substr(tokens[begin].offset, tokens[end - 1].end - tokens[begin].offset);
}

std::vector<TokenRange> ListItems(const std::vector<SqlToken>& tokens, std::size_t begin,
                                  std::size_t end) {
  return SplitTokens(tokens, begin, end, [&](std::size_t i) { return tokens[i].IsSymbol(","); });
}

}  // namespace sandbox
