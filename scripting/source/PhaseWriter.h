// PhaseWriter: what the sequence and privilege phases show while they run:
// the control panel's status text and progress bar and the main window
// caption (when a window is attached), and their report pieces: banners,
// statements, the skip notice and the error block.
#pragma once

#include <string>

class ReportOutput;
class RunHost;
class UnscriptedObjects;
struct RunSettings;

class PhaseWriter {
 public:
  // host may be null: the phase then only writes the report. Error blocks
  // name the database as databaseName. unscripted, when given, receives the
  // objects a phase had to leave out.
  PhaseWriter(const RunSettings& settings, ReportOutput& output, RunHost* host,
              std::string databaseName, UnscriptedObjects* unscripted = nullptr);

  // Status "Analyzing " + subject + " ..." and the caption to match.
  void Announce(const std::string& subject);
  void SetProgressRange(int low, int high);
  void SetProgressPosition(int position);
  void SetProgressStep(int step);

  // The banner above a kind of statements: "*  " + label, then the
  // sentence (not counted for auto-save).
  void Banner(const std::string& label, const std::string& sentence);
  // Statement text, counted for auto-save.
  void Statement(const std::string& text);
  // "\r\n" + comment prefix + text, counted.
  void Notice(const std::string& text);
  // The four lines that tell why a phase wrote nothing: "The following error
  // was received while " + activity, the database name and the error text.
  void ErrorBlock(const std::string& activity, const std::string& error);
  // Notes an object the report holds, for the coverage check.
  void NoteScripted(const std::string& kind, const std::string& name);
  // Notes what the report lacks (see UnscriptedObjects).
  void NoteUnscripted(const std::string& kind, const std::string& name, const std::string& reason);
  // Notes an object outside the schema that the report creates for its grants.
  void NoteNeeded(const std::string& kind, const std::string& name, const std::string& reason);

 private:
  const RunSettings& settings_;
  ReportOutput& output_;
  RunHost* host_;
  std::string databaseName_;
  UnscriptedObjects* unscripted_;
};
