// DesktopRunDialogs: the run dialogs of the desktop program. Start opens the
// parameters dialog over the view's connection; the report is saved through
// the report document.
#pragma once

#include <functional>

#include "engine/RunDialogs.h"

class DatabaseChoice;
class QWidget;
class SettingsStore;
class UserPrompts;

class DesktopRunDialogs : public RunDialogs {
 public:
  DesktopRunDialogs(QWidget& window, SettingsStore& store, DatabaseChoice& database,
                    UserPrompts& prompts, std::function<void()> saveReport);

  bool EditRunParameters(RunSettings& settings) override;
  // Without the SQL script dialog no statement is chosen, so no statement run starts.
  bool EditStatement(std::string&) override { return false; }
  void SaveReport() override { saveReport_(); }
  // Configuration files are not read by this program yet; the automatic start
  // that follows finds no connection and says so.
  void LoadConfiguration(const std::string&) override {}
  bool HasUsableConnection() override;

 private:
  QWidget& window_;
  SettingsStore& store_;
  DatabaseChoice& database_;
  UserPrompts& prompts_;
  std::function<void()> saveReport_;
};
