// Constraint checks at COMMIT, identity guards, SET CONSTRAINTS.
#include "sandbox/server/integrity/TransactionRules.h"

#include <cstdio>

#include "sandbox/server/ServerSession.h"
#include "sandbox/server/dictionary/Dictionary.h"
#include "sandbox/server/integrity/ConstraintRules.h"
#include "sandbox/server/sql/TokenStream.h"

namespace sandbox {

namespace {

std::string OraText(const OraError& error) {
  char code[16];
  std::snprintf(code, sizeof code, "ORA-%05d: ", error.code);
  return code + error.message;
}

}  // namespace

bool TransactionRules::CheckIdentity(const std::vector<SqlToken>& tokens, OraError& error) {
  const bool insert = tokens[0].IsWord("INSERT");
  TokenStream in(tokens, 1);
  if (insert && !in.AcceptWord("INTO"))
    return true;
  std::string schema, name;
  OraError ignored;
  if (!in.ReadQualifiedName(schema, name, "", ignored))
    return true;
  const auto storage = session_.ResolveTable(schema, name);
  if (!storage)
    return true;
  std::string owner, table;
  if (!SplitStorageName(*storage, owner, table))
    return true;  // a dictionary view
  SqliteRunner runner(session_.Server().Handle());
  std::vector<std::vector<std::string>> always;
  runner.Query(
      "SELECT COLUMN_NAME FROM \"SYS.ALL_TAB_IDENTITY_COLS\" WHERE OWNER = ? AND TABLE_NAME = ? "
      "AND GENERATION_TYPE = 'ALWAYS'",
      {Value::Text(owner), Value::Text(table)}, always);
  if (always.empty())
    return true;
  const std::string& column = always[0][0];
  if (insert) {
    if (in.Peek().type == SqlToken::Type::Word && !in.Peek().IsWord("VALUES") &&
        !in.Peek().IsWord("SELECT") && !in.Peek().IsWord("WITH"))
      in.Skip();  // alias
    bool named = !in.Peek().IsSymbol("(") || in.Peek(1).IsWord("SELECT");
    if (!named) {
      std::vector<std::string> columns;
      if (in.ReadNameList(columns, ignored))
        for (const std::string& c : columns)
          named = named || c == column;
    }
    if (named)
      error = {32795, "cannot insert into a generated always identity column"};
    return !named;
  }
  // UPDATE: a SET list that names the column.
  for (std::size_t i = in.Position(); i + 1 < tokens.size(); ++i)
    if ((tokens[i].Upper() == column) && tokens[i + 1].IsSymbol("=") &&
        (tokens[i - 1].IsWord("SET") || tokens[i - 1].IsSymbol(",") ||
         tokens[i - 1].IsSymbol("."))) {
      error = {32796, "cannot update a generated always identity column"};
      return false;
    }
  return true;
}

bool TransactionRules::Commit(OraError& error) {
  ServerDatabase& database = session_.Server();
  IntegrityState& state = database.Integrity();
  if (!state.commitChecks.empty()) {
    ConstraintRules rules(database, session_);
    OraError failed;
    if (!rules.CheckPut(state.commitChecks, failed)) {
      database.RollbackWork();
      error = {2091, "transaction rolled back\n" + OraText(failed)};
      return false;
    }
  }
  SqliteRunner runner(database.Handle());
  std::vector<std::vector<std::string>> temporary;
  runner.Query(
      "SELECT OWNER, TABLE_NAME FROM \"SYS.ALL_TABLES\" WHERE DURATION = 'SYS$TRANSACTION'", {},
      temporary);
  for (const auto& table : temporary)
    runner.Exec("DELETE FROM " + QuoteSqliteName(StorageName(table[0], table[1])));
  database.CommitWork();
  return true;
}

namespace {

// The SQLite name of a user's savepoint, apart from the server's own.
std::string SavepointName(const std::string& name) {
  return "sp:" + name;
}

// The savepoint name that ends the statement.
bool ReadSavepointName(TokenStream& in, std::string& name, OraError& error) {
  if (!in.ReadName(name, error, 922, "missing or invalid option"))
    return false;
  if (in.AtEnd())
    return true;
  error = {933, "SQL command not properly ended"};
  return false;
}

}  // namespace

bool TransactionRules::Savepoint(const std::vector<SqlToken>& tokens, OraError& error) {
  TokenStream in(tokens, 1);
  std::string name;
  if (!ReadSavepointName(in, name, error))
    return false;
  ServerDatabase& database = session_.Server();
  database.BeginWork();
  database.Work().Savepoint(SavepointName(name));
  return true;
}

bool TransactionRules::NamesSavepoint(const std::vector<SqlToken>& tokens) {
  const std::size_t at = tokens.size() > 1 && tokens[1].IsWord("WORK") ? 2 : 1;
  return tokens.size() > at && tokens[at].IsWord("TO");
}

bool TransactionRules::RollbackToSavepoint(const std::vector<SqlToken>& tokens, OraError& error) {
  TokenStream in(tokens, tokens[1].IsWord("WORK") ? 3 : 2);
  in.AcceptWord("SAVEPOINT");
  std::string name;
  if (!ReadSavepointName(in, name, error))
    return false;
  if (!session_.Server().Work().RollbackTo(SavepointName(name))) {
    error = {1086, "savepoint '" + name + "' never established in this session or is invalid"};
    return false;
  }
  return true;
}

bool TransactionRules::SetConstraints(const std::vector<SqlToken>& tokens, OraError& error) {
  TokenStream in(tokens, 1);
  if (!in.AcceptWord("CONSTRAINTS") && !in.AcceptWord("CONSTRAINT")) {
    error = {922, "missing or invalid option"};
    return false;
  }
  std::vector<std::pair<std::string, std::string>> named;
  const bool all = in.AcceptWord("ALL");
  if (!all)
    do {
      std::string owner, name;
      if (!in.ReadQualifiedName(owner, name, session_.CurrentSchema(), error, 904,
                                "invalid identifier"))
        return false;
      named.emplace_back(owner, name);
    } while (in.AcceptSymbol(","));
  const bool deferred = in.AcceptWord("DEFERRED");
  if (!deferred && !in.AcceptWord("IMMEDIATE")) {
    error = {905, "missing keyword"};
    return false;
  }
  if (!in.AtEnd()) {
    error = {933, "SQL command not properly ended"};
    return false;
  }
  ServerDatabase& database = session_.Server();
  IntegrityState& state = database.Integrity();
  SqliteRunner runner(database.Handle());
  for (const auto& [owner, name] : named) {
    std::vector<std::vector<std::string>> rows;
    runner.Query(
        "SELECT \"DEFERRABLE\" FROM \"SYS.ALL_CONSTRAINTS\" WHERE OWNER = ? AND CONSTRAINT_NAME = "
        "?",
        {Value::Text(owner), Value::Text(name)}, rows);
    if (rows.empty()) {
      error = {2448, "constraint does not exist"};
      return false;
    }
    if (rows[0][0] != "DEFERRABLE") {
      error = {2447, "cannot defer a constraint that is not deferrable"};
      return false;
    }
  }
  database.BeginWork();
  const IntegrityState before = state;
  if (all) {
    state.allDeferred = deferred;
    state.namedDeferred.clear();
  }
  for (const auto& [owner, name] : named)
    state.namedDeferred[owner + "." + name] = deferred;
  if (deferred)
    return true;
  // Checks that are immediate again are made now; the transaction stays.
  std::map<std::string, std::string> now;
  for (auto it = state.commitChecks.begin(); it != state.commitChecks.end();) {
    if (all || state.namedDeferred.count(it->first)) {
      now.insert(*it);
      it = state.commitChecks.erase(it);
    } else {
      ++it;
    }
  }
  ConstraintRules rules(database, session_);
  if (rules.CheckPut(now, error))
    return true;
  state = before;  // a failed SET CONSTRAINTS changes no mode
  return false;
}

}  // namespace sandbox
