// Desktop run dialogs: the parameters dialog between Start and the run.
#include "ui/DesktopRunDialogs.h"

#include "ui/DatabaseChoice.h"
#include "ui/ParametersDialog.h"
#include "ui/SqlScriptDialog.h"

DesktopRunDialogs::DesktopRunDialogs(QWidget& window, SettingsStore& store,
                                     DatabaseChoice& database, UserPrompts& prompts,
                                     std::function<void()> saveReport,
                                     std::function<RunSettings&()> settings,
                                     std::function<void(const std::string&)> loadConfiguration)
    : window_(window),
      store_(store),
      database_(database),
      prompts_(prompts),
      saveReport_(std::move(saveReport)),
      settings_(std::move(settings)),
      loadConfiguration_(std::move(loadConfiguration)) {}

bool DesktopRunDialogs::EditRunParameters(RunSettings& settings) {
  ParametersDialog dialog(settings, store_, database_, prompts_, &window_);
  if (dialog.exec() != QDialog::Accepted) {
    return false;
  }
  dialog.CopyChoicesTo(settings);
  return true;
}

bool DesktopRunDialogs::EditStatement(std::string& statement) {
  SqlScriptDialog dialog(statement, settings_(), store_, database_, prompts_, &window_);
  if (dialog.exec() != QDialog::Accepted) {
    return false;
  }
  statement = dialog.Statement();
  return true;
}

bool DesktopRunDialogs::HasUsableConnection() {
  return database_.DatabaseSelected();
}
