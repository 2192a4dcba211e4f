// Stored units against the real server: the interpreter's compile errors
// reach the dictionary only for mistakes in the code, definer's rights are
// given back however a unit ends, a failed block undoes only its own work,
// and a function called from DML may change other tables.
#include <gtest/gtest.h>

#include "BlockRunner.h"

namespace sandbox::plsql::testing {
namespace {

using Rows = std::vector<std::string>;

class UnitSemanticsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OraError error;
    const std::string name =
        std::string("mem:UNITS_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    database_ = AttachDatabase(name, error);
    ASSERT_TRUE(database_) << error.message;
    session_ = database_->Logon("SYSTEM", "manager", error);
    ASSERT_TRUE(session_) << error.message;
  }
  // Runs sql; the error's text, empty when it succeeded.
  std::string Run(const std::string& sql) {
    MapBinds binds;
    std::uint64_t rows = 0;
    OraError error, warning;
    if (!session_->Execute(sql, binds, rows, error, warning))
      return error.message.empty() ? "failed" : error.message;
    return warning.IsSet() ? "warning " + std::to_string(warning.code) : "";
  }
  // The first column of every row, as text.
  Rows Query(const std::string& sql) {
    MapBinds binds;
    OraError error;
    Rows rows;
    auto cursor = session_->OpenQuery(sql, binds, error);
    EXPECT_TRUE(cursor) << sql << ": " << error.message;
    std::vector<Value> row;
    while (cursor && cursor->Next(row, error))
      rows.push_back(row.empty() ? "" : row[0].text);
    EXPECT_FALSE(error.IsSet()) << sql << ": " << error.message;
    return rows;
  }
  std::string Status(const std::string& name) {
    const Rows rows = Query("select status from user_objects where object_name = '" + name +
                            "' and object_type <> 'PACKAGE BODY'");
    return rows.empty() ? "missing" : rows[0];
  }

  std::shared_ptr<Database> database_;
  std::unique_ptr<Session> session_;
};

TEST_F(UnitSemanticsTest, WhatTheInterpreterLacksIsNoErrorInTheCode) {
  // Calls and dotted names the interpreter does not know may be Oracle's
  // own: the units stay VALID and list no errors, and fail only if run.
  EXPECT_EQ(Run("create procedure uses_oracle_names is v varchar2(4000); n number; begin "
                "v := dbms_utility.format_call_stack; n := regexp_count('aa', 'a'); end;"),
            "");
  EXPECT_EQ(Status("USES_ORACLE_NAMES"), "VALID");
  EXPECT_EQ(Query("select count(*) from user_errors where name = 'USES_ORACLE_NAMES'"), Rows{"0"});
  // A plain undeclared name is the code's own mistake.
  EXPECT_EQ(Run("create procedure uses_missing is n number; begin n := missing_value; end;"),
            "warning 24344");
  EXPECT_EQ(Status("USES_MISSING"), "INVALID");
  EXPECT_EQ(Run("create procedure assigns_missing is begin v_nowhere := 1; end;"), "warning 24344");
  EXPECT_EQ(
      Query("select text from user_errors where name = 'ASSIGNS_MISSING' order by sequence"),
      (Rows{"PL/SQL: Statement ignored", "PLS-00201: identifier 'V_NOWHERE' must be declared"}));
  // Replacing it with code that compiles clears the errors.
  EXPECT_EQ(Run("create or replace procedure uses_missing is n number; begin n := 1; end;"), "");
  EXPECT_EQ(Status("USES_MISSING"), "VALID");
  EXPECT_EQ(Query("select count(*) from user_errors where name = 'USES_MISSING'"), Rows{"0"});
}

TEST_F(UnitSemanticsTest, RightsComeBackWhenADefinerUnitFails) {
  ASSERT_EQ(Run("create user rights_owner identified by pw"), "");
  ASSERT_EQ(Run("create function rights_owner.fail_as_owner return number is begin "
                "raise_application_error(-20001, sys_context('USERENV', 'CURRENT_SCHEMA')); end;"),
            "");
  const std::string failed = Run("begin if rights_owner.fail_as_owner = 1 then null; end if; end;");
  EXPECT_NE(failed.find("RIGHTS_OWNER"), std::string::npos) << failed;
  EXPECT_EQ(Query("select sys_context('USERENV', 'CURRENT_SCHEMA') || ' ' || "
                  "sys_context('USERENV', 'CURRENT_USER') from dual"),
            Rows{"SYSTEM SYSTEM"});
}

TEST_F(UnitSemanticsTest, AFailedBlockUndoesOnlyItsOwnWork) {
  ASSERT_EQ(Run("create table undo_t (n number)"), "");
  ASSERT_EQ(Run("insert into undo_t values (1)"), "");  // the transaction is open
  EXPECT_NE(Run("begin insert into undo_t values (2); raise no_data_found; end;"), "");
  EXPECT_EQ(Query("select n from undo_t order by n"), Rows{"1"});
  // A nested block that fails inside a block that handles it undoes its part.
  EXPECT_EQ(Run("begin insert into undo_t values (3); "
                "execute immediate 'begin insert into undo_t values (4); raise zero_divide; end;'; "
                "exception when zero_divide then null; end;"),
            "");
  EXPECT_EQ(Query("select n from undo_t order by n"), (Rows{"1", "3"}));
  EXPECT_EQ(Run("rollback"), "");
  EXPECT_EQ(Query("select count(*) from undo_t"), Rows{"0"});
}

TEST_F(UnitSemanticsTest, AFunctionCalledFromDmlMayChangeOtherTables) {
  ASSERT_EQ(Run("create table calls_t (n number)"), "");
  ASSERT_EQ(Run("create table calls_log (n number)"), "");
  ASSERT_EQ(Run("create function next_n return number is begin "
                "insert into calls_log values (1); return 7; end;"),
            "");
  EXPECT_EQ(Run("insert into calls_t values (next_n())"), "");
  EXPECT_EQ(Query("select count(*) from calls_log"), Rows{"1"});
  // A subquery of an UPDATE is part of the DML statement.
  EXPECT_EQ(Run("update calls_t set n = (select next_n() from dual)"), "");
  EXPECT_EQ(Query("select count(*) from calls_log"), Rows{"2"});
  // A query may not change data through the function.
  EXPECT_EQ(
      Run("select next_n() from dual").rfind("cannot perform a DML operation inside a query", 0),
      0u);
  EXPECT_EQ(Query("select count(*) from calls_log"), Rows{"2"});
}

}  // namespace
}  // namespace sandbox::plsql::testing
