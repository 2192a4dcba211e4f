// Desktop run dialogs: the parameters dialog between Start and the run.
#include "ui/DesktopRunDialogs.h"

#include "ui/DatabaseChoice.h"
#include "ui/ParametersDialog.h"

DesktopRunDialogs::DesktopRunDialogs(QWidget& window, SettingsStore& store,
                                     DatabaseChoice& database, UserPrompts& prompts,
                                     std::function<void()> saveReport)
    : window_(window),
      store_(store),
      database_(database),
      prompts_(prompts),
      saveReport_(std::move(saveReport)) {}

bool DesktopRunDialogs::EditRunParameters(RunSettings& settings) {
  ParametersDialog dialog(settings, store_, database_, prompts_, &window_);
  if (dialog.exec() != QDialog::Accepted) {
    return false;
  }
  dialog.CopyChoicesTo(settings);
  return true;
}

bool DesktopRunDialogs::HasUsableConnection() {
  return database_.DatabaseSelected();
}
