// Compiling views, stored units and triggers again.
#include "sandbox/server/ddl/ObjectCompiler.h"

#include "sandbox/server/ServerSession.h"
#include "sandbox/server/SqliteHandle.h"
#include "sandbox/server/ddl/SequenceViewDdl.h"
#include "sandbox/server/ddl/StoredUnitDdl.h"

namespace sandbox {

std::string ObjectCompiler::CreateStatement(const ObjectRef& object) {
  Catalog& catalog = context_.catalog;
  const std::vector<Value> key{Value::Text(object.owner), Value::Text(object.name)};
  if (object.type == "VIEW") {
    const auto text =
        catalog.Rows("SELECT TEXT FROM \"SYS.ALL_VIEWS\" WHERE OWNER = ? AND VIEW_NAME = ?", key);
    const auto columns = catalog.Rows(
        "SELECT COLUMN_LIST FROM \"SYS.VIEWCOL$\" WHERE OWNER = ? AND VIEW_NAME = ?", key);
    return "CREATE OR REPLACE FORCE VIEW " + QuoteSqliteName(object.name) +
           (columns.empty() ? std::string() : " " + columns[0][0]) + " AS " +
           (text.empty() ? std::string() : text[0][0]);
  }
  std::string source;
  for (const auto& row :
       catalog.Rows("SELECT TEXT FROM \"SYS.ALL_SOURCE\" WHERE OWNER = ? AND NAME = ? AND "
                    "TYPE = ? ORDER BY LINE",
                    {key[0], key[1], Value::Text(object.type)}))
    source += row[0];
  return "CREATE OR REPLACE " + source;
}

bool ObjectCompiler::Compile(const ObjectRef& object, OraError& error, OraError& warning) {
  Catalog& catalog = context_.catalog;
  const std::string sql = CreateStatement(object);
  std::vector<SqlToken> tokens;
  std::size_t errorOffset = 0;
  if (!TokenizeSql(sql, tokens, errorOffset) || tokens.size() < 4) {
    error = {4045,
             "errors during recompilation/revalidation of " + object.owner + "." + object.name};
    return false;
  }
  // A trigger keeps whether it is enabled.
  const auto triggerStatus =
      catalog.Rows("SELECT STATUS FROM \"SYS.ALL_TRIGGERS\" WHERE OWNER = ? AND TRIGGER_NAME = ?",
                   {Value::Text(object.owner), Value::Text(object.name)});
  DdlContext compile{context_.session, sql, tokens, catalog, object.owner};
  OraError compileWarning;
  const bool made = object.type == "VIEW"
                        ? SequenceViewDdl(compile).CreateView(error, compileWarning)
                        : StoredUnitDdl(compile).Create(error, compileWarning);
  if (!made)
    return false;
  if (compileWarning.IsSet())
    warning = compileWarning;
  return object.type != "TRIGGER" || triggerStatus.empty() ||
         catalog.Exec(
             "UPDATE \"SYS.ALL_TRIGGERS\" SET STATUS = ? WHERE OWNER = ? AND TRIGGER_NAME = ?",
             {Value::Text(triggerStatus[0][0]), Value::Text(object.owner),
              Value::Text(object.name)},
             error);
}

bool CompileInUse(ServerSession& session, const ObjectRef& object) {
  // A session counter rather than a thread-local one: the library is loaded
  // at run time, and its dynamic thread-local blocks defeat the leak checker.
  int& depth = session.CompileInUseDepth();
  constexpr int kMaxDepth = 16;
  Catalog catalog(session.Server());
  const std::vector<Value> key{Value::Text(object.owner), Value::Text(object.name),
                               Value::Text(object.type)};
  const char* const invalid =
      "SELECT 1 FROM \"SYS.ALL_OBJECTS\" WHERE OWNER = ? AND OBJECT_NAME = ? AND "
      "OBJECT_TYPE = ? AND STATUS = 'INVALID'";
  if (!catalog.Any(invalid, key))
    return true;
  if (depth >= kMaxDepth)
    return false;
  ++depth;
  SqliteRunner runner(session.Server().Handle());
  runner.Exec("SAVEPOINT qm_compile_in_use");
  const std::string noText;
  const std::vector<SqlToken> noTokens;
  DdlContext context{session, noText, noTokens, catalog, object.owner};
  OraError error, warning;
  if (!ObjectCompiler(context).Compile(object, error, warning))
    runner.Exec("ROLLBACK TO qm_compile_in_use");
  runner.Exec("RELEASE qm_compile_in_use");
  session.Server().SchemaChanged();
  --depth;
  return !catalog.Any(invalid, key);
}

}  // namespace sandbox
