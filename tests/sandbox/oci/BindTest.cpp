// String and integer binds by name and position, unbound placeholders, and
// OUT binds of PL/SQL blocks.
#include <gtest/gtest.h>

#include <cstring>

#include "OciTestClient.h"

namespace sandbox::testing {
namespace {

class SandboxOciBind : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(connection.ConnectFresh("BIND")) << connection.LastErrorText();
    ASSERT_EQ(connection.Run("create table people (id number, name varchar2(30))"), OCI_SUCCESS);
    ASSERT_EQ(connection.Run("insert into people values (1, 'O''Brien')"), OCI_SUCCESS);
    ASSERT_EQ(connection.Run("insert into people values (2, 'Smith')"), OCI_SUCCESS);
  }
  Statement NewStatement() {
    return Statement(connection.Environment(), connection.Error(), connection.Context());
  }
  TestConnection connection;
};

TEST_F(SandboxOciBind, StringAndIntegerBindsByNameSelectTheRow) {
  Statement statement = NewStatement();
  ASSERT_EQ(statement.Prepare("select name from people where name = :Who and id = :id"),
            OCI_SUCCESS);
  char who[31] = "O'Brien";
  int id = 1;
  // Names match without regard to case and with or without the colon.
  ASSERT_EQ(statement.BindString("WHO", who, sizeof who), OCI_SUCCESS);
  ASSERT_EQ(statement.BindInt(":ID", &id), OCI_SUCCESS);
  char name[31] = {};
  ASSERT_EQ(statement.DefineString(1, name, sizeof name), OCI_SUCCESS);
  ASSERT_EQ(statement.Execute(1), OCI_SUCCESS) << statement.LastError().text;
  EXPECT_STREQ(name, "O'Brien");

  // Re-executing reads the buffers again.
  std::strcpy(who, "Smith");
  id = 2;
  ASSERT_EQ(statement.Execute(1), OCI_SUCCESS) << statement.LastError().text;
  EXPECT_STREQ(name, "Smith");
}

TEST_F(SandboxOciBind, BindByPositionFollowsThePlaceholderOrder) {
  Statement statement = NewStatement();
  ASSERT_EQ(statement.Prepare("insert into people (id, name) values (:a, :b)"), OCI_SUCCESS);
  int id = 3;
  char name[] = "Jones";
  OCIBind* bind = nullptr;
  ASSERT_EQ(Oci().BindByPos(statement.Handle(), &bind, connection.Error(), 1, &id, sizeof id,
                            SQLT_INT, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT),
            OCI_SUCCESS);
  ASSERT_EQ(Oci().BindByPos(statement.Handle(), &bind, connection.Error(), 2, name, sizeof name,
                            SQLT_STR, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT),
            OCI_SUCCESS);
  EXPECT_EQ(Oci().BindByPos(statement.Handle(), &bind, connection.Error(), 3, name, sizeof name,
                            SQLT_STR, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT),
            OCI_ERROR);
  ASSERT_EQ(statement.Execute(1), OCI_SUCCESS) << statement.LastError().text;
  EXPECT_EQ(statement.RowCount(), 1u);
  EXPECT_EQ(connection.Rows("select name from people where id = 3"),
            std::vector<std::string>{"Jones"});
}

TEST_F(SandboxOciBind, UnboundAndUnknownPlaceholdersAreErrors) {
  Statement statement = NewStatement();
  ASSERT_EQ(statement.Prepare("select name from people where id = :id and name = :name"),
            OCI_SUCCESS);
  int id = 1;
  ASSERT_EQ(statement.BindInt("id", &id), OCI_SUCCESS);
  char name[31] = {};
  ASSERT_EQ(statement.DefineString(1, name, sizeof name), OCI_SUCCESS);
  EXPECT_EQ(statement.Execute(1), OCI_ERROR);
  EXPECT_EQ(statement.LastError().text, "ORA-01008: not all variables bound\n");

  EXPECT_EQ(statement.BindInt("nothere", &id), OCI_ERROR);
  EXPECT_EQ(statement.LastError().code, 1036);
  // A colon inside a literal is no placeholder.
  Statement literal = NewStatement();
  ASSERT_EQ(literal.Prepare("select name from people where name != ':x' and id = 2"), OCI_SUCCESS);
  ASSERT_EQ(literal.DefineString(1, name, sizeof name), OCI_SUCCESS);
  EXPECT_EQ(literal.Execute(1), OCI_SUCCESS) << literal.LastError().text;
  EXPECT_STREQ(name, "Smith");
}

TEST_F(SandboxOciBind, PlsqlBlockWritesOutBindsAndRefusesATooSmallBuffer) {
  Statement statement = NewStatement();
  ASSERT_EQ(statement.Prepare("begin :text := 'hello'; :number := 42; end;"), OCI_SUCCESS);
  char text[6] = {};
  int number = 0;
  ASSERT_EQ(statement.BindString(":text", text, sizeof text), OCI_SUCCESS);
  ASSERT_EQ(statement.BindInt(":number", &number), OCI_SUCCESS);
  ASSERT_EQ(statement.Execute(1), OCI_SUCCESS) << statement.LastError().text;
  EXPECT_STREQ(text, "hello");
  EXPECT_EQ(number, 42);

  Statement tooLong = NewStatement();
  ASSERT_EQ(tooLong.Prepare("begin :text := 'hello!'; end;"), OCI_SUCCESS);
  ASSERT_EQ(tooLong.BindString(":text", text, sizeof text), OCI_SUCCESS);
  EXPECT_EQ(tooLong.Execute(1), OCI_ERROR);
  EXPECT_EQ(tooLong.LastError().code, 6502);
}

TEST_F(SandboxOciBind, ExecutingDmlWithoutIterationsIsAnError) {
  Statement statement = NewStatement();
  ASSERT_EQ(statement.Prepare("delete from people"), OCI_SUCCESS);
  EXPECT_EQ(statement.Execute(0), OCI_ERROR);
  EXPECT_EQ(statement.LastError().code, 24333);
  ASSERT_EQ(statement.Execute(1), OCI_SUCCESS);
  EXPECT_EQ(statement.RowCount(), 2u);
}

TEST_F(SandboxOciBind, ParseOrDescribeOnlyNeverRunsAStatement) {
  for (ub4 mode : {OCI_PARSE_ONLY, OCI_DESCRIBE_ONLY}) {
    Statement statement = NewStatement();
    ASSERT_EQ(statement.Prepare("delete from people"), OCI_SUCCESS);
    EXPECT_EQ(statement.Execute(1, mode), OCI_ERROR);
  }
  EXPECT_EQ(connection.Rows("select count(*) from people"), std::vector<std::string>{"2"});
}

}  // namespace
}  // namespace sandbox::testing
