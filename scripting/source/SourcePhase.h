// SourcePhase: the stored source phase of a scripting run, on the worker
// thread, called once per section of one or more kinds. It writes a summary
// banner per kind with the number of objects found, then a banner and a
// CREATE OR REPLACE statement ended by a "/" line for each object not
// excluded, all kinds together in the order of their dependencies (kinds
// and names breaking ties), and on request each kind's list of objects left
// out. Types that need each other are declared first ("CREATE TYPE name;");
// a dependency cycle or dependencies that could not be read get a remark. An object whose
// source cannot be read gets a remark instead of a statement, so that a script
// never replaces a good unit with a truncated or empty one, and is noted in
// the run's record of objects it could not script. A stopped run
// leaves through RunControl::StopRun between objects.
#pragma once

#include <string>
#include <vector>

#include "engine/RestorePlan.h"
#include "scripting/connection/PhaseOutput.h"

class DependencySource;
class MaterializedViewWriter;
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
  // Objects whose source cannot be read go to unscripted. Without
  // dependencies the objects stand in the order of their kinds and lists.
  SourcePhase(const RunSettings& settings, ReportOutput& output, RunHost* host, RunControl& control,
              SourceListSource& lists, SourceTextSource& texts, UnscriptedObjects& unscripted,
              DependencySource* dependencies = nullptr);

  // The pass after the materialized views writes them too, through views,
  // among what uses them; without a writer that pass writes none.
  void WriteMaterializedViewsWith(MaterializedViewWriter* views) { materializedViews_ = views; }

  // codes: kinds among "TRIG", "VIEW", "FUNC", "PKG", "PKGBD", "STP", "TYPE"
  // and "TYPEB", in the order that breaks ties; other codes write nothing.
  // The pass after the materialized views writes no banners of its own.
  // With a materialized view writer, that pass writes every materialized
  // view in the same dependency order as the views and code that use one.
  void ScriptSourceSection(const std::vector<std::string>& codes,
                           SourcePass pass = SourcePass::Whole);
  // A section of the one kind code.
  void ScriptSourceKind(const std::string& code) { ScriptSourceSection({code}); }

  // Objects of the section's kinds, as counted when their lists were read.
  int SourceCount() const { return sourceCount_; }

 private:
  struct SectionObject {
    const SourceKind* kind;  // null for a materialized view
    std::string name;

    std::string Type() const;
  };

  // Reads the kind's list; returns how many objects it holds.
  int ReadList(const SourceKind& kind);
  void WriteSummaryBanner(const SourceKind& kind, int count);
  // "1 type body", "2 type bodies": the kind's name for count objects.
  static std::string CountedNoun(const SourceKind& kind, int count);
  // The objects to script of kinds, in the order to write them.
  std::vector<SectionObject> OrderedObjects(const std::vector<const SourceKind*>& kinds,
                                            SourcePass pass);
  // The objects of pass in dependency order.
  std::vector<SectionObject> InDependencyOrder(std::vector<SectionObject> objects, SourcePass pass);
  void WriteRemark(const std::string& text);
  void WriteForwardDeclarations(const std::vector<SectionObject>& types);
  void WriteObjectScript(const SourceKind& kind, const std::string& owner, const std::string& name);
  void WriteNotProcessed(const SourceKind& kind);
  std::vector<std::string> ObjectNames(const SourceKind& kind);

  const RunSettings& settings_;
  RunControl& control_;
  SourceListSource& lists_;
  SourceTextSource& texts_;
  UnscriptedObjects& unscripted_;
  DependencySource* dependencies_;
  MaterializedViewWriter* materializedViews_ = nullptr;
  int sourceCount_ = 0;
};
