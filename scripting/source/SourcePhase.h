// SourcePhase: the stored source phase of a scripting run, on the worker
// thread, called once per chosen kind. For one kind it writes a summary
// banner with the number of objects found, then, when the kind is chosen, a
// banner and a CREATE OR REPLACE statement ended by a "/" line for each object
// not excluded, and on request the list of objects left out. An object whose
// source cannot be read gets a remark instead of a statement, so that a script
// never replaces a good unit with a truncated or empty one, and is noted in
// the run's record of objects it could not script. A stopped run
// leaves through RunControl::StopRun between objects.
#pragma once

#include <string>
#include <vector>

#include "scripting/connection/PhaseOutput.h"

class ReportOutput;
class RunControl;
class RunHost;
class SourceListSource;
class SourceTextSource;
class UnscriptedObjects;
struct RunSettings;
struct SourceKind;

class SourcePhase : private PhaseOutput {
 public:
  // host shows caption, status and progress; without one the phase only
  // writes the report.
  // Objects whose source cannot be read go to unscripted.
  SourcePhase(const RunSettings& settings, ReportOutput& output, RunHost* host, RunControl& control,
              SourceListSource& lists, SourceTextSource& texts, UnscriptedObjects& unscripted);

  // code: "TRIG", "VIEW", "FUNC", "PKG", "PKGBD", "STP", "TYPE" or "TYPEB"; any
  // other code writes nothing.
  void ScriptSourceKind(const std::string& code);

  // Objects of the last kind scripted, as counted when its list was read.
  int SourceCount() const { return sourceCount_; }

 private:
  void ReadList(const SourceKind& kind);
  void WriteSummaryBanner(const SourceKind& kind);
  void WriteObjectScripts(const SourceKind& kind);
  void WriteObjectScript(const SourceKind& kind, const std::string& owner, const std::string& name);
  void WriteNotProcessed(const SourceKind& kind);
  std::vector<std::string> ObjectNames(const SourceKind& kind);

  const RunSettings& settings_;
  RunControl& control_;
  SourceListSource& lists_;
  SourceTextSource& texts_;
  UnscriptedObjects& unscripted_;
  int sourceCount_ = 0;
};
