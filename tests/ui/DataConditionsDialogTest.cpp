// The data conditions dialog offscreen over a sandbox connection, driven
// through its controls: conditions stored as typed (leading blanks dropped),
// removed when emptied, cleared for views too, and the tables/views choice.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ModalDialogs.h"
#include "ScriptedPrompts.h"
#include "engine/EmptyRunPhases.h"
#include "tests/oracle/SandboxClient.h"
#include "ui/CMainFrame.h"
#include "ui/DataConditionsDialog.h"
#include "ui/LoginDialog.h"

namespace {

class DataConditionsDialogTest : public ::testing::Test {
 protected:
  DataConditionsDialogTest() {
    WhenDialogOpens<LoginDialog>([](LoginDialog& login) {
      login.UserField()->setEditText("DEMO/demo@demo");
      login.accept();
    });
    frame.ConnectAction()->trigger();
  }
  RunSettings& Settings() { return frame.Engine().Settings(); }
  static void Choose(DataConditionsDialog& dialog, const QString& name) {
    const QList<QListWidgetItem*> items = dialog.NameList()->findItems(name, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1) << name.toStdString();
    dialog.NameList()->setCurrentItem(items.front());
  }

  std::unique_ptr<MemorySettingsStore> store = SandboxSettings();
  ScriptedPrompts prompts;
  EmptyRunPhases phases{"DEMO"};
  CMainFrame frame{*store, prompts, phases};
};

TEST_F(DataConditionsDialogTest, EveryEditReachesTheConditionsAtOnce) {
  DataConditionsDialog dialog(Settings(), *store, frame);
  ASSERT_TRUE(dialog.ShowTables()->isChecked());  // no "WhereTab" yet
  EXPECT_FALSE(dialog.NameList()->findItems("DEPARTMENTS", Qt::MatchExactly).isEmpty());

  Choose(dialog, "EMPLOYEES");
  dialog.ConditionEdit()->setPlainText("  \n dept_id = 10 \n");
  EXPECT_EQ(Settings().DataConditions.at("EMPLOYEES"), "dept_id = 10 \n");
  Choose(dialog, "DEPARTMENTS");
  EXPECT_EQ(dialog.ConditionEdit()->toPlainText(), "");
  Choose(dialog, "EMPLOYEES");
  EXPECT_EQ(dialog.ConditionEdit()->toPlainText(), "dept_id = 10 \n");

  dialog.ConditionEdit()->setPlainText(" \n\t ");
  EXPECT_EQ(Settings().DataConditions.count("EMPLOYEES"), 0u);
}

TEST_F(DataConditionsDialogTest, NamesWithAConditionStandOut) {
  Settings().DataConditions["ORDERS"] = "status = 'OPEN'";
  DataConditionsDialog dialog(Settings(), *store, frame);
  const auto bold = [&dialog](const QString& name) {
    return dialog.NameList()->findItems(name, Qt::MatchExactly).front()->font().bold();
  };
  EXPECT_TRUE(bold("ORDERS"));
  EXPECT_FALSE(bold("EMPLOYEES"));
  Choose(dialog, "EMPLOYEES");
  dialog.ConditionEdit()->setPlainText("dept_id = 10");
  EXPECT_TRUE(bold("EMPLOYEES"));
  dialog.ConditionEdit()->clear();
  EXPECT_FALSE(bold("EMPLOYEES"));
  dialog.ClearAllButton()->click();
  EXPECT_FALSE(bold("ORDERS"));
}

TEST_F(DataConditionsDialogTest, ClearAllTakesViewsTooAndTheKindIsRemembered) {
  Settings().DataConditions["SOME_VIEW"] = "1 = 1";
  DataConditionsDialog dialog(Settings(), *store, frame);
  Choose(dialog, "ORDERS");
  dialog.ConditionEdit()->setPlainText("status = 'OPEN'");
  dialog.ClearAllButton()->click();
  EXPECT_TRUE(Settings().DataConditions.empty());
  EXPECT_EQ(dialog.ConditionEdit()->toPlainText(), "");

  dialog.ShowViews()->click();
  EXPECT_EQ(store->GetInt("Settings", "WhereTab", -1), 0);
  EXPECT_TRUE(dialog.NameList()->findItems("ORDERS", Qt::MatchExactly).isEmpty());
  EXPECT_FALSE(dialog.NameList()->findItems("EMPLOYEE_DIRECTORY", Qt::MatchExactly).isEmpty());
  DataConditionsDialog reopened(Settings(), *store, frame);
  EXPECT_TRUE(reopened.ShowViews()->isChecked());
}

}  // namespace
