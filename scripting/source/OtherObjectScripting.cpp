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
#include "scripting/tables/DdlGenerator.h"

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
  if (engine_.Settings().DoIndex != 0) {
    WriteContainerIndexes(name);
  }
}

// The indexes made on a container table, when indexes are chosen, can only
// follow the view that makes the table. Those the server makes with the view
// itself (I_SNAP$_...) come back with it.
void ConnectionMaterializedViews::WriteContainerIndexes(const std::string& name) {
  const std::string owner = connection_.CurrentSchema();
  DictionaryQuery query(*connection_.Session(),
                        "select index_name from all_indexes where table_owner = :owner "
                        "and table_name = :name and index_name not like 'I\\_SNAP$\\_%' "
                        "escape '\\' order by index_name",
                        {128});
  query.Bind(":owner", owner);
  query.Bind(":name", name);
  std::vector<DictionaryQuery::Row> rows;
  std::string error;
  PhaseWriter writer = WriterOf(engine_, host_, connection_);
  std::string script;
  if (query.ReadAll(rows, error) && !rows.empty()) {
    std::vector<std::string> indexes;
    for (DictionaryQuery::Row& row : rows) {
      indexes.push_back(std::move(row.at(0)));
    }
    DdlGenerator ddl(*connection_.Session());
    script = ddl.GenerateIndexDdl(owner, name, &indexes);
    error = ddl.LastFailure();
  }
  if (!error.empty()) {
    writer.ErrorBlock("scripting the indexes of materialized view " + name, error);
    writer.NoteUnscripted("INDEX", name, error);
    return;
  }
  const std::size_t end = script.find_last_not_of("\r\n");
  if (end != std::string::npos) {
    writer.Statement(script.substr(0, end + 1) + "\r\n");
  }
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
