// Sequences, views, stored units and triggers and what the dictionary keeps
// of them.
#include <gtest/gtest.h>

#include "ServerTestSession.h"

namespace sandbox::test {
namespace {

class StoredObjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db.Script(R"(
      create table emp (empno number(4) primary key, ename varchar2(10), hired date);
      create sequence emp_seq;
      create sequence down_seq increment by -5 start with 100 minvalue 0 maxvalue 100 cycle nocache order;
      create or replace view emp_names (no, name) as select empno, upper(ename) from emp where empno > 0;
      create or replace procedure raise_pay (p_empno in number) is
      begin
        update emp set ename = ename where empno = p_empno;
      end raise_pay;
      /
      create or replace trigger emp_bi
      before insert or update of ename on emp
      for each row
      when (new.empno > 0)
      begin
        :new.hired := sysdate;
      end;
      /
    )");
  }
  ServerTestSession db;
};

TEST_F(StoredObjectTest, SequencesWithDefaultsAndValues) {
  EXPECT_EQ(
      db.Rows(
          "select sequence_name, min_value, max_value, increment_by, cycle_flag, order_flag, "
          "cache_size, "
          "last_number from all_sequences where sequence_owner = 'SYSTEM' order by sequence_name"),
      (std::vector<std::string>{"DOWN_SEQ|0|100|-5|Y|Y|0|100",
                                "EMP_SEQ|1|9999999999999999999999999999|1|N|N|20|1"}));
  EXPECT_EQ(db.QueryError("select emp_seq.currval from dual"), 8002);
  EXPECT_EQ(db.Value1("select emp_seq.nextval from dual"), "1");
  EXPECT_EQ(db.Value1("select emp_seq.nextval || ',' || emp_seq.currval from dual"), "2,2");
  // A cache of 20 moves LAST_NUMBER past the cached values.
  EXPECT_EQ(db.Value1("select last_number from all_sequences where sequence_name = 'EMP_SEQ'"),
            "21");
  EXPECT_EQ(db.Exec("insert into emp (empno, ename) values (emp_seq.nextval, 'seq')"), 0);
  EXPECT_EQ(db.Value1("select max(empno) from emp"), "3");
  EXPECT_EQ(db.Value1("select down_seq.nextval from dual"), "100");
  EXPECT_EQ(db.Value1("select last_number from all_sequences where sequence_name = 'DOWN_SEQ'"),
            "95");
  EXPECT_EQ(db.Exec("create sequence bad_seq increment by 0"), 4002);
  EXPECT_EQ(db.Exec("create sequence bad_seq minvalue 10 maxvalue 5"), 4004);
  EXPECT_EQ(db.Exec("create sequence bad_seq start with 0"), 4006);
  EXPECT_EQ(db.Exec("alter sequence down_seq increment by -10 nocycle"), 0);
  EXPECT_EQ(
      db.Value1(
          "select increment_by || cycle_flag from all_sequences where sequence_name = 'DOWN_SEQ'"),
      "-10N");
  for (int i = 0; i < 10; ++i)
    db.Rows("select down_seq.nextval from dual");
  EXPECT_EQ(db.QueryError("select down_seq.nextval from dual"), 8004);
  EXPECT_EQ(db.Exec("drop sequence emp_seq"), 0);
  EXPECT_EQ(db.QueryError("select emp_seq.nextval from dual"), 2289);
}

TEST_F(StoredObjectTest, ViewsKeepTheirTextAndColumns) {
  MapBinds binds{{"BIND1", Value::Text("SYSTEM")}, {"BIND2", Value::Text("EMP_NAMES")}};
  OraError error;
  auto cursor = db.session().OpenQuery(
      "SELECT text FROM all_views WHERE owner = :bind1 and view_name= :bind2", binds, error);
  ASSERT_TRUE(cursor) << error.message;
  EXPECT_EQ(cursor->Columns()[0].dataType, 8);
  std::vector<Value> row;
  ASSERT_TRUE(cursor->Next(row, error));
  EXPECT_EQ(row[0].text, "select empno, upper(ename) from emp where empno > 0");
  EXPECT_EQ(db.Rows("select column_name, data_type from all_tab_columns where table_name = "
                    "'EMP_NAMES' order by "
                    "column_id"),
            (std::vector<std::string>{"NO|NUMBER", "NAME|VARCHAR2"}));
  db.Script("insert into emp values (7, 'smith', null)");
  EXPECT_EQ(db.Value1("select name from emp_names where no = 7"), "SMITH");
  EXPECT_EQ(db.Exec("create view emp_names as select 1 x from dual"), 955);
  EXPECT_EQ(db.Exec("create or replace view emp_names as select ename from emp"), 0);
  EXPECT_EQ(db.Value1("select count(*) from all_tab_columns where table_name = 'EMP_NAMES'"), "1");
  EXPECT_EQ(db.Exec("drop view emp_names"), 0);
  EXPECT_EQ(db.QueryError("select * from emp_names"), 942);
  EXPECT_EQ(db.Value1("select count(*) from all_objects where object_name = 'EMP_NAMES'"), "0");
}

TEST_F(StoredObjectTest, StoredSourceLineByLine) {
  MapBinds binds{{"OWNER", Value::Text("SYSTEM")},
                 {"NAME", Value::Text("RAISE_PAY")},
                 {"TYPE", Value::Text("PROCEDURE")}};
  const auto lines = db.Rows(
      "select text from all_source where owner = :owner and name = :name and type = :type order by "
      "line asc",
      binds);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "procedure raise_pay (p_empno in number) is\n");
  EXPECT_EQ(lines[3], "      end raise_pay;");
  EXPECT_EQ(
      db.Value1(
          "select object_type || ' ' || status from all_objects where object_name = 'RAISE_PAY'"),
      "PROCEDURE VALID");
}

TEST_F(StoredObjectTest, PackagesBodiesAndCompilationWarnings) {
  MapBinds none;
  std::uint64_t rows = 0;
  OraError error, warning;
  ASSERT_TRUE(db.session().Execute("create package body orphan as end orphan;", none, rows, error,
                                   warning));
  EXPECT_EQ(warning.code, 24344);
  EXPECT_EQ(db.Value1("select status from all_objects where object_name = 'ORPHAN'"), "INVALID");
  db.Script(R"(
    create or replace package pkg as
      function twice (n number) return number;
    end pkg;
    /
    create or replace package body pkg as
      function twice (n number) return number is begin return n * 2; end;
    end pkg;
    /
  )");
  EXPECT_EQ(
      db.Rows("select object_type, status from all_objects where object_name = 'PKG' order by 1"),
      (std::vector<std::string>{"PACKAGE|VALID", "PACKAGE BODY|VALID"}));
  EXPECT_EQ(db.Exec("create package pkg as end;"), 955);
  EXPECT_EQ(db.Exec("drop package pkg"), 0);
  EXPECT_EQ(db.Value1("select count(*) from all_source where name = 'PKG'"), "0");
  EXPECT_EQ(db.Exec("drop procedure no_such"), 4043);
}

TEST_F(StoredObjectTest, UnitsThatFailToCompileAreKeptInvalidWithTheirErrors) {
  MapBinds none;
  std::uint64_t rows = 0;
  OraError error, warning;
  ASSERT_TRUE(db.session().Execute("create procedure cut_short is\nbegin\n  null;", none, rows,
                                   error, warning));
  EXPECT_EQ(warning.code, 24344);
  warning = {};
  ASSERT_TRUE(db.session().Execute("create trigger emp_bd before delete on emp\nbegin\n  null;",
                                   none, rows, error, warning));
  EXPECT_EQ(warning.code, 24344);
  EXPECT_EQ(db.Rows("select name, type, sequence, line, position, attribute, message_number from "
                    "user_errors order by name"),
            (std::vector<std::string>{"CUT_SHORT|PROCEDURE|1|3|8|ERROR|103",
                                      "EMP_BD|TRIGGER|1|3|8|ERROR|103"}));
  EXPECT_EQ(db.Rows("select object_name, status from all_objects where object_name in "
                    "('CUT_SHORT', 'EMP_BD') order by 1"),
            (std::vector<std::string>{"CUT_SHORT|INVALID", "EMP_BD|INVALID"}));
  // The source is kept as written, so that it can be mended.
  EXPECT_EQ(db.Value1("select count(*) from all_source where name = 'CUT_SHORT'"), "3");
  db.Script(R"(
    create or replace editionable procedure cut_short is
    begin
      null;
    end;
    /
  )");
  EXPECT_EQ(db.Rows("select name from all_errors"), (std::vector<std::string>{"EMP_BD"}));
  EXPECT_EQ(db.Value1("select status from all_objects where object_name = 'CUT_SHORT'"), "VALID");
  EXPECT_EQ(db.Value1("select text from all_source where name = 'CUT_SHORT' and line = 1"),
            "procedure cut_short is\n");
  EXPECT_EQ(db.Exec("create package body no_spec as end;"), 0);
  EXPECT_EQ(db.Value1("select text from all_errors where name = 'NO_SPEC'"),
            "PLS-00304: cannot compile body of 'NO_SPEC' without its specification");
  EXPECT_EQ(db.Exec("drop trigger emp_bd"), 0);
  EXPECT_EQ(db.Value1("select count(*) from all_errors where name = 'EMP_BD'"), "0");
}

TEST_F(StoredObjectTest, AnIncompleteTypeIsDeclaredAndCompletedLater) {
  MapBinds none;
  std::uint64_t rows = 0;
  OraError error, warning;
  for (const char* declaration : {"create type dept_t;", "create type system.\"Emp T\";"}) {
    ASSERT_TRUE(db.session().Execute(declaration, none, rows, error, warning)) << declaration;
    EXPECT_EQ(warning.code, 0) << declaration;
  }
  db.Script(R"(
    create or replace type dept_t as object (deptno number(2), boss ref "Emp T");
    /
  )");
  EXPECT_EQ(db.Rows("select object_name, status from all_objects where object_type = 'TYPE' "
                    "order by 1"),
            (std::vector<std::string>{"DEPT_T|VALID", "Emp T|VALID"}));
  EXPECT_EQ(db.Value1("select count(*) from all_source where name = 'DEPT_T'"), "1");
}

TEST_F(StoredObjectTest, TriggersSplitIntoDescriptionAndBody) {
  EXPECT_EQ(db.Rows("select trigger_type, triggering_event, table_name, column_name, when_clause, "
                    "status from "
                    "all_triggers where trigger_name = 'EMP_BI'"),
            (std::vector<std::string>{
                "BEFORE EACH ROW|INSERT OR UPDATE|EMP|ENAME|new.empno > 0|ENABLED"}));
  EXPECT_EQ(db.Value1("select description from all_triggers where owner = 'SYSTEM' and "
                      "trigger_name = 'EMP_BI'"),
            "emp_bi\n      before insert or update of ename on emp\n      for each row\n      ");
  EXPECT_EQ(db.Value1("select trigger_body from all_triggers where trigger_name = 'EMP_BI'"),
            "begin\n        :new.hired := sysdate;\n      end;");
  EXPECT_EQ(db.Value1("select count(*) from all_source where name = 'EMP_BI' and type = 'TRIGGER'"),
            "7");
  EXPECT_EQ(db.Exec("create trigger emp_bi after delete on emp begin null; end;"), 4081);
  EXPECT_EQ(db.Exec("alter trigger emp_bi disable"), 0);
  EXPECT_EQ(db.Value1("select status from all_triggers where trigger_name = 'EMP_BI'"), "DISABLED");
  EXPECT_EQ(db.Exec("drop table emp"), 0);
  EXPECT_EQ(db.Value1("select count(*) from all_triggers"), "0");
}

}  // namespace
}  // namespace sandbox::test
