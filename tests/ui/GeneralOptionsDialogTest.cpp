// The general options dialog offscreen, driven through its controls: the
// output radios and what they enable, the refused entries with their
// messages, and the date format checked by the view's session.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ModalDialogs.h"
#include "ScriptedPrompts.h"
#include "engine/EmptyRunPhases.h"
#include "engine/RunSettings.h"
#include "oracle/SessionFormats.h"
#include "tests/oracle/SandboxClient.h"
#include "ui/CMainFrame.h"
#include "ui/GeneralOptionsDialog.h"
#include "ui/LoginDialog.h"

namespace {

class GeneralOptionsDialogTest : public ::testing::Test {
 protected:
  std::unique_ptr<GeneralOptionsDialog> Open(const GeneralOptions& options = {}) {
    auto dialog = std::make_unique<GeneralOptionsDialog>(options, *store, *frame, prompts);
    dialog->show();
    return dialog;
  }
  void Connect() {
    WhenDialogOpens<LoginDialog>([](LoginDialog& login) {
      login.UserField()->setEditText("DEMO/demo@demo");
      login.accept();
    });
    frame->ConnectAction()->trigger();
  }
  // Presses OK; true when the dialog closed with it.
  static bool PressOk(GeneralOptionsDialog& dialog) {
    dialog.OkButton()->click();
    return dialog.result() == QDialog::Accepted;
  }

  std::unique_ptr<MemorySettingsStore> store = SandboxSettings();
  ScriptedPrompts prompts;
  EmptyRunPhases phases{"DEMO"};
  std::unique_ptr<CMainFrame> frame = std::make_unique<CMainFrame>(*store, prompts, phases);
};

TEST_F(GeneralOptionsDialogTest, OutputRadiosSetTheModeAndEnableItsFields) {
  GeneralOptions stored;
  stored.ReportToFile = 1;
  stored.ReportFileName = "old.txt";
  stored.SpecialNameMode = 2;
  auto dialog = Open(stored);
  EXPECT_TRUE(dialog->ToFile()->isChecked());
  EXPECT_TRUE(dialog->FileNameEdit()->isEnabled());
  EXPECT_FALSE(dialog->LinesEdit()->isEnabled());

  dialog->AutoSaveRadio()->click();
  EXPECT_TRUE(dialog->FileNameEdit()->isEnabled());
  EXPECT_TRUE(dialog->LinesEdit()->isEnabled());
  EXPECT_TRUE(dialog->BrowseButton()->isEnabled());

  prompts.ChooseFile("/tmp/chosen.txt");
  dialog->BrowseButton()->click();
  EXPECT_EQ(dialog->FileNameEdit()->text(), "/tmp/chosen.txt");

  dialog->ToScreen()->click();
  EXPECT_FALSE(dialog->FileNameEdit()->isEnabled());
  EXPECT_FALSE(dialog->BrowseButton()->isEnabled());
  EXPECT_FALSE(dialog->LinesEdit()->isEnabled());
  // To the screen, an empty file name is fine.
  dialog->FileNameEdit()->clear();
  ASSERT_TRUE(PressOk(*dialog));
  EXPECT_EQ(dialog->Options().AutoSave, 0);
  EXPECT_EQ(dialog->Options().ReportToFile, 0);
  EXPECT_EQ(dialog->Options().SpecialNameMode, 2);  // no control: passed through

  dialog = Open(stored);
  dialog->AutoSaveRadio()->click();
  ASSERT_TRUE(PressOk(*dialog));
  EXPECT_EQ(dialog->Options().AutoSave, 1);
  EXPECT_EQ(dialog->Options().ReportToFile, 0);
  EXPECT_EQ(dialog->Options().ReportFileName, "old.txt");
}

TEST_F(GeneralOptionsDialogTest, OkWithoutChangesKeepsTheDateFormatRunsUse) {
  auto dialog = Open();
  EXPECT_EQ(dialog->DateFormatEdit()->text(), DefaultDateFormat);
  ASSERT_TRUE(PressOk(*dialog));
  // Runs that never open the dialog read the same default: seconds included.
  EXPECT_EQ(store->GetString("Settings", "DateFormat", ""), DefaultDateFormat);
  EXPECT_TRUE(QString(DefaultDateFormat).endsWith("HH24:MI:SS"));
}

TEST_F(GeneralOptionsDialogTest, RefusedEntriesKeepTheDialogOpenAndStoreNothing) {
  auto dialog = Open();
  dialog->ToFile()->click();
  dialog->FileNameEdit()->setText("   ");
  EXPECT_FALSE(PressOk(*dialog));
  EXPECT_EQ(prompts.Messages().back(), "Please enter a file name to save report");

  dialog->FileNameEdit()->setText("report.txt");
  dialog->DateFormatEdit()->setText("  \t ");
  EXPECT_FALSE(PressOk(*dialog));
  EXPECT_EQ(prompts.Messages().back(), "Please enter a date format.");

  dialog->DateFormatEdit()->setText(" DD/MM/YYYY  ");
  const struct {
    const char* lines;
    const char* message;
  } refused[] = {{"ten", "Please enter an integer."},
                 {"", "Please enter an integer."},
                 {"0", "Please enter an integer between 1 and 999999."},
                 {"1000000", "Please enter an integer between 1 and 999999."}};
  for (const auto& entry : refused) {
    dialog->LinesEdit()->setText(entry.lines);
    EXPECT_FALSE(PressOk(*dialog)) << entry.lines;
    EXPECT_EQ(prompts.Messages().back(), entry.message) << entry.lines;
  }
  EXPECT_FALSE(store->Contains("Settings", "DateFormat"));

  dialog->LinesEdit()->setText("999999");
  dialog->PctBox()->click();
  // LOB contents are written unless the user turns them off.
  EXPECT_TRUE(dialog->LobContentsBox()->isChecked());
  dialog->LobContentsBox()->click();
  dialog->SplitFolderEdit()->setText("  schema files ");
  ASSERT_TRUE(PressOk(*dialog));
  // The folder is kept in the store and comes back with the run settings.
  EXPECT_EQ(dialog->Options().SplitFolder, "schema files");
  EXPECT_EQ(store->GetString("Settings", "SplitFolder", ""), "schema files");
  RunSettings loaded;
  loaded.LoadRunSettings(*store);
  EXPECT_EQ(loaded.SplitFolder, "schema files");
  EXPECT_EQ(dialog->Options().AutoSaveLines, 999999);
  EXPECT_EQ(dialog->Options().ReportFileName, "report.txt");
  // Trailing blanks go, leading ones stay.
  EXPECT_EQ(store->GetString("Settings", "DateFormat", ""), " DD/MM/YYYY");
  EXPECT_EQ(store->GetString("Settings", "InclPct", ""), "N");
  EXPECT_EQ(store->GetString("Settings", "InclStorage", ""), "Y");
  EXPECT_EQ(store->GetString("Settings", "LobContents", ""), "N");
}

TEST_F(GeneralOptionsDialogTest, TheViewsSessionChecksTheDateFormat) {
  Connect();
  ASSERT_NE(frame->Connection(), nullptr);
  auto dialog = Open();
  dialog->DateFormatEdit()->setText("NOT A FORMAT");
  EXPECT_FALSE(PressOk(*dialog));
  EXPECT_FALSE(store->Contains("Settings", "DateFormat"));

  // An apostrophe stays inside the literal: the server judges the format
  // itself instead of failing on the statement's syntax.
  const qsizetype before = prompts.Messages().size();
  dialog->DateFormatEdit()->setText("DD' or 'x'='x");
  EXPECT_FALSE(PressOk(*dialog));
  ASSERT_GT(prompts.Messages().size(), before);
  EXPECT_TRUE(prompts.Messages().back().contains("ORA-01821"))
      << prompts.Messages().back().toStdString();

  dialog->DateFormatEdit()->setText("YYYY-MM-DD HH24:MI:SS");
  ASSERT_TRUE(PressOk(*dialog));
  EXPECT_EQ(store->GetString("Settings", "DateFormat", ""), "YYYY-MM-DD HH24:MI:SS");
}

}  // namespace
