// The other objects' phases and the coverage check over a run's connection.
#include "scripting/source/OtherObjectScripting.h"

#include "engine/RunEngine.h"
#include "engine/RunSettings.h"
#include "oracle/OracleSession.h"
#include "scripting/connection/DatabaseConnection.h"
#include "scripting/source/CoverageCheck.h"
#include "scripting/source/DictionaryQuery.h"
#include "scripting/source/OtherObjectLists.h"
#include "scripting/source/PhaseWriter.h"

namespace {

PhaseWriter WriterOf(RunEngine& engine, RunHost* host, DatabaseConnection& connection) {
  return PhaseWriter(engine.Settings(), engine.Output(), host, connection.DisplayName(),
                     &engine.Unscripted());
}

void RunList(RunEngine& engine, RunHost* host, DatabaseConnection& connection,
             const StatementList& list) {
  PhaseWriter writer = WriterOf(engine, host, connection);
  RunStatementList(list, engine.Control(), writer, *connection.Session(),
                   connection.CurrentSchema());
}

}  // namespace

void ScriptSynonyms(RunEngine& engine, RunHost* host, DatabaseConnection& connection) {
  RunList(engine, host, connection, SynonymList(connection.CurrentSchema()));
}

void ScriptDatabaseLinks(RunEngine& engine, RunHost* host, DatabaseConnection& connection) {
  RunList(engine, host, connection, DatabaseLinkList());
}

void ScriptMaterializedViewLogs(RunEngine& engine, RunHost* host, DatabaseConnection& connection) {
  RunList(engine, host, connection, MaterializedViewLogList());
}

namespace {

StatementList MaterializedViewsOf(RunEngine& engine, const std::string& only = {}) {
  const RunSettings& settings = engine.Settings();
  return MaterializedViewList(settings.IncludePctClauses == "Y",
                              settings.IncludeStorageClauses == "Y", only);
}

}  // namespace

void ScriptMaterializedViews(RunEngine& engine, RunHost* host, DatabaseConnection& connection) {
  RunList(engine, host, connection, MaterializedViewsOf(engine));
}

std::vector<std::string> ConnectionMaterializedViews::Names() {
  DictionaryQuery query(
      *connection_.Session(),
      "select mview_name from all_mviews where owner = :owner order by mview_name", {128});
  query.Bind(":owner", connection_.CurrentSchema());
  std::vector<DictionaryQuery::Row> rows;
  std::string error;
  if (!query.ReadAll(rows, error)) {
    // The whole list meets the same failure and reports it as a lost list.
    ScriptMaterializedViews(engine_, host_, connection_);
    return {};
  }
  std::vector<std::string> names;
  for (DictionaryQuery::Row& row : rows) {
    names.push_back(std::move(row.at(0)));
  }
  return names;
}

void ConnectionMaterializedViews::Write(const std::string& name) {
  RunList(engine_, host_, connection_, MaterializedViewsOf(engine_, name));
}

void ScriptObjectGrants(RunEngine& engine, RunHost* host, DatabaseConnection& connection) {
  RunList(engine, host, connection,
          ObjectGrantList(connection.CurrentSchema(),
                          connection.CurrentSchema() == connection.LoginUser()));
}

void CheckCoverage(RunEngine& engine, RunHost* host, DatabaseConnection& connection) {
  PhaseWriter writer = WriterOf(engine, host, connection);
  CoverageCheck(engine.Settings(), writer, engine.Unscripted(), *connection.Session(),
                connection.CurrentSchema())
      .Run();
}
