// dialog_screenshots OUTDIR: draws each run dialog under the current platform
// (offscreen in the build) into OUTDIR/NAME.png, so that clipped or
// overlapping controls can be seen without a display.
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>

#include "ScriptedPrompts.h"
#include "config/MemorySettingsStore.h"
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

namespace {

// No database selected: the dialogs as a new user first sees them.
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

bool Save(QWidget& dialog, const QDir& dir, const QString& name) {
  dialog.adjustSize();
  dialog.show();
  QApplication::processEvents();
  const bool saved = dialog.grab().save(dir.filePath(name + ".png"));
  dialog.hide();
  if (!saved) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(dir.filePath(name + ".png")));
  }
  return saved;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 2 || !QDir().mkpath(argv[1])) {
    std::fprintf(stderr, "usage: dialog_screenshots OUTDIR\n");
    return 2;
  }
  const QDir dir(argv[1]);
  MemorySettingsStore store;
  ScriptedPrompts prompts;
  NoDatabase database;
  SilentMessages messages;
  RunSettings settings;

  ParametersDialog parameters(settings, store, database, prompts);
  GeneralOptionsDialog general(GeneralOptions::From(settings), store, database, prompts);
  LoginDialog login(store, messages, prompts, nullptr);
  SqlScriptDialog sqlScript("select * from emp", settings, store, database, prompts);
  DataConditionsDialog conditions(settings, store, database);
  CAdvancedSheet objectOptions(settings, database, prompts);
  CSourceSheet sourceOptions(settings, database);
  const bool saved = Save(parameters, dir, "parameters") && Save(general, dir, "general-options") &&
                     Save(login, dir, "login") && Save(sqlScript, dir, "sql-script") &&
                     Save(conditions, dir, "data-conditions") &&
                     Save(objectOptions, dir, "advanced-object-options") &&
                     Save(sourceOptions, dir, "advanced-source-options");
  return saved ? 0 : 1;
}
