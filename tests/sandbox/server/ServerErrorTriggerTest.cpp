// SERVERERROR triggers beyond one session's transcript: the error stack they
// see, whose failures fire them (their owner's, or everyone's on the
// database; a client's call, not a statement inside one), and what becomes
// of the client's transaction.
#include <gtest/gtest.h>

#include "ServerTestSession.h"
#include "sandbox/server/triggers/ServerErrorTriggers.h"

namespace sandbox::test {
namespace {

TEST(ErrorStackTest, EachCodedLineIsAnErrorAndOtherLinesGoOnTheOneAbove) {
  const std::vector<SystemEvent::Error> stack =
      ErrorStack({6550,
                  "line 1, column 7:\nPLS-00201: identifier 'X' must be declared\nORA-06550: "
                  "line 1, column 7:\nPL/SQL: Statement ignored"});
  ASSERT_EQ(stack.size(), 3u);
  EXPECT_EQ(stack[0].code, 6550);
  EXPECT_EQ(stack[0].message, "ORA-06550: line 1, column 7:");
  EXPECT_EQ(stack[1].code, 201);
  EXPECT_EQ(stack[2].message, "ORA-06550: line 1, column 7:\nPL/SQL: Statement ignored");
  const std::vector<SystemEvent::Error> one = ErrorStack({1, "unique constraint (A.B) violated"});
  ASSERT_EQ(one.size(), 1u);
  EXPECT_EQ(one[0].message, "ORA-00001: unique constraint (A.B) violated");
  // "ORA-" alone, without its five digits and colon, starts no error.
  EXPECT_EQ(ErrorStack({20001, "bad\nORA-1: not one\nORA-06512: at line 2"}).size(), 2u);
}

class ServerErrorTriggerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    admin.Script(R"(
      create user ann identified by pw;
      grant create session, create table, create trigger to ann;
      create user bob identified by pw;
      grant create session to bob;
      create table system.errors (who varchar2(30), code number);
      grant insert on system.errors to public;
    )");
  }
  ServerTestSession Session(const std::string& user) {
    return ServerTestSession(std::shared_ptr<Database>(&admin.database(), [](Database*) {}), user,
                             "pw");
  }
  ServerTestSession admin;
};

TEST_F(ServerErrorTriggerTest, ASchemaTriggerLogsItsOwnersFailuresAndADatabaseOneEveryones) {
  admin.Script(R"(
    create or replace trigger ann.ann_errors after servererror on ann.schema
    begin
      insert into system.errors values (ora_login_user, ora_server_error(1));
    end;
    /
  )");
  ServerTestSession ann = Session("ANN");
  ServerTestSession bob = Session("BOB");
  EXPECT_EQ(ann.QueryError("select * from nothing_here"), 942);
  EXPECT_EQ(bob.Exec("insert into nothing_here values (1)"), 942);
  EXPECT_EQ(admin.Rows("select who, code from errors"), (std::vector<std::string>{"ANN|942"}));
  admin.Script(R"(
    create or replace trigger every_error after servererror on database
    begin
      insert into system.errors values (ora_login_user, -ora_server_error(1));
    end;
    /
  )");
  EXPECT_EQ(bob.Exec("drop table nothing_here"), 942);
  EXPECT_EQ(admin.Rows("select who, code from errors where code < 0"),
            (std::vector<std::string>{"BOB|-942"}));
}

// Only the client's call fires them: not an error a block handles, nor one
// of the trigger's own statements, whose failure leaves the client its error.
TEST_F(ServerErrorTriggerTest, ErrorsInsideACallFireNothingAndTheClientKeepsItsError) {
  admin.Script(R"(
    create table checked (n number check (n > 0));
    create or replace trigger log_errors after servererror on schema
    begin
      insert into errors values (user, ora_server_error(1));
      insert into checked values (-ora_server_error(1));
    end;
    /
    begin
      insert into missing_table values (1);
    exception
      when others then null;
    end;
    /
  )");
  EXPECT_EQ(admin.Exec("insert into checked values (0)"), 2290);
  EXPECT_EQ(admin.Value1("select count(*) from errors"), "0");
  EXPECT_EQ(admin.Value1("select count(*) from checked"), "0");
  // Disabled, it logs nothing: the session goes on as before. An autonomous
  // one may log from anywhere.
  admin.Script(R"(
    alter trigger log_errors disable;
    create or replace trigger log_plainly after servererror on schema
    declare
      pragma autonomous_transaction;
    begin
      insert into errors values (user, ora_server_error(1));
      commit;
    end;
    /
  )");
  EXPECT_EQ(admin.Exec("insert into checked values (0)"), 2290);
  EXPECT_EQ(admin.Rows("select code from errors"), (std::vector<std::string>{"2290"}));
  // A function a query calls for its later rows runs outside the query's call.
  admin.Script(R"(
    create or replace function quietly(n number) return number is
      found number;
    begin
      execute immediate 'select count(*) from missing_table' into found;
      return found;
    exception
      when others then
        return -n;
    end;
    /
  )");
  admin.Script("create table three as select level n from dual connect by level <= 3");
  EXPECT_EQ(admin.Rows("select quietly(n) from three"),
            (std::vector<std::string>{"-1", "-2", "-3"}));
  EXPECT_EQ(admin.Value1("select count(*) from errors"), "1");
}

// The logged rows are committed when the client has no transaction of its
// own; otherwise they join it rather than commit it, and stay should the
// client roll it back.
TEST_F(ServerErrorTriggerTest, TheLogIsCommittedButNeverTheClientsOpenWork) {
  admin.Script(R"(
    create table work (n number);
    create or replace trigger log_errors after servererror on schema
    declare
      pragma autonomous_transaction;
    begin
      insert into errors values (user, ora_server_error(1));
      commit;
    end;
    /
  )");
  EXPECT_EQ(admin.QueryError("select * from nothing_here"), 942);
  admin.Script("rollback");
  EXPECT_EQ(admin.Value1("select count(*) from errors"), "1");
  // The client's rollback takes its work, and leaves the log.
  admin.Script("insert into work values (1)");
  EXPECT_EQ(admin.QueryError("select * from nothing_here"), 942);
  EXPECT_EQ(admin.Value1("select count(*) from errors"), "2");
  admin.Script("rollback");
  EXPECT_EQ(admin.Value1("select count(*) from work"), "0");
  EXPECT_EQ(admin.Value1("select count(*) from errors"), "2");
  // Its commit keeps both, once.
  admin.Script("insert into work values (2)");
  EXPECT_EQ(admin.Exec("insert into work values ('two')"), 1722);
  admin.Script("commit");
  admin.Script("rollback");
  EXPECT_EQ(admin.Value1("select count(*) from work"), "1");
  EXPECT_EQ(admin.Rows("select code from errors order by code"),
            (std::vector<std::string>{"942", "942", "1722"}));
}

}  // namespace
}  // namespace sandbox::test
