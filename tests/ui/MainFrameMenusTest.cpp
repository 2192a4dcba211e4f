// The main frame's menus offscreen: their order and separators, the message
// pane coming back to "Ready" after a hover, About, and the Tools entries
// started from the PATH or offered for install.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMenuBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include "ScriptedPrompts.h"
#include "config/MemorySettingsStore.h"
#include "engine/EmptyRunPhases.h"
#include "ui/CMainFrame.h"

namespace {

class MainFrameMenusTest : public ::testing::Test {
 protected:
  MainFrameMenusTest() : phases("DEMO"), frame(store, prompts, phases) {}

  // A menu's items as "text" with "-" for separators.
  QStringList ItemsOf(const QString& title) {
    for (QAction* menu : frame.menuBar()->actions()) {
      if (menu->text() == title) {
        QStringList items;
        for (QAction* item : menu->menu()->actions()) {
          items << (item->isSeparator() ? "-" : item->text());
        }
        return items;
      }
    }
    return {};
  }

  MemorySettingsStore store;
  ScriptedPrompts prompts;
  EmptyRunPhases phases;
  CMainFrame frame;
};

TEST_F(MainFrameMenusTest, MenusStandInTheirOrderWithTheirGroups) {
  QStringList titles;
  for (QAction* menu : frame.menuBar()->actions()) {
    titles << menu->text();
  }
  EXPECT_EQ(titles, QStringList({"&Quillmark", "&Action", "SQL &Library", "&Edit", "&View",
                                 "&Tools", "&Help"}));
  const QStringList main = ItemsOf("&Quillmark");
  EXPECT_EQ(main.first(), "&Connect to a database");
  EXPECT_EQ(main.at(1), "-");
  EXPECT_EQ(main.mid(main.indexOf("&Open Configuration"), 3),
            QStringList({"&Open Configuration", "Save Confi&guration as...", "-"}));
  EXPECT_EQ(main.last(), "E&xit");
  EXPECT_EQ(ItemsOf("SQL &Library").mid(0, 4),
            QStringList({"&Manage Library", "-", "Auto &Run", "-"}));
  EXPECT_EQ(ItemsOf("&Help"),
            QStringList({"&Help Topics", "On the &Web...", "&About Quillmark for Oracle..."}));
  EXPECT_EQ(frame.OpenConfigurationAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
}

TEST_F(MainFrameMenusTest, ToolbarButtonsHaveIconsAndTellTheirKeys) {
  QToolBar* bar = frame.findChild<QToolBar*>("Toolbar");
  ASSERT_NE(bar, nullptr);
  for (QAction* action : bar->actions()) {
    if (!action->isSeparator()) {
      EXPECT_FALSE(action->icon().isNull()) << action->text().toStdString();
    }
  }
  const QImage copy = frame.CopyAction()->icon().pixmap(24).toImage();
  const QImage print = frame.PrintAction()->icon().pixmap(24).toImage();
  EXPECT_NE(copy, print);
  // A drawn or themed icon has something on it.
  for (const QImage& image : {copy, print}) {
    bool marked = false;
    for (int y = 0; y < image.height() && !marked; ++y) {
      for (int x = 0; x < image.width() && !marked; ++x) {
        marked = qAlpha(image.pixel(x, y)) != 0;
      }
    }
    EXPECT_TRUE(marked);
  }
  EXPECT_EQ(frame.FindAction()->toolTip(),
            "Find (" + QKeySequence(Qt::CTRL | Qt::Key_F).toString(QKeySequence::NativeText) + ")");
  EXPECT_TRUE(frame.StopAction()->toolTip().startsWith("Stop ("));
}

TEST_F(MainFrameMenusTest, ReadyComesBackAfterAMenuItemWasHovered) {
  QStatusTipEvent hover("Opens a configuration file");
  QApplication::sendEvent(&frame, &hover);
  EXPECT_EQ(frame.statusBar()->currentMessage(), "Opens a configuration file");
  QStatusTipEvent leave("");
  QApplication::sendEvent(&frame, &leave);
  EXPECT_EQ(frame.statusBar()->currentMessage(), "Ready");
}

TEST_F(MainFrameMenusTest, AboutNamesTheVersion) {
  frame.AboutAction()->trigger();
  ASSERT_FALSE(prompts.Messages().isEmpty());
  EXPECT_TRUE(prompts.Messages().last().startsWith("Quillmark for Oracle\nVersion "));
}

TEST_F(MainFrameMenusTest, ToolsStartFromThePathOrOfferTheirInstall) {
  const QByteArray savedPath = qgetenv("PATH");
  QTemporaryDir bin;
  qputenv("PATH", bin.path().toLocal8Bit());
  frame.PenwickAction()->trigger();  // not installed: No does nothing
  EXPECT_EQ(prompts.Messages().last(),
            "Penwick is not installed in your system, would you like to install it now?");

  const QString marker = bin.filePath("started");
  QFile tool(bin.filePath("penwick"));
  ASSERT_TRUE(tool.open(QIODevice::WriteOnly));
  tool.write(("#!/bin/sh\n: > '" + marker + "'\n").toLocal8Bit());
  tool.close();
  tool.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  const qsizetype asked = prompts.Messages().size();
  frame.PenwickAction()->trigger();
  EXPECT_TRUE(QTest::qWaitFor([&marker] { return QFile::exists(marker); }, 5000));
  EXPECT_EQ(prompts.Messages().size(), asked);
  qputenv("PATH", savedPath);
}

}  // namespace
