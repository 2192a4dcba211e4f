// DBMS_OUTPUT: lines kept per session across calls, GET_LINE draining,
// ENABLE limits and their overflow errors, DISABLE.
#include <gtest/gtest.h>

#include "BlockRunner.h"
#include "FakeSession.h"
#include "sandbox/plsql/Interpreter.h"

namespace sandbox::plsql::testing {
namespace {

using Lines = std::vector<std::string>;

bool Exec(Session& session, const std::string& block, OraError& error) {
  MapBinds binds;
  return RunAnonymousBlock(session, block, binds, error);
}

TEST(DbmsOutputTest, LinesStayUntilGetLineDrainsThemThenStatusIsOne) {
  FakeSession session;
  OraError error;
  ASSERT_TRUE(Exec(session, "begin dbms_output.enable(100000); end;", error)) << error.message;
  ASSERT_TRUE(Exec(session,
                   "begin dbms_output.put_line('one'); dbms_output.put('t');"
                   " dbms_output.put('wo'); dbms_output.new_line;"
                   " dbms_output.put_line(''); dbms_output.put('pending'); end;",
                   error));
  ASSERT_TRUE(Exec(session, "begin dbms_output.put_line('three'); end;", error));
  MapBinds binds;
  binds.values["LINE"] = Value::Null();
  binds.values["STATUS"] = Value::Null();
  const std::string getLine = "begin dbms_output.get_line(:line, :status); end;";
  std::vector<std::string> seen;
  for (int i = 0; i < 10; ++i) {
    ASSERT_TRUE(RunAnonymousBlock(session, getLine, binds, error)) << error.message;
    if (binds.values["STATUS"].text == "1") {
      EXPECT_TRUE(binds.values["LINE"].IsNull());
      break;
    }
    EXPECT_EQ(binds.values["STATUS"].text, "0");
    seen.push_back(binds.values["LINE"].IsNull() ? "<null>" : binds.values["LINE"].text);
  }
  // The pending PUT text joins the next PUT_LINE.
  EXPECT_EQ(seen, (Lines{"one", "two", "<null>", "pendingthree"}));
  // The client's own drain block: a local line variable and nvl.
  ASSERT_TRUE(Exec(session, "begin dbms_output.put_line('x'); end;", error));
  MapBinds client;
  client.values["LINE"] = Value::Null();
  client.values["MORE"] = Value::Null();
  ASSERT_TRUE(RunAnonymousBlock(session,
                                "declare line varchar2(4000); begin dbms_output.get_line( line, "
                                ":more); :line := nvl(line,' '); end;",
                                client, error))
      << error.message;
  EXPECT_EQ(client.values["LINE"].text, "x");
  EXPECT_EQ(client.values["MORE"].text, "0");
  ASSERT_TRUE(RunAnonymousBlock(session,
                                "declare line varchar2(4000); begin dbms_output.get_line( line, "
                                ":more); :line := nvl(line,' '); end;",
                                client, error));
  EXPECT_EQ(client.values["LINE"].text, " ");
  EXPECT_EQ(client.values["MORE"].text, "1");
}

TEST(DbmsOutputTest, SmallBufferOverflowsWithOru10027) {
  FakeSession session;
  OraError error;
  // Sizes below 2000 are raised to 2000.
  ASSERT_TRUE(Exec(session, "begin dbms_output.enable(100); end;", error));
  EXPECT_FALSE(Exec(session,
                    "begin\n  for i in 1..30 loop\n    dbms_output.put_line(rpad('x', 100, 'x'));\n"
                    "  end loop;\nend;",
                    error));
  EXPECT_EQ(error.code, 20000);
  EXPECT_EQ(error.message, "ORU-10027: buffer overflow, limit of 2000 bytes\nORA-06512: at line 3");
  // What was printed before the overflow is still there.
  EXPECT_EQ(DrainOutput(session).size(), 20u);
  // A second, smaller ENABLE keeps the larger limit.
  ASSERT_TRUE(
      Exec(session, "begin dbms_output.enable(3000); dbms_output.enable(2500); end;", error));
  EXPECT_EQ(session.Output().bufferSize, 3000);
  // Drained lines free their space.
  EXPECT_TRUE(Exec(session, "begin dbms_output.put_line(rpad('y', 1500, 'y')); end;", error))
      << error.message;
}

TEST(DbmsOutputTest, OverflowCaughtByWhenOthersIsReraised) {
  FakeSession session;
  OraError error;
  ASSERT_TRUE(Exec(session, "begin dbms_output.enable(2000); end;", error));
  EXPECT_FALSE(Exec(session,
                    "begin\n  loop dbms_output.put_line(rpad('x', 255, 'x')); end loop;\n"
                    "exception when others then\n"
                    "  raise_application_error(-20000, 'Unexpected error: ' || to_char(SQLCODE) || "
                    "' - Aborting...');\nend;",
                    error));
  EXPECT_EQ(error.message, "Unexpected error: -20000 - Aborting...\nORA-06512: at line 4");
}

TEST(DbmsOutputTest, DisabledOutputIsDroppedAndDisableClears) {
  FakeSession session;
  OraError error;
  ASSERT_TRUE(Exec(session, "begin dbms_output.put_line('lost'); end;", error));
  EXPECT_TRUE(DrainOutput(session).empty());
  ASSERT_TRUE(Exec(session, "begin dbms_output.enable; dbms_output.put_line('kept'); end;", error));
  EXPECT_EQ(session.Output().bufferSize, 20000);
  ASSERT_TRUE(Exec(session, "begin dbms_output.disable; dbms_output.enable(null); end;", error));
  EXPECT_TRUE(DrainOutput(session).empty());
  // ENABLE(NULL) sets no limit.
  ASSERT_TRUE(Exec(session,
                   "begin for i in 1..100 loop dbms_output.put_line(rpad('z', 1000, 'z'));"
                   " end loop; end;",
                   error))
      << error.message;
  EXPECT_EQ(DrainOutput(session).size(), 100u);
}

TEST(DbmsOutputTest, LineLengthLimitDependsOnTheRelease) {
  FakeSession old("Oracle8i Enterprise Edition Release 8.1.7.0.0 - Production");
  OraError error;
  ASSERT_TRUE(
      Exec(old, "begin dbms_output.enable(100000); dbms_output.put_line(rpad('a', 255, 'a')); end;",
           error));
  EXPECT_FALSE(Exec(old, "begin dbms_output.put_line(rpad('a', 256, 'a')); end;", error));
  EXPECT_EQ(error.message,
            "ORU-10028: line length overflow, limit of 255 chars per line\n"
            "ORA-06512: at line 1");
  FakeSession current;
  ASSERT_TRUE(Exec(
      current, "begin dbms_output.enable(100000); dbms_output.put_line(rpad('a', 4000, 'a')); end;",
      error))
      << error.message;
}

}  // namespace
}  // namespace sandbox::plsql::testing
