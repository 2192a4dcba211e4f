// Dispatch of DDL statements to the parts that carry them out.
#include "sandbox/server/ddl/DdlExecutor.h"

#include "sandbox/server/ServerSession.h"
#include "sandbox/server/ddl/CommentSynonymDdl.h"
#include "sandbox/server/ddl/DatabaseLinkDdl.h"
#include "sandbox/server/ddl/ForeignKindDdl.h"
#include "sandbox/server/ddl/MaterializedViewDdl.h"
#include "sandbox/server/ddl/SequenceViewDdl.h"
#include "sandbox/server/ddl/StoredUnitDdl.h"
#include "sandbox/server/ddl/TableDdl.h"
#include "sandbox/server/ddl/UserDdl.h"
#include "sandbox/server/integrity/TransactionRules.h"
#include "sandbox/server/sql/SqlTranslator.h"
#include "sandbox/server/triggers/SystemTriggers.h"

namespace sandbox {

const std::string& DdlContext::Schema() const {
  return compileSchema.empty() ? session.CurrentSchema() : compileSchema;
}

const std::string& DdlContext::User() const {
  return session.UserName();
}

bool DdlContext::Require(const std::string& privilege, OraError& error) const {
  const bool held = catalog.Any(
      "WITH RECURSIVE held(name) AS (SELECT ?1 UNION SELECT GRANTED_ROLE FROM "
      "\"SYS.DBA_ROLE_PRIVS\", held "
      "WHERE GRANTEE = held.name) SELECT 1 FROM held WHERE name = 'DBA' UNION SELECT 1 FROM "
      "\"SYS.DBA_SYS_PRIVS\" WHERE PRIVILEGE = ?2 AND GRANTEE IN (SELECT name FROM held)",
      {Value::Text(User()), Value::Text(privilege)});
  if (!held)
    error = {1031, "insufficient privileges"};
  return held;
}

bool DdlContext::RequireFor(const std::string& owner, const std::string& privilege,
                            OraError& error) const {
  if (owner == User())
    return Require(privilege, error);
  const std::size_t space = privilege.find(' ');
  return Require(privilege.substr(0, space) + " ANY" + privilege.substr(space), error);
}

bool DdlContext::TranslateExpression(std::size_t begin, std::size_t end, std::string& sqliteText,
                                     OraError& error) const {
  const std::vector<SqlToken> part(tokens.begin() + static_cast<std::ptrdiff_t>(begin),
                                   tokens.begin() + static_cast<std::ptrdiff_t>(end));
  SqlTranslator translator(part, sql, session);
  TranslatedStatement translated;
  if (!translator.Translate(translated, error))
    return false;
  if (!translated.bindNames.empty()) {
    error = {1027, "bind variables not allowed for data definition operations"};
    return false;
  }
  sqliteText = translated.sql;
  return true;
}

std::string DdlContext::SourceText(std::size_t begin, std::size_t end) const {
  if (begin >= end)
    return {};
  return sql.substr(tokens[begin].offset, tokens[end - 1].end - tokens[begin].offset);
}

bool DdlExecutor::Run(OraError& error, OraError& warning) {
  ServerDatabase& database = session_.Server();
  if (!TransactionRules(session_).Commit(error))
    return false;
  Catalog catalog(database);
  DdlContext context{session_, sql_, tokens_, catalog, {}};
  // The statement, and what the system triggers around it do, commit
  // together or not at all.
  database.BeginWork();
  DdlTriggers triggers(session_, tokens_, catalog);
  bool done = triggers.Before(error) && Dispatch(context, error, warning) && triggers.After(error);
  std::string failure;
  if (!done) {
    database.RollbackWork();
  } else if (!database.CommitWork(&failure)) {
    error = {600, "internal error code, arguments: [commit], [" + failure + "]"};
    database.RollbackWork();
    done = false;
  }
  database.SchemaChanged();
  return done;
}

namespace {

// [SHARED] [PUBLIC] DATABASE LINK at the stream's position.
bool StartsDatabaseLink(const TokenStream& in) {
  std::size_t at = in.Peek().IsWord("SHARED") ? 1 : 0;
  at += in.Peek(at).IsWord("PUBLIC") ? 1 : 0;
  return in.Peek(at).IsWord("DATABASE") && in.Peek(at + 1).IsWord("LINK");
}

// DROP TABLE of a materialized view's container table: Oracle refuses it
// with ORA-12083; true with that error.
bool DropsContainerTable(DdlContext& context, const TokenStream& in, OraError& error) {
  TokenStream name = in;
  name.Skip();  // TABLE
  std::string owner, table;
  OraError ignored;
  if (!name.ReadQualifiedName(owner, table, context.session.CurrentSchema(), ignored) ||
      !MaterializedViewDdl::IsContainerTable(context.catalog, owner, table))
    return false;
  error = {12083, "must use DROP MATERIALIZED VIEW to drop \"" + owner + "\".\"" + table + "\""};
  return true;
}

}  // namespace

bool DdlExecutor::Dispatch(DdlContext& context, OraError& error, OraError& warning) {
  TokenStream in(tokens_, 1);
  const SqlToken& verb = tokens_[0];
  if (verb.IsWord("GRANT"))
    return UserDdl(context).Grant(error);
  if (verb.IsWord("REVOKE"))
    return UserDdl(context).Revoke(error);
  if (verb.IsWord("COMMENT"))
    return CommentSynonymDdl(context).Comment(error);
  if (verb.IsWord("TRUNCATE"))
    return TableDdl(context).Truncate(error);
  if (verb.IsWord("RENAME"))
    return TableDdl(context).Rename(error);
  if (verb.IsWord("CREATE")) {
    in.AcceptWords("OR", "REPLACE");
    if (in.Peek().IsWord("SYNONYM") || (in.Peek().IsWord("PUBLIC") && in.Peek(1).IsWord("SYNONYM")))
      return CommentSynonymDdl(context).CreateSynonym(error);
    if (in.Peek().IsWord("TABLE") || (in.Peek().IsWord("GLOBAL") && in.Peek(1).IsWord("TEMPORARY")))
      return TableDdl(context).CreateTable(error);
    if (in.Peek().IsWord("INDEX") || in.Peek().IsWord("UNIQUE") || in.Peek().IsWord("BITMAP"))
      return TableDdl(context).CreateIndex(error);
    if (in.Peek().IsWord("USER"))
      return UserDdl(context).CreateUser(error);
    if (in.Peek().IsWord("ROLE"))
      return UserDdl(context).CreateRole(error);
    if (in.Peek().IsWord("SEQUENCE"))
      return SequenceViewDdl(context).CreateSequence(error);
    if (in.Peek().IsWord("MATERIALIZED"))
      return MaterializedViewDdl(context).Create(error);
    if (StartsDatabaseLink(in))
      return DatabaseLinkDdl(context).Create(error);
    if (ForeignKindDdl::Starts(in))
      return ForeignKindDdl(context).Create(error);
    if (in.Peek().IsWord("VIEW") || in.Peek().IsWord("FORCE") || in.Peek().IsWord("NOFORCE"))
      return SequenceViewDdl(context).CreateView(error, warning);
    return StoredUnitDdl(context).Create(error, warning);
  } else if (verb.IsWord("DROP")) {
    if (in.Peek().IsWord("SYNONYM") || (in.Peek().IsWord("PUBLIC") && in.Peek(1).IsWord("SYNONYM")))
      return CommentSynonymDdl(context).DropSynonym(error);
    if (in.Peek().IsWord("MATERIALIZED"))
      return MaterializedViewDdl(context).Drop(error);
    if (StartsDatabaseLink(in))
      return DatabaseLinkDdl(context).Drop(error);
    if (ForeignKindDdl::Starts(in))
      return ForeignKindDdl(context).Drop(error);
    if (in.Peek().IsWord("TABLE") && DropsContainerTable(context, in, error))
      return false;
    if (in.Peek().IsWord("TABLE"))
      return TableDdl(context).DropTable(error);
    if (in.Peek().IsWord("INDEX"))
      return TableDdl(context).DropIndex(error);
    if (in.Peek().IsWord("USER"))
      return UserDdl(context).DropUser(error);
    if (in.Peek().IsWord("ROLE"))
      return UserDdl(context).DropRole(error);
    if (in.Peek().IsWord("SEQUENCE"))
      return SequenceViewDdl(context).DropSequence(error);
    if (in.Peek().IsWord("VIEW"))
      return SequenceViewDdl(context).DropView(error);
    return StoredUnitDdl(context).Drop(error);
  } else if (verb.IsWord("ALTER")) {
    if (in.Peek().IsWord("TABLE"))
      return TableDdl(context).AlterTable(error);
    if (in.Peek().IsWord("USER"))
      return UserDdl(context).AlterUser(error);
    if (in.Peek().IsWord("SEQUENCE"))
      return SequenceViewDdl(context).AlterSequence(error);
    if (in.Peek().IsWord("VIEW"))
      return SequenceViewDdl(context).AlterView(error, warning);
    return StoredUnitDdl(context).Alter(error, warning);
  }
  error = {900, "invalid SQL statement"};
  return false;
}

}  // namespace sandbox
