// The desktop program: builds the application and its main window.
// "--settings DIR" keeps the settings in an INI file of DIR instead of the
// user's own store.
#include <QApplication>
#include <QStringList>
#include <memory>

#include "config/QtSettingsStore.h"
#include "engine/EmptyRunPhases.h"
#include "ui/CMainFrame.h"
#include "ui/QtUserPrompts.h"

namespace {

std::unique_ptr<QtSettingsStore> OpenSettings(const QStringList& arguments) {
  const qsizetype option = arguments.indexOf("--settings");
  if (option >= 0 && option + 1 < arguments.size()) {
    return std::make_unique<QtSettingsStore>(arguments.at(option + 1).toStdString());
  }
  return std::make_unique<QtSettingsStore>();
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const std::unique_ptr<QtSettingsStore> store = OpenSettings(QApplication::arguments());
  QtUserPrompts prompts;
  // Scripting of the database objects is not part of the program yet.
  EmptyRunPhases phases;
  int exitCode = 0;
  {
    CMainFrame frame(*store, prompts, phases);
    frame.show();
    exitCode = QApplication::exec();
  }
  store->Sync();
  return exitCode;
}
