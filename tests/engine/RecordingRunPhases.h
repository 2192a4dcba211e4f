// RecordingRunPhases: phase calls that only record themselves, with whether
// Skip was allowed while each ran; the table count is set by the test.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/RunFlags.h"
#include "engine/RunPhases.h"

class RecordingRunPhases : public RunPhases {
 public:
  // The flags of the engine whose runs are recorded.
  void Watch(const RunFlags& flags) { flags_ = &flags; }

  std::vector<std::string> calls;
  int tableCount = 0;
  std::string databaseName = "ORCL.EXAMPLE";
  std::function<void()> duringTablePhase;

  void ClearRunObjectLists() override { calls.push_back("ClearRunObjectLists"); }
  std::string SourceDatabaseName() override { return databaseName; }
  void RunPrivilegePhase() override { Record("RunPrivilegePhase"); }
  void RunSequencePhase() override { Record("RunSequencePhase"); }
  void RunTablePhase() override {
    Record("RunTablePhase");
    if (duringTablePhase) {
      duringTablePhase();
    }
  }
  int StructureObjectCount() override { return 0; }
  void RunStructurePass() override { Record("RunStructurePass"); }
  int TableCount() override { return tableCount; }
  void RunIndexPhase() override { Record("RunIndexPhase"); }
  void ClearConstraintCounters() override { Record("ClearConstraintCounters"); }
  void RunConstraintPhase() override { Record("RunConstraintPhase"); }
  void RunDataPhase() override { Record("RunDataPhase"); }
  void ScriptSourceSection(const std::vector<std::string>& codes, SourcePass pass) override {
    std::string call = "ScriptSourceSection";
    for (const std::string& code : codes) {
      call += " " + code;
    }
    if (pass != SourcePass::Whole) {
      call += pass == SourcePass::BeforeMaterializedViews ? " (before)" : " (after)";
    }
    Record(call);
  }
  void RunSynonymPhase() override { Record("RunSynonymPhase"); }
  void RunDatabaseLinkPhase() override { Record("RunDatabaseLinkPhase"); }
  void RunMaterializedViewLogPhase() override { Record("RunMaterializedViewLogPhase"); }
  void RunMaterializedViewPhase() override { Record("RunMaterializedViewPhase"); }
  void RunObjectGrantPhase() override { Record("RunObjectGrantPhase"); }
  void RunCoverageCheck() override { Record("RunCoverageCheck"); }
  void ScriptRows(const std::string& query, const std::string& secondQuery,
                  const std::string& table) override {
    Record("ScriptRows [" + query + "][" + secondQuery + "][" + table + "]");
  }

 private:
  void Record(const std::string& call) {
    calls.push_back(call + (flags_ && flags_->SkipAllowed ? " +skip" : ""));
  }

  const RunFlags* flags_ = nullptr;
};
