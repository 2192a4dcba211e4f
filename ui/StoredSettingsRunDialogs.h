// The run dialogs of the desktop program while it has no parameters dialog:
// a run starts with the stored settings, the statement of a statement run
// comes from the frame's SQL script dialog, the report is saved through the
// report document, and the frame says whether it has a logged-on connection.
#pragma once

#include <functional>

#include "engine/RunDialogs.h"

class StoredSettingsRunDialogs : public RunDialogs {
 public:
  StoredSettingsRunDialogs(std::function<void()> saveReport,
                           std::function<bool()> hasUsableConnection,
                           std::function<bool(std::string&)> editStatement)
      : saveReport_(std::move(saveReport)),
        hasUsableConnection_(std::move(hasUsableConnection)),
        editStatement_(std::move(editStatement)) {}

  // Accepts the settings as they stand.
  bool EditRunParameters(RunSettings&) override { return true; }
  bool EditStatement(std::string& statement) override { return editStatement_(statement); }
  void SaveReport() override { saveReport_(); }
  // Configuration files are not read by this program yet; the automatic start
  // that follows finds no connection and says so.
  void LoadConfiguration(const std::string&) override {}
  bool HasUsableConnection() override { return hasUsableConnection_(); }

 private:
  std::function<void()> saveReport_;
  std::function<bool()> hasUsableConnection_;
  std::function<bool(std::string&)> editStatement_;
};
