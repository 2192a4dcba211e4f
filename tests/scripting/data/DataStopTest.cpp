// Stop while the server runs the data query: the run control's stop breaks
// the statement, the run ends with the stop line at once, and the session
// serves the next run.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "engine/EmptyRunPhases.h"
#include "oracle/OracleSession.h"
#include "tests/scripting/data/DataRig.h"

namespace {

// The phases of a run whose server call a stop interrupts.
class SessionPhases final : public EmptyRunPhases {
 public:
  explicit SessionPhases(OracleSession& session) : session_(session) {}
  void InterruptServerCall() override { session_.BreakRunningCall(); }
  void WithdrawInterruption() override { session_.ResetAfterBreak(); }

 private:
  OracleSession& session_;
};

TEST(DataStopTest, StopBreaksTheRunningQueryWithinASecond) {
  DataRig rig;
  rig.schema.Run("create table N (N number)");
  rig.schema.Run("insert into N values (1)");
  for (int rows = 1; rows < 1000; rows *= 2) {
    rig.schema.Run("insert into N select N + " + std::to_string(rows) + " from N where N + " +
                   std::to_string(rows) + " <= 1000");
  }
  SessionPhases phases(*rig.schema.client.session);
  rig.control.InterruptCallsOf(phases);
  bool stopped = false;
  std::thread worker([&] {
    try {
      // Hours of counting on the server before the first row.
      rig.ScriptStatement("select count(*) from N a, N b, N c");
    } catch (...) {
      stopped = true;
    }
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  const auto requested = std::chrono::steady_clock::now();
  rig.control.RequestStop();
  worker.join();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - requested).count();
  EXPECT_TRUE(stopped);
  EXPECT_LT(seconds, 1.0);
  EXPECT_NE(rig.Report().find("Quillmark Stopped ..."), std::string::npos) << rig.Report();
  EXPECT_EQ(rig.Report().find("ORA-01013"), std::string::npos) << rig.Report();
  EXPECT_TRUE(rig.unscripted.Summary("", "\n").empty());

  // A break that came too late is withdrawn; the next run is served whole.
  rig.schema.client.session->BreakRunningCall();
  phases.WithdrawInterruption();
  rig.flags.Running = 1;
  rig.ScriptStatement("select N from N where N <= 3 order by N");
  EXPECT_EQ(rig.Count("INSERT INTO N"), 3) << rig.Report();
}

}  // namespace
