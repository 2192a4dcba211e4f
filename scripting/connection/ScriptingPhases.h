// ScriptingPhases: the phase calls of a run over the view's database
// connection. The run takes the connection that is current when it writes its
// header and keeps it to its end, so that a Connect command during the run
// replaces the view's connection without pulling it from under the worker.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/RunPhases.h"
#include "scripting/tables/ObjectCatalog.h"
#include "scripting/tables/TableScripting.h"

class DataScripting;
class DatabaseConnection;
class RunEngine;
class RunHost;

class ScriptingPhases : public RunPhases {
 public:
  // The engine whose report, settings and flags the phases use; set before
  // the first run.
  void AttachEngine(RunEngine& engine) { engine_ = &engine; }
  // The window whose status text and progress bar the table phases use;
  // without it they only write the report.
  void AttachHost(RunHost& host) { host_ = &host; }
  // The view's current connection (user-interface thread); may be null.
  void SetConnection(std::shared_ptr<DatabaseConnection> connection);
  std::shared_ptr<DatabaseConnection> Connection() const;
  // Lets go of the view's and the last run's connection (the owner's window,
  // whose message boxes the sessions use, is closing; no run is going on).
  void ReleaseConnections();

  // The connection of the run in progress (worker thread).
  DatabaseConnection* RunConnection() const { return runConnection_.get(); }
  CatalogNameMaxima& NameMaxima() { return maxima_; }
  // The catalog of the run's connection and current schema; the run must
  // have a logged-on connection.
  ObjectCatalog Catalog();

  void ClearRunObjectLists() override {}
  // The first call of every run: it takes the run's connection.
  std::string SourceDatabaseName() override;

  void RunPrivilegePhase() override;
  void RunSequencePhase() override;
  // Table, index and constraint scripting plug in at these three calls.
  void RunTablePhase() override;
  int StructureObjectCount() override { return 0; }
  void RunStructurePass() override {}
  int TableCount() override;
  void RunIndexPhase() override;
  void ClearConstraintCounters() override {}
  void RunConstraintPhase() override;
  void RunDataPhase() override;
  // Stored source scripting, one section of kinds per call.
  void ScriptSourceSection(const std::vector<std::string>& codes, SourcePass pass) override;
  void RunSynonymPhase() override;
  void RunDatabaseLinkPhase() override;
  void RunMaterializedViewLogPhase() override;
  void RunMaterializedViewPhase() override;
  void RunObjectGrantPhase() override;
  void RunCoverageCheck() override;
  void ScriptRows(const std::string& query, const std::string& secondQuery,
                  const std::string& table) override;
  void InterruptServerCall() override;
  void WithdrawInterruption() override;

 private:
  bool RunIsConnected() const;
  // The data phases of the run's connection over tables.
  DataScripting DataScriptingOver(TableListSource& tables);

  RunEngine* engine_ = nullptr;
  mutable std::mutex connectionMutex_;
  std::shared_ptr<DatabaseConnection> connection_;
  // Written by the worker under connectionMutex_, read by it without.
  std::shared_ptr<DatabaseConnection> runConnection_;
  CatalogNameMaxima maxima_;
  RunHost* host_ = nullptr;
  // Built by the table phase of each run, used by its index and constraint phases.
  std::unique_ptr<TableScripting> tableScripting_;
};
