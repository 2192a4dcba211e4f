// The privilege and sequence phases of a run wired to its engine, its window
// and the connection it scripts.
#pragma once

class DatabaseConnection;
class RunEngine;
class RunHost;

// The connection must be logged on; host may be null.
void ScriptPrivileges(RunEngine& engine, RunHost* host, DatabaseConnection& connection);
void ScriptSequences(RunEngine& engine, RunHost* host, DatabaseConnection& connection);
