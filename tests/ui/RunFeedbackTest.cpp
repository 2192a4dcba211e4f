// What the desktop program shows of a run against the demo database: the
// control panel's bar moving through each phase and full at its end, the
// status pane and the panel while running and paused, the run's keys working
// from the panel, and Stop ending a long free-form query at once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>
#include <vector>

#include "ModalDialogs.h"
#include "ScriptedPrompts.h"
#include "scripting/connection/ScriptingPhases.h"
#include "tests/oracle/SandboxClient.h"
#include "ui/CMainFrame.h"
#include "ui/ControlPanelDialog.h"
#include "ui/LoginDialog.h"

namespace {

// The bar as the user saw it each time it moved, with the status beside it.
struct BarState {
  QString caption;
  QString status;
  int value = 0;
  int maximum = 0;
};

// The states of one phase while the caption named it; a bar set back to 0
// belongs to the next phase, whose caption follows its first step.
std::vector<BarState> PhaseStates(const std::vector<BarState>& states, const QString& caption) {
  std::vector<BarState> phaseStates;
  for (const BarState& state : states) {
    if (state.caption == caption && state.value > 0) {
      phaseStates.push_back(state);
    }
  }
  return phaseStates;
}

std::string Dump(const std::vector<BarState>& states) {
  std::string text;
  for (const BarState& state : states) {
    text += "\n" + state.caption.toStdString() + ": " + state.status.toStdString() + " " +
            std::to_string(state.value) + "/" + std::to_string(state.maximum);
  }
  return text;
}

class RunFeedbackTest : public ::testing::Test {
 protected:
  RunFeedbackTest() {
    WhenDialogOpens<LoginDialog>([](LoginDialog& login) {
      login.UserField()->setEditText("DEMO/demo@demo");
      login.accept();
    });
    frame.ConnectAction()->trigger();
    // As on a desktop: the main window is shown and has the focus.
    frame.show();
    frame.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&frame));
  }
  void WaitForRun() {
    frame.Engine().Driver().WaitForWorker(
        [] { QCoreApplication::processEvents(QEventLoop::AllEvents, 20); });
    QCoreApplication::processEvents();
    frame.UpdateCommands();
  }
  QString StatusPane() { return frame.statusBar()->currentMessage(); }

  std::unique_ptr<MemorySettingsStore> store = SandboxSettings();
  ScriptedPrompts prompts;
  ScriptingPhases phases;
  CMainFrame frame{*store, prompts, phases};
};

TEST_F(RunFeedbackTest, TheBarMovesThroughEachPhaseAndIsFullAtItsEnd) {
  ASSERT_NE(frame.Connection(), nullptr);
  EXPECT_EQ(StatusPane(), "Ready");
  frame.Engine().Driver().StartRun();
  ControlPanelDialog* panel = frame.Host().ControlPanel();
  ASSERT_NE(panel, nullptr);
  std::vector<BarState> states;
  QObject::connect(panel->ProgressBar(), &QProgressBar::valueChanged, [&](int value) {
    states.push_back(
        {frame.windowTitle(), panel->StatusText()->text(), value, panel->ProgressBar()->maximum()});
  });
  frame.UpdateCommands();
  EXPECT_EQ(StatusPane(), "Running");
  WaitForRun();

  for (const char* phase :
       {"Analyzing Data - Quillmark for Oracle", "Analyzing Indexes - Quillmark for Oracle",
        "Analyzing Constraints - Quillmark for Oracle"}) {
    const std::vector<BarState> seen = PhaseStates(states, phase);
    ASSERT_FALSE(seen.empty()) << phase << Dump(states);
    // Forward only, through the phase, and exactly full at its end.
    bool between = false;
    for (std::size_t i = 1; i < seen.size(); ++i) {
      EXPECT_GE(seen[i].value, seen[i - 1].value) << phase << " " << i;
      between = between || (seen[i].value > 0 && seen[i].value < seen[i].maximum);
    }
    EXPECT_TRUE(between) << phase << Dump(seen);
    EXPECT_GT(seen.back().maximum, 0) << phase;
    EXPECT_EQ(seen.back().value, seen.back().maximum) << phase;
  }
  // The data phase's bar counts tables: the last table starts past the half.
  const std::vector<BarState> data = PhaseStates(states, "Analyzing Data - Quillmark for Oracle");
  ASSERT_GE(data.size(), 2u);
  EXPECT_GE(2 * data[data.size() - 2].value, data.back().maximum);

  EXPECT_EQ(panel->ProgressBar()->value(), panel->ProgressBar()->maximum());
  EXPECT_EQ(panel->StatusText()->text(), "Finished.");
  EXPECT_EQ(StatusPane(), "Ready");
}

TEST_F(RunFeedbackTest, TheRunsKeysWorkFromThePanelAndStopEndsALongQuery) {
  ASSERT_NE(frame.Connection(), nullptr);
  // What a short statement run takes here and now: the bound below grows with
  // a slow or busy machine, never to the hours the long query would take.
  QElapsedTimer shortRun;
  shortRun.start();
  frame.Engine().Driver().StartStatementRun("select * from departments");
  WaitForRun();
  const qint64 shortRunMs = shortRun.elapsed();
  ASSERT_NE(frame.Host().ControlPanel(), nullptr);  // statement runs have one too
  EXPECT_EQ(frame.Host().ControlPanel()->StatusText()->text(), "Finished.");

  prompts.Answer(MessageAnswer::No);  // the unsaved report of the short run
  frame.Engine().Driver().StartStatementRun(
      "select count(*) from all_objects a, all_objects b, all_objects c, all_objects d, "
      "all_objects e");
  ControlPanelDialog* panel = frame.Host().ControlPanel();
  ASSERT_NE(panel, nullptr);
  QTest::qWait(300);
  // The panel leaves the focus where it was: the run's keys work at once.
  EXPECT_EQ(QApplication::activeWindow(), &frame);
  QTest::keyClick(&frame, Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(frame.Engine().Flags().Paused, 1);
  QTest::keyClick(&frame, Qt::Key_R, Qt::ControlModifier);
  EXPECT_EQ(frame.Engine().Flags().Paused, 0);
  // And from the panel, once the user has clicked into it.
  panel->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(panel));

  QTest::keyClick(panel, Qt::Key_P, Qt::ControlModifier);
  frame.UpdateCommands();
  EXPECT_EQ(frame.Engine().Flags().Paused, 1);
  EXPECT_EQ(StatusPane(), "Paused");
  EXPECT_EQ(frame.windowTitle(), "Paused - Quillmark for Oracle");
  EXPECT_EQ(panel->windowTitle(), ControlPanelDialog::PausedTitleText);
  EXPECT_TRUE(panel->PausedText()->isVisibleTo(panel));

  QTest::keyClick(panel, Qt::Key_R, Qt::ControlModifier);
  frame.UpdateCommands();
  EXPECT_EQ(frame.Engine().Flags().Paused, 0);
  EXPECT_EQ(StatusPane(), "Running");
  EXPECT_FALSE(panel->PausedText()->isVisibleTo(panel));

  ASSERT_TRUE(frame.Engine().Driver().IsWorkerActive());  // still counting
  prompts.Answer(MessageAnswer::Yes);
  QElapsedTimer stop;
  stop.start();
  QTest::keyClick(panel, Qt::Key_T, Qt::ControlModifier);
  WaitForRun();
  EXPECT_LT(stop.elapsed(), 1000 + 10 * shortRunMs);
  const std::string report = frame.Engine().Model().Text();
  EXPECT_NE(report.find("Quillmark Stopped ..."), std::string::npos) << report;
  EXPECT_EQ(report.find("ORA-01013"), std::string::npos) << report;
  EXPECT_EQ(StatusPane(), "Ready");
}

}  // namespace
