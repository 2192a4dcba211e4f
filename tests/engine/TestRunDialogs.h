// TestRunDialogs: the dialogs of a run start answered by the test, counting
// how often each was shown.
#pragma once

#include <functional>
#include <string>

#include "engine/RunDialogs.h"
#include "engine/RunSettings.h"

class TestRunDialogs : public RunDialogs {
 public:
  bool parametersAccepted = true;
  bool statementAccepted = true;
  std::string statementEntered = "select * from emp";
  bool connected = true;
  // What SaveReport does, such as setting SaveCancelled.
  std::function<void()> onSaveReport;

  int parameterDialogs = 0;
  int saves = 0;
  std::string loadedConfiguration;

  bool EditRunParameters(RunSettings&) override {
    ++parameterDialogs;
    return parametersAccepted;
  }
  bool EditStatement(std::string& statement) override {
    if (statementAccepted) {
      statement = statementEntered;
    }
    return statementAccepted;
  }
  void SaveReport() override {
    ++saves;
    if (onSaveReport) {
      onSaveReport();
    }
  }
  void LoadConfiguration(const std::string& path) override { loadedConfiguration = path; }
  bool HasUsableConnection() override { return connected; }
};
