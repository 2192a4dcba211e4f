// The SQL Library menu: rebuilt on opening, files bound to command ids.
#include "ui/SqlLibraryMenu.h"

#include <QDesktopServices>
#include <QDir>
#include <QMenu>
#include <QUrl>

#include "config/SettingsStore.h"
#include "engine/RunEngine.h"
#include "ui/UserPrompts.h"

namespace {

constexpr const char* AutoRunKey = "LibAutoRun";

}  // namespace

SqlLibraryMenu::SqlLibraryMenu(QMenu& menu, RunEngine& engine, UserPrompts& prompts,
                               std::function<std::string()> directory,
                               std::function<bool()> canAutoRun)
    : QObject(&menu),
      menu_(menu),
      engine_(engine),
      prompts_(prompts),
      directory_(std::move(directory)),
      canAutoRun_(std::move(canAutoRun)) {
  manage_ = menu_.addAction("&Manage Library");
  connect(manage_, &QAction::triggered, this, &SqlLibraryMenu::ManageLibrary);
  menu_.addSeparator();
  autoRun_ = menu_.addAction("Auto &Run");
  autoRun_->setCheckable(true);
  autoRun_->setChecked(engine_.Store().GetInt(SettingsSection, AutoRunKey, 0) != 0);
  connect(autoRun_, &QAction::toggled, this,
          [this](bool on) { engine_.Store().SetInt(SettingsSection, AutoRunKey, on ? 1 : 0); });
  menu_.addSeparator();
  connect(&menu_, &QMenu::aboutToShow, this, &SqlLibraryMenu::Rebuild);
}

void SqlLibraryMenu::Rebuild() {
  // The four fixed items stay; entries and folder menus of the last listing go.
  const QList<QAction*> actions = menu_.actions();
  for (qsizetype index = 4; index < actions.size(); ++index) {
    QAction* action = actions.at(index);
    menu_.removeAction(action);
    if (QMenu* folder = action->menu()) {
      folder->deleteLater();  // its own action goes with it
    } else {
      action->deleteLater();
    }
  }
  listedDirectory_ = directory_();
  listing_ = ListSqlLibrary(listedDirectory_);
  for (const LibraryEntry& entry : listing_.Entries) {
    if (!entry.IsFolder) {
      AddFile(menu_, entry);
      continue;
    }
    QMenu* folder = new QMenu(QString::fromStdString(entry.Name).replace("&", "&&"), &menu_);
    for (const LibraryEntry& child : entry.Children) {
      AddFile(*folder, child);
    }
    menu_.addMenu(folder);
  }
  if (listing_.FilesNotListed > 0) {
    menu_.addAction(QString("%1 more files...").arg(listing_.FilesNotListed))->setEnabled(false);
  }
}

void SqlLibraryMenu::AddFile(QMenu& menu, const LibraryEntry& entry) {
  const int commandId = entry.CommandId;
  // A file name's "&" is shown, not taken for a mnemonic.
  QAction* action = menu.addAction(QString::fromStdString(entry.Name).replace("&", "&&"));
  connect(action, &QAction::triggered, this, [this, commandId] { RunEntry(commandId); });
}

void SqlLibraryMenu::RunEntry(int commandId) {
  const std::optional<std::string> path = LibraryFilePath(listing_, listedDirectory_, commandId);
  if (!path) {
    return;
  }
  const std::optional<std::string> statement = ReadLibraryStatement(*path);
  if (!statement) {
    prompts_.ShowMessage(menu_.parentWidget(),
                         "Could not open file '" + QString::fromStdString(*path) + "'",
                         MessageButtons::Ok, MessageIcon::Warning);
    return;
  }
  engine_.Settings().StatementText = *statement;
  if (autoRun_->isChecked() && canAutoRun_() && !engine_.Flags().Running) {
    engine_.Driver().StartStatementRun(*statement);
  }
}

void SqlLibraryMenu::ManageLibrary() {
  const QString directory = QString::fromStdString(directory_());
  QDir().mkpath(directory);  // a library not made yet opens empty, ready for files
  QDesktopServices::openUrl(QUrl::fromLocalFile(directory));
}
