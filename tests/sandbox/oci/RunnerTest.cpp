// The script runner: how scripts are cut into statements, and the
// qmsandbox-run program's output and exit status, on small scripts and on
// the demo database.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>

#include "RunProgram.h"
#include "sandbox/tools/ScriptSplitter.h"

namespace sandbox::testing {
namespace {

using tools::ScriptStatement;
using tools::SplitScript;

TEST(SandboxScriptSplitter, SemicolonsEndStatementsOutsideLiteralsAndComments) {
  std::vector<ScriptStatement> statements = SplitScript(
      "-- a comment line\n"
      "REM another\n"
      "insert into t values ('a;b'); insert into t values (2);\n"
      "\n"
      "select 1 -- trailing; comment\n"
      "  from dual;\n"
      "select \"odd;name\" from t\n"
      "/\n");
  ASSERT_EQ(statements.size(), 4u);
  EXPECT_EQ(statements[0].text, "insert into t values ('a;b')");
  EXPECT_EQ(statements[0].line, 3);
  EXPECT_EQ(statements[1].text, "insert into t values (2)");
  EXPECT_EQ(statements[1].line, 3);
  EXPECT_EQ(statements[2].text, "select 1 -- trailing; comment\n  from dual");
  EXPECT_EQ(statements[2].line, 5);
  EXPECT_EQ(statements[3].text, "select \"odd;name\" from t");
  EXPECT_EQ(statements[3].line, 7);
}

TEST(SandboxScriptSplitter, PlsqlUnitsAndBlocksEndOnlyAtASlashLine) {
  std::vector<ScriptStatement> statements = SplitScript(
      "create or replace\n"
      "procedure p is\n"
      "begin\n"
      "  null;\n"
      "end;\n"
      "/\n"
      "begin dbms_output.put_line('x'); end;\n"
      "/\n"
      "create table t (n number);\n"
      "create type point as object (x number);\n"
      "/\n");
  ASSERT_EQ(statements.size(), 4u);
  EXPECT_EQ(statements[0].text, "create or replace\nprocedure p is\nbegin\n  null;\nend;");
  EXPECT_EQ(statements[0].line, 1);
  EXPECT_EQ(statements[1].text, "begin dbms_output.put_line('x'); end;");
  EXPECT_EQ(statements[1].line, 7);
  EXPECT_EQ(statements[2].text, "create table t (n number)");
  EXPECT_EQ(statements[3].text, "create type point as object (x number);");
  EXPECT_EQ(statements[3].line, 10);
}

TEST(SandboxScriptSplitter, CommentsBeforeAUnitDoNotHideThatItIsPlsql) {
  std::vector<ScriptStatement> statements = SplitScript(
      "/****\n*  The following statement will create the trigger T; really\n****/\n"
      "-- and a line comment;\n"
      "CREATE OR REPLACE TRIGGER t before insert on x\nbegin\n  null;\nend;\n"
      "/\n"
      "/* not; a unit */ select 1 from dual;\n");
  ASSERT_EQ(statements.size(), 2u);
  EXPECT_EQ(statements[0].text.substr(statements[0].text.find("CREATE")),
            "CREATE OR REPLACE TRIGGER t before insert on x\nbegin\n  null;\nend;");
  EXPECT_EQ(statements[1].text, "/* not; a unit */ select 1 from dual");
}

TEST(SandboxScriptSplitter, LiteralsAndBlockCommentsSpanLines) {
  std::vector<ScriptStatement> statements = SplitScript(
      "insert into t values ('line one; and\n/ two\nline three');\n"
      "/* a; comment\n  over lines */ select 1 from dual;\n");
  ASSERT_EQ(statements.size(), 2u);
  EXPECT_EQ(statements[0].text, "insert into t values ('line one; and\n/ two\nline three')");
  EXPECT_EQ(statements[1].text, "/* a; comment\n  over lines */ select 1 from dual");
  EXPECT_EQ(statements[1].line, 4);
}

// A quote inside q'[...]' neither opens nor closes a literal.
TEST(SandboxScriptSplitter, AlternativeQuotingHidesQuotesAndSemicolons) {
  std::vector<ScriptStatement> statements = SplitScript(
      "select q'[it's; fine]', nq'{a'}' from dual;\n"
      "begin\n  x := q'!'!';\nend;\n/\n"
      "select 'q' from dual;\n");
  ASSERT_EQ(statements.size(), 3u);
  EXPECT_EQ(statements[0].text, "select q'[it's; fine]', nq'{a'}' from dual");
  EXPECT_EQ(statements[1].text, "begin\n  x := q'!'!';\nend;");
  EXPECT_EQ(statements[2].text, "select 'q' from dual");
}

// Lines the tool acts on before it looks at quotes: what a literal holds
// does not protect the statement from them.
TEST(SandboxScriptSplitter, SlashAndSemicolonLinesEndAStatementInsideALiteral) {
  std::vector<ScriptStatement> statements = SplitScript(
      "insert into t values ('line one;\nline two');\n"
      "insert into t values ('a\n/\nb');\n"
      "begin\n  x := 'ends;\n  still';\nend;\n/\n");
  ASSERT_EQ(statements.size(), 5u);
  EXPECT_EQ(statements[0].text, "insert into t values ('line one");
  EXPECT_EQ(statements[1].text, "line two')");
  EXPECT_EQ(statements[1].line, 2);
  EXPECT_EQ(statements[2].text, "insert into t values ('a");
  EXPECT_EQ(statements[3].text, "b')");
  EXPECT_EQ(statements[3].line, 5);
  EXPECT_EQ(statements[4].text, "begin\n  x := 'ends;\n  still';\nend;");
}

TEST(SandboxScriptSplitter, DotLinesAndSqlBlankLinesEndAStatementUnrun) {
  std::vector<ScriptStatement> statements = SplitScript(
      "comment on table t is 'first\n\nsecond';\n"
      "select 1\n.\n"
      "begin\n  null;\n\n  null;\nend;\n/\n"
      "begin\n  x := 'a\n.\n';\nend;\n/\n"
      "set sqlblanklines on\n"
      "select 2\n\nfrom dual;\n"
      "SET SQLBL OFF\n"
      "select 3\n\nfrom dual;\n");
  std::vector<std::string> texts;
  for (const ScriptStatement& statement : statements) {
    texts.push_back(statement.text);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"second'", "begin\n  null;\n\n  null;\nend;", "'",
                                             "end", "set sqlblanklines on", "select 2\n\nfrom dual",
                                             "SET SQLBL OFF", "from dual"}));
  EXPECT_EQ(statements[0].line, 3);
}

TEST(SandboxScriptSplitter, HashLinesInsideAStatementAreCommandsOfTheTool) {
  std::vector<ScriptStatement> statements = SplitScript(
      "select 'a\n#b' from dual;\n' from dual;\n"
      "create or replace procedure p is\nbegin\n# prompt hi\n  null;\nend;\n/\n");
  ASSERT_EQ(statements.size(), 4u);
  EXPECT_EQ(statements[0].text, "select 'a\n' from dual");
  EXPECT_FALSE(statements[0].toolCommand);
  EXPECT_EQ(statements[1].text, "#b' from dual;");
  EXPECT_TRUE(statements[1].toolCommand);
  EXPECT_EQ(statements[1].line, 2);
  EXPECT_EQ(statements[2].text, "create or replace procedure p is\nbegin\n  null;\nend;");
  EXPECT_EQ(statements[3].text, "# prompt hi");
  EXPECT_TRUE(statements[3].toolCommand);
}

// Until SET DEFINE OFF, "&name" takes the value DEFINE gave it, or nothing
// with a note, inside literals too; "&&" keeps the value, "." ends a name.
TEST(SandboxScriptSplitter, AmpersandsAreSubstitutedUntilDefineIsOff) {
  std::vector<ScriptStatement> statements = SplitScript(
      "define owner = 'SCOTT'\n"
      "select '&owner..x', '&&tag' from dual;\n"
      "select '&Tag', 'a & b && c' from dual;\n"
      "-- &comment between statements\n"
      "set define off\n"
      "select '&owner' from dual;\n");
  std::vector<std::string> texts;
  std::vector<bool> notes;
  for (const ScriptStatement& statement : statements) {
    texts.push_back(statement.text);
    notes.push_back(statement.note);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{
                       "define owner = 'SCOTT'", "select 'SCOTT.x', '' from dual",
                       "&TAG has no value: the tool would prompt for one and take nothing",
                       "select '', 'a & b && c' from dual", "set define off",
                       "select '&owner' from dual"}));
  EXPECT_EQ(notes, (std::vector<bool>{false, false, true, false, false, false}));
  EXPECT_EQ(statements[2].line, 2);
}

TEST(SandboxScriptSplitter, ToolCommandsStandAloneAndExitEndsTheScript) {
  std::vector<ScriptStatement> statements = SplitScript(
      "set echo on\n"
      "SET TRANSACTION READ ONLY;\n"
      "define owner = SCOTT\n"
      "whenever sqlerror exit failure\n"
      "prompt Loading;\n"
      "@@child.sql\n"
      "select 1 from dual;\n"
      "column name format a20\n"
      "-- the end\n"
      "/* nothing more */\n"
      "exit\n"
      "select 2 from dual;\n");
  std::vector<std::string> texts;
  std::vector<bool> tool;
  for (const ScriptStatement& statement : statements) {
    texts.push_back(statement.text);
    tool.push_back(statement.toolCommand);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{
                       "set echo on", "SET TRANSACTION READ ONLY", "define owner = SCOTT",
                       "whenever sqlerror exit failure", "prompt Loading;", "@@child.sql",
                       "select 1 from dual", "column name format a20", "exit"}));
  EXPECT_EQ(tool, (std::vector<bool>{true, false, true, true, true, true, false, true, true}));
}

TEST(SandboxScriptSplitter, AScriptEndingInCommentsHasNoStatementMore) {
  std::vector<ScriptStatement> statements =
      SplitScript("select 1 from dual;\n/* closing\n   remarks */\n-- and a last line\n");
  ASSERT_EQ(statements.size(), 1u);
  EXPECT_EQ(statements[0].text, "select 1 from dual");
}

TEST(SandboxRunner, PrintsRowsSeparatedByBarsAndSucceeds) {
  RunResult result = RunScript("system/manager@mem:RUNNER",
                               "create table t (a varchar2(10), b number, c varchar2(5));\n"
                               "insert into t values ('x', 1, null);\n"
                               "insert into t values ('y''s', 2, 'z');\n"
                               "select a, b, c from t order by b;\n");
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_EQ(result.output, "x|1|\ny's|2|z\n");
}

TEST(SandboxRunner, ReportsEachFailureWithItsLineAndExitsWithOne) {
  RunResult result = RunScript("system/manager@mem:RUNNER",
                               "create table t (n number);\n"
                               "\n"
                               "insert into missing values (1);\n"
                               "insert into t values (1);\n"
                               "select n from t;\n"
                               "select * from\n"
                               "  nowhere;\n");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.output,
            "1\n"
            "script.sql:3: ORA-00942: table or view does not exist\n"
            "script.sql:6: ORA-00942: table or view does not exist\n");
}

TEST(SandboxRunner, ToolCommandsAreNotedNotRunAndExitStopsTheScript) {
  RunResult result = RunScript("system/manager@mem:RUNNER",
                               "set serveroutput on size 10000\n"
                               "whenever sqlerror exit failure\n"
                               "select 'a' from dual;\n"
                               "/* the end */\n"
                               "quit\n"
                               "select 'b' from dual;\n");
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_EQ(result.output,
            "a\n"
            "script.sql:1: skipped, a command of the SQL tool: set serveroutput on size 10000\n"
            "script.sql:2: skipped, a command of the SQL tool: whenever sqlerror exit failure\n"
            "script.sql:5: skipped, a command of the SQL tool: quit\n");
}

// Lines of only "@", "@@" or "@/" name no script: they are skipped like other
// commands of the SQL tool and the statements around them run.
TEST(SandboxRunner, BareAtSignLinesAreSkippedAndTheRestRuns) {
  RunResult result = RunScript("system/manager@mem:RUNNER",
                               "select 'a' from dual;\n"
                               "@\n"
                               "@@\n"
                               "  @/  \n"
                               "select 'b' from dual;\n");
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_EQ(result.output,
            "a\n"
            "b\n"
            "script.sql:2: skipped, a command of the SQL tool: @\n"
            "script.sql:3: skipped, a command of the SQL tool: @@\n"
            "script.sql:4: skipped, a command of the SQL tool: @/\n");
}

// A literal that holds a blank line is cut there, as the command-line tool
// cuts it: its row is not inserted and the rest fails as a statement.
TEST(SandboxRunner, ABlankLineInsideALiteralLosesTheStatement) {
  RunResult result = RunScript("system/manager@mem:RUNNER",
                               "create table t (a varchar2(20));\n"
                               "insert into t values ('x\n"
                               "\n"
                               "y');\n"
                               "select count(*) from t;\n");
  EXPECT_EQ(result.status, 1);
  EXPECT_EQ(result.output.rfind("0\nscript.sql:4: ORA-", 0), 0u) << result.output;
}

TEST(SandboxRunner, AnUndefinedVariableIsNotedAndTakesNothing) {
  RunResult result = RunScript("system/manager@mem:RUNNER", "select 'a&x.b' from dual;\n");
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_EQ(result.output,
            "ab\nscript.sql:1: &X has no value: the tool would prompt for one and take nothing\n");
}

TEST(SandboxRunner, FailedLogonAndMissingScriptExitWithOne) {
  RunResult logon = RunScript("system/wrong@mem:RUNNER", "select 1 from dual;\n");
  EXPECT_EQ(logon.status, 1);
  EXPECT_NE(logon.output.find("ORA-01017"), std::string::npos) << logon.output;
  std::string command =
      std::string(QMSANDBOX_RUNNER) + " system/manager@demo /no/such/file.sql 2>/dev/null";
  EXPECT_EQ(WEXITSTATUS(system(command.c_str())), 1);
}

}  // namespace
}  // namespace sandbox::testing
