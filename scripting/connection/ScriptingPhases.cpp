// The run's view of the database connection and the phases built so far.
#include "scripting/connection/ScriptingPhases.h"

#include <stdexcept>

#include "engine/RunEngine.h"
#include "scripting/connection/DatabaseConnection.h"
#include "scripting/data/DataScripting.h"
#include "scripting/source/GrantAndSequenceScripting.h"
#include "scripting/source/OtherObjectScripting.h"
#include "scripting/source/SourceScripting.h"
#include "scripting/tables/ConnectionTableList.h"

void ScriptingPhases::SetConnection(std::shared_ptr<DatabaseConnection> connection) {
  const std::lock_guard lock(connectionMutex_);
  connection_ = std::move(connection);
}

std::shared_ptr<DatabaseConnection> ScriptingPhases::Connection() const {
  const std::lock_guard lock(connectionMutex_);
  return connection_;
}

void ScriptingPhases::ReleaseConnections() {
  const std::lock_guard lock(connectionMutex_);
  connection_.reset();
  runConnection_.reset();
}

std::string ScriptingPhases::SourceDatabaseName() {
  {
    const std::lock_guard lock(connectionMutex_);
    runConnection_ = connection_;
  }
  tableScripting_.reset();
  return runConnection_ ? runConnection_->DisplayName() : std::string();
}

void ScriptingPhases::InterruptServerCall() {
  std::shared_ptr<DatabaseConnection> run;
  {
    const std::lock_guard lock(connectionMutex_);
    run = runConnection_;
  }
  if (run && run->Session() != nullptr) {
    run->Session()->BreakRunningCall();
  }
}

void ScriptingPhases::WithdrawInterruption() {
  if (runConnection_ && runConnection_->Session() != nullptr) {
    runConnection_->Session()->ResetAfterBreak();
  }
}

bool ScriptingPhases::RunIsConnected() const {
  return runConnection_ && !runConnection_->NotConnected() && runConnection_->Session();
}

ObjectCatalog ScriptingPhases::Catalog() {
  if (engine_ == nullptr || !RunIsConnected()) {
    throw std::logic_error("the run has no logged-on database connection");
  }
  ObjectCatalog catalog(*runConnection_->Session(), engine_->Output(), engine_->Settings(),
                        runConnection_->CurrentSchema(), runConnection_->DisplayName(), maxima_);
  catalog.RecordFailuresIn(&engine_->Unscripted(), &engine_->Control());
  return catalog;
}

void ScriptingPhases::RunPrivilegePhase() {
  if (engine_ != nullptr && RunIsConnected()) {
    ScriptPrivileges(*engine_, host_, *runConnection_);
  }
}

void ScriptingPhases::RunSequencePhase() {
  if (engine_ != nullptr && RunIsConnected()) {
    ScriptSequences(*engine_, host_, *runConnection_);
  }
}

void ScriptingPhases::RunSynonymPhase() {
  if (engine_ != nullptr && RunIsConnected()) {
    ScriptSynonyms(*engine_, host_, *runConnection_);
  }
}

void ScriptingPhases::RunDatabaseLinkPhase() {
  if (engine_ != nullptr && RunIsConnected()) {
    ScriptDatabaseLinks(*engine_, host_, *runConnection_);
  }
}

void ScriptingPhases::RunMaterializedViewLogPhase() {
  if (engine_ != nullptr && RunIsConnected()) {
    ScriptMaterializedViewLogs(*engine_, host_, *runConnection_);
  }
}

void ScriptingPhases::RunMaterializedViewPhase() {
  if (engine_ != nullptr && RunIsConnected()) {
    ScriptMaterializedViews(*engine_, host_, *runConnection_);
  }
}

void ScriptingPhases::RunObjectGrantPhase() {
  if (engine_ != nullptr && RunIsConnected()) {
    ScriptObjectGrants(*engine_, host_, *runConnection_);
  }
}

void ScriptingPhases::RunCoverageCheck() {
  if (engine_ != nullptr && RunIsConnected()) {
    CheckCoverage(*engine_, host_, *runConnection_);
  }
}

void ScriptingPhases::RunTablePhase() {
  tableScripting_.reset();
  if (!RunIsConnected()) {
    return;
  }
  tableScripting_ =
      std::make_unique<TableScripting>(*engine_, host_, *runConnection_, Catalog(), maxima_);
  tableScripting_->Phases().RunTablePhase();
}

void ScriptingPhases::RunIndexPhase() {
  if (tableScripting_) {
    tableScripting_->Phases().RunIndexPhase();
  }
}

void ScriptingPhases::RunConstraintPhase() {
  if (tableScripting_) {
    tableScripting_->Phases().RunConstraintPhase();
  }
}

int ScriptingPhases::TableCount() {
  return runConnection_ ? static_cast<int>(runConnection_->Lists().Tables.size()) : 0;
}

void ScriptingPhases::ScriptSourceSection(const std::vector<std::string>& codes, SourcePass pass) {
  if (!RunIsConnected()) {
    return;
  }
  SourceScripting(*engine_, host_, *runConnection_, Catalog(), maxima_)
      .Phase()
      .ScriptSourceSection(codes, pass);
}

DataScripting ScriptingPhases::DataScriptingOver(TableListSource& tables) {
  return DataScripting(engine_->Settings(), engine_->Flags(), engine_->Output(), host_,
                       engine_->Control(), *runConnection_->Session(), tables, engine_->Store(),
                       engine_->Unscripted());
}

// The data phase reads the table list itself unless the table phase of this
// run has read it.
void ScriptingPhases::RunDataPhase() {
  if (!RunIsConnected()) {
    return;
  }
  ConnectionTableList tables(*runConnection_, Catalog(), maxima_, tableScripting_ != nullptr);
  DataScriptingOver(tables).RunDataPhase();
}

void ScriptingPhases::ScriptRows(const std::string& query, const std::string& secondQuery,
                                 const std::string& table) {
  if (!RunIsConnected()) {
    return;
  }
  ConnectionTableList tables(*runConnection_, Catalog(), maxima_, true);
  DataScriptingOver(tables).ScriptRows(query, secondQuery, table);
}
