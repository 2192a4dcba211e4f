// The sequence phase against the sandbox: every clause of the statement,
// START WITH after values were handed out (and that a sequence created from
// the script hands out none of them again), names that need quotes, no
// sequences, Skip in the loop and the failing query.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "scripting/source/SequencePhase.h"
#include "tests/oracle/SandboxClient.h"
#include "tests/scripting/source/SourcePhaseRig.h"

namespace {

const std::string SequenceBanner =
    "\r\n\r\n\r\n/"
    "**************************************************************************************"
    "**********************************\r\n*\r\n*  sequences\r\n*\r\n*  The following statements "
    "will create the sequences\r\n*\r\n****************************************************"
    "********************************************************************/\r\n\r\n";

class SequencePhaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    client.ConnectAsSystem(database);
    ASSERT_TRUE(client.session->ExecuteSql("create user APP identified by app"));
    ASSERT_TRUE(client.session->ExecuteSql("grant connect, resource to APP"));
    ASSERT_TRUE(client.session->Connect("APP", "app", database, true, true));
  }

  void Run(const std::string& sql) { ASSERT_TRUE(client.session->ExecuteSql(sql)) << sql; }

  std::string NextValue(const std::string& sequence) {
    return client.session->QueryValue("select " + sequence + ".nextval from dual", "", "", "");
  }

  std::string Script(SourcePhaseRig& rig, const std::string& owner = "APP") {
    SequencePhase(rig.settings, rig.flags, rig.control, rig.writer, *client.session, owner).Run();
    return rig.Report();
  }

  std::string database = FreshDatabase("SEQUENCES");
  SandboxClient client;
};

TEST_F(SequencePhaseTest, EveryClauseFollowsTheSequence) {
  Run("create sequence A_DEFAULT");
  Run("create sequence B_MAX maxvalue 500 nocache");
  Run("create sequence C_CYCLE minvalue 5 maxvalue 90 cycle cache 20");
  Run("create sequence D_ORDER increment by 3 start with 7 cache 40 order");
  Run("create sequence E_DOWN increment by -2 start with -4 maxvalue -4 minvalue -100 "
      "cycle nocache order");
  SourcePhaseRig rig;
  EXPECT_EQ(Script(rig),
            SequenceBanner +
                "CREATE SEQUENCE A_DEFAULT INCREMENT BY 1 START WITH 1 NOMAXVALUE MINVALUE 1 "
                "NOCYCLE CACHE 20 NOORDER;\r\n"
                "CREATE SEQUENCE B_MAX INCREMENT BY 1 START WITH 1 MAXVALUE 500 MINVALUE 1 "
                "NOCYCLE NOCACHE NOORDER;\r\n"
                "CREATE SEQUENCE C_CYCLE INCREMENT BY 1 START WITH 5 MAXVALUE 90 MINVALUE 5 "
                "CYCLE CACHE 20 NOORDER;\r\n"
                "CREATE SEQUENCE D_ORDER INCREMENT BY 3 START WITH 7 NOMAXVALUE MINVALUE 1 "
                "NOCYCLE CACHE 40 ORDER;\r\n"
                "CREATE SEQUENCE E_DOWN INCREMENT BY -2 START WITH -4 MAXVALUE -4 MINVALUE -100 "
                "CYCLE NOCACHE ORDER;\r\n");
  EXPECT_EQ(rig.host.EventsStartingWith("caption ").back(),
            "caption Analyzing Sequences - Quillmark for Oracle");
  EXPECT_EQ(rig.host.Events().back(), "position 100");
}

TEST_F(SequencePhaseTest, StartWithIsTheNextValueOrTheMinimum) {
  Run("create sequence CACHED start with 10 increment by 5 cache 4");
  Run("create sequence UNCACHED start with 10 nocache");
  EXPECT_EQ(NextValue("CACHED"), "10");
  EXPECT_EQ(NextValue("CACHED"), "15");
  EXPECT_EQ(NextValue("UNCACHED"), "10");
  // PL/SQL hands out values of the same sequence.
  Run("begin if UNCACHED.nextval <> 11 then raise_application_error(-20001, 'wrong'); end if; "
      "end;");
  SourcePhaseRig rig;
  const std::string report = Script(rig);
  // Four CACHED values were taken into the cache (10 .. 25), so 30 is the
  // first that was never handed out; UNCACHED has handed out 10 and 11.
  EXPECT_NE(report.find("CREATE SEQUENCE CACHED INCREMENT BY 5 START WITH 30 "), std::string::npos)
      << report;
  EXPECT_NE(report.find("CREATE SEQUENCE UNCACHED INCREMENT BY 1 START WITH 12 "),
            std::string::npos)
      << report;

  SourcePhaseRig ignoring;
  ignoring.settings.IgnoreLastSequenceValue = 1;
  const std::string fromMinimum = Script(ignoring);
  EXPECT_NE(fromMinimum.find("CREATE SEQUENCE CACHED INCREMENT BY 5 START WITH 1 NOMAXVALUE "
                             "MINVALUE 1 "),
            std::string::npos);
  EXPECT_NE(fromMinimum.find("CREATE SEQUENCE UNCACHED INCREMENT BY 1 START WITH 1 "),
            std::string::npos);
  // Counting down, the first value is the maximum: starting at the minimum
  // would leave nothing to hand out.
  Run("create sequence DOWN increment by -1 maxvalue 50 minvalue 1");
  EXPECT_EQ(NextValue("DOWN"), "50");
  SourcePhaseRig downward;
  downward.settings.IgnoreLastSequenceValue = 1;
  EXPECT_NE(Script(downward).find("CREATE SEQUENCE DOWN INCREMENT BY -1 START WITH 50 MAXVALUE 50 "
                                  "MINVALUE 1 "),
            std::string::npos);

  // A sequence made from the script goes on where the scripted one stood.
  Run("drop sequence UNCACHED");
  const std::size_t start = report.find("CREATE SEQUENCE UNCACHED");
  Run(report.substr(start, report.find(";", start) - start));
  EXPECT_EQ(NextValue("UNCACHED"), "12");
}

TEST_F(SequencePhaseTest, NamesThatNeedQuotesAndAnOwnerWithAQuote) {
  Run("create sequence \"order seq\"");
  Run("create sequence \"lower\"");
  SourcePhaseRig rig;
  const std::string report = Script(rig);
  EXPECT_NE(report.find("CREATE SEQUENCE \"lower\" INCREMENT BY 1 "), std::string::npos);
  EXPECT_NE(report.find("CREATE SEQUENCE \"order seq\" INCREMENT BY 1 "), std::string::npos);

  // The owner is bound: a quote in it neither breaks the query nor finds
  // another schema's sequences.
  SourcePhaseRig other;
  EXPECT_EQ(Script(other, "APP' or 'x' = 'x"), "");
}

TEST_F(SequencePhaseTest, NoSequencesWritesNothing) {
  SourcePhaseRig rig;
  EXPECT_EQ(Script(rig), "");
}

// An identity column's sequence comes back with its table; written on its
// own it would take a name the target gives another table's sequence.
TEST_F(SequencePhaseTest, IdentitySequencesAreLeftToTheirTables) {
  Run("create table APP.T (ID number generated by default as identity)");
  Run("create sequence APP.OWN");
  SourcePhaseRig rig;
  const std::string report = Script(rig);
  EXPECT_NE(report.find("CREATE SEQUENCE OWN "), std::string::npos) << report;
  EXPECT_EQ(report.find("ISEQ$$"), std::string::npos) << report;
}

// Asks for Skip when the progress bar reaches a position, as a user's click
// between two rows would.
class SkippingHost final : public TestRunHost {
 public:
  explicit SkippingHost(int position) : position_(position) {}
  void SetProgressPosition(int position) override {
    TestRunHost::SetProgressPosition(position);
    if (position == position_ && flags != nullptr) {
      flags->SkipRequested = 1;
    }
  }

  RunFlags* flags = nullptr;

 private:
  int position_;
};

TEST_F(SequencePhaseTest, SkipEndsThePhaseAndKeepsWhatWasWritten) {
  for (const char* name : {"S1", "S2", "S3", "S4"}) {
    Run(std::string("create sequence ") + name);
  }
  SkippingHost host(2);
  SourcePhaseRig rig("APP@TEST", &host);
  host.flags = &rig.flags;
  // A Skip asked before the phase began is not this phase's.
  rig.flags.SkipRequested = 1;
  const std::string report = Script(rig);
  EXPECT_EQ(report, SequenceBanner +
                        "CREATE SEQUENCE S1 INCREMENT BY 1 START WITH 1 NOMAXVALUE MINVALUE 1 "
                        "NOCYCLE CACHE 20 NOORDER;\r\n"
                        "CREATE SEQUENCE S2 INCREMENT BY 1 START WITH 1 NOMAXVALUE MINVALUE 1 "
                        "NOCYCLE CACHE 20 NOORDER;\r\n"
                        "\r\n-- Sequences Skipped ...");
  EXPECT_EQ(rig.flags.SkipRequested, 0);
}

TEST_F(SequencePhaseTest, LostConnectionIsRestoredOnceThenTheErrorBlockIsWritten) {
  Run("create sequence S1");
  BreakSandboxConnections(database, 1);
  SourcePhaseRig restored;
  EXPECT_NE(Script(restored).find("CREATE SEQUENCE S1 "), std::string::npos);
  EXPECT_EQ(restored.unscripted.Count(), 0u);

  // The logon that would restore it fails too.
  BreakSandboxConnections(database, 2);
  SourcePhaseRig rig;
  const std::string report = Script(rig);
  EXPECT_EQ(report.rfind("\r\n\r\n\r\n-- The following error was received while processing "
                         "sequences in database APP@TEST :\r\n-- ORA-",
                         0),
            0u)
      << report;
  EXPECT_EQ(report.find("CREATE SEQUENCE"), std::string::npos);
  ASSERT_EQ(rig.unscripted.Count(), 1u);
  EXPECT_EQ(rig.unscripted.Objects()[0].Kind, "LIST OF SEQUENCES");
  EXPECT_EQ(rig.unscripted.Objects()[0].Name, "APP");
}

}  // namespace
