// EveryDialog: one of each run dialog, as a new user first sees them (no
// database selected), for the tests and tools that look at all of them.
#pragma once

#include <QString>
#include <utility>
#include <vector>

#include "engine/RunSettings.h"
#include "oracle/ClientMessages.h"
#include "ui/CAdvancedSheet.h"
#include "ui/CSourceSheet.h"
#include "ui/DataConditionsDialog.h"
#include "ui/DatabaseChoice.h"
#include "ui/GeneralOptionsDialog.h"
#include "ui/LoginDialog.h"
#include "ui/ParametersDialog.h"
#include "ui/SqlScriptDialog.h"

class SettingsStore;
class UserPrompts;

class NoDatabase : public DatabaseChoice {
 public:
  DatabaseConnection* ViewConnection() override { return nullptr; }
  void SelectDatabase() override {}
  std::vector<std::string> ObjectNames(const std::string&) override { return {}; }
};

class SilentMessages : public ClientMessages {
 public:
  void Show(const std::string&, MessageKind) override {}
};

struct EveryDialog {
  EveryDialog(SettingsStore& store, UserPrompts& prompts);

  // Each dialog with a short name for files and messages.
  std::vector<std::pair<QString, QDialog*>> All();

  NoDatabase database;
  SilentMessages messages;
  RunSettings settings;
  ParametersDialog parameters;
  GeneralOptionsDialog general;
  LoginDialog login;
  SqlScriptDialog sqlScript;
  DataConditionsDialog conditions;
  CAdvancedSheet objectOptions;
  CSourceSheet sourceOptions;
};
