// SplitRun: a scripting run whose report is written as one file per object
// (see SplitReport). While it lasts the run writes its whole report, stable
// and with LF line breaks, to a file in the folder; at its end that file is
// split into the object files and removed, and the settings it changed are
// as they were.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct RunSettings;

class SplitRun {
 public:
  // Creates folder when missing; the reason when it cannot be used.
  static std::optional<std::string> PrepareFolder(const std::string& folder);
  // Creates the folder of settings.SplitFolder and points the run's report at
  // it; the reason when the folder cannot be used (settings then unchanged).
  std::optional<std::string> Begin(RunSettings& settings);
  // Splits the report into the folder; with complete, removes the files of
  // objects that are gone. The reason when a file could not be written.
  std::optional<std::string> Finish(bool complete);
  // Gives the settings back and removes the report file, also after a stop.
  void End();
  ~SplitRun();

  bool Active() const { return settings_ != nullptr; }
  const std::vector<std::string>& Removed() const { return removed_; }

  // The file of the whole report in folder.
  static std::string ReportFileIn(const std::string& folder);

 private:
  RunSettings* settings_ = nullptr;
  std::string folder_;
  bool crlf_ = false;
  // The settings the split changes, as they were.
  int reportToFile_ = 0;
  int autoSave_ = 0;
  int stableOutput_ = 0;
  int lfLineBreaks_ = 0;
  std::string reportFileName_;
  std::vector<std::string> removed_;
};
