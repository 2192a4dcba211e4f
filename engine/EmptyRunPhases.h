// EmptyRunPhases: phase calls that script nothing, used while scripting is not
// part of the program and by runs that only need the report's frame. The
// header names the database given at construction.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/RunPhases.h"

class EmptyRunPhases : public RunPhases {
 public:
  explicit EmptyRunPhases(std::string databaseName = {}) : databaseName_(std::move(databaseName)) {}

  void ClearRunObjectLists() override {}
  std::string SourceDatabaseName() override { return databaseName_; }
  void RunPrivilegePhase() override {}
  void RunSequencePhase() override {}
  void RunTablePhase() override {}
  int StructureObjectCount() override { return 0; }
  void RunStructurePass() override {}
  int TableCount() override { return 0; }
  void RunIndexPhase() override {}
  void ClearConstraintCounters() override {}
  void RunConstraintPhase() override {}
  void RunDataPhase() override {}
  void ScriptSourceSection(const std::vector<std::string>&, SourcePass) override {}
  void RunSynonymPhase() override {}
  void RunDatabaseLinkPhase() override {}
  void RunMaterializedViewLogPhase() override {}
  void RunMaterializedViewPhase() override {}
  void RunObjectGrantPhase() override {}
  void RunCoverageCheck() override {}
  void ScriptRows(const std::string&, const std::string&, const std::string&) override {}

 private:
  std::string databaseName_;
};
