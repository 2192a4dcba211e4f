// The advanced object options sheet offscreen over a sandbox connection,
// driven through its controls: the tables left out, Select All, a page never
// shown, names listed once, column patterns, and a run without one table.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QThread>

#include "ModalDialogs.h"
#include "ScriptedPrompts.h"
#include "scripting/connection/ScriptingPhases.h"
#include "tests/oracle/SandboxClient.h"
#include "ui/CAdvancedSheet.h"
#include "ui/CMainFrame.h"
#include "ui/CSourceSheet.h"
#include "ui/CTallyfoldView.h"
#include "ui/ColumnPatternsPage.h"
#include "ui/LoginDialog.h"
#include "ui/ParametersDialog.h"
#include "ui/SelectionPage.h"

namespace {

void ClickItem(QListWidget* list, const QString& name) {
  const QList<QListWidgetItem*> items = list->findItems(name, Qt::MatchExactly);
  ASSERT_EQ(items.size(), 1) << name.toStdString();
  list->scrollToItem(items.front());
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualItemRect(items.front()).center());
}

class AdvancedSheetTest : public ::testing::Test {
 protected:
  AdvancedSheetTest() {
    WhenDialogOpens<LoginDialog>([](LoginDialog& login) {
      login.UserField()->setEditText("DEMO/demo@demo");
      login.accept();
    });
    frame->ConnectAction()->trigger();
  }
  RunSettings& Settings() { return frame->Engine().Settings(); }
  std::unique_ptr<CAdvancedSheet> OpenOnTables() {
    auto sheet = std::make_unique<CAdvancedSheet>(Settings(), *frame, prompts);
    sheet->show();
    sheet->Tabs()->setCurrentWidget(sheet->TablesPage());
    return sheet;
  }

  std::unique_ptr<MemorySettingsStore> store = SandboxSettings();
  ScriptedPrompts prompts;
  ScriptingPhases phases;
  std::unique_ptr<CMainFrame> frame = std::make_unique<CMainFrame>(*store, prompts, phases);
};

TEST_F(AdvancedSheetTest, TablesPageStoresWhatIsLeftOut) {
  auto sheet = OpenOnTables();
  QListWidget* list = sheet->TablesPage()->NameList();
  ASSERT_GT(list->count(), 3);
  EXPECT_EQ(list->selectedItems().size(), list->count());
  ClickItem(list, "ORDERS");
  ClickItem(list, "EMPLOYEES");
  sheet->accept();
  EXPECT_EQ(Settings().ExcludedTables, (std::vector<std::string>{"EMPLOYEES", "ORDERS"}));

  sheet = OpenOnTables();
  EXPECT_FALSE(
      sheet->TablesPage()->NameList()->findItems("ORDERS", Qt::MatchExactly).front()->isSelected());
  sheet->TablesPage()->SelectAllButton()->click();
  sheet->accept();
  EXPECT_TRUE(Settings().ExcludedTables.empty());

  // Cancel, and a page never shown, leave the list as it was.
  Settings().ExcludedTables = {"GONE"};
  sheet = OpenOnTables();
  sheet->TablesPage()->UnselectAllButton()->click();
  sheet->reject();
  CAdvancedSheet unvisited(Settings(), *frame, prompts);
  unvisited.show();
  unvisited.accept();
  EXPECT_EQ(Settings().ExcludedTables, std::vector<std::string>{"GONE"});
}

TEST_F(AdvancedSheetTest, SourcePagesListTheirKindAndOnlyShownPagesApply) {
  Settings().ExcludedFunctions = {"GONE"};
  CSourceSheet sheet(Settings(), *frame);
  sheet.show();
  ASSERT_EQ(sheet.Pages().size(), 8u);
  SelectionPage* triggers = sheet.Pages()[0];
  EXPECT_FALSE(triggers->NameList()->findItems("EMPLOYEES_BI", Qt::MatchExactly).isEmpty());
  EXPECT_TRUE(triggers->NameList()->findItems("HR_UTIL", Qt::MatchExactly).isEmpty());
  SelectionPage* packages = sheet.Pages()[3];
  sheet.Tabs()->setCurrentWidget(packages);
  ClickItem(packages->NameList(), "HR_UTIL");
  sheet.accept();
  EXPECT_EQ(Settings().ExcludedPackages, std::vector<std::string>{"HR_UTIL"});
  EXPECT_TRUE(Settings().ExcludedTriggers.empty());
  EXPECT_EQ(Settings().ExcludedFunctions, std::vector<std::string>{"GONE"});  // never shown
}

TEST_F(AdvancedSheetTest, ANameDeliveredTwiceIsListedOnce) {
  std::vector<std::string> excluded;
  int skipped = 1;
  SelectionPage page(
      "Tables:", "Not processed",
      [] {
        return std::vector<std::string>{"T1", "T2", "t1", "T1"};
      },
      excluded, skipped);
  page.show();
  EXPECT_EQ(page.NameList()->count(), 2);
}

TEST_F(AdvancedSheetTest, ColumnPatternsTakeOneExpanderAndAPendingPatternKeepsTheSheetOpen) {
  auto sheet = OpenOnTables();
  ColumnPatternsPage* columns = sheet->ColumnsPage();
  sheet->Tabs()->setCurrentWidget(columns);
  for (const char* pattern : {"%_ID", "NAME"}) {
    columns->PatternEdit()->setText(pattern);
    columns->AddButton()->click();
  }
  columns->PatternEdit()->setText("A%B%");
  columns->AddButton()->click();
  EXPECT_TRUE(prompts.WasShown("You can have only one expander ('%') per string"));
  EXPECT_EQ(columns->PatternList()->count(), 2);

  columns->PatternEdit()->setText("X%");
  sheet->accept();
  EXPECT_TRUE(sheet->isVisible());
  sheet->accept();
  EXPECT_FALSE(sheet->isVisible());
  EXPECT_EQ(Settings().IgnoredColumnPatterns, (std::vector<std::string>{"%_ID", "NAME", "X%"}));
}

TEST_F(AdvancedSheetTest, ARunLeavesOutTheTableExcludedInTheSheet) {
  WhenDialogOpens<ParametersDialog>([](ParametersDialog& dialog) {
    for (QCheckBox* box : dialog.findChildren<QCheckBox*>()) {
      const bool wanted = box == dialog.KindBox(&RunSettings::DoTable) ||
                          box == dialog.KindBox(&RunSettings::DoIndex);
      if (box->isChecked() != wanted) {
        box->click();
      }
    }
    WhenDialogOpens<CAdvancedSheet>([](CAdvancedSheet& sheet) {
      sheet.Tabs()->setCurrentWidget(sheet.TablesPage());
      ClickItem(sheet.TablesPage()->NameList(), "DEPARTMENTS");
      sheet.accept();
    });
    dialog.ObjectsAdvancedButton()->click();
    dialog.StartButton()->click();
  });
  frame->UpdateCommands();
  frame->StartAction()->trigger();
  QElapsedTimer timer;
  timer.start();
  while ((frame->Engine().Driver().IsWorkerActive() || frame->Engine().Flags().Running) &&
         timer.elapsed() < 20000) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(2);
  }
  frame->View().CatchUp();
  const QString report = frame->View().toPlainText();
  EXPECT_TRUE(report.contains("CREATE TABLE EMPLOYEES")) << report.left(2000).toStdString();
  EXPECT_TRUE(report.contains("CREATE INDEX"));
  EXPECT_FALSE(report.contains("CREATE TABLE DEPARTMENTS"));
}

}  // namespace
