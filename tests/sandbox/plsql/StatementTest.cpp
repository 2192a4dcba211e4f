// Statements, declarations, local routines and exceptions of anonymous blocks.
#include <gtest/gtest.h>

#include "BlockRunner.h"
#include "FakeSession.h"

namespace sandbox::plsql::testing {
namespace {

using Lines = std::vector<std::string>;

class StatementTest : public ::testing::Test {
 protected:
  BlockResult Run(const std::string& block) { return RunBlock(session_, block); }
  FakeSession session_;
};

TEST_F(StatementTest, IfElsifElseAndLoops) {
  BlockResult r =
      Run("declare\n"
          "  n integer := 0;\n"
          "  s varchar2(100);\n"
          "begin\n"
          "  for i in 1..5 loop\n"
          "    if mod(i, 2) = 0 then s := s || 'e';\n"
          "    elsif i = 5 then s := s || 'L';\n"
          "    else s := s || 'o';\n"
          "    end if;\n"
          "  end loop;\n"
          "  dbms_output.put_line(s);\n"
          "  for i in reverse 1..3 loop dbms_output.put(i); end loop;\n"
          "  dbms_output.new_line;\n"
          "  while n < 3 loop n := n + 1; end loop;\n"
          "  dbms_output.put_line('while ' || n);\n"
          "  loop n := n + 1; exit when n >= 10; end loop;\n"
          "  dbms_output.put_line('loop ' || n);\n"
          "  loop exit; end loop;\n"
          "  for i in 3..1 loop dbms_output.put_line('never'); end loop;\n"
          "  <<outer>> for i in 1..2 loop for j in 1..3 loop exit when j > i;"
          " dbms_output.put(i || j || ' '); end loop; end loop outer;\n"
          "  dbms_output.new_line;\n"
          "  null;\n"
          "end;");
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines, (Lines{"oeoeL", "321", "while 3", "loop 10", "11 21 22 "}));
}

TEST_F(StatementTest, DeclarationsTypesAndInitialisers) {
  MapBinds binds;
  binds.values["BIND3"] = Value::Text("Y");
  binds.values["BIND4"] = Value::Text("N");
  BlockResult r = RunBlock(session_,
                           "declare\n"
                           "  L_storage CHAR(1) DEFAULT :bind3;\n"
                           "  L_pct CHAR(1) DEFAULT :bind4;\n"
                           "  c char(4) := 'ab';\n"
                           "  k constant number := 10;\n"
                           "  amount number(5,2) := 3.14159;\n"
                           "  whole integer := 2.6;\n"
                           "  flag boolean := true;\n"
                           "  d date;\n"
                           "  v varchar2(10) default 'init';\n"
                           "begin\n"
                           "  if L_storage = 'Y' then dbms_output.put_line('storage'); end if;\n"
                           "  if L_pct = 'Y' then dbms_output.put_line('pct'); end if;\n"
                           "  dbms_output.put_line('[' || c || ']' || length(c));\n"
                           "  dbms_output.put_line(k * 2 || ' ' || amount || ' ' || whole);\n"
                           "  if flag and d is null then dbms_output.put_line(v); end if;\n"
                           "end;",
                           binds);
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines, (Lines{"storage", "[ab  ]4", "20 3.14 3", "init"}));
}

TEST_F(StatementTest, BindsAreReadAndWritten) {
  MapBinds binds;
  binds.values["OWNER"] = Value::Text("demo");
  binds.values["LINE"] = Value::Null();
  BlockResult r = RunBlock(session_, "begin :line := upper(:owner) || '!'; end;", binds);
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(binds.values["LINE"].text, "DEMO!");

  binds.maxLength = 3;
  r = RunBlock(session_, "begin :line := 'too long'; end;", binds);
  ASSERT_FALSE(r.ok);
  EXPECT_EQ(r.Error(),
            "ORA-06502: PL/SQL: numeric or value error: character string buffer too small\n"
            "ORA-06512: at line 1");
}

TEST_F(StatementTest, LocalFunctionKeepsStateInTheBlock) {
  // The line writer pattern: a function that counts the lines it printed in
  // a variable of the enclosing block, and an empty pending text.
  BlockResult r =
      Run("declare\n"
          "  lv_lineno number := 0;\n"
          "  a_lin varchar2(80);\n"
          "  function wri(x_lin in varchar2, x_str in varchar2, x_force in number)\n"
          "    return varchar2 is\n"
          "  begin\n"
          "    if length(x_lin) + length(x_str) > 80 then\n"
          "      lv_lineno := lv_lineno + 1;\n"
          "      dbms_output.put_line(x_lin);\n"
          "      if x_force = 0 then return x_str;\n"
          "      else\n"
          "        lv_lineno := lv_lineno + 1;\n"
          "        dbms_output.put_line(x_str);\n"
          "        return '';\n"
          "      end if;\n"
          "    else\n"
          "      if x_force = 0 then return x_lin || x_str;\n"
          "      else\n"
          "        lv_lineno := lv_lineno + 1;\n"
          "        dbms_output.put_line(x_lin || x_str);\n"
          "        return '';\n"
          "      end if;\n"
          "    end if;\n"
          "  end wri;\n"
          "begin\n"
          "  a_lin := '';\n"
          "  a_lin := wri(a_lin, 'CREATE TABLE ', 0);\n"
          "  a_lin := wri(a_lin, 'T', 0);\n"
          "  a_lin := wri(a_lin, ' (', 1);\n"
          "  a_lin := wri(a_lin, rpad('a', 50, 'a'), 0);\n"
          "  a_lin := wri(a_lin, rpad('b', 40, 'b'), 0);\n"
          "  a_lin := wri(a_lin, 'c', 1);\n"
          "  dbms_output.put_line('lines ' || lv_lineno);\n"
          "  a_lin := wri(a_lin, rpad('x', 85, 'x'), 0);\n"
          "end;");
  // A piece is never split from an empty pending text ('' is NULL, so the
  // length test is unknown): the 85 characters go to a_lin and overflow it.
  EXPECT_EQ(r.lines, (Lines{"CREATE TABLE T (", std::string(50, 'a'), std::string(40, 'b') + "c",
                            "lines 3"}));
  EXPECT_EQ(r.Error(),
            "ORA-06502: PL/SQL: numeric or value error: character string buffer too small\n"
            "ORA-06512: at line 34");
}

TEST_F(StatementTest, ProcedureWithDefaultsAndNestedBlocks) {
  BlockResult r =
      Run("declare\n"
          "  total number := 0;\n"
          "  procedure add(amount in number, times in number default 1) is\n"
          "  begin\n"
          "    for i in 1..times loop total := total + amount; end loop;\n"
          "  end;\n"
          "  function twice(n number) return number is begin return n * 2; end;\n"
          "begin\n"
          "  add(5);\n"
          "  add(1, 3);\n"
          "  declare\n"
          "    total number := 100;\n"
          "  begin\n"
          "    dbms_output.put_line('inner ' || total);\n"
          "  end;\n"
          "  dbms_output.put_line('outer ' || twice(total));\n"
          "  begin\n"
          "    return;\n"
          "  end;\n"
          "  dbms_output.put_line('not reached');\n"
          "end;");
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines, (Lines{"inner 100", "outer 16"}));
}

TEST_F(StatementTest, BufferTooSmallCaughtAndReraisedWithRaiseApplicationError) {
  BlockResult r =
      Run("declare\n"
          "  a_lin varchar2(5);\n"
          "  lv_table_name varchar2(30) := 'T';\n"
          "begin\n"
          "  dbms_output.put_line('before');\n"
          "  a_lin := 'abcdef';\n"
          "  dbms_output.put_line('after');\n"
          "exception\n"
          "  when others then\n"
          "    dbms_output.put_line(sqlerrm);\n"
          "    rollback;\n"
          "    raise_application_error(-20000, 'Unexpected error on ' || lv_table_name ||\n"
          "      ', ' || ': ' || to_char(SQLCODE) || ' - Aborting...');\n"
          "end;");
  ASSERT_FALSE(r.ok);
  EXPECT_EQ(r.Error(),
            "ORA-20000: Unexpected error on T, : -6502 - Aborting...\n"
            "ORA-06512: at line 12");
  EXPECT_EQ(r.lines, (Lines{"before",
                            "ORA-06502: PL/SQL: numeric or value error: character string buffer "
                            "too small"}));
  EXPECT_EQ(session_.Statements().back(), "rollback");
}

TEST_F(StatementTest, CharOverflowAndNumberPrecision) {
  BlockResult r = Run("declare c char(2); begin c := 'abc'; end;");
  EXPECT_EQ(r.Error(),
            "ORA-06502: PL/SQL: numeric or value error: character string buffer too small\n"
            "ORA-06512: at line 1");
  r = Run("declare n number(3); begin n := 1000; end;");
  EXPECT_EQ(r.Error(),
            "ORA-06502: PL/SQL: numeric or value error: number precision too large\n"
            "ORA-06512: at line 1");
  r = Run("declare n number(3); begin n := 'x'; end;");
  EXPECT_EQ(r.Error(),
            "ORA-06502: PL/SQL: numeric or value error: character to number conversion error\n"
            "ORA-06512: at line 1");
}

TEST_F(StatementTest, ExceptionsHandlersAndPropagation) {
  BlockResult r =
      Run("declare\n"
          "  my_error exception;\n"
          "begin\n"
          "  begin\n"
          "    raise my_error;\n"
          "  exception\n"
          "    when no_data_found then dbms_output.put_line('wrong handler');\n"
          "    when my_error then dbms_output.put_line('mine ' || sqlcode || ' ' || sqlerrm);\n"
          "  end;\n"
          "  begin\n"
          "    raise no_data_found;\n"
          "  exception\n"
          "    when too_many_rows or no_data_found then dbms_output.put_line(sqlcode || sqlerrm);\n"
          "  end;\n"
          "  begin\n"
          "    begin\n"
          "      raise_application_error(-20123, 'inner');\n"
          "    exception when value_error then null;\n"
          "    end;\n"
          "  exception when others then dbms_output.put_line(sqlerrm);\n"
          "  end;\n"
          "  dbms_output.put_line('sqlcode now ' || sqlcode);\n"
          "  declare\n"
          "    x number := 1 / 0;\n"
          "  begin\n"
          "    null;\n"
          "  exception when others then dbms_output.put_line('not here: declarations');\n"
          "  end;\n"
          "exception\n"
          "  when zero_divide then dbms_output.put_line('outer ' || sqlerrm);\n"
          "end;");
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines, (Lines{"mine 1 User-Defined Exception", "100ORA-01403: no data found",
                            "ORA-20123: inner", "sqlcode now 0",
                            "outer ORA-01476: divisor is equal to zero"}));
}

TEST_F(StatementTest, UnhandledErrorsAndTheirLineTrail) {
  BlockResult r = Run("declare\n e exception;\nbegin\n  raise e;\nend;");
  EXPECT_EQ(r.Error(),
            "ORA-06510: PL/SQL: unhandled user-defined exception\n"
            "ORA-06512: at line 4");
  r =
      Run("declare\n"
          "  function f return number is\n"
          "  begin\n"
          "    raise_application_error(-20001, 'deep');\n"
          "  end;\n"
          "begin\n"
          "  dbms_output.put_line(f);\n"
          "end;");
  EXPECT_EQ(r.Error(), "ORA-20001: deep\nORA-06512: at line 4\nORA-06512: at line 7");
  r =
      Run("declare function f return number is begin null; end; begin dbms_output.put_line(f); "
          "end;");
  EXPECT_EQ(r.error.code, 6503);
  r = Run("begin raise_application_error(-100, 'x'); end;");
  EXPECT_EQ(r.Error(),
            "ORA-21000: error number argument to raise_application_error of -100 is "
            "out of range\nORA-06512: at line 1");
  r = Run("begin begin raise value_error; exception when others then raise; end; end;");
  EXPECT_EQ(r.Error(), "ORA-06502: PL/SQL: numeric or value error\nORA-06512: at line 1");
}

TEST_F(StatementTest, RunawayRecursionAndNestingFailCleanly) {
  BlockResult r =
      Run("declare function f(n number) return number is begin return f(n + 1); end;\n"
          "begin dbms_output.put_line(f(1)); end;");
  EXPECT_EQ(r.error.code, 6500);
  EXPECT_EQ(r.error.message.rfind("PL/SQL: storage error\nORA-06512: at line 1", 0), 0u);
  r = Run("begin dbms_output.put_line(" + std::string(5000, '(') + "1" + std::string(5000, ')') +
          "); end;");
  EXPECT_EQ(r.error.code, 6550);
  EXPECT_NE(r.error.message.find("PLS-00123"), std::string::npos);
  std::string nested;
  for (int i = 0; i < 5000; ++i)
    nested += "begin ";
  for (int i = 0; i < 5000; ++i)
    nested += "null; end; ";
  r = Run(nested);
  EXPECT_NE(r.error.message.find("PLS-00123"), std::string::npos);
  r = Run("declare v varchar2(99999999999999999999); begin null; end;");
  EXPECT_EQ(r.error.code, 6550);
  r = Run("declare v no_such_type; begin null; end;");
  EXPECT_EQ(r.Error(),
            "ORA-06550: line 1, column 11:\nPLS-00201: identifier 'NO_SUCH_TYPE' "
            "must be declared\nORA-06550: line 1, column 9:\nPL/SQL: Item ignored");
}

}  // namespace
}  // namespace sandbox::plsql::testing
