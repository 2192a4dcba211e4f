// The run dialogs built once each over no database.
#include "EveryDialog.h"

EveryDialog::EveryDialog(SettingsStore& store, UserPrompts& prompts)
    : parameters(settings, store, database, prompts),
      general(GeneralOptions::From(settings), store, database, prompts),
      login(store, messages, prompts, nullptr),
      sqlScript("select * from emp", settings, store, database, prompts),
      conditions(settings, store, database),
      objectOptions(settings, database, prompts),
      sourceOptions(settings, database) {}

std::vector<std::pair<QString, QDialog*>> EveryDialog::All() {
  return {{"parameters", &parameters},
          {"general-options", &general},
          {"login", &login},
          {"sql-script", &sqlScript},
          {"data-conditions", &conditions},
          {"advanced-object-options", &objectOptions},
          {"advanced-source-options", &sourceOptions}};
}
