// The privilege and sequence phases over a run's connection.
#include "scripting/source/GrantAndSequenceScripting.h"

#include "engine/RunEngine.h"
#include "oracle/OracleSession.h"
#include "scripting/connection/DatabaseConnection.h"
#include "scripting/source/PhaseWriter.h"
#include "scripting/source/PrivilegePhase.h"
#include "scripting/source/SequencePhase.h"

void ScriptPrivileges(RunEngine& engine, RunHost* host, DatabaseConnection& connection) {
  PhaseWriter writer(engine.Settings(), engine.Output(), host, connection.DisplayName(),
                     &engine.Unscripted());
  PrivilegePhase(engine.Settings(), engine.Flags(), engine.Control(), writer, *connection.Session(),
                 connection.CurrentSchema(), connection.LoginUser())
      .Run();
}

void ScriptSequences(RunEngine& engine, RunHost* host, DatabaseConnection& connection) {
  PhaseWriter writer(engine.Settings(), engine.Output(), host, connection.DisplayName(),
                     &engine.Unscripted());
  SequencePhase(engine.Settings(), engine.Flags(), engine.Control(), writer, *connection.Session(),
                connection.CurrentSchema())
      .Run();
}
