// SqlLibraryMenu: the "SQL Library" menu of the main frame. Each time it opens
// it lists the library directory again (folders as submenus), so it follows
// the directory without a restart. Choosing a file loads its text as the
// free-form statement and, with "Auto Run" on, starts a statement run.
#pragma once

#include <QObject>
#include <functional>
#include <string>

#include "ui/SqlLibrary.h"

class QAction;
class QMenu;
class QWidget;
class RunEngine;
class UserPrompts;

class SqlLibraryMenu : public QObject {
  Q_OBJECT

 public:
  // directory gives the library folder as it is now; canAutoRun says whether
  // a logged-on connection exists for an automatic statement run.
  SqlLibraryMenu(QMenu& menu, RunEngine& engine, UserPrompts& prompts,
                 std::function<std::string()> directory, std::function<bool()> canAutoRun);

  // Lists the directory again and replaces the menu's entries.
  void Rebuild();
  // Loads the file bound to commandId, and runs it when Auto Run allows.
  void RunEntry(int commandId);

  QAction* ManageAction() const { return manage_; }
  QAction* AutoRunAction() const { return autoRun_; }
  const SqlLibraryListing& Listing() const { return listing_; }

 private:
  void AddFile(QMenu& menu, const LibraryEntry& entry);
  void ManageLibrary();

  QMenu& menu_;
  RunEngine& engine_;
  UserPrompts& prompts_;
  std::function<std::string()> directory_;
  std::function<bool()> canAutoRun_;
  SqlLibraryListing listing_;
  std::string listedDirectory_;
  QAction* manage_;
  QAction* autoRun_;
};
