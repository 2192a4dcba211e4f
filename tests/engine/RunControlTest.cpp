// Run control against a real worker: pause then stop, stop answered No, skip,
// resume, and starting or exiting while a stopped worker is still finishing.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <thread>

#include "config/MemorySettingsStore.h"
#include "engine/RunEngine.h"
#include "tests/engine/GatedRunPhases.h"
#include "tests/engine/TestRunDialogs.h"
#include "tests/engine/TestRunHost.h"

namespace {

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool Contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

const char* const StopQuestion =
    "You won't be able to resume this script if you stop it.\nAre you sure you want to stop?";
const char* const Finished = "Quillmark for Oracle has finished scripting the database";

class RunControlTest : public ::testing::Test {
 protected:
  RunControlTest() {
    engine_ = std::make_unique<RunEngine>(store_, host_, phases_, dialogs_);
    phases_.Attach(*engine_);
    RunSettings& settings = engine_->Settings();
    settings.DoTable = settings.DoIndex = settings.DoConstraint = settings.DoPrivilege =
        settings.DoSequence = settings.DoTrigger = settings.DoViewSource = settings.DoProcedure =
            settings.DoFunction = settings.DoPackage = settings.DoPackageBody = settings.DoType =
                settings.DoTypeBody = 0;
  }
  void TearDown() override {
    phases_.Open();
    engine_.reset();
  }

  RunControl& Control() { return engine_->Control(); }
  RunFlags& Flags() { return engine_->Flags(); }
  void Wait() {
    engine_->Driver().WaitForWorker([] {});
  }
  std::string Report() { return engine_->Model().Text(); }
  void StartAndWrite(int rows) {
    engine_->Driver().StartCommand();
    phases_.Release(rows);
    ASSERT_TRUE(phases_.WaitForWritten(rows));
  }

  MemorySettingsStore store_;
  TestRunHost host_;
  TestRunDialogs dialogs_;
  GatedRunPhases phases_;
  std::unique_ptr<RunEngine> engine_;
};

TEST_F(RunControlTest, PauseHoldsTheWorkerAndStopEndsIt) {
  StartAndWrite(2);
  EXPECT_TRUE(Control().CanPause());
  EXPECT_TRUE(Control().CanSkip());
  Control().PauseCommand();
  EXPECT_EQ(host_.Caption(), "Paused - Quillmark for Oracle");
  EXPECT_FALSE(Control().CanPause());
  EXPECT_TRUE(Control().CanResume());
  EXPECT_FALSE(Control().CanSkip());

  phases_.Release(1);
  std::this_thread::sleep_for(std::chrono::milliseconds(3 * RunControl::PausePollMilliseconds));
  EXPECT_EQ(phases_.Written(), 2);

  host_.QueueAnswer(MessageAnswer::Yes);
  Control().StopCommand();
  EXPECT_FALSE(Control().CanStop());
  Wait();
  EXPECT_TRUE(EndsWith(Report(), "INSERT INTO T0 VALUES (1);\r\n\r\n\r\n-- Quillmark Stopped ..."));
  EXPECT_EQ(Report().find("End of Quillmark"), std::string::npos);
  EXPECT_EQ(host_.Messages(),
            (std::vector<std::string>{StopQuestion, "Quillmark for Oracle has been stopped."}));
  const std::vector<std::string> captions = host_.EventsStartingWith("caption ");
  ASSERT_GE(captions.size(), 2u);
  EXPECT_EQ(captions[captions.size() - 2], "caption Stopped - Quillmark for Oracle");
  EXPECT_EQ(captions.back(), "caption Ready - Quillmark for Oracle");
  EXPECT_EQ(Flags().Paused, 0);
  EXPECT_EQ(Flags().ReportSaved, 0);
  EXPECT_EQ(Flags().SkipAllowed, 0);  // a stopped data phase leaves Skip disabled
  EXPECT_TRUE(engine_->Driver().CanStart());
}

TEST_F(RunControlTest, StopAnsweredNoChangesNothing) {
  StartAndWrite(1);
  host_.QueueAnswer(MessageAnswer::No);
  Control().StopCommand();
  EXPECT_EQ(Flags().Running, 1);
  phases_.Open();
  Wait();
  EXPECT_EQ(phases_.Written(), 1500);
  EXPECT_EQ(Report().find("Quillmark Stopped"), std::string::npos);
  EXPECT_NE(Report().find("--- End of Quillmark for Oracle --- Elapsed Time: "), std::string::npos);
  EXPECT_TRUE(Contains(host_.Messages(), Finished));
}

TEST_F(RunControlTest, SkipMovesToTheNextTableKeepingWrittenRows) {
  StartAndWrite(2);
  Control().SkipCommand();
  phases_.Release(2);
  ASSERT_TRUE(phases_.WaitForWritten(3));
  EXPECT_NE(Report().find("INSERT INTO T0 VALUES (0);\r\nINSERT INTO T0 VALUES (1);\r\n"
                          "-- Skipping table T0\r\nINSERT INTO T1 VALUES (0);\r\n"),
            std::string::npos);
  EXPECT_EQ(Flags().SkipRequested, 0);
  phases_.Open();
  Wait();
  EXPECT_EQ(phases_.Written(), 2 + 500 + 500);  // two rows of T0, then T1 and T2
}

TEST_F(RunControlTest, ResumeRestoresTheCaptionAndContinuesAtTheEnd) {
  StartAndWrite(1);
  const std::string before = host_.Caption();
  Control().PauseCommand();
  Control().PauseCommand();  // a second pause keeps the caption saved by the first
  phases_.Release(1);
  std::this_thread::sleep_for(std::chrono::milliseconds(2 * RunControl::PausePollMilliseconds));
  EXPECT_EQ(phases_.Written(), 1);
  Control().ResumeCommand();
  EXPECT_EQ(host_.Caption(), before);
  EXPECT_TRUE(Contains(host_.Events(), "caret to end"));
  ASSERT_TRUE(phases_.WaitForWritten(2));
  EXPECT_TRUE(EndsWith(Report(), "INSERT INTO T0 VALUES (1);\r\n"));
  phases_.Open();
  Wait();
  EXPECT_TRUE(Contains(host_.Messages(), Finished));
}

TEST_F(RunControlTest, NoSecondRunWhileAStoppedWorkerIsStillFinishing) {
  StartAndWrite(1);
  host_.QueueAnswer(MessageAnswer::Yes);
  Control().StopCommand();
  // The worker has not reached its next check yet.
  EXPECT_TRUE(engine_->Driver().IsWorkerActive());
  EXPECT_FALSE(engine_->Driver().CanStart());
  engine_->Driver().StartCommand();
  EXPECT_EQ(host_.Messages().back(),
            "You cannot start another script before the previous one ends.\nPress the <stop> icon "
            "to terminate the current script");
  EXPECT_EQ(dialogs_.parameterDialogs, 1);
  phases_.Release(1);
  Wait();
  EXPECT_TRUE(engine_->Driver().CanStart());
}

TEST_F(RunControlTest, ExitDuringAPausedRunLetsTheWorkerEndFirst) {
  StartAndWrite(1);
  Control().PauseCommand();
  host_.QueueAnswer(MessageAnswer::Yes);
  Control().StopCommand();
  // The worker's stop message now needs this thread, as a window's would.
  host_.RequirePumpForMessages(true);
  phases_.Release(1);  // the worker reaches its check: the pause wait
  int pumped = 0;
  engine_->Driver().WaitForWorker([&] {
    ++pumped;
    host_.Pump();
  });
  EXPECT_GT(pumped, 0);
  EXPECT_FALSE(engine_->Driver().IsWorkerActive());
  EXPECT_TRUE(Contains(host_.Messages(), "Quillmark for Oracle has been stopped."));

  // Destroying the engine in the middle of a run stops it without asking.
  host_.RequirePumpForMessages(false);
  host_.QueueAnswer(MessageAnswer::No);  // keep the unsaved report
  engine_->Driver().StartCommand();
  phases_.Release(1);
  ASSERT_TRUE(phases_.WaitForWritten(2));
  Control().PauseCommand();
  phases_.Release(1);
  engine_.reset();
  EXPECT_EQ(store_.GetInt(SettingsSection, "DoingUpgradeScript", 0), ScriptingRunMode);
}

}  // namespace
