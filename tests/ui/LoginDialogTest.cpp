// The login and password dialogs offscreen against the sandbox's demo
// database: the ways of filling Username, the "Recent DB" list as it is read
// and rewritten, and what a failed logon or a cancel leaves behind.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QTreeWidget>

#include "ScriptedPrompts.h"
#include "tests/oracle/SandboxClient.h"
#include "ui/LoginDialog.h"
#include "ui/PasswordDialog.h"

namespace {

class LoginDialogTest : public ::testing::Test {
 protected:
  std::unique_ptr<LoginDialog> Open() {
    return std::make_unique<LoginDialog>(*settings, messages, prompts, nullptr);
  }

  static void Fill(LoginDialog& dialog, const QString& user, const QString& password,
                   const QString& database) {
    dialog.UserField()->setEditText(user);
    dialog.PasswordField()->setText(password);
    dialog.DatabaseField()->setEditText(database);
  }

  std::string Recent(int i) {
    return settings->GetString(LoginDialog::RecentSection, std::to_string(i), "<missing>");
  }

  static QStringList Rows(const LoginDialog& dialog) {
    QStringList rows;
    for (int i = 0; i < dialog.RecentList()->topLevelItemCount(); ++i) {
      rows << dialog.RecentList()->topLevelItem(i)->text(0);
    }
    return rows;
  }

  std::unique_ptr<MemorySettingsStore> settings = SandboxSettings();
  RecordingMessages messages;
  ScriptedPrompts prompts;
};

TEST_F(LoginDialogTest, UsernameMayCarryPasswordAndDatabase) {
  struct Case {
    QString user, password, database;
  };
  // All three in the user text; a plain user with both fields; user@database
  // with the Password field only. The fields not read hold wrong values.
  for (const Case& logon : {Case{"DEMO/demo@demo", "wrong", "nowhere"},
                            Case{"DEMO", "demo", "demo"}, Case{"DEMO@demo", "demo", "nowhere"}}) {
    const auto dialog = Open();
    Fill(*dialog, logon.user, logon.password, logon.database);
    dialog->accept();
    ASSERT_EQ(dialog->result(), QDialog::Accepted) << logon.user.toStdString();
    const std::unique_ptr<SessionHolder> holder = dialog->TakeHolder();
    ASSERT_TRUE(holder && holder->Session);
    EXPECT_EQ(holder->Session->User(), "DEMO");
    EXPECT_EQ(holder->Session->Database(), "demo");
    EXPECT_EQ(holder->Session->SessionLabel(), "DEMO@demo");
  }
  EXPECT_TRUE(messages.texts.empty());
}

TEST_F(LoginDialogTest, MissingUserOrPasswordIsRefusedWithItsMessage) {
  const auto dialog = Open();
  Fill(*dialog, "", "demo", "demo");
  dialog->accept();
  EXPECT_TRUE(prompts.WasShown("Please enter a username to connect to the database"));
  Fill(*dialog, "DEMO@demo", "", "");
  dialog->accept();
  EXPECT_TRUE(prompts.WasShown("Please enter a password to connect to 'DEMO'"));
  EXPECT_NE(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(Recent(0), "<missing>");  // nothing recorded for a refused OK
}

TEST_F(LoginDialogTest, RecentListEndsAtAnEntryWithoutAtAndHidesPasswords) {
  settings->SetString(LoginDialog::RecentSection, "0", "scott/tiger@orcl");
  settings->SetString(LoginDialog::RecentSection, "1", "DEMO@demo");
  settings->SetString(LoginDialog::RecentSection, "2", "broken");
  settings->SetString(LoginDialog::RecentSection, "3", "later@db");
  const auto dialog = Open();
  EXPECT_EQ(Rows(*dialog), (QStringList{"scott/*****@orcl", "DEMO@demo"}));
  // The first row fills the fields; the combos hold each name once, sorted.
  EXPECT_EQ(dialog->UserField()->currentText(), "scott");
  EXPECT_EQ(dialog->PasswordField()->text(), "tiger");
  EXPECT_EQ(dialog->DatabaseField()->currentText(), "orcl");
  ASSERT_EQ(dialog->UserField()->count(), 2);
  EXPECT_EQ(dialog->UserField()->itemText(0), "DEMO");
  EXPECT_EQ(dialog->DatabaseField()->findText("later"), -1);

  dialog->RecentList()->setCurrentItem(dialog->RecentList()->topLevelItem(1));
  EXPECT_EQ(dialog->UserField()->currentText(), "DEMO");
  EXPECT_EQ(dialog->PasswordField()->text(), "");
}

TEST_F(LoginDialogTest, ALogonReplacesTheOlderEntryOfTheSameUserAndDatabase) {
  settings->SetString(LoginDialog::RecentSection, "0", "DEMO/demo@demo");
  settings->SetString(LoginDialog::RecentSection, "1", "scott/tiger@orcl");
  const auto dialog = Open();
  // A password is kept only when asked for.
  EXPECT_FALSE(dialog->SavePasswordBox()->isChecked());
  dialog->SavePasswordBox()->click();
  EXPECT_EQ(settings->GetInt("Settings", "Savepass", -1), 1);
  dialog->SavePasswordBox()->click();
  EXPECT_EQ(settings->GetInt("Settings", "Savepass", -1), 0);
  Fill(*dialog, "DEMO", "demo", "demo");
  dialog->accept();
  ASSERT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_FALSE(dialog->TakeHolder()->PasswordSaved);
  EXPECT_EQ(Recent(0), "DEMO@demo");
  EXPECT_EQ(Recent(1), "scott/tiger@orcl");
  EXPECT_EQ(Recent(2), "<missing>");

  const auto reopened = Open();
  EXPECT_FALSE(reopened->SavePasswordBox()->isChecked());
  EXPECT_EQ(Rows(*reopened), (QStringList{"DEMO@demo", "scott/*****@orcl"}));
}

TEST_F(LoginDialogTest, DeleteThenCancelLeavesTheStoreAlone) {
  settings->SetString(LoginDialog::RecentSection, "0", "DEMO/demo@demo");
  settings->SetString(LoginDialog::RecentSection, "1", "scott/tiger@orcl");
  settings->SetString(LoginDialog::RecentSection, "2", "");
  const auto dialog = Open();
  dialog->RecentList()->setCurrentItem(dialog->RecentList()->topLevelItem(0));
  QTest::keyClick(dialog->RecentList(), Qt::Key_Delete);
  EXPECT_EQ(Rows(*dialog), QStringList{"scott/*****@orcl"});
  dialog->reject();
  EXPECT_EQ(Recent(0), "DEMO/demo@demo");
  EXPECT_EQ(Recent(1), "scott/tiger@orcl");
  EXPECT_EQ(Recent(2), "");
}

TEST_F(LoginDialogTest, FailedLogonStaysOpenAndOnlyASuccessfulOneIsRecorded) {
  settings->SetString(LoginDialog::RecentSection, "0", "scott/tiger@orcl");
  settings->SetString(LoginDialog::RecentSection, "1", "demo/old@DEMO");
  settings->SetString(LoginDialog::RecentSection, "2", "report/report@demo");
  const auto dialog = Open();
  Fill(*dialog, "DEMO", "wrong", "demo");
  dialog->accept();
  EXPECT_NE(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(dialog->TakeHolder(), nullptr);
  ASSERT_EQ(messages.texts.size(), 1u);
  EXPECT_NE(messages.texts[0].find("ORA-01017"), std::string::npos);
  // A refused password is the thing to retype.
  EXPECT_EQ(dialog->PasswordField()->selectedText(), "wrong");
  EXPECT_EQ(Recent(0), "scott/tiger@orcl");
  EXPECT_EQ(Recent(1), "demo/old@DEMO");

  // The second try succeeds; the same user and database in other case is the
  // same entry, and no blank entry ends the list.
  dialog->SavePasswordBox()->setChecked(true);
  Fill(*dialog, "DEMO", "demo", "demo");
  dialog->accept();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(Recent(0), "DEMO/demo@demo");
  EXPECT_EQ(Recent(1), "scott/tiger@orcl");
  EXPECT_EQ(Recent(2), "report/report@demo");
  EXPECT_EQ(Recent(3), "<missing>");
}

TEST_F(LoginDialogTest, PasswordDialogRefusesBlankAndReturnsAsTyped) {
  PasswordDialog dialog("DEMO", "demo", prompts, nullptr);
  dialog.PasswordField()->setText("   ");
  dialog.accept();
  EXPECT_TRUE(prompts.WasShown("Please enter a password."));
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  dialog.PasswordField()->setText(" demo ");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(dialog.Password(), " demo ");
}

}  // namespace
