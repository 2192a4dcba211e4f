// The desktop program's start, offscreen: the library directory recorded at
// the first start, the window placement rules, and the first command 100 ms
// after start (the Connect dialog, or the unattended run of a file).
#include <gtest/gtest.h>

#include <QApplication>
#include <QSplashScreen>
#include <QTemporaryDir>
#include <QTest>

#include "ScriptedPrompts.h"
#include "config/ConfigurationFile.h"
#include "config/MemorySettingsStore.h"
#include "scripting/connection/ScriptingPhases.h"
#include "tests/oracle/SandboxClient.h"
#include "ui/CMainFrame.h"
#include "ui/CTallyfoldView.h"
#include "ui/LoginDialog.h"
#include "ui/StartUpSettings.h"

namespace {

constexpr const char* FinishedText = "Quillmark for Oracle has finished scripting the database";

TEST(StartUpSettingsTest, FirstStartRecordsTheLibraryAndLaterStartsKeepIt) {
  MemorySettingsStore store;
  const std::string first = LibraryDirectory(store);
  EXPECT_TRUE(QString::fromStdString(first).endsWith("/share/quillmark/SQL Library"));
  EXPECT_EQ(store.GetString("Settings", "LibDir", ""), first);

  store.SetString("Settings", "LibDir", "/gone/library");
  EXPECT_EQ(LibraryDirectory(store), "/gone/library");
}

TEST(StartUpSettingsTest, PlacementOutsideItsLimitsIsIgnored) {
  MemorySettingsStore store;
  EXPECT_EQ(SavedFrameSize(store), QSize(800, 600));  // nothing saved yet
  EXPECT_FALSE(SavedFramePosition(store));
  store.SetInt("Settings", "BigWidth", 150);
  store.SetInt("Settings", "BigHeight", 90);
  EXPECT_EQ(SavedFrameSize(store), QSize(800, 600));
  store.SetInt("Settings", "BigWidth", 200);
  store.SetInt("Settings", "BigHeight", 100);
  EXPECT_EQ(SavedFrameSize(store), QSize(200, 100));

  const auto positionOf = [&store](int x, int y) {
    store.SetInt("Settings", "LocX", x);
    store.SetInt("Settings", "LocY", y);
    return SavedFramePosition(store);
  };
  EXPECT_FALSE(positionOf(0, 300));
  EXPECT_FALSE(positionOf(300, 2000));
  EXPECT_FALSE(positionOf(-32, -32));
  EXPECT_EQ(positionOf(1, 1999), QPoint(1, 1999));
}

TEST(StartUpSettingsTest, FramePlacementSurvivesARestart) {
  MemorySettingsStore store;
  store.SetInt("Settings", "BigWidth", 640);
  store.SetInt("Settings", "BigHeight", 480);
  QWidget shown;
  ShowFrameAsSaved(store, shown, false);
  shown.resize(700, 500);
  SaveFramePlacement(store, shown);
  EXPECT_EQ(store.GetInt("Settings", "BigMaximized", -1), 0);
  EXPECT_EQ(SavedFrameSize(store), QSize(700, 500));
  // Restart after restart the window keeps the size and place it was left with.
  const QPoint place = shown.pos();
  for (int start = 0; start < 9; ++start) {
    QWidget again;
    ShowFrameAsSaved(store, again, false);
    SaveFramePlacement(store, again);
  }
  EXPECT_EQ(SavedFrameSize(store), QSize(700, 500));
  if (const std::optional<QPoint> saved = SavedFramePosition(store)) {
    EXPECT_EQ(*saved, place);
  }

  QWidget minimized;
  ShowFrameAsSaved(store, minimized, true);
  EXPECT_TRUE(minimized.isMinimized());
  const QSize restored = SavedFrameSize(store);
  SaveFramePlacement(store, minimized);  // closed while minimized: the size it returns to
  EXPECT_EQ(SavedFrameSize(store), restored);
}

bool SplashIsShown() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (qobject_cast<QSplashScreen*>(window) && window->isVisible()) {
      return true;
    }
  }
  return false;
}

class FirstCommandTest : public ::testing::Test {
 protected:
  FirstCommandTest() : store(SandboxSettings()), frame(*store, prompts, phases) {}

  std::unique_ptr<MemorySettingsStore> store;
  ScriptedPrompts prompts;
  ScriptingPhases phases;
  CMainFrame frame;
};

TEST_F(FirstCommandTest, WithoutAFileTheConnectDialogOpens) {
  bool loginShown = false;
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout, [&loginShown] {
    if (auto* dialog = qobject_cast<LoginDialog*>(QApplication::activeModalWidget())) {
      loginShown = true;
      dialog->reject();
    }
  });
  watcher.start(10);
  frame.StartUp("");
  EXPECT_FALSE(loginShown);  // not before the window has settled
  EXPECT_TRUE(SplashIsShown());
  EXPECT_TRUE(QTest::qWaitFor([&loginShown] { return loginShown; }, 5000));
  EXPECT_EQ(frame.Connection(), nullptr);
  EXPECT_TRUE(QTest::qWaitFor([] { return !SplashIsShown(); }, 5000));
}

TEST_F(FirstCommandTest, AFileArgumentRunsItMinimizedWithoutTheConnectDialog) {
  QTemporaryDir directory;
  RunSettings settings;
  settings.DoData = 0;
  const QString path = directory.filePath("nightly.qmo");
  ASSERT_FALSE(
      WriteConfigurationFile(path.toStdString(), EncodeConfiguration("DEMO/demo@demo", settings)));
  bool loginShown = false;
  QTimer watcher;
  QObject::connect(&watcher, &QTimer::timeout, [&loginShown] {
    loginShown = loginShown || qobject_cast<LoginDialog*>(QApplication::activeModalWidget());
  });
  watcher.start(10);

  frame.StartUp(path);
  EXPECT_TRUE(frame.isMinimized());
  EXPECT_FALSE(SplashIsShown());
  ASSERT_TRUE(QTest::qWaitFor([this] { return prompts.WasShown(FinishedText); }, 60000));
  EXPECT_FALSE(loginShown);
  EXPECT_FALSE(frame.isMinimized());  // the finished run brings the window back
  EXPECT_EQ(frame.Engine().Settings().DoData, 0);
  EXPECT_TRUE(QTest::qWaitFor(
      [this] { return frame.View().toPlainText().contains("End of Quillmark for Oracle"); }, 5000));
}

TEST_F(FirstCommandTest, AFileWithoutAUsableLogonSaysSo) {
  QTemporaryDir directory;
  const QString path = directory.filePath("nologon.qmo");
  ASSERT_FALSE(WriteConfigurationFile(path.toStdString(), EncodeConfiguration("", RunSettings())));
  frame.StartUp(path);
  ASSERT_TRUE(QTest::qWaitFor([this] { return !prompts.Messages().isEmpty(); }, 5000));
  EXPECT_TRUE(prompts.Messages().last().startsWith("Could not automatically start"));
  EXPECT_FALSE(frame.isMinimized());
}

}  // namespace
