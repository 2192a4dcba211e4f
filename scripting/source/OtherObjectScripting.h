// The phases of the schema's other objects (synonyms, database links,
// materialized views and their logs, the grants the schema made) and the
// coverage check, wired to a run's engine, its window and the connection it
// scripts. The connection must be logged on; host may be null.
#pragma once

#include <string>
#include <vector>

#include "scripting/source/MaterializedViewWriter.h"

class DatabaseConnection;
class RunEngine;
class RunHost;

void ScriptSynonyms(RunEngine& engine, RunHost* host, DatabaseConnection& connection);
void ScriptDatabaseLinks(RunEngine& engine, RunHost* host, DatabaseConnection& connection);
void ScriptMaterializedViewLogs(RunEngine& engine, RunHost* host, DatabaseConnection& connection);
void ScriptMaterializedViews(RunEngine& engine, RunHost* host, DatabaseConnection& connection);
void ScriptObjectGrants(RunEngine& engine, RunHost* host, DatabaseConnection& connection);
void CheckCoverage(RunEngine& engine, RunHost* host, DatabaseConnection& connection);

// The materialized views of the connection's schema one at a time, for the
// source section that orders them among views and code.
class ConnectionMaterializedViews final : public MaterializedViewWriter {
 public:
  ConnectionMaterializedViews(RunEngine& engine, RunHost* host, DatabaseConnection& connection)
      : engine_(engine), host_(host), connection_(connection) {}

  std::vector<std::string> Names() override;
  void Write(const std::string& name) override;

 private:
  void WriteContainerIndexes(const std::string& name);

  RunEngine& engine_;
  RunHost* host_;
  DatabaseConnection& connection_;
};
