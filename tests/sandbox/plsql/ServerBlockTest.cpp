// Blocks run against the sandbox server itself: dictionary cursors, %TYPE of
// dictionary columns, DML and a larger block in the style of the table DDL
// generator with its exact output.
#include <gtest/gtest.h>

#include "BlockRunner.h"
#include "ConstraintDdlBlock.h"
#include "TableDdlBlock.h"

namespace sandbox::plsql::testing {
namespace {

using Lines = std::vector<std::string>;

class ServerBlockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OraError error;
    const std::string name =
        std::string("mem:PLSQL_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    database_ = AttachDatabase(name, error);
    ASSERT_TRUE(database_) << error.message;
    session_ = database_->Logon("SYSTEM", "manager", error);
    ASSERT_TRUE(session_) << error.message;
  }
  void Sql(const std::string& sql) {
    MapBinds binds;
    std::uint64_t rows = 0;
    OraError error, warning;
    ASSERT_TRUE(session_->Execute(sql, binds, rows, error, warning))
        << sql << ": " << error.message;
  }
  std::shared_ptr<Database> database_;
  std::unique_ptr<Session> session_;
};

TEST_F(ServerBlockTest, ProbeCursorOverTheDictionary) {
  Sql("create table T (ID number(10) not null, NAME varchar2(30) default 'x')");
  BlockResult r =
      RunBlock(*session_,
               "begin for c in (select column_name, data_type from all_tab_columns "
               "where table_name = 'T' order by column_id) loop "
               "dbms_output.put_line(c.column_name || ' ' || c.data_type); end loop; end;");
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines, (Lines{"ID NUMBER", "NAME VARCHAR2"}));
}

TEST_F(ServerBlockTest, CompilingDescribesCursorsWithoutRunningThem) {
  // The cursor's query fails only when it runs, so a block that never opens
  // it runs, and one that does fails when it opens it, as on Oracle.
  const std::string declare = "declare cursor c is select 1 / 0 as q from dual; r c%rowtype; ";
  BlockResult unopened = RunBlock(*session_, declare + "begin dbms_output.put_line('ok'); end;");
  ASSERT_TRUE(unopened.ok) << unopened.Error();
  EXPECT_EQ(unopened.lines, (Lines{"ok"}));
  BlockResult opened = RunBlock(*session_, declare + "begin open c; fetch c into r; end;");
  EXPECT_FALSE(opened.ok);
  EXPECT_NE(opened.Error().find("ORA-01476"), std::string::npos) << opened.Error();
  // A wrong query is still found when the block compiles.
  BlockResult wrong = RunBlock(*session_,
                               "declare cursor c is select nothing from dual; "
                               "begin null; end;");
  EXPECT_NE(wrong.Error().find("ORA-06550"), std::string::npos) << wrong.Error();
}

TEST_F(ServerBlockTest, AnchoredTypesFollowTheTableAfterDdl) {
  const std::string block = "declare v t.a%type; begin v := 'abcd'; dbms_output.put_line(v); end;";
  Sql("create table t (a varchar2(3))");
  EXPECT_NE(RunBlock(*session_, block).Error().find("ORA-06502"), std::string::npos);
  Sql("drop table t");
  Sql("create table t (a varchar2(10))");
  BlockResult wider = RunBlock(*session_, block);
  ASSERT_TRUE(wider.ok) << wider.Error();
  EXPECT_EQ(wider.lines, (Lines{"abcd"}));
  Sql("drop table t");
  EXPECT_NE(RunBlock(*session_, block).Error().find("ORA-06550"), std::string::npos);
}

TEST_F(ServerBlockTest, TheSameBlockIsCompiledForTheCurrentSchema) {
  Sql("create user narrow identified by pw");
  Sql("create user wide identified by pw");
  Sql("create table narrow.t (a varchar2(3))");
  Sql("create table wide.t (a varchar2(10))");
  const std::string block = "declare v t.a%type; begin v := 'abcd'; dbms_output.put_line(v); end;";
  Sql("alter session set current_schema = narrow");
  EXPECT_NE(RunBlock(*session_, block).Error().find("ORA-06502"), std::string::npos);
  Sql("alter session set current_schema = wide");
  EXPECT_TRUE(RunBlock(*session_, block).ok);
  Sql("alter session set current_schema = narrow");
  EXPECT_FALSE(RunBlock(*session_, block).ok);
}

TEST_F(ServerBlockTest, TableDdlBlockOverTheRealDictionary) {
  Sql("create table T (ID number(10) not null, NAME varchar2(30) default 'x') tablespace USERS "
      "pctfree 10 pctused 40 initrans 1 maxtrans 255 storage (initial 64K next 1M minextents 1 "
      "maxextents 121 pctincrease 0 freelists 1 freelist groups 1)");
  MapBinds binds;
  binds.values["BIND1"] = Value::Text("SYSTEM");
  binds.values["BIND2"] = Value::Text("T");
  binds.values["BIND3"] = Value::Text("Y");
  binds.values["BIND4"] = Value::Text("Y");
  BlockResult r = RunBlock(*session_, kTableDdlBlock, binds);
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines, (Lines{"CREATE TABLE T (",
                            "\t ID\tNUMBER(10)\tNOT NULL",
                            "\t,NAME\tVARCHAR2(30) DEFAULT 'x'\t    NULL",
                            ")",
                            "PCTFREE  10",
                            "PCTUSED  40",
                            "INITRANS 1",
                            "MAXTRANS 255",
                            "TABLESPACE USERS",
                            "    STORAGE (",
                            "\tINITIAL 64K",
                            "\tNEXT 1M",
                            "\tMINEXTENTS 1",
                            "\tMAXEXTENTS 121",
                            "\tPCTINCREASE 0",
                            "\tFREELISTS 1 FREELIST GROUPS 1",
                            "        )",
                            "/",
                            "-- tables 1, columns 2, lines 18",
                            "-- dictionary columns 2"}));
}

TEST_F(ServerBlockTest, ConstraintDdlBlockOverTheRealDictionary) {
  Sql("create table P (A number(5), B varchar2(10) not null, C varchar2(5), "
      "constraint PK_P primary key (A), constraint CK1 check (C in ('x','y')))");
  Sql("create table Q (Z number(5), constraint FK1 foreign key (Z) references P (A))");
  MapBinds binds;
  binds.values["BIND1"] = Value::Text("SYSTEM");
  binds.values["BIND2"] = Value::Text("P");
  binds.values["BIND3"] = Value::Text("Y");
  binds.values["BIND4"] = Value::Text("N");
  BlockResult r = RunBlock(*session_, kConstraintDdlBlock, binds);
  ASSERT_TRUE(r.ok) << r.Error();
  // The check condition is cut after its last blank, even when it fits.
  EXPECT_EQ(r.lines,
            (Lines{"ALTER TABLE P ADD (", "\tCONSTRAINT PK_P", "\tPRIMARY KEY", "\t            (",
                   "\t            A", "\t            )", "\tUSING INDEX", "\tTABLESPACE USERS", ")",
                   "/", "ALTER TABLE P ADD (", "\tCONSTRAINT CK1", "\tCHECK", "\t(", "\tC in",
                   "\t('x','y')", "\t)", ")", "/"}));
  binds.values["BIND2"] = Value::Text("Q");
  r = RunBlock(*session_, kConstraintDdlBlock, binds);
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines,
            (Lines{"ALTER TABLE Q ADD (", "\tCONSTRAINT FK1", "\tFOREIGN KEY", "\t            (",
                   "\t            Z", "\t            )", "\tREFERENCES P", "\t            (",
                   "\t            A", "\t            )", ")", "/"}));
}

TEST_F(ServerBlockTest, DmlSelectIntoAndWrongQueries) {
  Sql("create table ITEMS (ID number(5), LABEL varchar2(10))");
  BlockResult r = RunBlock(*session_,
                           "declare\n"
                           "  lbl items.label%TYPE;\n"
                           "  n number;\n"
                           "begin\n"
                           "  for i in 1..3 loop\n"
                           "    insert into items (id, label) values (i, 'item ' || i);\n"
                           "  end loop;\n"
                           "  commit;\n"
                           "  select label into lbl from items where id = 2;\n"
                           "  select count(*) into n from items;\n"
                           "  dbms_output.put_line(lbl || ' of ' || n);\n"
                           "  lbl := 'eleven char';\n"
                           "end;");
  EXPECT_EQ(r.lines, (Lines{"item 2 of 3"}));
  EXPECT_EQ(r.Error(),
            "ORA-06502: PL/SQL: numeric or value error: character string buffer too small\n"
            "ORA-06512: at line 12");
  r = RunBlock(*session_, "declare n number;\nbegin\n  select nosuch into n from items;\nend;");
  EXPECT_EQ(r.error.code, 6550);
  EXPECT_EQ(r.error.message.rfind("line 3, column 3:\nPL/SQL: ORA-00904", 0), 0u)
      << r.error.message;
  r = RunBlock(*session_, "declare n number;\nbegin\n  select id into n from items;\nend;");
  EXPECT_EQ(r.error.code, 1422);
}

TEST_F(ServerBlockTest, ForAllStopsAtTheFirstFailingIndexAndKeepsTheRowsBefore) {
  Sql("create table KEYS (ID number primary key)");
  BlockResult r = RunBlock(*session_,
                           "declare\n"
                           "  type t_ids is table of number;\n"
                           "  ids t_ids := t_ids(1, 2, 2, 3);\n"
                           "begin\n"
                           "  forall i in 1 .. ids.count\n"
                           "    insert into keys values (ids(i));\n"
                           "exception\n"
                           "  when dup_val_on_index then\n"
                           "    dbms_output.put_line('after ' || sql%rowcount);\n"
                           "end;");
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines, (Lines{"after 2"}));
  r = RunBlock(*session_,
               "declare type t_ids is table of number; ids t_ids;\n"
               "begin select id bulk collect into ids from keys order by id;\n"
               "dbms_output.put_line(ids.count || ' ' || ids(ids.last)); end;");
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines, (Lines{"2 2"}));
}

TEST_F(ServerBlockTest, BulkCollectRefusesWhatItCannotFill) {
  Sql("create table KEYS (ID number)");
  const std::string declare =
      "declare\n"
      "  type t_by_name is table of number index by varchar2(10);\n"
      "  type t_ids is table of number;\n"
      "  by_name t_by_name;\n"
      "  ids t_ids;\n"
      "  cursor c is select id from keys;\n"
      "begin\n";
  EXPECT_NE(RunBlock(*session_, declare + "select id bulk collect into by_name from keys; end;")
                .Error()
                .find("PLS-00657"),
            std::string::npos);
  EXPECT_NE(RunBlock(*session_, declare + "open c; fetch c bulk collect into ids limit 0; end;")
                .Error()
                .find("ORA-06502"),
            std::string::npos);
  EXPECT_NE(RunBlock(*session_, declare + "select id, id bulk collect into ids from keys; end;")
                .Error()
                .find("ORA-00913"),
            std::string::npos);
}

TEST_F(ServerBlockTest, DynamicStatementsThatRunThemselvesStopAtFiftyLevels) {
  Sql("create procedure again (n number) is begin "
      "execute immediate 'begin again(:1); end;' using n + 1; end;");
  const BlockResult r = RunBlock(*session_, "begin again(1); end;");
  EXPECT_EQ(r.error.code, 36) << r.Error();
  EXPECT_EQ(r.error.message.rfind("maximum number of recursive SQL levels (50) exceeded", 0), 0u);
}

TEST_F(ServerBlockTest, ForAllDrivenByCollectionsThatHoldNothingUsable) {
  Sql("create table KEYS (ID number)");
  const std::string declare =
      "declare\n"
      "  type t_ids is table of pls_integer index by pls_integer;\n"
      "  type t_list is table of number;\n"
      "  ids t_ids;\n"
      "  list t_list;\n"
      "begin\n";
  BlockResult r =
      RunBlock(*session_, declare +
                              "  forall i in indices of ids insert into keys values (i);\n"
                              "  dbms_output.put_line('rows ' || sql%rowcount);\n"
                              "end;");
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines, (Lines{"rows 0"}));
  r = RunBlock(*session_, declare +
                              "  ids(1) := 5; ids(2) := null;\n"
                              "  forall i in values of ids insert into keys values (i);\n"
                              "end;");
  EXPECT_EQ(r.error.code, 6502) << r.Error();
  r = RunBlock(*session_,
               declare + "  forall i in indices of list insert into keys values (i);\nend;");
  EXPECT_EQ(r.error.code, 6531) << r.Error();
  // Bounds outside the collection take nothing; a NULL bound is an error.
  r = RunBlock(*session_,
               declare +
                   "  ids(1) := 1; ids(7) := 7;\n"
                   "  forall i in indices of ids between 2 and 6 insert into keys values (i);\n"
                   "  dbms_output.put_line('rows ' || sql%rowcount);\n"
                   "  forall i in indices of ids between null and 6 insert into keys values (i);\n"
                   "end;");
  EXPECT_EQ(r.lines, (Lines{"rows 0"}));
  EXPECT_EQ(r.error.code, 6502) << r.Error();
  r = RunBlock(*session_,
               "declare type t_named is table of number index by varchar2(5); n t_named;\n"
               "begin forall i in indices of n insert into keys values (1); end;");
  EXPECT_NE(r.Error().find("PLS-00657"), std::string::npos) << r.Error();
  // The index is a PLS_INTEGER.
  r = RunBlock(*session_,
               "begin forall i in 2147483647 .. 2147483648 insert into keys values (i); end;");
  EXPECT_EQ(r.error.code, 6502) << r.Error();
}

TEST_F(ServerBlockTest, ReturningBulkCollectFillsFromOneAndKeepsVarrayLimits) {
  Sql("create table KEYS (ID number)");
  Sql("insert into keys values (1)");
  Sql("insert into keys values (2)");
  Sql("insert into keys values (3)");
  BlockResult r =
      RunBlock(*session_,
               "declare\n"
               "  type t_ids is table of number index by pls_integer;\n"
               "  ids t_ids;\n"
               "begin\n"
               "  ids(-5) := 0;\n"
               "  update keys set id = id * 10 where id > 1 returning id bulk collect into ids;\n"
               "  dbms_output.put_line(ids.first || ' ' || ids.last || ' ' || sql%rowcount);\n"
               "  delete from keys where id < 0 returning id bulk collect into ids;\n"
               "  dbms_output.put_line(ids.count);\n"
               "end;");
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines, (Lines{"1 2 2", "0"}));
  // Without BULK COLLECT, more than one row is still refused.
  r = RunBlock(*session_,
               "declare n number;\nbegin\n  delete from keys returning id into n;\nend;");
  EXPECT_EQ(r.error.code, 1422) << r.Error();
  r = RunBlock(*session_,
               "declare\n"
               "  type t_two is varray(2) of number;\n"
               "  ids t_two;\n"
               "begin\n"
               "  delete from keys returning id bulk collect into ids;\n"
               "end;");
  EXPECT_EQ(r.error.code, 22165) << r.Error();
}

TEST_F(ServerBlockTest, FieldsOfFunctionResultsAreReadNotWritten) {
  const std::string declare =
      "declare\n"
      "  type t_pair is record (a number, b varchar2(10));\n"
      "  type t_pairs is table of t_pair index by pls_integer;\n"
      "  function pair(n number) return t_pair is\n"
      "  begin return t_pair(n, 'p' || n); end;\n"
      "  function pairs(n number) return t_pairs is\n"
      "    p t_pairs;\n"
      "  begin for i in 1 .. n loop p(i) := pair(i * 10); end loop; return p; end;\n"
      "  procedure set_out(x out number) is begin x := 1; end;\n"
      "begin\n";
  BlockResult r =
      RunBlock(*session_, declare +
                              "  dbms_output.put_line(pair(pair(2).a + 1).b || ' ' || pairs(3)(2).b"
                              " || ' ' || pairs(pairs(2).count)(2).a || ' ' || pairs(4).last);\n"
                              "  dbms_output.put_line(pairs(2)(5).a);\n"
                              "end;");
  EXPECT_EQ(r.lines, (Lines{"p3 p20 20 4"}));
  EXPECT_EQ(r.error.code, 1403) << r.Error();
  r = RunBlock(*session_, declare + "  set_out(pair(1).a);\nend;");
  EXPECT_EQ(r.error.code, 6550) << r.Error();
  EXPECT_NE(r.Error().find("cannot be used as an assignment target"), std::string::npos)
      << r.Error();
}

TEST_F(ServerBlockTest, QualifiedExpressionsRefuseWhatTheTypeCannotTake) {
  const std::string declare =
      "declare\n"
      "  type t_rec is record (a number, b varchar2(10));\n"
      "  type t_list is table of number;\n"
      "  r t_rec;\n"
      "begin\n";
  auto error = [&](const std::string& body) { return RunBlock(*session_, declare + body).Error(); };
  EXPECT_NE(error("r := t_rec(1, 'x', 3); end;").find("PLS-00306"), std::string::npos);
  EXPECT_NE(error("r := t_rec(a => 1, a => 2); end;").find("PLS-00306"), std::string::npos);
  EXPECT_NE(error("r := t_rec(a => 1, 'x'); end;").find("PLS-00103"), std::string::npos);
  EXPECT_NE(error("r := t_rec(others => 1, a => 2); end;").find("PLS-00103"), std::string::npos);
  EXPECT_NE(error("r := t_rec(t_list(1), 'x'); end;").find("PLS-00382"), std::string::npos);
}

}  // namespace
}  // namespace sandbox::plsql::testing
