// The SQL script dialog offscreen from the window's Start SQL Script command:
// a blank statement refused, one with trailing blanks kept as typed, the
// database row's caption, and general options that outlive a cancel.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ModalDialogs.h"
#include "ScriptedPrompts.h"
#include "engine/EmptyRunPhases.h"
#include "tests/oracle/SandboxClient.h"
#include "ui/CMainFrame.h"
#include "ui/DatabaseSchemaRow.h"
#include "ui/GeneralOptionsDialog.h"
#include "ui/LoginDialog.h"
#include "ui/SqlScriptDialog.h"

namespace {

constexpr const char* EmptyStatementText =
    "Please enter a statement to be executed on the database.";

class SqlScriptDialogTest : public ::testing::Test {
 protected:
  void StartWithDialog(std::function<void(SqlScriptDialog&)> act) {
    WhenDialogOpens<SqlScriptDialog>(std::move(act));
    frame.UpdateCommands();
    frame.StartSqlScriptAction()->trigger();
    frame.Engine().Driver().WaitForWorker(
        [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); });
  }

  void Connect() {
    WhenDialogOpens<LoginDialog>([](LoginDialog& login) {
      login.UserField()->setEditText("DEMO/demo@demo");
      login.accept();
    });
    frame.ConnectAction()->trigger();
  }

  std::unique_ptr<MemorySettingsStore> store = SandboxSettings();
  ScriptedPrompts prompts;
  EmptyRunPhases phases{"DEMO"};
  CMainFrame frame{*store, prompts, phases};
};

TEST_F(SqlScriptDialogTest, BlankStatementIsRefusedAndTrailingBlanksAreKept) {
  RunSettings& settings = frame.Engine().Settings();
  settings.StatementText = "select 1 from dual";
  QString shown;
  bool stayedOpen = false;
  StartWithDialog([&](SqlScriptDialog& dialog) {
    shown = dialog.StatementEdit()->toPlainText();
    EXPECT_EQ(dialog.DatabaseRow()->Button()->text(), "Press to select Database");
    dialog.StatementEdit()->setPlainText("  \n\t\n   ");
    dialog.StartButton()->click();
    stayedOpen = dialog.isVisible();
    dialog.StatementEdit()->setPlainText("select * from emp  \n  ");
    dialog.StartButton()->click();
  });
  EXPECT_EQ(shown, "select 1 from dual");
  EXPECT_TRUE(stayedOpen);
  EXPECT_TRUE(prompts.WasShown(EmptyStatementText));
  EXPECT_EQ(settings.StatementText, "select * from emp  \n  ");
}

TEST_F(SqlScriptDialogTest, CancelDropsTheStatementButKeepsTheGeneralOptions) {
  RunSettings& settings = frame.Engine().Settings();
  settings.StatementText = "select 1 from dual";
  StartWithDialog([](SqlScriptDialog& dialog) {
    dialog.StatementEdit()->setPlainText("select 2 from dual");
    WhenDialogOpens<GeneralOptionsDialog>([](GeneralOptionsDialog& general) {
      general.ToFile()->click();
      general.FileNameEdit()->setText("rows.txt");
      general.OkButton()->click();
    });
    dialog.GeneralButton()->click();
    dialog.reject();
  });
  EXPECT_EQ(settings.StatementText, "select 1 from dual");
  EXPECT_EQ(settings.ReportToFile, 1);
  EXPECT_EQ(settings.ReportFileName, "rows.txt");
}

TEST_F(SqlScriptDialogTest, AStatementThatIsNoQueryIsRefusedBeforeTheRun) {
  Connect();
  ASSERT_NE(frame.Connection(), nullptr);
  RunSettings& settings = frame.Engine().Settings();
  bool stayedOpen = false;
  StartWithDialog([&](SqlScriptDialog& dialog) {
    dialog.StatementEdit()->setPlainText("delete from departments");
    dialog.StartButton()->click();
    stayedOpen = dialog.isVisible();
    dialog.reject();
  });
  EXPECT_TRUE(stayedOpen);
  ASSERT_FALSE(prompts.Messages().empty());
  EXPECT_TRUE(prompts.Messages().back().startsWith("Only a query (SELECT)"))
      << prompts.Messages().back().toStdString();
  EXPECT_NE(settings.StatementText, "delete from departments");

  StartWithDialog([](SqlScriptDialog& dialog) {
    dialog.StatementEdit()->setPlainText("select * from departments");
    dialog.StartButton()->click();
  });
  EXPECT_EQ(settings.StatementText, "select * from departments");
}

}  // namespace
