// The phases of the schema's other objects (synonyms, database links,
// materialized views and their logs, the grants the schema made) and the
// coverage check, wired to a run's engine, its window and the connection it
// scripts. The connection must be logged on; host may be null.
#pragma once

class DatabaseConnection;
class RunEngine;
class RunHost;

void ScriptSynonyms(RunEngine& engine, RunHost* host, DatabaseConnection& connection);
void ScriptDatabaseLinks(RunEngine& engine, RunHost* host, DatabaseConnection& connection);
void ScriptMaterializedViewLogs(RunEngine& engine, RunHost* host, DatabaseConnection& connection);
void ScriptMaterializedViews(RunEngine& engine, RunHost* host, DatabaseConnection& connection);
void ScriptObjectGrants(RunEngine& engine, RunHost* host, DatabaseConnection& connection);
void CheckCoverage(RunEngine& engine, RunHost* host, DatabaseConnection& connection);
