// PhaseOutput: the report and window calls that every scripting phase makes:
// report lines in the comment and name colours, and the status text and
// progress bar of the run's window. A phase without a window (a test, a
// benchmark) only writes the report.
#pragma once

#include <string>

class ReportOutput;
class RunHost;

class PhaseOutput {
 protected:
  PhaseOutput(ReportOutput& output, RunHost* host) : output_(output), host_(host) {}

  void Status(const std::string& text);
  void StepProgress();
  void Comment(const std::string& text, bool countForAutoSave = true);
  void Name(const std::string& text, bool countForAutoSave = true);

  ReportOutput& output_;
  RunHost* host_;
};
