// The SQL Library menu of the main frame offscreen: what it shows for a large
// library, folders and an empty folder, a file gone before it is chosen, and
// Auto Run during a run.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>

#include "ScriptedPrompts.h"
#include "config/MemorySettingsStore.h"
#include "engine/EmptyRunPhases.h"
#include "ui/CMainFrame.h"
#include "ui/SqlLibraryMenu.h"

namespace {

class SqlLibraryMenuTest : public ::testing::Test {
 protected:
  SqlLibraryMenuTest() : phases("DEMO"), frame(store, prompts, phases) {
    store.SetString("Settings", "LibDir", library.path().toStdString());
  }

  void File(const QString& relative, const QByteArray& text = "select 1 from dual\n") {
    QDir(library.path()).mkpath(QFileInfo(relative).path());
    QFile file(library.filePath(relative));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
  }
  // The menu's items after the four fixed ones, as the user sees them.
  QList<QAction*> Entries() {
    QMenu* menu = qobject_cast<QMenu*>(frame.Library().parent());
    return menu->actions().mid(4);
  }
  QAction* EntryNamed(const QString& name) {
    for (QAction* action : Entries()) {
      if (action->text() == name) {
        return action;
      }
    }
    return nullptr;
  }

  MemorySettingsStore store;
  ScriptedPrompts prompts;
  EmptyRunPhases phases;
  CMainFrame frame;
  QTemporaryDir library;
};

TEST_F(SqlLibraryMenuTest, ManyFilesShowHowManyMoreExist) {
  for (int index = 0; index < 60; ++index) {
    File(QString("q%1.sql").arg(index, 2, 10, QChar('0')));
  }
  frame.Library().Rebuild();
  frame.Library().Rebuild();  // a second opening replaces, never adds
  const QList<QAction*> entries = Entries();
  ASSERT_FALSE(entries.isEmpty());
  QAction* more = entries.last();
  EXPECT_FALSE(more->isEnabled());
  const int listed = static_cast<int>(entries.size()) - 1;
  EXPECT_LE(listed, LastLibraryCommandId - FirstLibraryCommandId + 1);
  EXPECT_EQ(more->text(), QString("%1 more files...").arg(60 - listed));
  EXPECT_EQ(entries.first()->text(), "q00.sql");
}

TEST_F(SqlLibraryMenuTest, FoldersBecomeSubmenusEvenWhenEmpty) {
  File("daily/users.sql");
  File("daily/locks.sql");
  QDir(library.path()).mkpath("empty");
  File("top.sql");
  frame.Library().Rebuild();
  QAction* daily = EntryNamed("daily");
  ASSERT_NE(daily, nullptr);
  ASSERT_NE(daily->menu(), nullptr);
  EXPECT_EQ(daily->menu()->actions().size(), 2);
  QAction* empty = EntryNamed("empty");
  ASSERT_NE(empty, nullptr);
  ASSERT_NE(empty->menu(), nullptr);
  EXPECT_TRUE(empty->menu()->actions().isEmpty());

  // A folder's file loads its text into the free-form statement.
  File("daily/locks.sql", "select *\r\nfrom v$lock");
  for (QAction* action : daily->menu()->actions()) {
    if (action->text() == "locks.sql") {
      action->trigger();
    }
  }
  EXPECT_EQ(frame.Engine().Settings().StatementText, "select *\nfrom v$lock\n");
}

TEST_F(SqlLibraryMenuTest, FileRemovedBeforeItIsChosenIsReported) {
  File("gone.sql");
  frame.Library().Rebuild();
  frame.Engine().Settings().StatementText = "kept";
  QFile::remove(library.filePath("gone.sql"));
  EntryNamed("gone.sql")->trigger();
  EXPECT_EQ(prompts.Messages().last(),
            "Could not open file '" + library.filePath("gone.sql") + "'");
  EXPECT_EQ(frame.Engine().Settings().StatementText, "kept");
}

TEST_F(SqlLibraryMenuTest, AutoRunDuringARunOnlyLoadsTheText) {
  File("report.sql", "select sysdate from dual\n");
  frame.Library().AutoRunAction()->setChecked(true);
  EXPECT_EQ(store.GetInt("Settings", "LibAutoRun", 0), 1);
  frame.Library().Rebuild();
  frame.Engine().Flags().Running = 1;
  EntryNamed("report.sql")->trigger();
  EXPECT_EQ(frame.Engine().Settings().StatementText, "select sysdate from dual\n");
  EXPECT_FALSE(frame.Engine().Driver().IsWorkerActive());
  EXPECT_TRUE(prompts.Messages().isEmpty());  // no refusal: nothing tried to start
  frame.Engine().Flags().Running = 0;
}

}  // namespace
