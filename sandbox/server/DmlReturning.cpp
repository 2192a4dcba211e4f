// INSERT, UPDATE and DELETE ... RETURNING expressions INTO :binds: the
// statement runs with SQLite's RETURNING and the values of the one row it
// changed are given to the binds (NULL when it changed none), or every row
// to binds that take them all.
#include "sandbox/server/ColumnValues.h"
#include "sandbox/server/ServerSession.h"

namespace sandbox {

namespace {

// The token of RETURNING (or RETURN) and of its INTO at the statement's own
// level; tokens.size() for none.
void FindReturningInto(const std::vector<SqlToken>& tokens, std::size_t& returning,
                       std::size_t& into) {
  returning = into = tokens.size();
  int depth = 0;
  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const SqlToken& t = tokens[i];
    depth += t.IsSymbol("(") ? 1 : t.IsSymbol(")") ? -1 : 0;
    if (depth != 0)
      continue;
    if (returning == tokens.size() && (t.IsWord("RETURNING") || t.IsWord("RETURN")))
      returning = i;
    else if (returning != tokens.size() && t.IsWord("INTO"))
      into = i;
  }
}

}  // namespace

std::vector<Value> ServerSession::ReturnedRow(sqlite3_stmt* statement) {
  std::vector<Value> row;
  const ColumnInfo typedByValue;
  for (int c = 0; c < sqlite3_column_count(statement); ++c)
    row.push_back(ColumnValue(statement, c, typedByValue, true, database_->Functions()));
  return row;
}

bool ServerSession::ExecuteReturning(const std::string& sql, const std::vector<SqlToken>& tokens,
                                     BindSet& binds, std::uint64_t& rowsProcessed,
                                     OraError& error) {
  std::size_t returning = 0, into = 0;
  FindReturningInto(tokens, returning, into);
  if (into == tokens.size())
    return ExecuteDml(sql, tokens, binds, rowsProcessed, error);
  std::vector<std::string> targets;
  for (std::size_t i = into + 1; i < tokens.size(); i += 2) {
    if (tokens[i].type != SqlToken::Type::Bind ||
        (i + 1 < tokens.size() && !tokens[i + 1].IsSymbol(",") && !tokens[i + 1].IsSymbol(";"))) {
      error = {933, "SQL command not properly ended"};
      return false;
    }
    targets.push_back(tokens[i].text);
  }
  int expressions = 1, depth = 0;
  for (std::size_t i = returning + 1; i < into; ++i) {
    depth += tokens[i].IsSymbol("(") ? 1 : tokens[i].IsSymbol(")") ? -1 : 0;
    expressions += depth == 0 && tokens[i].IsSymbol(",") ? 1 : 0;
  }
  if (expressions != static_cast<int>(targets.size())) {
    error = expressions < static_cast<int>(targets.size()) ? OraError{947, "not enough values"}
                                                           : OraError{913, "too many values"};
    return false;
  }
  const std::string statementSql = sql.substr(0, tokens[into].offset);
  const std::vector<SqlToken> statementTokens(tokens.begin(),
                                              tokens.begin() + static_cast<long>(into));
  std::vector<std::vector<Value>> returned;
  if (!ExecuteDml(statementSql, statementTokens, binds, rowsProcessed, error, &returned))
    return false;
  if (binds.TakesReturnedRows()) {
    binds.SetReturnedRows(std::move(returned));
    return true;
  }
  for (std::size_t i = 0; i < targets.size(); ++i) {
    const Value value = returned.empty() || i >= returned[0].size() ? Value() : returned[0][i];
    if (!binds.Set(targets[i], value, error))
      return false;
  }
  return true;
}

}  // namespace sandbox
