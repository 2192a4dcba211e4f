// The run dialogs of the desktop program while it has no parameters dialog:
// a run starts with the stored settings, the report is saved through the
// report document, configuration files are loaded by the frame, and the frame
// says whether it has a logged-on connection.
#pragma once

#include <functional>
#include <string>

#include "engine/RunDialogs.h"

class StoredSettingsRunDialogs : public RunDialogs {
 public:
  StoredSettingsRunDialogs(std::function<void()> saveReport,
                           std::function<bool()> hasUsableConnection,
                           std::function<void(const std::string&)> loadConfiguration)
      : saveReport_(std::move(saveReport)),
        hasUsableConnection_(std::move(hasUsableConnection)),
        loadConfiguration_(std::move(loadConfiguration)) {}

  // Accepts the settings as they stand.
  bool EditRunParameters(RunSettings&) override { return true; }
  // Without the SQL script dialog no statement is chosen, so no statement run starts.
  bool EditStatement(std::string&) override { return false; }
  void SaveReport() override { saveReport_(); }
  void LoadConfiguration(const std::string& path) override { loadConfiguration_(path); }
  bool HasUsableConnection() override { return hasUsableConnection_(); }

 private:
  std::function<void()> saveReport_;
  std::function<bool()> hasUsableConnection_;
  std::function<void(const std::string&)> loadConfiguration_;
};
