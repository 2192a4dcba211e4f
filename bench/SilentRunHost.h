// SilentRunHost: a run host with no window, shared by the benchmarks so that
// they measure the report path alone. Messages still reach standard error, so
// a benchmark that fails to write its file says so.
#pragma once

#include <cstdio>
#include <string>

#include "engine/RunHost.h"

class SilentRunHost : public RunHost {
 public:
  void SetCaption(const std::string&) override {}
  std::string Caption() override { return {}; }
  bool CreateControlPanel() override { return true; }
  void DestroyControlPanel() override {}
  void SetStatusText(const std::string&) override {}
  void SetProgressRange(int, int) override {}
  void SetProgressPosition(int) override {}
  void SetProgressStep(int) override {}
  void StepProgress() override {}
  MessageAnswer ShowMessage(const std::string& text, MessageButtons, MessageIcon) override {
    std::fprintf(stderr, "message: %s\n", text.c_str());
    return MessageAnswer::Ok;
  }
  void BeginSaving(int) override {}
  void StepSaving() override {}
  void EndSaving() override {}
  void RestoreMainWindow() override {}
  void EndProcess(int) override {}
  void MoveCaretToEnd() override {}
};
