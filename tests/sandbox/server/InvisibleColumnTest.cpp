// Invisible columns where "*" and a missing column list meet them: PL/SQL
// records, views, set operators, subqueries, synonyms and INSERT ... SELECT.
#include <gtest/gtest.h>

#include "ServerTestSession.h"

namespace sandbox::test {
namespace {

using Rows = std::vector<std::string>;

class InvisibleColumnTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db.Script(R"(
      create table parts (id number, secret varchar2(5) invisible, name varchar2(10));
      insert into parts (id, secret, name) values (1, 'x', 'bolt');
      insert into parts values (2, 'nut');
    )");
  }
  ServerTestSession db;
};

TEST_F(InvisibleColumnTest, RecordsAndViewsTakeTheVisibleColumnsOnly) {
  db.Script(R"(
    create table copies (id number, name varchar2(10));
    begin
      for r in (select * from parts order by id) loop
        insert into copies values (r.id, r.name);
      end loop;
    end;
    /
    create view parts_v as select * from parts;
  )");
  EXPECT_EQ(db.Rows("select * from copies order by id"), (Rows{"1|bolt", "2|nut"}));
  // A view keeps the columns "*" stood for when it was made.
  EXPECT_EQ(db.Exec("alter table parts modify (secret visible)"), 0);
  EXPECT_EQ(db.Rows("select * from parts_v order by id"), (Rows{"1|bolt", "2|nut"}));
  EXPECT_EQ(db.Rows("select * from parts order by id"), (Rows{"1|bolt|x", "2|nut|"}));
}

TEST_F(InvisibleColumnTest, EveryQueryBlockAndSynonymExpandsItsOwnStar) {
  db.Script("create synonym parts_syn for parts;");
  EXPECT_EQ(db.Rows("select * from parts where id = 1 union all select * from parts_syn where id "
                    "= 2"),
            (Rows{"1|bolt", "2|nut"}));
  EXPECT_EQ(db.Rows("select * from (select p.*, p.secret from parts p) where id = 1"),
            (Rows{"1|bolt|x"}));
  EXPECT_EQ(db.Rows("select q.* from parts p, parts_syn q where p.id = q.id and p.id = 2"),
            (Rows{"2|nut"}));
  EXPECT_EQ(db.Value1("select count(*) from (select * from parts)"), "2");
}

TEST_F(InvisibleColumnTest, InsertWithoutAColumnListFillsTheVisibleColumns) {
  EXPECT_EQ(db.Exec("insert into parts select * from parts where id = 1"), 0);
  EXPECT_EQ(db.Exec("insert into parts select id + 10, name from parts where id = 2"), 0);
  // NULL sorts last, as the largest value.
  EXPECT_EQ(db.Rows("select id, secret, name from parts order by id, secret"),
            (Rows{"1|x|bolt", "1||bolt", "2||nut", "12||nut"}));
  EXPECT_EQ(db.Exec("insert into parts values (3, 'y', 'pin')"), 913);
}

}  // namespace
}  // namespace sandbox::test
