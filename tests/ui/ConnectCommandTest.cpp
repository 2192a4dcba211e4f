// The Connect command of the main frame offscreen: the login dialog it opens,
// the status bar's database pane, the connection handed to the runs, and the
// previous connection kept when a later logon is cancelled.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "ModalDialogs.h"
#include "ScriptedPrompts.h"
#include "scripting/connection/DatabaseConnection.h"
#include "scripting/connection/ScriptingPhases.h"
#include "tests/oracle/SandboxClient.h"
#include "ui/CMainFrame.h"
#include "ui/LoginDialog.h"

namespace {

TEST(ConnectCommandTest, ConnectsThroughTheLoginDialogAndKeepsItOnCancel) {
  const std::unique_ptr<MemorySettingsStore> store = SandboxSettings();
  ScriptedPrompts prompts;
  ScriptingPhases phases;
  CMainFrame frame(*store, prompts, phases);
  EXPECT_EQ(frame.DatabasePane()->text(), "Database:    Not available");

  WhenDialogOpens<LoginDialog>([](LoginDialog& dialog) {
    dialog.UserField()->setEditText("DEMO/demo@demo");
    dialog.accept();
  });
  frame.ConnectAction()->trigger();
  ASSERT_NE(frame.Connection(), nullptr);
  EXPECT_FALSE(frame.ConnectionState().NoConnection);
  // The database as typed: on a case-sensitive system it may be part of a path.
  EXPECT_EQ(frame.DatabasePane()->text(), "Source Database:  DEMO@demo");
  EXPECT_EQ(phases.Connection(), frame.Connection());
  // About names the client library and the server's release.
  frame.AboutAction()->trigger();
  ASSERT_FALSE(prompts.Messages().isEmpty());
  const QString about = prompts.Messages().last();
  EXPECT_TRUE(
      about.contains("Oracle client library: " + QString::fromStdString(SandboxLibraryPath())))
      << about.toStdString();
  EXPECT_TRUE(about.contains("Server: Oracle Database 19c")) << about.toStdString();
  const std::shared_ptr<DatabaseConnection> first = frame.Connection();

  WhenDialogOpens<LoginDialog>([](LoginDialog& dialog) { dialog.reject(); });
  frame.ConnectAction()->trigger();
  EXPECT_EQ(frame.Connection(), first);
  EXPECT_EQ(phases.Connection(), first);
  EXPECT_TRUE(first->Session()->IsConnected());
  EXPECT_EQ(frame.DatabasePane()->text(), "Source Database:  DEMO@demo");
}

}  // namespace
