// What each user may read of the dictionary and which grants it may make:
// ALL_ views filtered by ownership, object privileges (direct, through roles
// and PUBLIC) and SELECT ANY DICTIONARY; DBA_ views closed to others; grant
// and admin options; sequences handed out in PL/SQL.
#include <gtest/gtest.h>

#include "ServerTestSession.h"

namespace sandbox::test {
namespace {

class PrivilegeVisibilityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    system.Script(R"(
      create user owner identified by o;
      grant connect, resource to owner;
      grant create view to owner with admin option;
      create user reader identified by r;
      grant connect to reader;
      create user auditor identified by a;
      grant create session, select any dictionary to auditor;
      create role viewer;
      grant viewer to reader;
      create table owner.direct_t (id number constraint direct_pk primary key);
      create table owner.role_t (id number);
      create table owner.public_t (id number);
      create table owner.hidden_t (id number);
      create index owner.hidden_ix on owner.hidden_t (id);
      create sequence owner.seen_seq;
      create sequence owner.unseen_seq;
      grant select on owner.direct_t to reader with grant option;
      grant select on owner.role_t to viewer;
      grant select on owner.public_t to public;
      grant select on owner.seen_seq to reader;
      grant insert on owner.hidden_t to auditor;
    )");
  }

  ServerTestSession As(const std::string& user, const std::string& password) {
    return ServerTestSession(std::shared_ptr<Database>(&system.database(), [](Database*) {}), user,
                             password);
  }

  ServerTestSession system;
};

TEST_F(PrivilegeVisibilityTest, AllViewsListOwnAndGrantedObjectsOnly) {
  ServerTestSession reader = As("READER", "r");
  EXPECT_EQ(reader.Rows("select table_name from all_tables where owner = 'OWNER' order by 1"),
            (std::vector<std::string>{"DIRECT_T", "PUBLIC_T", "ROLE_T"}));
  EXPECT_EQ(reader.Rows("select object_name from all_objects where owner = 'OWNER' and "
                        "object_type = 'SEQUENCE'"),
            (std::vector<std::string>{"SEEN_SEQ"}));
  EXPECT_EQ(reader.Rows("select sequence_name from all_sequences"),
            (std::vector<std::string>{"SEEN_SEQ"}));
  EXPECT_EQ(reader.Rows("select index_name from all_indexes where table_owner = 'OWNER'"),
            (std::vector<std::string>{"DIRECT_PK"}));
  EXPECT_EQ(reader.Value1("select count(*) from all_tab_columns where table_name = 'HIDDEN_T'"),
            "0");
  EXPECT_EQ(reader.Value1("select count(*) from all_catalog where table_name = 'HIDDEN_T'"), "0");
  // The owner and a user with SELECT ANY DICTIONARY see everything of the schema.
  for (const auto& [user, password] : {std::pair{"OWNER", "o"}, std::pair{"AUDITOR", "a"}}) {
    ServerTestSession session = As(user, password);
    EXPECT_EQ(session.Rows("select table_name from all_tables where owner = 'OWNER' order by 1"),
              (std::vector<std::string>{"DIRECT_T", "HIDDEN_T", "PUBLIC_T", "ROLE_T"}));
    EXPECT_EQ(session.Value1("select count(*) from all_sequences where sequence_owner = 'OWNER'"),
              "2");
  }
}

TEST_F(PrivilegeVisibilityTest, AllTabPrivsShowsGrantsToTheUserItsRolesAndPublic) {
  ServerTestSession reader = As("READER", "r");
  EXPECT_EQ(reader.Rows("select grantee, table_name, privilege, grantable from all_tab_privs "
                        "order by table_name"),
            (std::vector<std::string>{"READER|DIRECT_T|SELECT|YES", "PUBLIC|PUBLIC_T|SELECT|NO",
                                      "VIEWER|ROLE_T|SELECT|NO", "READER|SEEN_SEQ|SELECT|NO"}));
  // The owner sees every grant on its objects, the grant to AUDITOR included.
  EXPECT_EQ(As("OWNER", "o").Value1("select count(*) from all_tab_privs"), "5");
}

TEST_F(PrivilegeVisibilityTest, DbaViewsNeedTheDba) {
  ServerTestSession reader = As("READER", "r");
  for (const char* view :
       {"dba_sys_privs", "dba_role_privs", "dba_tab_privs", "dba_users", "sys.dba_tab_privs"}) {
    EXPECT_EQ(reader.QueryError(std::string("select * from ") + view), 942) << view;
  }
  EXPECT_EQ(As("AUDITOR", "a").QueryError("select * from dba_sys_privs"), 0);
  EXPECT_EQ(system.Rows("select grantee, owner, table_name, grantor, privilege, grantable from "
                        "dba_tab_privs where grantee = 'READER' order by table_name"),
            (std::vector<std::string>{"READER|OWNER|DIRECT_T|OWNER|SELECT|YES",
                                      "READER|OWNER|SEEN_SEQ|OWNER|SELECT|NO"}));
  EXPECT_EQ(system.Rows("select privilege, admin_option from dba_sys_privs where grantee = "
                        "'OWNER'"),
            (std::vector<std::string>{"CREATE VIEW|YES"}));
}

TEST_F(PrivilegeVisibilityTest, GrantAndAdminOptionsLetHoldersPassPrivilegesOn) {
  ServerTestSession reader = As("READER", "r");
  EXPECT_EQ(reader.Exec("grant select on owner.direct_t to auditor"), 0);
  EXPECT_EQ(reader.Exec("grant select on owner.role_t to auditor"), 1031);
  EXPECT_EQ(reader.Exec("grant select on owner.hidden_t to auditor"), 1031);
  EXPECT_EQ(system.Rows("select grantor from dba_tab_privs where grantee = 'AUDITOR' and "
                        "table_name = 'DIRECT_T'"),
            (std::vector<std::string>{"READER"}));
  // Only the grantor (or the owner) takes a grant back.
  EXPECT_EQ(As("AUDITOR", "a").Exec("revoke select on owner.direct_t from auditor"), 1927);
  EXPECT_EQ(reader.Exec("revoke select on owner.direct_t from auditor"), 0);
  EXPECT_EQ(reader.Exec("revoke select on owner.direct_t from auditor"), 1927);

  ServerTestSession owner = As("OWNER", "o");
  EXPECT_EQ(owner.Exec("grant create view to reader"), 0);
  EXPECT_EQ(owner.Exec("grant create table to reader"), 1031);  // held through RESOURCE only
  EXPECT_EQ(reader.Exec("grant viewer to auditor"), 1031);
  EXPECT_EQ(system.Exec("grant viewer to reader with admin option"), 0);
  EXPECT_EQ(reader.Exec("grant viewer to auditor"), 0);
  EXPECT_EQ(owner.Exec("revoke create view from reader"), 0);
  EXPECT_EQ(reader.Exec("revoke create session from auditor"), 1031);
}

TEST_F(PrivilegeVisibilityTest, ColumnGrantsAreKeptApartFromGrantsOnTheWholeTable) {
  ServerTestSession owner = As("OWNER", "o");
  owner.Script(R"(
    create table pay (id number, sal number, note varchar2(10));
    grant update (sal, note), references (id) on pay to reader with grant option;
  )");
  EXPECT_EQ(owner.Exec("grant select (sal) on pay to reader"), 969);
  EXPECT_EQ(owner.Exec("grant update (nosuch) on pay to reader"), 904);
  EXPECT_EQ(owner.Value1("select count(*) from all_tab_privs where table_name = 'PAY'"), "0");
  EXPECT_EQ(As("READER", "r")
                .Rows("select column_name, privilege, grantable from "
                      "all_col_privs order by 1"),
            (std::vector<std::string>{"ID|REFERENCES|YES", "NOTE|UPDATE|YES", "SAL|UPDATE|YES"}));
  EXPECT_EQ(As("AUDITOR", "a").Value1("select count(*) from all_col_privs"), "0");
  EXPECT_EQ(As("READER", "r").QueryError("select * from dba_col_privs"), 942);
  // A column grant is revoked with the whole privilege, never by column.
  EXPECT_EQ(owner.Exec("revoke update (sal) on pay from reader"), 1750);
  EXPECT_EQ(owner.Exec("revoke update on pay from reader"), 0);
  EXPECT_EQ(system.Rows("select grantee, owner, table_name, column_name, grantor, privilege from "
                        "dba_col_privs"),
            (std::vector<std::string>{"READER|OWNER|PAY|ID|OWNER|REFERENCES"}));
  // A table dropped and made again does not inherit the old grants.
  EXPECT_EQ(owner.Exec("drop table pay"), 0);
  EXPECT_EQ(owner.Exec("create table pay (id number)"), 0);
  EXPECT_EQ(system.Value1("select count(*) from dba_col_privs"), "0");
}

TEST_F(PrivilegeVisibilityTest, SequencesInPlsqlAndTheirLastNumber) {
  ServerTestSession owner = As("OWNER", "o");
  owner.Script(R"(
    create table log (n number, what varchar2(10));
    create sequence cached_seq start with 10 increment by 5 cache 3;
  )");
  EXPECT_EQ(owner.Exec(R"(declare
  v number;
begin
  v := cached_seq.nextval;
  insert into log values (v, 'next');
  insert into log values (owner.cached_seq.nextval + 0, 'next');
  insert into log values (cached_seq.currval, 'current');
end;)"),
            0)
      << owner.LastError().message;
  EXPECT_EQ(owner.Rows("select n, what from log"),
            (std::vector<std::string>{"10|next", "15|next", "15|current"}));
  // Values up to 20 are cached: the next one never handed out is 25.
  EXPECT_EQ(owner.Value1("select last_number from user_sequences where sequence_name = "
                         "'CACHED_SEQ'"),
            "25");
  EXPECT_EQ(owner.Exec("declare n number; begin n := no_such_seq.nextval; end;"), 6550);
  EXPECT_NE(owner.LastError().message.find("PLS-00201: identifier 'NO_SUCH_SEQ.NEXTVAL'"),
            std::string::npos)
      << owner.LastError().message;
}

}  // namespace
}  // namespace sandbox::test
