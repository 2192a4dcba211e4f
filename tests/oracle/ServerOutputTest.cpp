// Tests of the DBMS_OUTPUT exchange of printing PL/SQL blocks against the
// sandbox server.
#include <gtest/gtest.h>

#include "tests/oracle/SandboxClient.h"

namespace {

class ServerOutputTest : public ::testing::Test {
 protected:
  void SetUp() override { client_.ConnectAsSystem(FreshDatabase("OUTPUT")); }
  SandboxClient client_;
};

constexpr const char* ThreeLines =
    "begin dbms_output.put_line('one'); dbms_output.put_line(''); "
    "dbms_output.put_line('three  '); end;";

}  // namespace

TEST_F(ServerOutputTest, EmptyLinesAreDroppedAndTrailingBlanksTrimmed) {
  ASSERT_TRUE(client_.session->ExecuteSql("begin dbms_output.enable(100000); end;"));
  ASSERT_TRUE(client_.session->ExecuteSql(ThreeLines));
  EXPECT_EQ(client_.session->ReadServerOutput(), "one\r\nthree\r\n");
  EXPECT_EQ(client_.session->ReadServerOutput(), "");  // drained

  EXPECT_EQ(client_.session->RunPrintingBlock(ThreeLines, "", "", "", ""), "one\r\nthree\r\n\r\n");
  EXPECT_TRUE(client_.messages.texts.empty());
}

TEST_F(ServerOutputTest, BlockBindsAndNoTextFromAHalfRunBlock) {
  std::string failure = "stale";
  EXPECT_EQ(
      client_.session->RunPrintingBlock("begin dbms_output.put_line(:bind1 || '.' || :bind2); end;",
                                        "owner", "table", "", "", &failure),
      "owner.table\r\n\r\n");
  EXPECT_EQ(failure, "stale");  // untouched on success

  const std::string printed = client_.session->RunPrintingBlock(
      "begin dbms_output.put_line('before'); "
      "raise_application_error(-20000, 'Unexpected error on T'); end;",
      "", "", "", "", &failure);
  EXPECT_EQ(printed, "");
  EXPECT_EQ(failure.rfind("ORA-20000: Unexpected error on T", 0), 0u) << failure;
  ASSERT_EQ(client_.messages.texts.size(), 1u);
  EXPECT_EQ(client_.messages.texts[0].rfind("ORA-20000: Unexpected error on T", 0), 0u)
      << client_.messages.texts[0];

  // Output is disabled again afterwards.
  ASSERT_TRUE(client_.session->ExecuteSql("begin dbms_output.put_line('lost'); end;"));
  EXPECT_EQ(client_.session->ReadServerOutput(), "");
}

TEST_F(ServerOutputTest, OutBufSetsTheServerBufferSize) {
  client_.settings->SetInt("Settings", "OutBuf", 2000);
  const std::string line(1500, 'x');
  const std::string printed = client_.session->RunPrintingBlock(
      "begin dbms_output.put_line('" + line + "'); dbms_output.put_line('" + line + "'); end;", "",
      "", "", "");
  EXPECT_EQ(printed, "");
  ASSERT_EQ(client_.messages.texts.size(), 1u);
  EXPECT_NE(client_.messages.texts[0].find("ORU-10027: buffer overflow, limit of 2000 bytes"),
            std::string::npos)
      << client_.messages.texts[0];
}

// A connection lost before any statement of the enable, run, drain unit: the
// whole unit runs again in a new session with server output enabled, and the
// text is complete; no message is shown.
TEST_F(ServerOutputTest, LostConnectionRunsTheWholeUnitAgain) {
  const std::string database = client_.session->Database();
  const std::string block =
      "begin for i in 1 .. 4 loop dbms_output.put_line('line ' || i); end loop; end;";
  const std::string expected = "line 1\r\nline 2\r\nline 3\r\nline 4\r\n\r\n";
  BreakSandboxAtCall(database, 0, 0);
  ASSERT_EQ(client_.session->RunPrintingBlock(block, "", "", "", ""), expected);
  const int executes = BreakSandboxAtCall(database, 0, 0);
  ASSERT_GT(executes, 5);
  for (int n = 1; n <= executes; ++n) {
    SCOPED_TRACE("break before execute " + std::to_string(n));
    BreakSandboxAtCall(database, 0, n);
    std::string failure;
    EXPECT_EQ(client_.session->RunPrintingBlock(block, "", "", "", "", &failure), expected);
    EXPECT_EQ(failure, "");
    EXPECT_TRUE(client_.messages.texts.empty()) << client_.messages.texts.front();
  }
  BreakSandboxAtCall(database, 0, 0);
}
