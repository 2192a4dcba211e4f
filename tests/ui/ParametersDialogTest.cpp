// The parameters dialog offscreen, driven through its controls from the
// window's Start command: the database it insists on, a failed or cancelled
// database selection, the schema change, and the kinds that reach the run.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>

#include "ModalDialogs.h"
#include "ScriptedPrompts.h"
#include "scripting/connection/DatabaseConnection.h"
#include "scripting/connection/ScriptingPhases.h"
#include "tests/oracle/SandboxClient.h"
#include "ui/CMainFrame.h"
#include "ui/CTallyfoldView.h"
#include "ui/GeneralOptionsDialog.h"
#include "ui/LoginDialog.h"
#include "ui/ParametersDialog.h"

namespace {

constexpr const char* NoDatabaseText = "You must select a database before you can begin.";

// Clicks the dialog's database button, answering the login dialog with user
// (empty: cancel). A refused logon keeps the login dialog open; the user then
// gives up.
void SelectDatabase(ParametersDialog& dialog, const QString& user) {
  WhenDialogOpens<LoginDialog>([user](LoginDialog& login) {
    if (user.isEmpty()) {
      login.reject();
      return;
    }
    login.UserField()->setEditText(user);
    login.accept();
    if (login.isVisible()) {
      login.reject();
    }
  });
  dialog.DatabaseButton()->click();
}

QStringList Items(const QComboBox* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) {
    items << list->itemText(i);
  }
  return items;
}

class ParametersDialogTest : public ::testing::Test {
 protected:
  bool WorkerEnded() { return !frame->Engine().Driver().IsWorkerActive(); }
  void StartWithDialog(std::function<void(ParametersDialog&)> act) {
    WhenDialogOpens<ParametersDialog>(std::move(act));
    frame->UpdateCommands();
    frame->StartAction()->trigger();
  }
  // Lets the run end; false after the time limit.
  bool WaitForRun() {
    QElapsedTimer timer;
    timer.start();
    while (!WorkerEnded() || frame->Engine().Flags().Running) {
      if (timer.elapsed() > 20000) {
        return false;
      }
      QApplication::processEvents(QEventLoop::AllEvents, 10);
      QThread::msleep(2);
    }
    return true;
  }

  std::unique_ptr<MemorySettingsStore> store = SandboxSettings();
  ScriptedPrompts prompts;
  ScriptingPhases phases;
  std::unique_ptr<CMainFrame> frame = std::make_unique<CMainFrame>(*store, prompts, phases);
};

TEST_F(ParametersDialogTest, StartNeedsALoggedOnDatabaseAndAFailedSelectionLeavesNone) {
  bool stayedOpen = false;
  QString captionAfterCancel;
  QString captionAfterFailure;
  int schemasAfterFailure = -1;
  bool conditionsFollowedData = false;
  StartWithDialog([&](ParametersDialog& dialog) {
    QCheckBox* data = dialog.KindBox(&RunSettings::DoData);
    const bool enabledWithData = dialog.ConditionsButton()->isEnabled();
    data->click();
    const bool disabledWithoutData = !dialog.ConditionsButton()->isEnabled();
    data->click();
    conditionsFollowedData = enabledWithData && disabledWithoutData;
    dialog.ConditionsButton()->click();
    dialog.ObjectsAdvancedButton()->click();
    EXPECT_EQ(dialog.windowTitle(), "Quillmark for Oracle Parameters");
    EXPECT_EQ(dialog.DatabaseButton()->text(), "Press to select Database");
    EXPECT_EQ(dialog.SchemaList()->count(), 0);
    dialog.StartButton()->click();
    stayedOpen = dialog.isVisible();

    SelectDatabase(dialog, "");
    captionAfterCancel = dialog.DatabaseButton()->text();
    SelectDatabase(dialog, "DEMO/wrong@demo");
    captionAfterFailure = dialog.DatabaseButton()->text();
    schemasAfterFailure = dialog.SchemaList()->count();
    dialog.StartButton()->click();
    dialog.reject();
  });

  EXPECT_TRUE(stayedOpen);
  EXPECT_EQ(prompts.Messages().count(NoDatabaseText), 2);
  EXPECT_TRUE(conditionsFollowedData);
  EXPECT_TRUE(
      prompts.WasShown("You must select a database before you can setup the data conditions."));
  EXPECT_TRUE(
      prompts.WasShown("You must select a database before you can setup the advanced options."));
  EXPECT_EQ(captionAfterCancel, "Press to select Database 1");
  EXPECT_EQ(captionAfterFailure, "Press to select Database 1");
  EXPECT_EQ(schemasAfterFailure, 0);
  // The failed logon's connection belongs to the view, but selects nothing.
  ASSERT_NE(frame->Connection(), nullptr);
  EXPECT_TRUE(frame->Connection()->NotConnected());
  EXPECT_FALSE(frame->Engine().Flags().HasRunBefore);
  EXPECT_TRUE(WorkerEnded());
}

TEST_F(ParametersDialogTest, SchemaChangeReachesTheConnectionEvenWhenCancelled) {
  QStringList schemas;
  QString caption;
  StartWithDialog([&](ParametersDialog& dialog) {
    SelectDatabase(dialog, "DEMO/demo@demo");
    caption = dialog.DatabaseButton()->text();
    schemas = Items(dialog.SchemaList());
    EXPECT_EQ(dialog.SchemaList()->currentText(), "DEMO");
    dialog.SchemaList()->setCurrentIndex(dialog.SchemaList()->findText("REPORT"));
    dialog.reject();
  });

  EXPECT_EQ(caption, "DEMO@demo");
  EXPECT_TRUE(schemas.contains("DEMO"));
  EXPECT_TRUE(schemas.contains("REPORT"));
  QStringList sorted = schemas;
  sorted.sort();
  EXPECT_EQ(schemas, sorted);
  ASSERT_NE(frame->Connection(), nullptr);
  EXPECT_EQ(frame->Connection()->CurrentSchema(), "REPORT");
  EXPECT_EQ(frame->Connection()->DisplayName(), "REPORT:DEMO@demo");
  EXPECT_TRUE(frame->ConnectionState().CatalogListStale[0]);
  EXPECT_EQ(phases.Connection(), frame->Connection());
  EXPECT_FALSE(frame->Engine().Flags().HasRunBefore);
}

TEST_F(ParametersDialogTest, TheCheckedKindsAloneAreScripted) {
  RunSettings& settings = frame->Engine().Settings();
  StartWithDialog([&](ParametersDialog& dialog) {
    SelectDatabase(dialog, "DEMO/demo@demo");
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
      if (box->isChecked() != (box == dialog.KindBox(&RunSettings::DoTable))) {
        box->click();
      }
    }
    dialog.StartButton()->click();
  });
  ASSERT_TRUE(WaitForRun());

  EXPECT_EQ(settings.DoTable, 1);
  EXPECT_EQ(settings.DoIndex, 0);
  EXPECT_EQ(settings.DoData, 0);
  EXPECT_EQ(settings.DoTypeBody, 0);
  frame->View().CatchUp();
  const QString report = frame->View().toPlainText();
  EXPECT_TRUE(report.contains("CREATE TABLE DEPARTMENTS")) << report.left(2000).toStdString();
  EXPECT_FALSE(report.contains("CREATE INDEX"));

  // Cancel leaves the settings of the last run as they were; the general
  // options' stored values are written at once.
  prompts.Answer(MessageAnswer::No);  // the unsaved report
  StartWithDialog([](ParametersDialog& dialog) {
    dialog.KindBox(&RunSettings::DoIndex)->click();
    WhenDialogOpens<GeneralOptionsDialog>([](GeneralOptionsDialog& general) {
      general.ToFile()->click();
      general.FileNameEdit()->setText("full.txt");
      general.DateFormatEdit()->setText("DD.MM.YYYY");
      general.OkButton()->click();
    });
    dialog.GeneralButton()->click();
    dialog.reject();
  });
  EXPECT_EQ(settings.DoIndex, 0);
  EXPECT_EQ(settings.ReportToFile, 0);
  EXPECT_EQ(store->GetString("Settings", "DateFormat", ""), "DD.MM.YYYY");
}

}  // namespace
