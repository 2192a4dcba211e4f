// ConsoleRunHost: the run host of the headless front end. It has no window:
// every message box becomes a block of text on the error stream and a
// question takes its default answer (the first button); caption, status and
// progress go to the terminal's progress line when there is one. A quiet run
// keeps information messages (the finish message) to itself. The latest
// information message is held back until the next message or until the run's
// outcome is known, so that a run whose report could not be written does not
// claim to have finished.
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
  // Writes a message still held.
  ~ConsoleRunHost() override;
  ConsoleRunHost(const ConsoleRunHost&) = delete;
  ConsoleRunHost& operator=(const ConsoleRunHost&) = delete;

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

  // Writes the held information message when show is true, and forgets it.
  void ReleaseHeldMessage(bool show);

 private:
  // Writes text as a message block; the caller holds mutex_.
  void Write(const std::string& text, MessageButtons buttons, MessageIcon icon,
             MessageAnswer answer);

  std::ostream& errors_;
  TerminalProgress* const progress_;
  const bool quiet_;
  std::mutex mutex_;
  std::string caption_;
  std::string held_;
};
