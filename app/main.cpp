// The one program of both front ends: with --batch (or --help) the headless
// command line, which needs no display; otherwise the desktop program.
// "--settings DIR" keeps the settings in an INI file of DIR instead of the
// user's own store.
#include <QCoreApplication>
#include <string>
#include <vector>

#include "app/BatchOptions.h"
#include "app/HeadlessMain.h"

#ifdef QUILLMARK_DESKTOP
#include <QApplication>
#include <QMessageBox>
#include <QStringList>
#include <iostream>
#include <memory>

#include "app/DisplayCheck.h"
#include "config/QtSettingsStore.h"
#include "scripting/connection/ScriptingPhases.h"
#include "ui/CMainFrame.h"
#include "ui/QtUserPrompts.h"
#include "ui/StartUpSettings.h"

namespace {

std::unique_ptr<QtSettingsStore> OpenSettings(const QStringList& arguments) {
  const qsizetype option = arguments.indexOf("--settings");
  if (option >= 0 && option + 1 < arguments.size()) {
    return std::make_unique<QtSettingsStore>(arguments.at(option + 1).toStdString());
  }
  return std::make_unique<QtSettingsStore>();
}

// The configuration file to run, given as the one argument that is not an option.
QString ConfigurationArgument(const QStringList& arguments) {
  for (qsizetype index = 1; index < arguments.size(); ++index) {
    const QString& argument = arguments.at(index);
    if (argument == "--settings") {
      ++index;
    } else if (!argument.startsWith("-")) {
      return argument;
    }
  }
  return {};
}

int DesktopMain(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const std::unique_ptr<QtSettingsStore> store = OpenSettings(QApplication::arguments());
  if (!store->Problem().empty()) {
    QMessageBox::warning(nullptr, QStringLiteral("Quillmark for Oracle"),
                         QString::fromStdString(store->Problem()));
  }
  QtUserPrompts prompts;
  ScriptingPhases phases;
  int exitCode = 0;
  {
    CMainFrame frame(*store, prompts, phases);
    LibraryDirectory(*store);  // the first start records the library's place
    frame.StartUp(ConfigurationArgument(QApplication::arguments()));
    exitCode = QApplication::exec();
  }
  store->Sync();
  return exitCode;
}

}  // namespace
#endif

int main(int argc, char* argv[]) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
#ifdef QUILLMARK_DESKTOP
  if (!WantsHeadless(arguments)) {
    if (!DisplayAvailable()) {
      std::cerr << "quillmark: no display: use --batch to run headless\n";
      return BatchBadArguments;
    }
    return DesktopMain(argc, argv);
  }
#endif
  QCoreApplication application(argc, argv);
  return HeadlessMain(arguments);
}
