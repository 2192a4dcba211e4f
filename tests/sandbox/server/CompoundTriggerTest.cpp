// Compound triggers beyond one session's transcript: the state of their
// declarations when the trigger's own sections run statements that fire it
// again, the sections CREATE TRIGGER refuses, and declarations that fail.
#include <gtest/gtest.h>

#include "ServerTestSession.h"

namespace sandbox::test {
namespace {

class CompoundTriggerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db.Script(R"(
      create table chain (id number);
      create table chain_log (n number, text varchar2(40));
      create sequence chain_seq;
      create view chain_v as select id from chain;
    )");
  }
  // The ALL_ERRORS texts of a trigger, and that it is INVALID.
  std::vector<std::string> Errors(const std::string& trigger) {
    EXPECT_EQ(db.Value1("select status from user_objects where object_name = '" + trigger + "'"),
              "INVALID");
    return db.Rows("select text from user_errors where name = '" + trigger + "' order by sequence");
  }
  ServerTestSession db;
};

// Each statement has its own declarations, also one that a section of the
// same trigger runs; the outer statement's are as it left them afterwards.
TEST_F(CompoundTriggerTest, AStatementTheTriggerRunsHasItsOwnState) {
  db.Script(R"(
    create or replace trigger chain_ct for insert on chain compound trigger
      seen pls_integer := 0;
      last_id number;
      after each row is
      begin
        seen := seen + 1;
        last_id := :new.id;
      end after each row;
      after statement is
      begin
        if last_id < 3 then
          insert into chain values (last_id + 1);
        end if;
        insert into chain_log values (chain_seq.nextval, last_id || '/' || seen);
      end after statement;
    end;
    /
    insert into chain values (1);
  )");
  EXPECT_EQ(db.Rows("select text from chain_log order by n"),
            (std::vector<std::string>{"3/1", "2/1", "1/1"}));
  db.Script("insert into chain select 10 from dual union all select 20 from dual");
  EXPECT_EQ(db.Value1("select text from chain_log where n = (select max(n) from chain_log)"),
            "20/2");
}

TEST_F(CompoundTriggerTest, SectionsATableOrViewCannotHaveAreCompileErrors) {
  db.Script(R"(
    create or replace trigger twice for insert on chain compound trigger
      after statement is begin null; end after statement;
      after statement is begin null; end after statement;
    end;
    /
    create or replace trigger table_instead for insert on chain compound trigger
      instead of each row is begin null; end instead of each row;
    end;
    /
    create or replace trigger view_before for insert on chain_v compound trigger
      before each row is begin null; end before each row;
    end;
    /
    create or replace trigger renamed_row for insert on chain referencing new as n
    compound trigger
      before statement is
      begin
        insert into chain_log values (:n.id, 'x');
      end before statement;
    end;
    /
  )");
  EXPECT_EQ(Errors("TWICE"), (std::vector<std::string>{"PLS-00676: duplicate Section"}));
  const std::vector<std::string> invalidSection{
      "PLS-00675: invalid section for this type of Compound Trigger"};
  EXPECT_EQ(Errors("TABLE_INSTEAD"), invalidSection);
  EXPECT_EQ(Errors("VIEW_BEFORE"), invalidSection);
  EXPECT_EQ(Errors("RENAMED_ROW"),
            (std::vector<std::string>{
                "PLS-00679: trigger binds not allowed in before/after statement section"}));
  // The section is a compound trigger's: a simple head with one is refused.
  EXPECT_EQ(db.Exec("create or replace trigger mixed after insert on chain compound trigger "
                    "after statement is begin null; end after statement; end;"),
            4079);
  EXPECT_EQ(db.Exec("insert into chain values (1)"), 4098);
}

// The declarations are made when the first section runs: their error fails
// the statement, which is undone.
TEST_F(CompoundTriggerTest, ADeclarationThatFailsFailsTheStatement) {
  db.Script(R"(
    create or replace trigger small for insert on chain compound trigger
      digit number(1) := 42;
      after each row is begin null; end after each row;
    end;
    /
  )");
  EXPECT_EQ(db.Exec("insert into chain values (1)"), 6502);
  EXPECT_NE(db.LastError().message.find("ORA-04088: error during execution of trigger "
                                        "'SYSTEM.SMALL'"),
            std::string::npos)
      << db.LastError().message;
  EXPECT_EQ(db.Value1("select count(*) from chain"), "0");
}

}  // namespace
}  // namespace sandbox::test
