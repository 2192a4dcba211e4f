// ConsoleRunHost: the run host of the headless front end. It has no window:
// every message box becomes a block of text on the error stream and a
// question takes its default answer (the first button); caption, status and
// progress are not shown.
#pragma once

#include <iosfwd>
#include <mutex>
#include <string>

#include "engine/RunHost.h"

class ConsoleRunHost : public RunHost {
 public:
  explicit ConsoleRunHost(std::ostream& errors) : errors_(errors) {}

  void SetCaption(const std::string& fullCaption) override;
  std::string Caption() override;
  bool CreateControlPanel() override { return true; }
  void DestroyControlPanel() override {}
  void SetStatusText(const std::string&) override {}
  void SetProgressRange(int, int) override {}
  void SetProgressPosition(int) override {}
  void SetProgressStep(int) override {}
  void StepProgress() override {}
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
  std::mutex mutex_;
  std::string caption_;
};
