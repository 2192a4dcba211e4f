// Stored units run through the real server: a logging package in the style
// of published PL/SQL libraries (package state kept for the session,
// overloads, a private procedure, DBMS_OUTPUT), package state that is the
// session's own, a unit changed while a session keeps it compiled, and
// OUT parameters that keep their values when the call fails.
#include <gtest/gtest.h>

#include "BlockRunner.h"

namespace sandbox::plsql::testing {
namespace {

using Lines = std::vector<std::string>;

const char* const kLogSpec = R"(create or replace package log_lib authid definer as
  c_error constant pls_integer := 1;
  c_info constant pls_integer := 3;
  g_level pls_integer := c_info;
  g_written pls_integer := 0;
  procedure set_level (p_level pls_integer);
  procedure write (p_text varchar2);
  procedure write (p_level pls_integer, p_text varchar2);
  procedure write (p_name varchar2, p_value number);
  function level_name (p_level pls_integer default null) return varchar2;
  function written return pls_integer;
end log_lib;)";

const char* const kLogBody = R"(create or replace package body log_lib as
  g_session_start varchar2(10);

  procedure emit (p_level pls_integer, p_text varchar2) is
  begin
    if p_level <= g_level then
      g_written := g_written + 1;
      dbms_output.put_line(g_session_start || ' ' || level_name(p_level) || ' ' || p_text);
    end if;
  end emit;

  procedure set_level (p_level pls_integer) is
  begin
    g_level := p_level;
  end;

  procedure write (p_text varchar2) is
  begin
    emit(c_info, p_text);
  end;

  procedure write (p_level pls_integer, p_text varchar2) is
  begin
    emit(p_level, p_text);
  end;

  procedure write (p_name varchar2, p_value number) is
  begin
    emit(c_info, p_name || '=' || p_value);
  end;

  function level_name (p_level pls_integer default null) return varchar2 is
  begin
    if nvl(p_level, g_level) = c_error then
      return 'ERROR';
    elsif nvl(p_level, g_level) = c_info then
      return 'INFO';
    end if;
    return 'LEVEL' || nvl(p_level, g_level);
  end;

  function written return pls_integer is
  begin
    return g_written;
  end;
begin
  g_session_start := 'log:';
end log_lib;)";

class StoredUnitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OraError error;
    const std::string name =
        std::string("mem:UNITS_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
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
  void Sql(const std::string& sql, Session* session = nullptr) {
    MapBinds binds;
    std::uint64_t rows = 0;
    OraError error, warning;
    ASSERT_TRUE((session ? *session : *session_).Execute(sql, binds, rows, error, warning))
        << sql << ": " << error.message;
    ASSERT_FALSE(warning.IsSet()) << sql << ": " << warning.message;
  }
  std::shared_ptr<Database> database_;
  std::unique_ptr<Session> session_;
};

TEST_F(StoredUnitTest, LoggingPackageKeepsItsStateAndChoosesOverloads) {
  Sql(kLogSpec);
  Sql(kLogBody);
  BlockResult first = RunBlock(*session_, R"(begin
  log_lib.write('started');
  log_lib.write(log_lib.c_error, 'failed');
  log_lib.write('rows', 42);
  log_lib.set_level(log_lib.c_error);
  log_lib.write('hidden');
  dbms_output.put_line(log_lib.written || ' ' || log_lib.level_name);
end;)");
  ASSERT_TRUE(first.ok) << first.Error();
  EXPECT_EQ(first.lines,
            (Lines{"log: INFO started", "log: ERROR failed", "log: INFO rows=42", "3 ERROR"}));
  // The next call of the session sees the level and count it left.
  BlockResult second = RunBlock(*session_, R"(begin
  log_lib.write(log_lib.c_error, 'again');
  dbms_output.put_line(log_lib.written || ' ' || log_lib.level_name(7));
end;)");
  ASSERT_TRUE(second.ok) << second.Error();
  EXPECT_EQ(second.lines, (Lines{"log: ERROR again", "4 LEVEL7"}));
  // Another session starts from the package's declarations.
  auto other = Logon();
  BlockResult fresh = RunBlock(*other, "begin dbms_output.put_line(log_lib.written); end;");
  ASSERT_TRUE(fresh.ok) << fresh.Error();
  EXPECT_EQ(fresh.lines, (Lines{"0"}));
}

TEST_F(StoredUnitTest, ChangedUnitIsCompiledAgainAndItsCallersFollow) {
  Sql("create or replace function unit_answer return number is begin return 1; end;");
  Sql("create or replace procedure unit_show is begin dbms_output.put_line(unit_answer); end;");
  BlockResult before = RunBlock(*session_, "begin unit_show; end;");
  ASSERT_TRUE(before.ok) << before.Error();
  EXPECT_EQ(before.lines, (Lines{"1"}));
  Sql("create or replace function unit_answer return number is begin return 2; end;");
  BlockResult after = RunBlock(*session_, "begin unit_show; end;");
  ASSERT_TRUE(after.ok) << after.Error();
  EXPECT_EQ(after.lines, (Lines{"2"}));
  Sql("drop function unit_answer");
  BlockResult gone = RunBlock(*session_, "begin unit_show; end;");
  EXPECT_FALSE(gone.ok);
  EXPECT_NE(gone.Error().find("PLS-00905: object SYSTEM.UNIT_SHOW is invalid"), std::string::npos)
      << gone.Error();
}

TEST_F(StoredUnitTest, OutParametersAreCopiedBackOnlyWhenTheCallEnds) {
  Sql(R"(create or replace procedure unit_fill (p_out out varchar2, p_fail boolean) is
begin
  p_out := 'filled';
  if p_fail then
    raise_application_error(-20001, 'failed after filling');
  end if;
end;)");
  BlockResult r = RunBlock(*session_, R"(declare
  v varchar2(20) := 'before';
begin
  begin
    unit_fill(v, true);
  exception
    when others then
      dbms_output.put_line(sqlerrm);
  end;
  dbms_output.put_line(v);
  unit_fill(p_fail => false, p_out => v);
  dbms_output.put_line(v);
end;)");
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines, (Lines{"ORA-20001: failed after filling", "before", "filled"}));
}

TEST_F(StoredUnitTest, FailedInitialisationRunsAgainAtTheNextUse) {
  Sql("create table unit_flag (ok number)");
  Sql("create or replace package unit_init as g_value number; end;");
  Sql(R"(create or replace package body unit_init as
begin
  select ok into g_value from unit_flag;
end;)");
  BlockResult failed = RunBlock(*session_, "begin dbms_output.put_line(unit_init.g_value); end;");
  EXPECT_FALSE(failed.ok);
  EXPECT_EQ(failed.Error().rfind("ORA-01403: no data found", 0), 0u) << failed.Error();
  EXPECT_NE(failed.Error().find("at \"SYSTEM.UNIT_INIT\", line 3"), std::string::npos)
      << failed.Error();
  Sql("insert into unit_flag values (7)");
  BlockResult second = RunBlock(*session_, "begin dbms_output.put_line(unit_init.g_value); end;");
  ASSERT_TRUE(second.ok) << second.Error();
  EXPECT_EQ(second.lines, (Lines{"7"}));
}

TEST_F(StoredUnitTest, FunctionsInSqlQueryTablesAndShareThePackageState) {
  Sql("create table unit_rows (n number)");
  Sql("insert into unit_rows values (1)");
  Sql("insert into unit_rows values (2)");
  Sql("insert into unit_rows values (3)");
  Sql(R"(create or replace package unit_sql as
  g_factor number := 1;
  function scaled (n number) return number;
  function smaller (p_n number) return number;
end;)");
  Sql(R"(create or replace package body unit_sql as
  function scaled (n number) return number is
  begin
    return n * g_factor;
  end;
  -- Queries the table the calling statement is reading.
  function smaller (p_n number) return number is
    c number;
  begin
    select count(*) into c from unit_rows where n < p_n;
    return c;
  end;
end;)");
  Sql("create view unit_view as select n, unit_sql.scaled(n) s, unit_sql.smaller(n) c "
      "from unit_rows");
  BlockResult r = RunBlock(*session_, R"(begin
  unit_sql.g_factor := 10;
  for row in (select n, s, c from unit_view order by n) loop
    dbms_output.put_line(row.n || ' ' || row.s || ' ' || row.c);
  end loop;
end;)");
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines, (Lines{"1 10 0", "2 20 1", "3 30 2"}));
}

TEST_F(StoredUnitTest, FunctionRecursingThroughSqlStopsAtFiftyLevels) {
  Sql(R"(create or replace function unit_depth (n number) return number is
  r number;
begin
  if n = 0 then
    return 0;
  end if;
  select unit_depth(n - 1) + 1 into r from dual;
  return r;
end;)");
  BlockResult shallow = RunBlock(*session_, "begin dbms_output.put_line(unit_depth(20)); end;");
  ASSERT_TRUE(shallow.ok) << shallow.Error();
  EXPECT_EQ(shallow.lines, (Lines{"20"}));
  BlockResult deep = RunBlock(*session_, "begin dbms_output.put_line(unit_depth(100000)); end;");
  EXPECT_FALSE(deep.ok);
  EXPECT_NE(deep.Error().find("ORA-00036: maximum number of recursive SQL levels (50) exceeded"),
            std::string::npos)
      << deep.Error().substr(0, 300);
}

}  // namespace
}  // namespace sandbox::plsql::testing
