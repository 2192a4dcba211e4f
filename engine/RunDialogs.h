// RunDialogs: the window's dialogs and document operations that starting a run
// needs, called on the user-interface thread. The window implements them with
// its own dialogs; tests and headless runs with plain answers.
#pragma once

#include <string>

struct RunSettings;

class RunDialogs {
 public:
  virtual ~RunDialogs() = default;

  // The parameters dialog filled from settings; on OK it copies the choices
  // back and returns true, on Cancel it changes nothing and returns false.
  virtual bool EditRunParameters(RunSettings& settings) = 0;
  // The SQL script dialog showing statement; on OK statement holds the new text.
  virtual bool EditStatement(std::string& statement) = 0;
  // Saves the report, asking for a file; a cancelled file dialog sets
  // RunFlags::SaveCancelled.
  virtual void SaveReport() = 0;
  // Loads a configuration file silently, connecting to the database it names.
  virtual void LoadConfiguration(const std::string& path) = 0;
  // True when the view has a logged-on connection.
  virtual bool HasUsableConnection() = 0;
};
