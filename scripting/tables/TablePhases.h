// TablePhases: the table-level phases of a scripting run, on the worker
// thread. The table phase reads the table list, writes its summary banner and,
// when tables are chosen, one CREATE TABLE script per selected table and the
// list of tables left out; the index and constraint phases walk the same list
// with the same exclusions and frame each table's statements under a banner.
// A stopped run leaves any phase through RunControl::StopRun.
#pragma once

#include <string>

class ReportOutput;
class RunControl;
class RunHost;
class TableDdlSource;
class TableListSource;
class UnscriptedObjects;
struct RunSettings;

class TablePhases {
 public:
  // host shows status and progress; without one the phases only write the
  // report. Tables whose scripts cannot be generated go to unscripted.
  TablePhases(const RunSettings& settings, ReportOutput& output, RunHost* host, RunControl& control,
              TableListSource& tables, TableDdlSource& ddl, UnscriptedObjects& unscripted);

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
    const char* objectKind;
  };

  void WriteSummaryBanner();
  void WriteTableScripts();
  void WriteTablesNotProcessed();
  template <typename Generate>
  void RunKeyPhase(const KeyPhaseTexts& texts, Generate generate);
  void Status(const std::string& text);
  void StepProgress();
  void Comment(const std::string& text, bool countForAutoSave = true);
  void Name(const std::string& text, bool countForAutoSave = true);
  // Notes in the report and in the run's record that table's script of
  // objectKind is missing; false when failure is empty.
  bool NoteFailure(const char* objectKind, const std::string& table, const std::string& failure);

  const RunSettings& settings_;
  ReportOutput& output_;
  RunHost* host_;
  RunControl& control_;
  TableListSource& tables_;
  TableDdlSource& ddl_;
  UnscriptedObjects& unscripted_;
  int tableCount_ = 0;
};
