// The run dialogs of the desktop program while it has no parameters dialog:
// a run starts with the stored settings, the report is saved through the
// report document, and there is no connection to start a statement or an
// unattended run with.
#pragma once

#include <functional>

#include "engine/RunDialogs.h"

class StoredSettingsRunDialogs : public RunDialogs {
 public:
  explicit StoredSettingsRunDialogs(std::function<void()> saveReport)
      : saveReport_(std::move(saveReport)) {}

  // Accepts the settings as they stand.
  bool EditRunParameters(RunSettings&) override { return true; }
  // Without the SQL script dialog no statement is chosen, so no statement run starts.
  bool EditStatement(std::string&) override { return false; }
  void SaveReport() override { saveReport_(); }
  // Configuration files are not read by this program yet; the automatic start
  // that follows finds no connection and says so.
  void LoadConfiguration(const std::string&) override {}
  bool HasUsableConnection() override { return false; }

 private:
  std::function<void()> saveReport_;
};
