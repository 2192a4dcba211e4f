// LOB locators of table rows: which statements give one, and what a write
// through one reaches; the rest is in the plsql_dbms_lob conformance script.
#include <gtest/gtest.h>

#include "tests/sandbox/server/ServerTestSession.h"

namespace sandbox::test {
namespace {

TEST(LobLocatorTest, QuotedNamesAliasesAndOwnersLocateTheRow) {
  ServerTestSession s;
  s.Script("create table \"Docs\" (id number, \"Body\" clob, other clob)");
  s.Script("insert into \"Docs\" values (1, 'a', 'x')");
  s.Script("insert into \"Docs\" values (2, 'b', 'y')");
  ASSERT_EQ(s.Exec("declare v clob; w clob; begin select d.\"Body\" as b, other into v, w "
                   "from system.\"Docs\" d where d.id = 2 for update; "
                   "dbms_lob.writeappend(v, 3, 'new'); dbms_lob.writeappend(w, 1, 'z'); end;"),
            0)
      << s.LastError().message;
  EXPECT_EQ(s.Rows("select \"Body\", other from \"Docs\" order by id"),
            (std::vector<std::string>{"a|x", "bnew|yz"}));
}

TEST(LobLocatorTest, OnlyColumnsOfOneTableAreLocators) {
  ServerTestSession s;
  s.Script("create table t (id number, c clob, n varchar2(10))");
  s.Script("insert into t values (1, 'a', 'n')");
  // An expression over the column, or a join, gives a temporary LOB: it
  // takes writes and the row stays as it was.
  ASSERT_EQ(s.Exec("declare v clob; begin select c || '' into v from t for update; "
                   "dbms_lob.writeappend(v, 1, 'x'); "
                   "select x.c into v from t x, dual where x.id = 1; "
                   "dbms_lob.writeappend(v, 1, 'y'); "
                   "if dbms_lob.istemporary(v) != 1 then raise program_error; end if; end;"),
            0)
      << s.LastError().message;
  EXPECT_EQ(s.Value1("select c from t"), "a");
  // A VARCHAR2 column into a CLOB variable is no locator either.
  EXPECT_EQ(s.Exec("declare v clob; begin select n into v from t for update; "
                   "dbms_lob.writeappend(v, 1, 'x'); end;"),
            0);
  EXPECT_EQ(s.Value1("select n from t"), "n");
  // Nor is a view's column: its rows have no ROWID to write through.
  s.Script("create view tv as select id, c from t");
  EXPECT_EQ(s.Exec("declare v clob; begin select c into v from tv for update; "
                   "dbms_lob.writeappend(v, 1, 'x'); end;"),
            0);
  EXPECT_EQ(s.Value1("select c from t"), "a");
}

TEST(LobLocatorTest, NullAndEmptyColumnsAreToldApart) {
  ServerTestSession s;
  s.Script("create table t (id number, c clob, b blob)");
  // RETURNING gives an empty LOB back as NULL; the locator still finds it.
  ASSERT_EQ(s.Exec("declare v clob; w blob; begin insert into t values (1, empty_clob(), "
                   "empty_blob()) returning c, b into v, w; dbms_lob.writeappend(v, 1, 'c'); "
                   "dbms_lob.writeappend(w, 1, hextoraw('0B')); end;"),
            0)
      << s.LastError().message;
  EXPECT_EQ(s.Value1("select c || ' ' || rawtohex(b) from t"), "c 0B");
  // A NULL column locates no LOB.
  EXPECT_EQ(s.Exec("declare v clob; begin insert into t values (2, null, null) returning c "
                   "into v; dbms_lob.writeappend(v, 1, 'c'); end;"),
            22275);
  // Trimmed to nothing, the column is an empty LOB again, not NULL.
  EXPECT_EQ(s.Exec("declare v clob; begin select c into v from t where id = 1 for update; "
                   "dbms_lob.trim(v, 0); select c into v from t where id = 1; "
                   "if v is null or dbms_lob.getlength(v) != 0 then raise program_error; "
                   "end if; end;"),
            0);
  EXPECT_EQ(s.Value1("select nvl2(c, 'empty', 'null') from t where id = 1"), "empty");
}

TEST(LobLocatorTest, ALocatorKeepsItsRowThroughAssignmentsAndCalls) {
  ServerTestSession s;
  s.Script("create table t (id number, c clob)");
  s.Script("insert into t values (1, 'a')");
  s.Script(
      "create procedure grow(l in out clob) is begin dbms_lob.writeappend(l, 1, 'p'); end;\n/\n");
  ASSERT_EQ(s.Exec("declare v clob; w clob; begin select c into v from t for update; w := v; "
                   "dbms_lob.writeappend(w, 1, 'w'); grow(w); "
                   "if w != 'awp' then raise program_error; end if; end;"),
            0)
      << s.LastError().message;
  EXPECT_EQ(s.Value1("select c from t"), "awp");
}

}  // namespace
}  // namespace sandbox::test
