// Dependencies between views, stored units and triggers: what ALL_DEPENDENCIES
// records, which names make a unit INVALID with which errors, and how dropping,
// replacing and compiling again move the status.
#include <gtest/gtest.h>

#include "ServerTestSession.h"

namespace sandbox::test {
namespace {

class DependencyTest : public ::testing::Test {
 protected:
  std::string Status(const std::string& name, const std::string& type) {
    return db.Value1("select status from user_objects where object_name = '" + name +
                     "' and object_type = '" + type + "'");
  }
  std::vector<std::string> Errors(const std::string& name) {
    return db.Rows(
        "select type, sequence, line, position, text, message_number from user_errors where "
        "name = '" +
        name + "' order by type, sequence");
  }
  std::vector<std::string> Uses(const std::string& name) {
    return db.Rows(
        "select type, referenced_owner, referenced_name, referenced_type, referenced_link_name, "
        "dependency_type from user_dependencies where name = '" +
        name + "' order by type, referenced_name, referenced_type");
  }
  ServerTestSession db;
};

TEST_F(DependencyTest, EveryReferencedObjectThatExistsIsRecorded) {
  db.Script(R"(
    create table dept (deptno number primary key, dname varchar2(20));
    create table emp (empno number primary key, deptno number, sal number);
    create sequence emp_seq;
    create view emp_dept as select e.empno, d.dname from emp e join dept d on d.deptno = e.deptno;
    create public synonym staff for emp;
    create or replace procedure audit_pay (p_empno number) is
    begin
      null;
    end;
    /
    create or replace procedure raise_pay (p_empno in number, p_by in number default 10) is
      v_sal emp.sal%type;
      v_name emp_dept.dname%type;
      v_year number := extract(year from sysdate);
    begin
      select sal into v_sal from staff where empno = p_empno;
      update emp set sal = v_sal + p_by where empno = p_empno;
      insert into emp (empno, sal) values (emp_seq.nextval, 0);
      audit_pay(p_empno);
    end raise_pay;
    /
    create or replace trigger emp_bi before insert on emp for each row
    begin
      :new.empno := emp_seq.nextval;
    end;
    /
  )");
  EXPECT_EQ(Uses("EMP_DEPT"), (std::vector<std::string>{"VIEW|SYSTEM|DEPT|TABLE||HARD",
                                                        "VIEW|SYSTEM|EMP|TABLE||HARD"}));
  EXPECT_EQ(Uses("RAISE_PAY"),
            (std::vector<std::string>{
                "PROCEDURE|SYSTEM|AUDIT_PAY|PROCEDURE||HARD", "PROCEDURE|SYSTEM|EMP|TABLE||HARD",
                "PROCEDURE|SYSTEM|EMP_DEPT|VIEW||HARD", "PROCEDURE|SYSTEM|EMP_SEQ|SEQUENCE||HARD",
                "PROCEDURE|PUBLIC|STAFF|SYNONYM||HARD"}));
  EXPECT_EQ(Uses("EMP_BI"), (std::vector<std::string>{"TRIGGER|SYSTEM|EMP|TABLE||HARD",
                                                      "TRIGGER|SYSTEM|EMP_SEQ|SEQUENCE||HARD"}));
  EXPECT_EQ(Status("RAISE_PAY", "PROCEDURE"), "VALID");
  EXPECT_TRUE(Errors("RAISE_PAY").empty());
  // The ALL_ and DBA_ forms carry the owner.
  EXPECT_EQ(db.Value1("select count(*) from all_dependencies where owner = 'SYSTEM' and name = "
                      "'EMP_DEPT'"),
            "2");
  EXPECT_EQ(db.Value1("select count(*) from dba_dependencies where name = 'EMP_BI'"), "2");
}

TEST_F(DependencyTest, AMaterializedViewDependsOnWhatItsQueryReads) {
  db.Script(R"(
    create table sales (id number primary key, amount number);
    create view big_sales as select id, amount from sales where amount > 100;
    create materialized view big_sales_mv as select count(*) n from big_sales;
  )");
  EXPECT_EQ(Uses("BIG_SALES_MV"),
            (std::vector<std::string>{"MATERIALIZED VIEW|SYSTEM|BIG_SALES|VIEW||HARD"}));
  db.Script("drop materialized view big_sales_mv");
  EXPECT_TRUE(Uses("BIG_SALES_MV").empty());
}

TEST_F(DependencyTest, MissingProcedureMakesTheUnitInvalidUntilItExists) {
  db.Script("create table log_t (msg varchar2(100))");
  EXPECT_EQ(db.Exec("create or replace procedure caller is\n"
                    "begin\n"
                    "  write_log('x');\n"
                    "  sys.no_such_pkg.run;\n"
                    "end;"),
            0);
  EXPECT_EQ(Status("CALLER", "PROCEDURE"), "INVALID");
  EXPECT_EQ(Errors("CALLER"),
            (std::vector<std::string>{
                "PROCEDURE|1|3|3|PL/SQL: Statement ignored|0",
                "PROCEDURE|2|3|3|PLS-00201: identifier 'WRITE_LOG' must be declared|201",
                "PROCEDURE|3|4|3|PL/SQL: Statement ignored|0",
                "PROCEDURE|4|4|3|PLS-00201: identifier 'SYS.NO_SUCH_PKG' must be declared|201"}));
  db.Script(R"(
    create or replace procedure write_log (p_msg varchar2) is
    begin
      insert into log_t values (p_msg);
    end;
    /
    create or replace package no_such_pkg is
      procedure run;
    end;
    /
  )");
  EXPECT_EQ(db.Exec("create or replace procedure caller is\n"
                    "begin\n"
                    "  write_log('x');\n"
                    "  system.no_such_pkg.run;\n"
                    "end;"),
            0);
  EXPECT_EQ(Status("CALLER", "PROCEDURE"), "VALID");
  EXPECT_TRUE(Errors("CALLER").empty());
  EXPECT_EQ(Uses("CALLER"),
            (std::vector<std::string>{"PROCEDURE|SYSTEM|NO_SUCH_PKG|PACKAGE||HARD",
                                      "PROCEDURE|SYSTEM|WRITE_LOG|PROCEDURE||HARD"}));
}

TEST_F(DependencyTest, CompilingAgainFindsAnObjectCreatedLater) {
  EXPECT_EQ(db.Exec("create procedure later_caller is begin later_proc(1); end;"), 0);
  EXPECT_EQ(Status("LATER_CALLER", "PROCEDURE"), "INVALID");
  db.Script("create procedure later_proc (n number) is begin null; end;");
  // Still INVALID until something compiles it.
  EXPECT_EQ(Status("LATER_CALLER", "PROCEDURE"), "INVALID");
  EXPECT_EQ(db.Exec("alter procedure later_caller compile"), 0);
  EXPECT_EQ(Status("LATER_CALLER", "PROCEDURE"), "VALID");
  EXPECT_TRUE(Errors("LATER_CALLER").empty());
  EXPECT_EQ(Uses("LATER_CALLER"),
            (std::vector<std::string>{"PROCEDURE|SYSTEM|LATER_PROC|PROCEDURE||HARD"}));
  // The source is kept as it was written.
  EXPECT_EQ(db.Value1("select text from user_source where name = 'LATER_CALLER'"),
            "procedure later_caller is begin later_proc(1); end;");
  EXPECT_EQ(db.Exec("alter procedure no_such_proc compile"), 4043);
}

TEST_F(DependencyTest, MissingTableInEmbeddedSqlGivesOraclesTwoRows) {
  EXPECT_EQ(db.Exec("create function row_count return number is\n"
                    "  n number;\n"
                    "begin\n"
                    "  select count(*) into n from no_such_table t, dual;\n"
                    "  return n;\n"
                    "end;"),
            0);
  EXPECT_EQ(Status("ROW_COUNT", "FUNCTION"), "INVALID");
  EXPECT_EQ(Errors("ROW_COUNT"),
            (std::vector<std::string>{
                "FUNCTION|1|4|3|PL/SQL: SQL Statement ignored|0",
                "FUNCTION|2|4|31|PL/SQL: ORA-00942: table or view does not exist|942"}));
}

TEST_F(DependencyTest, DeclaredAndSuppliedNamesAreNotReported) {
  db.Script("create table t (a number, d date)");
  EXPECT_EQ(db.Exec(R"(create or replace package body_less is
  procedure run;
end;)"),
            0);
  const std::string body = R"(create or replace procedure quiet (p_list in out varchar2) is
  type num_list is table of number index by pls_integer;
  l_nums num_list;
  cursor c is with q as (select a from t) select a from q;
  procedure helper (n number) is begin null; end helper;
  v_year number;
begin
  helper(1);
  l_nums(1) := 2;
  l_nums.delete;
  dbms_output.put_line('x');
  <<outer>>
  for r in c loop
    helper(r.a);
  end loop outer;
  select extract(year from d), trim(leading ' ' from 'x') into v_year, p_list from t where rownum = 1;
  select count(*) into v_year from all_tables;
  body_less.run;
  execute immediate 'select 1 from not_checked_here';
end quiet;)";
  EXPECT_EQ(db.Exec(body), 0);
  EXPECT_EQ(Errors("QUIET"), std::vector<std::string>{});
  EXPECT_EQ(Status("QUIET", "PROCEDURE"), "VALID");
}

TEST_F(DependencyTest, ViewOnAMissingTableNeedsForce) {
  EXPECT_EQ(db.Exec("create view v_missing as select a from later_t"), 942);
  EXPECT_EQ(db.Value1("select count(*) from user_objects where object_name = 'V_MISSING'"), "0");
  EXPECT_EQ(db.Exec("create or replace force view v_missing (x) as select a from later_t"), 0);
  EXPECT_EQ(Status("V_MISSING", "VIEW"), "INVALID");
  EXPECT_EQ(Errors("V_MISSING"),
            (std::vector<std::string>{"VIEW|1|0|0|ORA-00942: table or view does not exist|942"}));
  EXPECT_EQ(db.Value1("select text from user_views where view_name = 'V_MISSING'"),
            "select a from later_t");
  EXPECT_EQ(db.Value1("select count(*) from user_tab_columns where table_name = 'V_MISSING'"), "0");
  db.Script("create table later_t (a number)");
  EXPECT_EQ(db.Exec("alter view v_missing compile"), 0);
  EXPECT_EQ(Status("V_MISSING", "VIEW"), "VALID");
  EXPECT_TRUE(Errors("V_MISSING").empty());
  // The column list given at creation names the columns.
  EXPECT_EQ(db.Rows("select column_name from user_tab_columns where table_name = 'V_MISSING'"),
            std::vector<std::string>{"X"});
  EXPECT_EQ(Uses("V_MISSING"), (std::vector<std::string>{"VIEW|SYSTEM|LATER_T|TABLE||HARD"}));
  EXPECT_EQ(db.Exec("alter view no_such_view compile"), 942);
}

TEST_F(DependencyTest, AnInvalidViewIsCompiledWhenAQueryUsesIt) {
  db.Script(R"(
    create table src (a number);
    create view src_v as select a from src;
    create view src_vv as select a from src_v;
    create force view early_v as select b from not_yet;
  )");
  EXPECT_EQ(db.Exec("drop table src"), 0);
  EXPECT_EQ(db.QueryError("select * from src_vv"), 942);
  EXPECT_EQ(Status("SRC_V", "VIEW"), "INVALID");
  EXPECT_EQ(Status("SRC_VV", "VIEW"), "INVALID");
  db.Script(R"(
    create table src (a number);
    insert into src values (7);
  )");
  // Using the outer view compiles the inner one first.
  EXPECT_EQ(db.Value1("select a from src_vv"), "7");
  EXPECT_EQ(Status("SRC_V", "VIEW"), "VALID");
  EXPECT_EQ(Status("SRC_VV", "VIEW"), "VALID");
  EXPECT_EQ(db.QueryError("select * from early_v"), 942);
  EXPECT_EQ(Status("EARLY_V", "VIEW"), "INVALID");
  db.Script("create table not_yet (b varchar2(5))");
  EXPECT_EQ(db.Value1("select count(*) from early_v"), "0");
  EXPECT_EQ(Status("EARLY_V", "VIEW"), "VALID");
  EXPECT_EQ(db.Rows("select column_name, data_type from user_tab_columns where table_name = "
                    "'EARLY_V'"),
            std::vector<std::string>{"B|VARCHAR2"});
}

TEST_F(DependencyTest, DroppingATableInvalidatesWhatUsesItThroughOtherObjects) {
  db.Script(R"(
    create table orders (id number, total number);
    create view big_orders as select id from orders where total > 100;
    create or replace function big_count return number is
      n number;
    begin
      select count(*) into n from big_orders;
      return n;
    end;
    /
    create or replace procedure report is
      n number;
    begin
      n := big_count;
    end;
    /
    create table untouched (x number);
    create view untouched_v as select x from untouched;
  )");
  EXPECT_EQ(Status("BIG_ORDERS", "VIEW"), "VALID");
  EXPECT_EQ(Status("REPORT", "PROCEDURE"), "VALID");
  EXPECT_EQ(db.Exec("drop table orders"), 0);
  EXPECT_EQ(Status("BIG_ORDERS", "VIEW"), "INVALID");
  EXPECT_EQ(Status("BIG_COUNT", "FUNCTION"), "INVALID");
  EXPECT_EQ(Status("REPORT", "PROCEDURE"), "INVALID");
  EXPECT_EQ(Status("UNTOUCHED_V", "VIEW"), "VALID");
  // The dropped table is no longer listed as used.
  EXPECT_TRUE(Uses("BIG_ORDERS").empty());
  EXPECT_EQ(db.Exec("alter view big_orders compile"), 0);
  EXPECT_EQ(Status("BIG_ORDERS", "VIEW"), "INVALID");
  db.Script("create table orders (id number, total number)");
  EXPECT_EQ(db.Exec("alter view big_orders compile"), 0);
  EXPECT_EQ(db.Exec("alter function big_count compile"), 0);
  EXPECT_EQ(db.Exec("alter procedure report compile"), 0);
  EXPECT_EQ(Status("BIG_ORDERS", "VIEW"), "VALID");
  EXPECT_EQ(Status("BIG_COUNT", "FUNCTION"), "VALID");
  EXPECT_EQ(Status("REPORT", "PROCEDURE"), "VALID");
  EXPECT_EQ(db.Value1("select count(*) from big_orders"), "0");
}

TEST_F(DependencyTest, ReplacingADeclarationInvalidatesItsUsersUnlessTheTextIsTheSame) {
  const std::string spec = "create or replace package util is\n  procedure run;\nend util;";
  EXPECT_EQ(db.Exec(spec), 0);
  db.Script(R"(
    create or replace package body util is
      procedure run is begin null; end;
    end util;
    /
    create or replace procedure uses_util is begin util.run; end;
    /
  )");
  EXPECT_EQ(Uses("UTIL"), (std::vector<std::string>{"PACKAGE BODY|SYSTEM|UTIL|PACKAGE||HARD"}));
  EXPECT_EQ(db.Exec(spec), 0);
  EXPECT_EQ(Status("USES_UTIL", "PROCEDURE"), "VALID");
  EXPECT_EQ(Status("UTIL", "PACKAGE BODY"), "VALID");
  EXPECT_EQ(db.Exec("create or replace package util is\n  procedure run;\n  procedure stop;\nend;"),
            0);
  EXPECT_EQ(Status("USES_UTIL", "PROCEDURE"), "INVALID");
  EXPECT_EQ(Status("UTIL", "PACKAGE BODY"), "INVALID");
  // Replacing the body leaves the package's users alone.
  EXPECT_EQ(db.Exec("alter procedure uses_util compile"), 0);
  EXPECT_EQ(db.Exec("create or replace package body util is\n"
                    "  procedure run is begin null; end;\n"
                    "  procedure stop is begin null; end;\n"
                    "end;"),
            0);
  EXPECT_EQ(Status("USES_UTIL", "PROCEDURE"), "VALID");
  EXPECT_EQ(Status("UTIL", "PACKAGE BODY"), "VALID");
  EXPECT_EQ(db.Exec("drop package util"), 0);
  EXPECT_EQ(Status("USES_UTIL", "PROCEDURE"), "INVALID");
  EXPECT_EQ(db.Exec("alter package util compile"), 4043);
}

TEST_F(DependencyTest, PackageCompileCoversSpecificationAndBody) {
  db.Script(R"(
    create or replace package pkg is
      procedure go;
    end;
    /
    create or replace package body pkg is
      procedure go is begin missing_step; end;
    end;
    /
  )");
  EXPECT_EQ(Status("PKG", "PACKAGE"), "VALID");
  EXPECT_EQ(Status("PKG", "PACKAGE BODY"), "INVALID");
  EXPECT_EQ(Errors("PKG").size(), 2u);
  db.Script("create procedure missing_step is begin null; end;");
  EXPECT_EQ(db.Exec("alter package pkg compile specification"), 0);
  EXPECT_EQ(Status("PKG", "PACKAGE BODY"), "INVALID");
  EXPECT_EQ(db.Exec("alter package pkg compile body"), 0);
  EXPECT_EQ(Status("PKG", "PACKAGE BODY"), "VALID");
  EXPECT_TRUE(Errors("PKG").empty());
  EXPECT_EQ(db.Exec("alter package pkg compile"), 0);
  EXPECT_EQ(Status("PKG", "PACKAGE"), "VALID");
  EXPECT_EQ(Status("PKG", "PACKAGE BODY"), "VALID");
}

TEST_F(DependencyTest, TriggersAreCheckedAndKeepTheirStateWhenCompiled) {
  db.Script("create table t (a number)");
  EXPECT_EQ(db.Exec("create or replace trigger t_ai after insert on t for each row\n"
                    "begin\n"
                    "  notify_insert(:new.a);\n"
                    "end;"),
            0);
  EXPECT_EQ(Status("T_AI", "TRIGGER"), "INVALID");
  EXPECT_EQ(Errors("T_AI"),
            (std::vector<std::string>{
                "TRIGGER|1|3|3|PL/SQL: Statement ignored|0",
                "TRIGGER|2|3|3|PLS-00201: identifier 'NOTIFY_INSERT' must be declared|201"}));
  db.Script(R"(
    create procedure notify_insert (n number) is begin null; end;
    /
    alter trigger t_ai disable;
  )");
  EXPECT_EQ(db.Exec("alter trigger t_ai compile"), 0);
  EXPECT_EQ(Status("T_AI", "TRIGGER"), "VALID");
  EXPECT_EQ(db.Value1("select status from user_triggers where trigger_name = 'T_AI'"), "DISABLED");
  EXPECT_EQ(Uses("T_AI"), (std::vector<std::string>{"TRIGGER|SYSTEM|NOTIFY_INSERT|PROCEDURE||HARD",
                                                    "TRIGGER|SYSTEM|T|TABLE||HARD"}));
}

TEST_F(DependencyTest, RenamingOrDroppingASchemaInvalidatesUsers) {
  db.Script(R"(
    create table src (a number);
    create view src_v as select a from src;
    create user other identified by pw;
    grant create session, create table to other;
    create table other.remote_t (b number);
    create view remote_v as select b from other.remote_t;
  )");
  EXPECT_EQ(db.Exec("rename src to src2"), 0);
  EXPECT_EQ(Status("SRC_V", "VIEW"), "INVALID");
  EXPECT_EQ(Uses("SRC_V"), (std::vector<std::string>{"VIEW|SYSTEM|SRC2|TABLE||HARD"}));
  EXPECT_EQ(Uses("REMOTE_V"), (std::vector<std::string>{"VIEW|OTHER|REMOTE_T|TABLE||HARD"}));
  EXPECT_EQ(db.Exec("drop user other cascade"), 0);
  EXPECT_EQ(Status("REMOTE_V", "VIEW"), "INVALID");
  EXPECT_TRUE(Uses("REMOTE_V").empty());
}

}  // namespace
}  // namespace sandbox::test
