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

TEST_F(SandboxOciBind, ArrayInsertTakesOneElementPerIteration) {
  Statement statement = NewStatement();
  ASSERT_EQ(statement.Prepare("insert into people values (:id, :name)"), OCI_SUCCESS);
  int ids[3] = {10, 11, 12};
  char names[3][8] = {"ten", "", "twelve"};
  sb2 indicators[3] = {0, -1, 0};
  OCIBind* bind = nullptr;
  ASSERT_EQ(Oci().BindByName(statement.Handle(), &bind, connection.Error(),
                             reinterpret_cast<const OraText*>(":id"), 3, ids, sizeof ids[0],
                             SQLT_INT, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT),
            OCI_SUCCESS);
  ASSERT_EQ(Oci().BindByName(statement.Handle(), &bind, connection.Error(),
                             reinterpret_cast<const OraText*>(":name"), 5, names, sizeof names[0],
                             SQLT_STR, indicators, nullptr, nullptr, 0, nullptr, OCI_DEFAULT),
            OCI_SUCCESS);
  ASSERT_EQ(statement.Execute(3), OCI_SUCCESS) << statement.LastError().text;
  EXPECT_EQ(statement.RowCount(), 3u);
  EXPECT_EQ(connection.Rows("select id, nvl(name, '-') from people where id >= 10 order by id"),
            (std::vector<std::string>{"10|ten", "11|-", "12|twelve"}));
}

TEST_F(SandboxOciBind, ExternalTypesConvertBothWays) {
  ASSERT_EQ(connection.Run("create table kinds (f number, c char(5), r raw(4))"), OCI_SUCCESS);
  Statement insert = NewStatement();
  ASSERT_EQ(insert.Prepare("insert into kinds values (:f, 'ab', :r)"), OCI_SUCCESS);
  double half = -0.5;
  unsigned char bytes[2] = {0xCA, 0xFE};
  OCIBind* bind = nullptr;
  ASSERT_EQ(Oci().BindByName(insert.Handle(), &bind, connection.Error(),
                             reinterpret_cast<const OraText*>(":f"), 2, &half, sizeof half,
                             SQLT_FLT, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT),
            OCI_SUCCESS);
  ASSERT_EQ(Oci().BindByName(insert.Handle(), &bind, connection.Error(),
                             reinterpret_cast<const OraText*>(":r"), 2, bytes, sizeof bytes,
                             SQLT_BIN, nullptr, nullptr, nullptr, 0, nullptr, OCI_DEFAULT),
            OCI_SUCCESS);
  ASSERT_EQ(insert.Execute(1), OCI_SUCCESS) << insert.LastError().text;
  EXPECT_EQ(connection.Rows("select f, r from kinds"), std::vector<std::string>{"-.5|CAFE"});

  Statement select = NewStatement();
  ASSERT_EQ(select.Prepare("select f, c, r, c from kinds"), OCI_SUCCESS);
  double number = 0;
  char padded[8];
  unsigned char raw[4] = {};
  ub2 rawLength = 0;
  char counted[7] = {};
  OCIDefine* define = nullptr;
  ASSERT_EQ(Oci().DefineByPos(select.Handle(), &define, connection.Error(), 1, &number,
                              sizeof number, SQLT_FLT, nullptr, nullptr, nullptr, OCI_DEFAULT),
            OCI_SUCCESS);
  ASSERT_EQ(Oci().DefineByPos(select.Handle(), &define, connection.Error(), 2, padded,
                              sizeof padded, SQLT_AFC, nullptr, nullptr, nullptr, OCI_DEFAULT),
            OCI_SUCCESS);
  ASSERT_EQ(Oci().DefineByPos(select.Handle(), &define, connection.Error(), 3, raw, sizeof raw,
                              SQLT_BIN, nullptr, &rawLength, nullptr, OCI_DEFAULT),
            OCI_SUCCESS);
  ASSERT_EQ(Oci().DefineByPos(select.Handle(), &define, connection.Error(), 4, counted,
                              sizeof counted, SQLT_VCS, nullptr, nullptr, nullptr, OCI_DEFAULT),
            OCI_SUCCESS);
  ASSERT_EQ(select.Execute(1), OCI_SUCCESS) << select.LastError().text;
  EXPECT_EQ(number, -0.5);
  EXPECT_EQ(std::string(padded, sizeof padded), "ab      ");  // CHAR(5) value, padded to the buffer
  EXPECT_EQ(rawLength, 2);
  EXPECT_EQ(raw[0], 0xCA);
  EXPECT_EQ(raw[1], 0xFE);
  ub2 prefix = 0;
  std::memcpy(&prefix, counted, sizeof prefix);
  EXPECT_EQ(prefix, 5);  // the length prefix, then the blank-padded CHAR(5) value
  EXPECT_EQ(std::string(counted + 2, 5), "ab   ");
}

TEST_F(SandboxOciBind, ParseOrDescribeOnlyNeverRunsAStatement) {
  for (ub4 mode : {OCI_PARSE_ONLY, OCI_DESCRIBE_ONLY}) {
    Statement statement = NewStatement();
    ASSERT_EQ(statement.Prepare("delete from people"), OCI_SUCCESS);
    EXPECT_EQ(statement.Execute(1, mode), OCI_ERROR);
  }
  EXPECT_EQ(connection.Rows("select count(*) from people"), std::vector<std::string>{"2"});
  // A describe prepares a query without running it: no row reaches the division.
  Statement query = NewStatement();
  ASSERT_EQ(query.Prepare("select 1 / 0 from people"), OCI_SUCCESS);
  EXPECT_EQ(query.Execute(0, OCI_DESCRIBE_ONLY), OCI_SUCCESS) << query.LastError().text;
  EXPECT_EQ(query.Execute(0, OCI_DEFAULT), OCI_ERROR);
}

}  // namespace
}  // namespace sandbox::testing
