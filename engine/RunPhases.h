// RunPhases: the calls of a scripting run's restore plan and of a
// statement run, carried out on the worker thread. Scripting implements them;
// until it does, EmptyRunPhases stands in. A phase ends early only through
// RunControl::StopRun, whose exception must pass through it: a phase never
// swallows exceptions it does not know.
#pragma once

#include <string>
#include <vector>

#include "engine/RestorePlan.h"

class RunPhases {
 public:
  virtual ~RunPhases() = default;

  // Empties the per-run object lists before every scripting run.
  virtual void ClearRunObjectLists() = 0;
  // DisplayName of the connection, for the report header.
  virtual std::string SourceDatabaseName() = 0;

  virtual void RunPrivilegePhase() = 0;
  virtual void RunSequencePhase() = 0;
  virtual void RunTablePhase() = 0;
  // Entries of the per-run list that the structure pass walks.
  virtual int StructureObjectCount() = 0;
  virtual void RunStructurePass() = 0;
  // Tables in the run's table list after the last read.
  virtual int TableCount() = 0;
  virtual void RunIndexPhase() = 0;
  virtual void ClearConstraintCounters() = 0;
  virtual void RunConstraintPhase() = 0;
  virtual void RunDataPhase() = 0;
  // One section of stored source: codes are kinds among "TRIG", "VIEW",
  // "FUNC", "PKG", "PKGBD", "STP", "TYPE" and "TYPEB", written together in
  // dependency order, codes' order breaking ties.
  virtual void ScriptSourceSection(const std::vector<std::string>& codes, SourcePass pass) = 0;
  // The other objects of the schema, each kind in its own call so that the
  // restore plan can place it where a replay finds what it needs.
  virtual void RunSynonymPhase() = 0;
  virtual void RunDatabaseLinkPhase() = 0;
  virtual void RunMaterializedViewLogPhase() = 0;
  virtual void RunMaterializedViewPhase() = 0;
  virtual void RunObjectGrantPhase() = 0;
  // Lists the schema's objects that the chosen kinds should have covered but
  // the report does not hold; the last call of a scripting run.
  virtual void RunCoverageCheck() = 0;
  // Scripts the rows of query as INSERT statements; an empty table selects the
  // statement run's variant.
  virtual void ScriptRows(const std::string& query, const std::string& secondQuery,
                          const std::string& table) = 0;

  // Any thread: ends the server call that the worker waits for, so that a
  // stop takes effect at once instead of after a long statement. Phases that
  // reach no server have nothing to end.
  virtual void InterruptServerCall() {}
  // Worker thread, as a run ends: withdraws an interruption that came too
  // late to end a call, so that it cannot end the next one.
  virtual void WithdrawInterruption() {}
};
