// DDL and the dictionary rows it leaves: tables with Oracle's storage
// defaults, columns, system-named constraints, key indexes, users and grants.
#include <gtest/gtest.h>

#include "ServerTestSession.h"

namespace sandbox::test {
namespace {

class DdlDictionaryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db.Script(R"(
      create user app identified by secret;
      grant connect, resource to app;
      grant create view to app with admin option;
      create table app.dept (deptno number(2) constraint dept_pk primary key, dname varchar2(14) not null,
                             loc varchar2(13) default 'NOWHERE' );
      create table app.emp (
        empno number(4) not null, ename varchar2(10), hired date default sysdate, sal number(7,2),
        deptno number(2),
        constraint emp_pk primary key (empno) using index pctfree 5 tablespace indx storage (initial 128K),
        constraint emp_sal_ck check (sal > 0),
        foreign key (deptno) references app.dept)
        pctfree 20 pctused 50 initrans 2 maxtrans 100 tablespace data storage (initial 1M next 512K minextents 2
        maxextents unlimited pctincrease 0 freelists 3 freelist groups 2);
      create index app.emp_name_ix on app.emp (ename, hired) compress 1;
      create role clerk;
      grant select, update on app.emp to clerk with grant option;
      grant clerk to app;
    )");
  }
  ServerTestSession db;
};

TEST(DdlErrorsTest, StatementsThatFail) {
  ServerTestSession db;
  EXPECT_EQ(db.Exec("create table t (a number, a number)"), 957);
  EXPECT_EQ(db.Exec("create table t (a varchar2)"), 906);
  EXPECT_EQ(db.Exec("create table t (a nosuchtype)"), 902);
  EXPECT_EQ(db.Exec("create table t (a number)"), 0);
  EXPECT_EQ(db.Exec("create table t (b number)"), 955);
  EXPECT_EQ(db.Exec("create index i on t (nosuch)"), 904);
  EXPECT_EQ(db.Exec("drop table nosuch"), 942);
  EXPECT_EQ(db.Exec("create user system identified by x"), 1920);
  EXPECT_EQ(db.Exec("grant nosuchrole to system"), 1919);
  EXPECT_EQ(db.Exec("grant select on t to nobody"), 1917);
  EXPECT_EQ(db.Exec("drop user nobody"), 1918);
  // A failed DDL leaves nothing behind.
  EXPECT_EQ(db.Exec("create table bad (a number primary key, b number references nosuch)"), 942);
  EXPECT_EQ(db.Value1("select count(*) from all_objects where object_name = 'BAD'"), "0");
  EXPECT_EQ(db.QueryError("select * from bad"), 942);
}

TEST_F(DdlDictionaryTest, TablesCarryStorageAndOracleDefaults) {
  EXPECT_EQ(db.Rows("select table_name, tablespace_name, pct_free, pct_used, ini_trans, max_trans, "
                    "initial_extent, "
                    "next_extent, min_extents, max_extents, pct_increase, freelists, "
                    "freelist_groups from all_tables "
                    "where owner = 'APP' order by table_name"),
            (std::vector<std::string>{"DEPT|USERS|10|40|1|255|65536|1048576|1|2147483645|0|1|1",
                                      "EMP|DATA|20|50|2|100|1048576|524288|2|2147483645|0|3|2"}));
  EXPECT_EQ(db.Rows("select table_name, table_type from all_catalog where owner = 'APP'"),
            (std::vector<std::string>{"DEPT|TABLE", "EMP|TABLE"}));
}

TEST_F(DdlDictionaryTest, ColumnsWithTypesDefaultsAndNullability) {
  EXPECT_EQ(
      db.Rows(
          "select column_name, data_type, data_length, data_precision, data_scale, nullable, "
          "default_length, data_default, column_id from all_tab_columns where owner = 'APP' and "
          "table_name = 'EMP' order by column_id"),
      (std::vector<std::string>{"EMPNO|NUMBER|22|4|0|N|||1", "ENAME|VARCHAR2|10|||Y|||2",
                                "HIRED|DATE|7|||Y|7|sysdate|3", "SAL|NUMBER|22|7|2|Y|||4",
                                "DEPTNO|NUMBER|22|2|0|Y|||5"}));
  EXPECT_EQ(db.Value1("select default_length || ':' || data_default from all_tab_columns where "
                      "table_name = 'DEPT' "
                      "and column_name = 'LOC'"),
            "10:'NOWHERE' ");
  EXPECT_EQ(db.Value1("select nullable from all_tab_columns where table_name = 'DEPT' and "
                      "column_name = 'DEPTNO'"),
            "N");
}

TEST_F(DdlDictionaryTest, ConstraintsIncludingSystemNamedOnes) {
  const auto rows = db.Rows(
      "select constraint_name, constraint_type, search_condition, r_constraint_name, generated, "
      "index_name from "
      "all_constraints where owner = 'APP' and table_name = 'EMP' order by constraint_type, "
      "constraint_name");
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], "EMP_SAL_CK|C|sal > 0||USER NAME|");
  EXPECT_EQ(rows[1].substr(0, 5), "SYS_C");
  EXPECT_NE(rows[1].find("|C|\"EMPNO\" IS NOT NULL||GENERATED NAME|"), std::string::npos)
      << rows[1];
  EXPECT_EQ(rows[2], "EMP_PK|P|||USER NAME|EMP_PK");
  EXPECT_EQ(rows[3].substr(0, 5), "SYS_C");
  EXPECT_NE(rows[3].find("|R||DEPT_PK|GENERATED NAME|"), std::string::npos) << rows[3];
  EXPECT_EQ(
      db.Rows(
          "select column_name, position from all_cons_columns where constraint_name = 'EMP_PK'"),
      (std::vector<std::string>{"EMPNO|1"}));
}

TEST_F(DdlDictionaryTest, KeyAndExplicitIndexes) {
  EXPECT_EQ(
      db.Rows(
          "select index_name, uniqueness, tablespace_name, pct_free, ini_trans, initial_extent, "
          "compression, prefix_length from all_indexes where table_name = 'EMP' order by "
          "index_name"),
      (std::vector<std::string>{"EMP_NAME_IX|NONUNIQUE|USERS|10|2|65536|ENABLED|1",
                                "EMP_PK|UNIQUE|INDX|5|2|131072|DISABLED|"}));
  EXPECT_EQ(db.Rows("select column_name, column_position, column_length from all_ind_columns where "
                    "index_name = "
                    "'EMP_NAME_IX' order by column_position"),
            (std::vector<std::string>{"ENAME|1|10", "HIRED|2|7"}));
  EXPECT_EQ(db.Exec("insert into app.emp (empno) values (1)"), 0);
  EXPECT_EQ(db.Exec("insert into app.emp (empno) values (1)"), 1);
  EXPECT_EQ(db.LastError().message, "unique constraint (APP.EMP_PK) violated");
  EXPECT_EQ(db.Exec("insert into app.emp (empno, sal) values (2, -1)"), 2290);
}

TEST_F(DdlDictionaryTest, AlterTableAddsKeysWithTheirIndex) {
  db.Script(R"(create table app.loose (a number, b varchar2(5));
               alter table app.loose add (constraint loose_uk unique (a, b) using index tablespace indx);)");
  EXPECT_EQ(db.Value1("select index_name || ' ' || tablespace_name from all_indexes where "
                      "table_name = 'LOOSE'"),
            "LOOSE_UK INDX");
  EXPECT_EQ(
      db.Value1(
          "select constraint_type || index_name from all_constraints where table_name = 'LOOSE'"),
      "ULOOSE_UK");
  db.Script("insert into app.loose values (1, null)");
  EXPECT_EQ(db.Exec("alter table app.loose add primary key (b)"), 2437);
  db.Script("alter table app.loose add primary key (a)");
  EXPECT_EQ(db.Exec("insert into app.loose (b) values ('y')"), 1400);
  EXPECT_EQ(db.LastError().message, "cannot insert NULL into (\"APP\".\"LOOSE\".\"A\")");
  EXPECT_EQ(
      db.Value1(
          "select nullable from all_tab_columns where table_name = 'LOOSE' and column_name = 'A'"),
      "N");
  EXPECT_EQ(db.Value1("select count(*) from all_constraints where table_name = 'LOOSE' and "
                      "constraint_type = 'P' "
                      "and constraint_name like 'SYS_C%'"),
            "1");
}

TEST_F(DdlDictionaryTest, PrivilegesAndRoles) {
  EXPECT_EQ(db.Rows("select grantee, table_schema, table_name, privilege, grantable from "
                    "all_tab_privs order by "
                    "privilege"),
            (std::vector<std::string>{"CLERK|APP|EMP|SELECT|YES", "CLERK|APP|EMP|UPDATE|YES"}));
  ServerTestSession app(std::shared_ptr<Database>(&db.database(), [](Database*) {}), "APP",
                        "secret");
  EXPECT_EQ(
      app.Rows("select granted_role, admin_option, default_role from user_role_privs order by 1"),
      (std::vector<std::string>{"CLERK|NO|YES", "CONNECT|NO|YES", "RESOURCE|NO|YES"}));
  EXPECT_EQ(app.Rows("select privilege, admin_option from user_sys_privs"),
            (std::vector<std::string>{"CREATE VIEW|YES"}));
  EXPECT_EQ(app.Value1("select count(*) from emp"), "0");
  EXPECT_EQ(app.Exec("create user intruder identified by x"), 1031);
  EXPECT_EQ(
      app.Rows("select segment_name, segment_type, bytes from user_segments order by 1"),
      (std::vector<std::string>{"DEPT|TABLE|65536", "DEPT_PK|INDEX|65536", "EMP|TABLE|1048576",
                                "EMP_NAME_IX|INDEX|65536", "EMP_PK|INDEX|131072"}));
}

TEST_F(DdlDictionaryTest, RevokesAndDropsUndoGrantsAndIndexes) {
  EXPECT_EQ(db.Exec("drop index app.emp_pk"), 2429);
  EXPECT_EQ(db.Exec("drop index app.emp_name_ix"), 0);
  EXPECT_EQ(db.Value1("select count(*) from all_ind_columns where index_name = 'EMP_NAME_IX'"),
            "0");
  EXPECT_EQ(db.Exec("drop index app.emp_name_ix"), 1418);
  EXPECT_EQ(db.Exec("create index app.again_ix on app.emp (empno)"), 1408);
  EXPECT_EQ(db.Exec("revoke update on app.emp from clerk"), 0);
  EXPECT_EQ(db.Rows("select privilege from all_tab_privs where grantee = 'CLERK'"),
            (std::vector<std::string>{"SELECT"}));
  EXPECT_EQ(db.Exec("revoke clerk from app"), 0);
  EXPECT_EQ(db.Exec("revoke clerk from app"), 1951);
  EXPECT_EQ(db.Exec("grant clerk to clerk"), 1934);
  EXPECT_EQ(db.Exec("drop role clerk"), 0);
  EXPECT_EQ(db.Value1("select count(*) from all_tab_privs where grantee = 'CLERK'"), "0");
  EXPECT_EQ(db.Exec("drop table app.dept"), 2449);  // EMP's foreign key points at it
  EXPECT_EQ(db.Exec("drop table app.dept cascade constraints"), 0);
  EXPECT_EQ(db.Value1("select count(*) from all_constraints where table_name = 'EMP' and "
                      "constraint_type = 'R'"),
            "0");
  EXPECT_EQ(db.Value1("select count(*) from user_segments"), "0");  // SYSTEM owns none of them
}

TEST_F(DdlDictionaryTest, DropUserCascadeRemovesTheSchema) {
  EXPECT_EQ(db.Exec("drop user app"), 1922);
  EXPECT_EQ(db.Exec("drop user app cascade"), 0);
  EXPECT_EQ(db.Value1("select count(*) from all_objects where owner = 'APP'"), "0");
  EXPECT_EQ(db.Value1("select count(*) from all_tab_columns where owner = 'APP'"), "0");
  EXPECT_EQ(db.QueryError("select * from app.emp"), 942);
  EXPECT_EQ(db.Exec("create user app identified by again"), 0);
}

}  // namespace
}  // namespace sandbox::test
