// The Oracle dialect over SQLite: functions, operators, NULL rules, names
// and the errors of statements the server cannot run.
#include <gtest/gtest.h>

#include "ServerTestSession.h"

namespace sandbox::test {
namespace {

class DialectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    db.Script(R"(
      create table t (id number(5) primary key, name varchar2(20), note varchar2(20), amount number(8,2));
      insert into t values (1, 'Alpha', NULL, 10.5);
      insert into t values (2, 'beta', '', 0.25);
      insert into t (id, name, note) values (3, 'O''Neil', 'x');
      commit;
    )");
  }
  ServerTestSession db;
};

TEST_F(DialectTest, EmptyStringIsNullInComparisonAndConcatenation) {
  EXPECT_EQ(db.Rows("select id from t where note is null order by id"),
            (std::vector<std::string>{"1", "2"}));
  EXPECT_TRUE(db.Rows("select id from t where note = ''").empty());
  EXPECT_TRUE(db.Rows("select id from t where '' = ''").empty());
  EXPECT_EQ(db.Value1("select 'a' || null || 'b' from dual"), "ab");
  EXPECT_EQ(db.Value1("select nvl('' || '', 'was null') from dual"), "was null");
  EXPECT_EQ(db.Value1("select nvl(length(''), -1) from dual"), "-1");
  EXPECT_EQ(db.Value1("select name || '-' || note from t where id = 1"), "Alpha-");
  EXPECT_EQ(db.Value1("select count(*) from t where rtrim('   ') is null"), "3");
}

TEST_F(DialectTest, StringFunctionsFollowOracle) {
  EXPECT_EQ(db.Value1("select substr('abcdef', 0, 3) from dual"), "abc");
  EXPECT_EQ(db.Value1("select substr('abcdef', 1, 3) from dual"), "abc");
  EXPECT_EQ(db.Value1("select substr('abcdef', -2) from dual"), "ef");
  EXPECT_EQ(db.Value1("select nvl(substr('abc', 5), 'none') from dual"), "none");
  EXPECT_EQ(db.Value1("select substr('PRIV'||'          ',0,6) || '|' from dual"), "PRIV  |");
  EXPECT_EQ(db.Value1("select upper(name) || lower('XY') from t where id = 2"), "BETAxy");
  EXPECT_EQ(db.Value1("select rtrim('ab  ') || rtrim('xyxx', 'x') from dual"), "abxy");
  EXPECT_EQ(db.Value1("select length('four') from dual"), "4");
  EXPECT_EQ(db.Value1("select trim(leading '0' from '007') || trim(both from '  a  ') || "
                      "trim(trailing 'x' from "
                      "'yxx') from dual"),
            "7ay");
  EXPECT_EQ(db.Value1("select instr('banana', 'an', 1, 2) || instr('banana', 'an', -1) || "
                      "instr('abc', 'z') from dual"),
            "440");
  EXPECT_EQ(
      db.Value1("select lpad('7', 3, '0') || rpad('ab', 4, '.') || lpad('long', 2) from dual"),
      "007ab..lo");
  EXPECT_EQ(db.Value1("select replace('a-b-c', '-') || replace('abc', 'b', 'xx') from dual"),
            "abcaxxc");
  EXPECT_EQ(db.Value1("select initcap('hello wORLD') || nvl2(null, 'set', 'unset') from dual"),
            "Hello Worldunset");
  EXPECT_EQ(db.Value1("select name from t where id = 3"), "O'Neil");
}

TEST_F(DialectTest, DecodeNvlAndMod) {
  EXPECT_EQ(db.Rows("select decode(id, 1, 'one', 2, 'two', 'many') from t order by id"),
            (std::vector<std::string>{"one", "two", "many"}));
  EXPECT_EQ(db.Value1("select decode(null, null, 'null matches', 'no') from dual"), "null matches");
  EXPECT_EQ(db.Value1("select decode(5, 1, 'one') from dual"), "");
  EXPECT_EQ(db.Value1("select nvl(note, 'n/a') from t where id = 1"), "n/a");
  EXPECT_EQ(db.Value1("select mod(17, 5) || ',' || mod(-17, 5) || ',' || mod(5, 0) from dual"),
            "2,-2,5");
  EXPECT_EQ(db.Value1("select decode(nvl(null,'NOT'),'UNIQUE','UNIQUE ','') || 'x' from dual"),
            "x");
}

TEST_F(DialectTest, NumbersReadAsOracleWritesThem) {
  EXPECT_EQ(db.Rows("select amount from t order by id"),
            (std::vector<std::string>{"10.5", ".25", ""}));
  EXPECT_EQ(db.Value1("select 1048576 / 1024 || 'K' from dual"), "1024K");
  EXPECT_EQ(db.Value1("select to_char(-0.5) from dual"), "-.5");
  EXPECT_EQ(db.Value1("select 7 / 2 from dual"), "3.5");
  EXPECT_EQ(db.Value1("select 1 + 6 / 3 * 2 from dual"), "5");
  EXPECT_EQ(db.QueryError("select 1 / (2 - 2) from dual"), 1476);
  EXPECT_EQ(db.Value1("select nvl(1 / null, -1) from dual"), "-1");
  EXPECT_EQ(db.Value1("select to_char(1234.5, 'FM9,999.00') || ' ' || to_char(7, '000') from dual"),
            "1,234.50  007");
  EXPECT_EQ(
      db.Value1("select round(2.567, 2) || ' ' || trunc(2.567, 1) || ' ' || round(-2.5) from dual"),
      "2.57 2.5 -3");
  EXPECT_EQ(db.Value1("select greatest(3, 9, 4) || least('b', 'a', 'c') || abs(-2) || ceil(1.2) || "
                      "floor(1.8) from dual"),
            "9a221");
  EXPECT_EQ(db.QueryError("select to_number('12x') from dual"), 1722);
  EXPECT_EQ(db.Value1("select decode('10', 10, 'numeric match', 'none') from dual"),
            "numeric match");
}

TEST_F(DialectTest, DateFunctionsAndLiterals) {
  EXPECT_EQ(db.Exec("alter session set nls_date_format = 'YYYY-MM-DD HH24:MI:SS'"), 0);
  EXPECT_EQ(db.Value1("select to_date('03.11.2009 17:05', 'DD.MM.YYYY HH24:MI') from dual"),
            "2009-11-03 17:05:00");
  EXPECT_EQ(db.Value1("select trunc(to_date('2009-11-03 17:05:00')) from dual"),
            "2009-11-03 00:00:00");
  EXPECT_EQ(db.Value1("select round(to_date('2009-12-31 12:00:00')) from dual"),
            "2010-01-01 00:00:00");
  EXPECT_EQ(db.Value1("select date '2020-02-29' from dual"), "2020-02-29 00:00:00");
  EXPECT_EQ(db.QueryError("select date '2021-02-29' from dual"), 1861);
  EXPECT_EQ(db.QueryError("select to_date('31/02/2020', 'DD/MM/YYYY') from dual"), 1861);
  EXPECT_EQ(db.QueryError("select to_char(sysdate, 'QQQ-XYZ') from dual"), 1821);
  EXPECT_EQ(
      db.Value1("select to_char(to_date('2024-07-04', 'YYYY-MM-DD'), 'fmDay, Month DD') from dual"),
      "Thursday, July 4");
  EXPECT_EQ(
      db.Value1("select count(*) from dual where sysdate > to_date('2000-01-01', 'YYYY-MM-DD')"),
      "1");
}

TEST_F(DialectTest, LikeIsCaseSensitiveAndNotEqualsWorks) {
  EXPECT_EQ(db.Rows("select id from t where name like 'A%'"), (std::vector<std::string>{"1"}));
  EXPECT_TRUE(db.Rows("select id from t where name like 'B%'").empty());
  EXPECT_EQ(db.Rows("select id from t where id != 1 and id <> 3"), (std::vector<std::string>{"2"}));
  EXPECT_EQ(db.Rows("select id from t where id ^= 1 order by 1"),
            (std::vector<std::string>{"2", "3"}));
}

TEST_F(DialectTest, SubqueriesJoinsAndOrdering) {
  db.Script(R"(
    create table u (id number, t_id number);
    insert into u values (10, 1);
    insert into u values (20, 3);
  )");
  EXPECT_EQ(db.Rows("select id from t where id in (select t_id from u) order by id desc"),
            (std::vector<std::string>{"3", "1"}));
  EXPECT_EQ(db.Rows("select id from t where id not in (select t_id from u)"),
            (std::vector<std::string>{"2"}));
  EXPECT_EQ(db.Rows("select t.name, u.id from t, u where t.id = u.t_id order by u.id"),
            (std::vector<std::string>{"Alpha|10", "O'Neil|20"}));
  EXPECT_EQ(db.Rows("select x.name from system.t x join u on u.t_id = x.id where u.id = 20"),
            (std::vector<std::string>{"O'Neil"}));
  EXPECT_EQ(db.Rows("select t.name from t where t.id = 2"), (std::vector<std::string>{"beta"}));
}

TEST_F(DialectTest, QuotedIdentifiersKeepTheirCase) {
  db.Script(R"(create table "Mixed Case" ("Col" varchar2(5), plain number);
               insert into "Mixed Case" values ('v', 1);)");
  EXPECT_EQ(db.Value1("select \"Col\" from \"Mixed Case\""), "v");
  EXPECT_EQ(db.QueryError("select * from mixed_case"), 942);
  EXPECT_EQ(db.Value1("select PLAIN from SYSTEM.\"Mixed Case\""), "1");
}

TEST_F(DialectTest, DictionaryNamesDualAndGlobalName) {
  EXPECT_EQ(db.Value1("select dummy from dual"), "X");
  EXPECT_EQ(db.Value1("select global_name from sys.global_name"), db.database().Name());
  EXPECT_EQ(db.Value1("select count(*) from sys.dual"), "1");
  EXPECT_EQ(db.Value1("select user from dual"), "SYSTEM");
  EXPECT_EQ(db.Value1("select count(*) from all_users where username = 'SYSTEM'"), "1");
}

TEST_F(DialectTest, BindsByNameAndUnboundPlaceholder) {
  MapBinds binds{{"ID", Value::Integer(2)}, {"NAME", Value::Text("beta")}};
  EXPECT_EQ(db.Rows("select id from t where id = :id and name = :Name or id = :ID + 10", binds),
            (std::vector<std::string>{"2"}));
  MapBinds empty{{"NAME", Value::Text("")}};
  EXPECT_TRUE(db.Rows("select id from t where name = :name", empty).empty());
  EXPECT_EQ(db.QueryError("select id from t where id = :missing"), 1008);
}

TEST_F(DialectTest, ErrorsOfStatementsTheServerCannotRun) {
  EXPECT_EQ(db.QueryError("select * from no_such_table"), 942);
  EXPECT_EQ(db.QueryError("select no_such_column from t"), 904);
  EXPECT_EQ(db.QueryError("select id from t;"), 911);
  EXPECT_EQ(db.QueryError("select 'unclosed from dual"), 1756);
  EXPECT_EQ(db.Exec("frobnicate the database"), 900);
  EXPECT_EQ(db.Exec("explain plan for select 1 from dual"), 900);
  EXPECT_EQ(db.Exec("insert into t values (1, 'dup', null, null)"), 1);
  EXPECT_NE(db.LastError().message.find("unique constraint (SYSTEM.SYS_C"), std::string::npos)
      << db.LastError().message;
}

}  // namespace
}  // namespace sandbox::test
