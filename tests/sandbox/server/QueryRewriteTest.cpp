// Queries that the server answers by rewriting them (ROWNUM, LISTAGG,
// grouping sets, the (+) marker, CONNECT BY, MERGE): results in the cases a
// transcript script does not reach, binds through the rewrites, and the
// errors Oracle gives for their misuse.
#include <gtest/gtest.h>

#include "ServerTestSession.h"

namespace sandbox::test {
namespace {

using Rows = std::vector<std::string>;

class QueryRewrite : public ::testing::Test {
 protected:
  void SetUp() override {
    s.Script(
        "create table staff (id number, name varchar2(10), boss number, pay number);\n"
        "insert into staff values (1, 'Ann', null, 50);\n"
        "insert into staff values (2, 'Ben', 1, 30);\n"
        "insert into staff values (3, 'Cat', 1, null);\n"
        "insert into staff values (4, 'Dan', 2, 30);\n");
  }
  ServerTestSession s;
};

TEST_F(QueryRewrite, RownumCountsPerQueryBlockAndInDml) {
  // Each block numbers its own rows; the outer block counts what the inner passes on.
  EXPECT_EQ(s.Rows("select rownum, id from (select id from staff where rownum <= 3 order by id) "
                   "where id > 1"),
            (Rows{"1|2", "2|3"}));
  EXPECT_EQ(s.Rows("select id from staff where rownum < 3 union all "
                   "select id from staff where rownum < 2"),
            (Rows{"1", "2", "1"}));
  EXPECT_EQ(s.Rows("select id from staff where rownum > 1"), Rows{});
  EXPECT_EQ(s.Exec("update staff set pay = rownum * 100 where boss = 1"), 0);
  EXPECT_EQ(s.Rows("select pay from staff where boss = 1 order by id"), (Rows{"100", "200"}));
  // A bind inside the rewritten condition.
  MapBinds binds{{"N", Value::Integer(2)}};
  EXPECT_EQ(s.Rows("select count(*) from staff where rownum <= :n", binds), Rows{"2"});
}

TEST_F(QueryRewrite, ListaggOrdersNullsAndRefusesTooLongResults) {
  EXPECT_EQ(s.Value1("select listagg(name, '/') within group (order by pay, name) from staff"),
            "Ben/Dan/Ann/Cat");
  EXPECT_EQ(s.Value1("select listagg(name, '/') within group (order by pay desc, name desc) "
                     "from staff"),
            "Cat/Ann/Dan/Ben");
  EXPECT_EQ(s.Value1("select listagg(pay) within group (order by id) from staff"), "503030");
  s.Script(
      "create table words (w varchar2(4000));\n"
      "insert into words values (rpad('x', 3000, 'x'));\n"
      "insert into words values (rpad('y', 3000, 'y'));\n");
  EXPECT_EQ(s.QueryError("select listagg(w) within group (order by w) from words"), 1489);
  EXPECT_EQ(s.QueryError("select listagg(name) within group (pay) from staff"), 30491);
}

TEST_F(QueryRewrite, GroupingSetsExpandCompositeColumnsAndNestedSets) {
  // ROLLUP((a, b)) treats the pair as one column: two sets, not three.
  EXPECT_EQ(s.Rows("select boss, pay, count(*) from staff group by rollup((boss, pay)) "
                   "order by 1, 2"),
            (Rows{"1|30|1", "1||1", "2|30|1", "|50|1", "||4"}));
  EXPECT_EQ(
      s.Value1("select count(*) from (select boss from staff group by cube(boss, pay, name))"),
      "27");
  EXPECT_EQ(s.Rows("select grouping_id(boss, pay) g, count(*) from staff "
                   "group by grouping sets (boss, rollup(pay)) order by 1, 2"),
            (Rows{"1|1", "1|1", "1|2", "2|1", "2|1", "2|2", "3|4"}));
}

TEST_F(QueryRewrite, OuterJoinMarkerErrorsAndConditionsOnTheOuterTable) {
  EXPECT_EQ(s.Rows("select a.name, b.name from staff a, staff b "
                   "where a.boss = b.id(+) and b.pay(+) > 40 order by a.id"),
            (Rows{"Ann|", "Ben|Ann", "Cat|Ann", "Dan|"}));
  EXPECT_EQ(s.QueryError("select 1 from staff a, staff b, staff c "
                         "where a.id = b.id(+) + c.id(+)"),
            1468);
  EXPECT_EQ(s.QueryError("select 1 from staff a, staff b where a.id(+) = b.id(+)"), 1468);
  EXPECT_EQ(s.QueryError("select 1 from staff a, staff b "
                         "where a.id = b.boss(+) and b.id = a.boss(+)"),
            1416);
  EXPECT_EQ(s.QueryError("select 1 from staff a, staff b where a.id = b.id(+) or a.id = 1"), 1719);
}

TEST_F(QueryRewrite, ConnectByStopsAtLoopsAndKeepsDepthFirstOrder) {
  s.Exec("update staff set boss = 4 where id = 1");  // Ann -> Dan -> Ben -> Ann
  EXPECT_EQ(s.Rows("select level, name from staff start with id = 1 "
                   "connect by nocycle prior id = boss order siblings by name"),
            (Rows{"1|Ann", "2|Ben", "3|Dan", "2|Cat"}));
  MapBinds binds{{"TOP", Value::Integer(2)}};
  EXPECT_EQ(s.Rows("select name from staff start with id = :top connect by nocycle prior id = boss "
                   "order by name",
                   binds),
            (Rows{"Ann", "Ben", "Cat", "Dan"}));
}

TEST_F(QueryRewrite, ConnectByOverAJoinJoinsFirstAndFiltersAfter) {
  // A WHERE term over both tables (its bind included) joins before the
  // hierarchy: Dan's row, whose boss earns too little, is never a child.
  MapBinds binds{{"LOW", Value::Integer(40)}};
  EXPECT_EQ(s.Rows("select level, a.name, b.name from staff a, staff b "
                   "where b.id = a.boss and b.pay >= :low "
                   "start with a.boss = 1 connect by prior a.id = a.boss order siblings by a.name",
                   binds),
            (Rows{"1|Ben|Ann", "1|Cat|Ann"}));
  // A term over one table filters the hierarchy's rows: Ben goes, Dan below him stays.
  EXPECT_EQ(
      s.Rows("select level, a.name, b.name boss from staff a join staff b on b.id = a.boss "
             "where a.pay is null or a.id = 4 "
             "start with b.boss is null connect by prior a.id = a.boss order siblings by a.name"),
      (Rows{"2|Dan|Ben", "1|Cat|Ann"}));
  // Names in a subquery of a condition are its own; the outer row's go by alias.
  EXPECT_EQ(s.Rows("select s.name, level from (select id, boss, name from staff) s "
                   "start with s.id = (select min(id) from staff where boss = 1) "
                   "connect by prior s.id = s.boss and exists "
                   "(select 1 from staff x where x.id = s.id and x.pay = 30)"),
            (Rows{"Ben|1", "Dan|2"}));
}

TEST_F(QueryRewrite, RowGeneratorsGiveTheirRowsInLevelOrder) {
  EXPECT_EQ(s.Rows("select level, rownum from dual connect by level <= 3"),
            (Rows{"1|1", "2|2", "3|3"}));
  EXPECT_EQ(s.QueryError("select level from connect by level <= 2"), 903);
  // Each side of a UNION keeps its own order.
  EXPECT_EQ(s.Rows("select level from dual connect by level <= 2 union all "
                   "select level from (select 1 from dual) connect by level <= 1"),
            (Rows{"1", "2", "1"}));
  // Past the first few digits of a level the rows still come in order.
  EXPECT_EQ(s.Rows("select count(*), min(l), max(l) from (select level l, rownum r "
                   "from dual connect by level <= 20000) where l = r",
                   MapBinds()),
            (Rows{"20000|1|20000"}));
  EXPECT_EQ(s.Exec("create table gen (n number)"), 0);
  EXPECT_EQ(s.Exec("insert into gen select level from dual connect by level <= 5000"), 0);
  EXPECT_EQ(s.Value1("select sum(n) from gen"), "12502500");
}

TEST_F(QueryRewrite, MergeIsOneStatementThatFailsWhole) {
  s.Script(
      "create table pays (id number, pay number);\n"
      "insert into pays values (2, 35);\n"
      "insert into pays values (9, 10);\n"
      "create unique index staff_name on staff (name);\n");
  // The update would succeed but the insert breaks the unique name: nothing stays.
  EXPECT_EQ(s.Exec("merge into staff t using pays p on (t.id = p.id) "
                   "when matched then update set pay = p.pay "
                   "when not matched then insert (id, name, pay) values (p.id, 'Ann', p.pay)"),
            1);
  EXPECT_EQ(s.Value1("select pay from staff where id = 2"), "30");
  EXPECT_EQ(s.Exec("merge into staff t using pays p on (t.id = p.id) "
                   "when matched then update set pay = p.pay delete where t.pay > 30 "
                   "when not matched then insert (id, name, pay) values (p.id, 'Eve', p.pay) "
                   "where p.pay > 50"),
            0);
  EXPECT_EQ(s.LastRowCount(), 2u);  // one row updated, then deleted
  EXPECT_EQ(s.Rows("select id from staff order by id"), (Rows{"1", "3", "4"}));
}

TEST_F(QueryRewrite, JsonFunctionsGiveNullForWhatTheyCannotReturn) {
  s.Script(
      "create table docs (d varchar2(200));\n"
      "insert into docs values ('{\"a\":{\"b\":[1,2]},\"t\":true,\"s\":\"x\"}');\n");
  EXPECT_EQ(s.Rows("select json_value(d, '$.t'), json_value(d, '$.s'), json_value(d, '$.a'), "
                   "json_query(d, '$.a.b'), json_query(d, '$.s'), "
                   "json_query(d, '$.s' with wrapper) from docs"),
            Rows{"true|x||[1,2]||[\"x\"]"});
  EXPECT_EQ(s.Value1("select count(*) from docs where d is json strict with unique keys"), "1");
  EXPECT_EQ(s.Value1("select count(*) from dual where '[1' is not json"), "1");
  // JSON_TABLE: rows of a path, one row for a path without [*], none for text that is no JSON.
  EXPECT_EQ(s.Rows("select j.v, j.n from docs d, json_table(d.d, '$.a.b[*]' "
                   "columns (v number path '$', n varchar2(5) path '$.x')) j"),
            (Rows{"1|", "2|"}));
  EXPECT_EQ(s.Rows("select j.s from docs d, json_table(d.d, '$' columns (s varchar2(5) path "
                   "'$.s')) j"),
            Rows{"x"});
  EXPECT_EQ(s.Value1("select count(*) from json_table('oops', '$[*]' columns (n number path "
                     "'$')) j"),
            "0");
}

}  // namespace
}  // namespace sandbox::test
