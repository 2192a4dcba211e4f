// DesktopRunDialogs: the run dialogs of the desktop program. Start opens the
// parameters dialog and Start SQL Script the SQL script dialog over the view's
// connection; the report is saved through the report document and
// configuration files are loaded by the frame.
#pragma once

#include <functional>

#include "engine/RunDialogs.h"

class DatabaseChoice;
class QWidget;
class SettingsStore;
class UserPrompts;

class DesktopRunDialogs : public RunDialogs {
 public:
  // settings gives the run settings the SQL script dialog's general options edit.
  DesktopRunDialogs(QWidget& window, SettingsStore& store, DatabaseChoice& database,
                    UserPrompts& prompts, std::function<void()> saveReport,
                    std::function<RunSettings&()> settings,
                    std::function<void(const std::string&)> loadConfiguration);

  bool EditRunParameters(RunSettings& settings) override;
  bool EditStatement(std::string& statement) override;
  void SaveReport() override { saveReport_(); }
  void LoadConfiguration(const std::string& path) override { loadConfiguration_(path); }
  bool HasUsableConnection() override;

 private:
  QWidget& window_;
  SettingsStore& store_;
  DatabaseChoice& database_;
  UserPrompts& prompts_;
  std::function<void()> saveReport_;
  std::function<RunSettings&()> settings_;
  std::function<void(const std::string&)> loadConfiguration_;
};
