// DBMS_SQL against the sandbox server: overloads chosen by the arguments,
// values cut to their defined size, the limits on nesting, and the state a
// session keeps (cursors, the denial after a guessed number).
#include <gtest/gtest.h>

#include "BlockRunner.h"

namespace sandbox::plsql::testing {
namespace {

using Lines = std::vector<std::string>;

class DbmsSqlTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OraError error;
    const std::string name = std::string("mem:DBMSSQL_") +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name();
    database_ = AttachDatabase(name, error);
    ASSERT_TRUE(database_) << error.message;
    session_ = Logon();
  }
  std::unique_ptr<Session> Logon() {
    OraError error;
    auto session = database_->Logon("SYSTEM", "manager", error);
    EXPECT_TRUE(session) << error.message;
    return session;
  }
  // The lines a block prints, or its error.
  Lines Run(const std::string& block, Session* session = nullptr) {
    BlockResult r = RunBlock(session != nullptr ? *session : *session_, block);
    return r.ok ? r.lines : Lines{r.Error()};
  }
  std::shared_ptr<Database> database_;
  std::unique_ptr<Session> session_;
};

// Whether a block's result is the error code.
::testing::AssertionResult FailsWith(const Lines& result, const std::string& code) {
  if (result.size() == 1 && result[0].rfind(code, 0) == 0)
    return ::testing::AssertionSuccess();
  std::string got;
  for (const std::string& line : result)
    got += line + "|";
  return ::testing::AssertionFailure() << "expected " << code << ", got " << got;
}

TEST_F(DbmsSqlTest, ParseTakesTextOrATableOfLinesAndNothingElse) {
  // Without line feeds the lines run together; elements outside lb .. ub
  // are left out.
  EXPECT_EQ(Run("declare c integer := dbms_sql.open_cursor; s dbms_sql.varchar2s; n number; "
                "r integer; begin s(0) := 'junk'; s(1) := 'select 4'; s(2) := '2 from dual'; "
                "s(3) := 'junk'; "
                "dbms_sql.parse(c, s, 1, 2, false, dbms_sql.native); "
                "dbms_sql.define_column(c, 1, n); r := dbms_sql.execute_and_fetch(c); "
                "dbms_sql.column_value(c, 1, n); dbms_output.put_line(n); end;"),
            (Lines{"42"}));
  // Four arguments fit neither overload.
  const Lines wrong =
      Run("declare c integer := dbms_sql.open_cursor; begin "
          "dbms_sql.parse(c, 'select 1 from dual', 1, 2); end;");
  ASSERT_EQ(wrong.size(), 1u);
  EXPECT_NE(wrong[0].find("PLS-00306"), std::string::npos) << wrong[0];
}

TEST_F(DbmsSqlTest, ColumnValueCutsToTheDefinedSizeOnACharacterBoundary) {
  const std::string fetch =
      "declare c integer := dbms_sql.open_cursor; v varchar2(10); e number; l number; "
      "r integer; begin dbms_sql.parse(c, 'select ''a\xC3\xA9z'' from dual', 1); "
      "dbms_sql.define_column(c, 1, v, 2); r := dbms_sql.execute_and_fetch(c); ";
  EXPECT_EQ(Run(fetch + "dbms_sql.column_value(c, 1, v, e, l); "
                        "dbms_output.put_line('[' || v || '] ' || e || ' ' || l); end;"),
            (Lines{"[a] 1406 4"}));
  EXPECT_TRUE(FailsWith(Run(fetch + "dbms_sql.column_value(c, 1, v); end;"), "ORA-01406"));
}

TEST_F(DbmsSqlTest, OutArgumentsMatchTheirBindOrColumn) {
  EXPECT_TRUE(FailsWith(Run("declare c integer := dbms_sql.open_cursor; v varchar2(10); r integer; "
                            "begin dbms_sql.parse(c, 'begin :n := 1; end;', 1); "
                            "dbms_sql.bind_variable(c, 'n', 0); r := dbms_sql.execute(c); "
                            "dbms_sql.variable_value(c, 'n', v); end;"),
                        "ORA-06562"));
  EXPECT_TRUE(FailsWith(Run("declare c integer := dbms_sql.open_cursor; begin "
                            "dbms_sql.parse(c, 'create table t (x number default :d)', 1); end;"),
                        "ORA-01027"));
  EXPECT_TRUE(FailsWith(Run("declare c integer := dbms_sql.open_cursor; r integer; "
                            "begin r := dbms_sql.execute(c); end;"),
                        "ORA-01003"));
  // A query already fetched from cannot become a cursor variable.
  EXPECT_TRUE(
      FailsWith(Run("declare c integer := dbms_sql.open_cursor; r integer; rc sys_refcursor; "
                    "begin dbms_sql.parse(c, 'select 1 from dual', 1); "
                    "r := dbms_sql.execute_and_fetch(c); rc := dbms_sql.to_refcursor(c); end;"),
                "ORA-01001"));
}

TEST_F(DbmsSqlTest, ErrorPositionsPointAtTheNameAndNumbersStayInRange) {
  const std::string parse = "declare c integer := dbms_sql.open_cursor; begin dbms_sql.parse(c, ";
  const std::string report =
      ", 1); exception when others then "
      "dbms_output.put_line(sqlcode || ' ' || dbms_sql.last_error_position); end;";
  // A literal holding the name is not where the error is.
  EXPECT_EQ(Run(parse + "'select ''nosuch'', nosuch from dual'" + report), (Lines{"-904 17"}));
  EXPECT_EQ(Run(parse + "'select * from dual join system.missing on 1 = 1'" + report),
            (Lines{"-942 24"}));
  EXPECT_TRUE(FailsWith(Run("declare c integer := dbms_sql.open_cursor; v varchar2(9); begin "
                            "dbms_sql.parse(c, 'select 1 from dual', 1); "
                            "dbms_sql.define_column(c, 1, v, 1e30); end;"),
                        "ORA-06502"));
}

TEST_F(DbmsSqlTest, ArraysRunTheShortestAndFetchInBatchesOfTheirCount) {
  RunBlock(*session_, "begin execute immediate 'create table a (x number, d date)'; end;");
  EXPECT_EQ(Run("declare c integer := dbms_sql.open_cursor; x dbms_sql.number_table; "
                "d dbms_sql.date_table; r integer; begin x(1) := 1; x(2) := 2; x(3) := 3; "
                "d(5) := date '2020-01-01'; d(6) := date '2020-01-02'; "
                "dbms_sql.parse(c, 'insert into a values (:x, :d)', 1); "
                "dbms_sql.bind_array(c, 'x', x); dbms_sql.bind_array(c, 'd', d); "
                "dbms_output.put_line(dbms_sql.execute(c)); end;"),
            (Lines{"2"}));
  const std::string query =
      "declare c integer := dbms_sql.open_cursor; x dbms_sql.number_table; "
      "v dbms_sql.varchar2_table; r integer; begin "
      "dbms_sql.parse(c, 'select x from a order by x', 1); ";
  EXPECT_EQ(Run(query + "dbms_sql.define_array(c, 1, x, 1, -1); r := dbms_sql.execute(c); "
                        "r := dbms_sql.fetch_rows(c); dbms_sql.column_value(c, 1, x); "
                        "r := dbms_sql.fetch_rows(c); dbms_sql.column_value(c, 1, x); "
                        "r := dbms_sql.fetch_rows(c); dbms_sql.column_value(c, 1, x); "
                        "dbms_output.put_line(r || ' ' || x.first || ' ' || x(0)); end;"),
            (Lines{"0 -1 2"}));
  EXPECT_TRUE(FailsWith(Run(query + "dbms_sql.define_array(c, 1, x, 0, 1); end;"), "ORA-29253"));
  EXPECT_TRUE(FailsWith(Run(query + "dbms_sql.define_array(c, 1, x, 5, 1); "
                                    "r := dbms_sql.execute_and_fetch(c); "
                                    "dbms_sql.column_value(c, 1, v); end;"),
                        "ORA-06562"));
  // A table is no scalar value.
  const Lines wrong = Run(query + "dbms_sql.bind_variable(c, 'x', x); end;");
  ASSERT_EQ(wrong.size(), 1u);
  EXPECT_NE(wrong[0].find("PLS-00306"), std::string::npos) << wrong[0];
}

TEST_F(DbmsSqlTest, DescriptionsKeepTheirRecordsLimitsAndOraclesTypeCodes) {
  RunBlock(*session_,
           "begin execute immediate 'create table d (t timestamp(3), c clob, r raw(8))'; end;");
  const std::string longName = std::string(40, 'X');
  const std::string describe =
      "declare c integer := dbms_sql.open_cursor; n integer; begin dbms_sql.parse(c, "
      "'select t, c, r, 1 as " +
      longName + " from d', 1); ";
  EXPECT_EQ(
      Run(describe + "declare t dbms_sql.desc_tab2; begin dbms_sql.describe_columns2(c, n, t); "
                     "for i in 1 .. n loop dbms_output.put_line(t(i).col_type || ' ' || "
                     "t(i).col_name_len); end loop; end; end;"),
      (Lines{"180 1", "112 1", "23 1", "2 40"}));
  // DESC_TAB keeps names of 32 bytes.
  EXPECT_TRUE(FailsWith(
      Run(describe + "declare t dbms_sql.desc_tab; begin dbms_sql.describe_columns(c, n, t); "
                     "end; end;"),
      "ORA-06502"));
}

TEST_F(DbmsSqlTest, DynamicBlocksCallingBackNestNoDeeperThanOracleAllows) {
  RunBlock(*session_,
           "begin execute immediate 'create procedure again is c integer := "
           "dbms_sql.open_cursor; r integer; begin dbms_sql.parse(c, ''begin again; end;'', 1); "
           "r := dbms_sql.execute(c); end;'; end;");
  const Lines result = Run("begin again; end;");
  ASSERT_EQ(result.size(), 1u);
  EXPECT_NE(result[0].find("ORA-00036"), std::string::npos) << result[0];
}

TEST_F(DbmsSqlTest, ABlockMayCloseTheCursorThatRunsIt) {
  EXPECT_EQ(Run("declare c integer := dbms_sql.open_cursor; r integer; begin "
                "dbms_sql.parse(c, 'begin dbms_sql.close_cursor(:c); end;', 1); "
                "dbms_sql.bind_variable(c, 'c', c); r := dbms_sql.execute(c); "
                "if not dbms_sql.is_open(c) then dbms_output.put_line('closed'); end if; end;"),
            (Lines{"closed"}));
}

TEST_F(DbmsSqlTest, CursorsAndTheirDenialBelongToOneSession) {
  RunBlock(*session_, "begin execute immediate 'create package keep as c integer; end;'; end;");
  EXPECT_EQ(Run("begin keep.c := dbms_sql.open_cursor; "
                "dbms_sql.parse(keep.c, 'select 1 from dual', 1); end;"),
            Lines{});
  // Asking whether a number is open is no guess.
  EXPECT_EQ(Run("begin if dbms_sql.is_open(keep.c) and not dbms_sql.is_open(keep.c + 1) then "
                "dbms_output.put_line('yes'); end if; end;"),
            (Lines{"yes"}));
  auto other = Logon();
  ASSERT_TRUE(other);
  // Another session's number is unknown here, and denies this session.
  EXPECT_TRUE(FailsWith(Run("begin keep.c := dbms_sql.open_cursor; dbms_sql.close_cursor(keep.c); "
                            "keep.c := 1; dbms_sql.close_cursor(keep.c); end;",
                            other.get()),
                        "ORA-29471"));
  EXPECT_TRUE(
      FailsWith(Run("declare c integer := dbms_sql.open_cursor; begin null; end;", other.get()),
                "ORA-29471"));
  EXPECT_EQ(Run("begin if dbms_sql.is_open(keep.c) then dbms_sql.close_cursor(keep.c); "
                "dbms_output.put_line('closed'); end if; end;"),
            (Lines{"closed"}));
}

}  // namespace
}  // namespace sandbox::plsql::testing
