// Constraints kept by triggers and tables rebuilt under them: what a
// transcript cannot show well, such as rules that must survive a table being
// built again, dropped parents, two sessions sharing deferred work, and
// descriptions of character-semantics columns.
#include <gtest/gtest.h>

#include "ServerTestSession.h"

namespace sandbox::test {
namespace {

TEST(ConstraintStorageTest, RebuiltTableKeepsRowsIndexesAndEveryRule) {
  ServerTestSession db;
  db.Script(R"(
    create table parent (id number primary key);
    insert into parent values (1);
    create table child (id number constraint child_pk primary key, code varchar2(5),
      born date, parent_id number constraint child_fk references parent,
      constraint child_code_ck check (code <> 'BAD'));
    create unique index child_code_ix on child (code);
    insert into child values (1, 'A', '01-JAN-20', 1);
    alter table child modify (code varchar2(10) default 'X');
    alter table child add (note varchar2(20) default 'none' not null);
  )");
  EXPECT_EQ(db.Rows("select id, code, to_char(born, 'YYYY-MM-DD'), note from child"),
            (std::vector<std::string>{"1|A|2020-01-01|none"}));
  EXPECT_EQ(db.Exec("insert into child (id, code) values (2, 'A')"), 1);
  EXPECT_EQ(db.Exec("insert into child (id, code) values (3, 'BAD')"), 2290);
  EXPECT_EQ(db.Exec("insert into child (id, parent_id) values (4, 9)"), 2291);
  EXPECT_EQ(db.Exec("insert into child (id, born) values (5, '02-FEB-21')"), 0);
  EXPECT_EQ(db.Value1("select code || '/' || to_char(born, 'YYYY-MM-DD') from child where id = 5"),
            "X/2021-02-02");
  EXPECT_EQ(db.Exec("delete from parent"), 2292);
  EXPECT_EQ(db.Exec("alter table child modify code varchar2(12)"), 0);
  EXPECT_EQ(db.Exec("insert into child (id, code) values (6, 'A')"), 1);
  EXPECT_EQ(db.Value1("select count(*) from child"), "2");
}

TEST(ConstraintStorageTest, DroppedParentLeavesItsChildrenUsable) {
  ServerTestSession db;
  db.Script(R"(
    create table parent (id number primary key);
    create table child (id number, parent_id number constraint child_fk references parent);
    insert into parent values (1);
    insert into child values (1, 1);
  )");
  EXPECT_EQ(db.Exec("drop table parent"), 2449);
  EXPECT_EQ(db.Exec("drop table parent cascade constraints"), 0);
  EXPECT_EQ(db.Exec("insert into child values (2, 42)"), 0);
  EXPECT_EQ(db.Value1("select count(*) from user_constraints where table_name = 'CHILD'"), "0");
  // A table of the same name starts without the old one's comments.
  db.Script(R"(
    comment on table child is 'old';
    drop table child;
    create table child (id number);
  )");
  EXPECT_EQ(db.Rows("select table_name, comments from user_tab_comments"),
            (std::vector<std::string>{"CHILD|"}));
}

TEST(ConstraintStorageTest, SynonymLoopsAndDroppedTargetsEndInAnError) {
  ServerTestSession db;
  db.Script(R"(
    create synonym a_syn for b_syn;
    create synonym b_syn for a_syn;
    create table t (x number);
    create synonym t_syn for t;
    drop table t;
  )");
  EXPECT_EQ(db.QueryError("select * from a_syn"), 942);
  EXPECT_EQ(db.QueryError("select * from t_syn"), 942);
  EXPECT_EQ(db.Exec("create synonym t_syn2 for t_syn2"), 1471);
}

TEST(ConstraintStorageTest, DroppedUserTakesItsCommentsIndexesAndIdentitySequences) {
  ServerTestSession db;
  db.Script(R"(
    create user app identified by app;
    grant connect, resource to app;
    create table app.t (id number generated always as identity, v varchar2(5));
    comment on table app.t is 'gone soon';
    create index app.t_ix on app.t (upper(v));
    drop user app cascade;
  )");
  for (const char* view : {"all_tab_comments", "all_tab_identity_cols", "all_sequences",
                           "all_ind_expressions", "all_tab_cols"}) {
    const std::string owner = std::string(view) == "all_sequences"         ? "sequence_owner"
                              : std::string(view) == "all_ind_expressions" ? "index_owner"
                                                                           : "owner";
    EXPECT_EQ(
        db.Value1("select count(*) from " + std::string(view) + " where " + owner + " = 'APP'"),
        "0")
        << view;
  }
}

TEST(ConstraintStorageTest, DeferredWorkOfOneSessionIsCheckedWhenDdlCommitsIt) {
  ServerTestSession db;
  db.Script(R"(
    create table parent (id number primary key);
    create table child (parent_id number constraint child_fk references parent
      deferrable initially deferred);
  )");
  EXPECT_EQ(db.Exec("insert into child values (5)"), 0);
  // DDL commits first; the deferred check fails and nothing is created.
  EXPECT_EQ(db.Exec("create table other (x number)"), 2091);
  EXPECT_NE(db.LastError().message.find("ORA-02291: integrity constraint (SYSTEM.CHILD_FK)"),
            std::string::npos);
  EXPECT_EQ(db.QueryError("select * from other"), 942);
  EXPECT_EQ(db.Value1("select count(*) from child"), "0");
  EXPECT_EQ(db.Exec("commit"), 0);
}

TEST(ConstraintStorageTest, ConstraintsOfOtherTablesOrNoneAreErrors) {
  ServerTestSession db;
  db.Script(R"(
    create table a (x number constraint a_ck check (x > 0));
    create table b (y number);
  )");
  EXPECT_NE(db.Exec("alter table b modify constraint nosuch disable"), 0);
  EXPECT_NE(db.Exec("alter table b modify constraint a_ck disable"), 0);
  EXPECT_NE(db.Exec("alter table b disable constraint a_ck"), 0);
  EXPECT_NE(db.Exec("alter table b drop constraint a_ck"), 0);
  EXPECT_NE(db.Exec("alter table b rename constraint a_ck to b_ck"), 0);
  EXPECT_EQ(db.Exec("insert into a values (-1)"), 2290);
}

TEST(ConstraintStorageTest, CharacterSemanticsColumnsDescribeInBytes) {
  ServerTestSession db;
  db.Script("create table t (a varchar2(10 char), b nvarchar2(10), c char(2 char), d number(*,0))");
  const auto columns = db.session().DescribeTable("T");
  ASSERT_EQ(columns.size(), 4u);
  EXPECT_EQ(columns[0].dataSize, 40);
  EXPECT_EQ(columns[1].dataSize, 20);
  EXPECT_EQ(columns[2].dataSize, 8);
  EXPECT_EQ(columns[3].scale, 0);
}

}  // namespace
}  // namespace sandbox::test
