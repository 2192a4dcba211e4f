// ConsoleRunHost: the run host of the headless front end. It has no window:
// every message box becomes a block of text on the error stream and a
// question takes its default answer (the first button); caption, status and
// progress go to the terminal's progress line when there is one. A quiet run
// keeps information messages (the finish message) to itself.
#pragma once

#include <iosfwd>
#include <mutex>
#include <string>

#include "engine/RunHost.h"

class TerminalProgress;

class ConsoleRunHost : public RunHost {
 public:
  // progress: the progress line, or null for none.
  explicit ConsoleRunHost(std::ostream& errors, TerminalProgress* progress = nullptr,
                          bool quiet = false)
      : errors_(errors), progress_(progress), quiet_(quiet) {}

  void SetCaption(const std::string& fullCaption) override;
  std::string Caption() override;
  bool CreateControlPanel() override { return true; }
  void DestroyControlPanel() override {}
  void SetStatusText(const std::string& text) override;
  void SetProgressRange(int low, int high) override;
  void SetProgressPosition(int position) override;
  void SetProgressStep(int step) override;
  void StepProgress() override;
  MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons,
                            MessageIcon icon) override;
  void BeginSaving(int) override {}
  void StepSaving() override {}
  void EndSaving() override {}
  void RestoreMainWindow() override {}
  void EndProcess(int) override {}
  void MoveCaretToEnd() override {}

 private:
  std::ostream& errors_;
  TerminalProgress* const progress_;
  const bool quiet_;
  std::mutex mutex_;
  std::string caption_;
};
