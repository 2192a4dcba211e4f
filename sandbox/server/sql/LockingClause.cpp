// Reading and leaving out a query's FOR UPDATE clause.
#include "sandbox/server/sql/LockingClause.h"

#include "sandbox/server/sql/TokenRanges.h"

namespace sandbox {

namespace {

bool IsName(const SqlToken& token) {
  return token.type == SqlToken::Type::Word || token.type == SqlToken::Type::QuotedName;
}

// Where the column list of OF that starts at at ends: names, each maybe
// qualified, separated by commas; at itself when there is none.
std::size_t ColumnListEnd(const std::vector<SqlToken>& tokens, std::size_t at) {
  std::size_t end = at;
  for (std::size_t i = at; i < tokens.size() && IsName(tokens[i]);) {
    while (i + 2 < tokens.size() && tokens[i + 1].IsSymbol(".") && IsName(tokens[i + 2]))
      i += 2;
    end = ++i;
    if (i + 1 >= tokens.size() || !tokens[i].IsSymbol(","))
      break;
    ++i;
  }
  return end;
}

// Whether tokens from at on are a whole locking clause after FOR UPDATE.
bool EndsTheClause(const std::vector<SqlToken>& tokens, std::size_t at) {
  if (at < tokens.size() && tokens[at].IsWord("OF")) {
    const std::size_t end = ColumnListEnd(tokens, at + 1);
    if (end == at + 1)
      return false;
    at = end;
  }
  if (at < tokens.size() && tokens[at].IsWord("NOWAIT"))
    ++at;
  else if (at + 1 < tokens.size() && tokens[at].IsWord("WAIT") &&
           tokens[at + 1].type == SqlToken::Type::Number)
    at += 2;
  else if (at + 1 < tokens.size() && tokens[at].IsWord("SKIP") && tokens[at + 1].IsWord("LOCKED"))
    at += 2;
  return at == tokens.size();
}

}  // namespace

void DropForUpdate(std::vector<SqlToken>& tokens) {
  for (std::size_t i = 0; i + 1 < tokens.size(); ++i) {
    if (tokens[i].IsWord("FOR") && tokens[i + 1].IsWord("UPDATE") && ParenDepthAt(tokens, i) == 0 &&
        EndsTheClause(tokens, i + 2)) {
      tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(i), tokens.end());
      return;
    }
  }
}

}  // namespace sandbox
