// Runs one DDL statement (CREATE, DROP, ALTER, GRANT, REVOKE, TRUNCATE,
// COMMENT) of a session: commits the session's open work first, as Oracle
// does, and applies the statement and its dictionary rows as one unit.
#pragma once

#include <string>
#include <vector>

#include "sandbox/server/Server.h"
#include "sandbox/server/dictionary/Catalog.h"
#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

class ServerSession;

// What each kind of DDL statement receives.
struct DdlContext {
  ServerSession& session;
  const std::string& sql;
  const std::vector<SqlToken>& tokens;
  Catalog& catalog;
  // The schema unqualified names of the statement belong to when it is not
  // the session's current schema (an object compiled again in its owner's).
  std::string compileSchema;
  const std::string& Schema() const;
  // Checks a system privilege of the session's user (directly or through
  // roles; DBA holds them all); ORA-01031 when it is missing.
  bool Require(const std::string& privilege, OraError& error) const;
  // For objects created in another schema than the user's own, the ANY
  // privilege is needed instead.
  bool RequireFor(const std::string& owner, const std::string& privilege, OraError& error) const;
  const std::string& User() const;
  // SQLite text of an Oracle expression of tokens [begin, end), with names
  // resolved in the session's view.
  bool TranslateExpression(std::size_t begin, std::size_t end, std::string& sqliteText,
                           OraError& error) const;
  // Source text of tokens [begin, end) as written.
  std::string SourceText(std::size_t begin, std::size_t end) const;
};

class DdlExecutor {
 public:
  DdlExecutor(ServerSession& session, const std::string& sql, const std::vector<SqlToken>& tokens)
      : session_(session), sql_(sql), tokens_(tokens) {}
  bool Run(OraError& error, OraError& warning);

 private:
  bool Dispatch(DdlContext& context, OraError& error, OraError& warning);

  ServerSession& session_;
  const std::string& sql_;
  const std::vector<SqlToken>& tokens_;
};

}  // namespace sandbox
