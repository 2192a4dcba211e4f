// TablePhases: the table-level phases of a scripting run, on the worker
// thread. The table phase reads the table list, writes its summary banner and,
// when tables are chosen, one CREATE TABLE script per selected table and the
// list of tables left out; the index and constraint phases walk the same list
// with the same exclusions and frame each table's statements under a banner.
// A stopped run leaves any phase through RunControl::StopRun.
#pragma once

#include <string>

#include "scripting/connection/PhaseWriter.h"

class ReportOutput;
class RunControl;
class RunHost;
class TableDdlSource;
class TableListSource;
struct RunSettings;

class TablePhases : private PhaseWriter {
 public:
  // host shows status and progress; without one the phases only write the
  // report.
  TablePhases(const RunSettings& settings, ReportOutput& output, RunHost* host, RunControl& control,
              TableListSource& tables, TableDdlSource& ddl);

  void RunTablePhase();
  void RunIndexPhase();
  void RunConstraintPhase();

  // Tables in the list after the table phase's read.
  int TableCount() const { return tableCount_; }

 private:
  // The texts that tell the index and constraint phases apart.
  struct KeyPhaseTexts {
    const char* skippingStatus;
    const char* creatingStatus;
    const char* bannerSentence;
    const char* noneFound;
  };

  void WriteSummaryBanner();
  void WriteTableScripts();
  void WriteTablesNotProcessed();
  template <typename Generate>
  void RunKeyPhase(const KeyPhaseTexts& texts, Generate generate);

  const RunSettings& settings_;
  RunControl& control_;
  TableListSource& tables_;
  TableDdlSource& ddl_;
  int tableCount_ = 0;
};
