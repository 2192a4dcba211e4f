// The other objects' phases and the coverage check over a run's connection.
#include "scripting/source/OtherObjectScripting.h"

#include "engine/RunEngine.h"
#include "engine/RunSettings.h"
#include "oracle/OracleSession.h"
#include "scripting/connection/DatabaseConnection.h"
#include "scripting/source/CoverageCheck.h"
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

void ScriptMaterializedViews(RunEngine& engine, RunHost* host, DatabaseConnection& connection) {
  const RunSettings& settings = engine.Settings();
  RunList(engine, host, connection,
          MaterializedViewList(settings.IncludePctClauses == "Y",
                               settings.IncludeStorageClauses == "Y"));
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
