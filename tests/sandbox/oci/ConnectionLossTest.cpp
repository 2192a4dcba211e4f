// The injected lost connection: ORA-03113 on the next call, ORA-03114 after
// it, until the session logs on again.
#include <gtest/gtest.h>

#include "OciTestClient.h"

namespace sandbox::testing {
namespace {

int BreakConnections(const std::string& database, int count) {
  EXPECT_NE(Oci().BreakConnections, nullptr);
  return Oci().BreakConnections(database.c_str(), count);
}

TEST(SandboxOciConnectionLoss, BrokenSessionFailsWith3113Then3114UntilItLogsOnAgain) {
  TestConnection connection;
  ASSERT_TRUE(connection.ConnectFresh("LOST"));
  TestConnection bystander;
  ASSERT_TRUE(bystander.Connect("SYSTEM", "manager", connection.database));
  ASSERT_EQ(connection.Run("create table t (n number)"), OCI_SUCCESS);

  EXPECT_EQ(BreakConnections(connection.database, 1), 2);
  EXPECT_EQ(connection.Run("insert into t values (1)"), OCI_ERROR);
  EXPECT_EQ(connection.LastErrorText(), "ORA-03113: end-of-file on communication channel");
  EXPECT_EQ(connection.Run("insert into t values (1)"), OCI_ERROR);
  EXPECT_EQ(connection.LastErrorText(), "ORA-03114: not connected to ORACLE");
  OraText banner[100];
  EXPECT_EQ(Oci().ServerVersion(connection.Context(), connection.Error(), banner, sizeof banner,
                                OCI_HTYPE_SVCCTX),
            OCI_ERROR);
  EXPECT_EQ(connection.LastErrorCode(), 3114);
  EXPECT_EQ(bystander.Run("insert into t values (1)"), OCI_ERROR);
  EXPECT_EQ(bystander.LastErrorCode(), 3113);

  // Logging on again, as a client reconnects, gives a working session.
  ASSERT_TRUE(connection.Connect("SYSTEM", "manager", connection.database));
  EXPECT_EQ(connection.Run("insert into t values (2)"), OCI_SUCCESS) << connection.LastErrorText();
}

TEST(SandboxOciConnectionLoss, OpenCursorLosesItsConnectionToo) {
  TestConnection connection;
  ASSERT_TRUE(connection.ConnectFresh("CURSOR"));
  ASSERT_EQ(connection.Run("create table t (n number)"), OCI_SUCCESS);
  ASSERT_EQ(connection.Run("insert into t values (1)"), OCI_SUCCESS);
  ASSERT_EQ(connection.Run("insert into t values (2)"), OCI_SUCCESS);
  Statement statement(connection.Environment(), connection.Error(), connection.Context());
  char buffer[10];
  ASSERT_EQ(statement.Prepare("select n from t"), OCI_SUCCESS);
  ASSERT_EQ(statement.DefineString(1, buffer, sizeof buffer), OCI_SUCCESS);
  ASSERT_EQ(statement.Execute(1), OCI_SUCCESS);

  BreakConnections(connection.database, 1);
  EXPECT_EQ(statement.Fetch(1), OCI_ERROR);
  EXPECT_EQ(statement.LastError().code, 3113);
  EXPECT_EQ(statement.Fetch(1), OCI_ERROR);
  EXPECT_EQ(statement.LastError().code, 3114);
}

TEST(SandboxOciConnectionLoss, LaterLogonsAreBrokenRightAfterTheyLogOn) {
  std::string database = FreshDatabase("LATER");
  EXPECT_EQ(BreakConnections(database, 3), 0);  // nobody logged on yet
  for (int i = 0; i < 2; ++i) {
    TestConnection broken;
    ASSERT_TRUE(broken.Connect("SYSTEM", "manager", database)) << broken.LastErrorText();
    EXPECT_EQ(broken.Run("select 1 from dual"), OCI_ERROR);
    EXPECT_EQ(broken.LastErrorCode(), 3113);
  }
  TestConnection healthy;
  ASSERT_TRUE(healthy.Connect("SYSTEM", "manager", database));
  EXPECT_EQ(healthy.Rows("select 1 from dual"), std::vector<std::string>{"1"});
  EXPECT_EQ(BreakConnections("no-such-database", 1), 0);
}

}  // namespace
}  // namespace sandbox::testing
