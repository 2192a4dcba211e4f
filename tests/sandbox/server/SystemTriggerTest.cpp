// Logon triggers, which a transcript of one session cannot show: they fire
// as each session of their schema (or of anyone, on the database) logs on,
// and a failing one denies the logon to all but a DBA.
#include <gtest/gtest.h>

#include "ServerTestSession.h"

namespace sandbox::test {
namespace {

class LogonTriggerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    admin.Script(R"(
      create user ann identified by pw;
      grant create session, create table, create trigger to ann;
      create user bob identified by pw;
      grant create session to bob;
      create table system.logons (who varchar2(30), event varchar2(30));
      grant insert on system.logons to public;
    )");
  }
  std::unique_ptr<Session> LogOn(const std::string& user, OraError& error) {
    return admin.database().Logon(user, "pw", error);
  }
  ServerTestSession admin;
};

TEST_F(LogonTriggerTest, SchemaTriggersFireForTheirOwnerAndDatabaseTriggersForEveryone) {
  admin.Script(R"(
    create or replace trigger ann.ann_logon after logon on ann.schema
    begin
      insert into system.logons values (ora_login_user, ora_sysevent);
    end;
    /
  )");
  OraError error;
  ASSERT_TRUE(LogOn("ANN", error)) << error.message;
  ASSERT_TRUE(LogOn("BOB", error)) << error.message;
  EXPECT_EQ(admin.Rows("select who, event from logons"), (std::vector<std::string>{"ANN|LOGON"}));
  admin.Script(R"(
    create or replace trigger every_logon after logon on database
    begin
      insert into system.logons values (ora_login_user, 'ANY');
    end;
    /
  )");
  ASSERT_TRUE(LogOn("BOB", error)) << error.message;
  EXPECT_EQ(admin.Rows("select who, event from logons where event = 'ANY'"),
            (std::vector<std::string>{"BOB|ANY"}));
  // A disabled trigger does not fire.
  admin.Script("alter trigger every_logon disable");
  ASSERT_TRUE(LogOn("BOB", error)) << error.message;
  EXPECT_EQ(admin.Value1("select count(*) from logons where event = 'ANY'"), "1");
}

TEST_F(LogonTriggerTest, AFailingTriggerDeniesTheLogonButToADba) {
  admin.Script(R"(
    create or replace trigger no_bob after logon on database
    begin
      if ora_login_user = 'BOB' then
        raise_application_error(-20100, 'Bob may not log on');
      end if;
    end;
    /
    create user dba_bob identified by pw;
    grant dba to dba_bob;
    create or replace trigger no_dba_bob after logon on database
    begin
      if ora_login_user = 'DBA_BOB' then
        raise_application_error(-20101, 'Nor may this one');
      end if;
    end;
    /
  )");
  OraError error;
  EXPECT_FALSE(LogOn("BOB", error));
  EXPECT_EQ(error.code, 604);
  EXPECT_NE(error.message.find("ORA-20100: Bob may not log on"), std::string::npos)
      << error.message;
  EXPECT_TRUE(LogOn("ANN", error)) << error.message;
  EXPECT_TRUE(LogOn("DBA_BOB", error)) << error.message;
}

TEST_F(LogonTriggerTest, ADatabaseTriggerNamesItsOwnersObjects) {
  // Unqualified, LOGONS is the trigger owner's table, not the user's.
  admin.Script(R"(
    create or replace trigger every_logon after logon on database
    begin
      insert into logons values (ora_login_user, 'OWNED');
    end;
    /
  )");
  OraError error;
  ASSERT_TRUE(LogOn("BOB", error)) << error.message;
  EXPECT_EQ(admin.Rows("select who, event from logons"), (std::vector<std::string>{"BOB|OWNED"}));
}

TEST_F(LogonTriggerTest, LogoffTriggersFireAsASessionEndsAndTheirFailureIsIgnored) {
  admin.Script(R"(
    create or replace trigger every_logoff before logoff on database
    begin
      insert into system.logons values (ora_login_user, ora_sysevent);
      if ora_login_user = 'BOB' then
        raise_application_error(-20102, 'Bob leaves anyway');
      end if;
    end;
    /
  )");
  OraError error;
  auto ann = LogOn("ANN", error);
  auto bob = LogOn("BOB", error);
  ASSERT_TRUE(ann && bob) << error.message;
  ann.reset();
  bob.reset();
  EXPECT_EQ(admin.Rows("select who, event from logons order by who"),
            (std::vector<std::string>{"ANN|LOGOFF"}));
}

TEST_F(LogonTriggerTest, ALogonTriggerMaySetTheSessionsSchema) {
  admin.Script(R"(
    create table ann.notes (text varchar2(20));
    insert into ann.notes values ('ann''s');
    commit;
    grant select on ann.notes to bob;
    create or replace trigger bob_schema after logon on bob.schema
    begin
      execute immediate 'alter session set current_schema = ANN';
    end;
    /
  )");
  OraError error;
  auto bob = LogOn("BOB", error);
  ASSERT_TRUE(bob) << error.message;
  EXPECT_EQ(bob->CurrentSchema(), "ANN");
}

}  // namespace
}  // namespace sandbox::test
