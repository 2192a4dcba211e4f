// Cursors, cursor FOR loops, SELECT INTO and DML inside blocks, against a
// stand-in session: the SQL text sent, the binds it gets and the rows read.
#include <gtest/gtest.h>

#include "BlockRunner.h"
#include "FakeSession.h"

namespace sandbox::plsql::testing {
namespace {

using Lines = std::vector<std::string>;

const char kColumnQuery[] =
    "select upper(column_name), column_id from all_tab_columns where table_name = :PLSQL_B1 "
    "and owner = :PLSQL_B2 order by column_id";

class CursorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session_.AddTable("ALL_TAB_COLUMNS",
                      {TextColumn("OWNER", 128), TextColumn("TABLE_NAME", 128),
                       TextColumn("COLUMN_NAME", 128), NumberColumn("COLUMN_ID")});
    // Columns of table T for owner DEMO; of U for anyone.
    session_.AddQuery(kColumnQuery,
                      {{TextColumn("UPPER(COLUMN_NAME)", 128), NumberColumn("COLUMN_ID")},
                       [](const BindSet& binds) {
                         const Value table = binds.Get("PLSQL_B1");
                         if (table.text == "T" && binds.Get("PLSQL_B2").text == "DEMO") {
                           return std::vector<Row>{{Value::Text("ID"), Value::Integer(1)},
                                                   {Value::Text("NAME"), Value::Integer(2)}};
                         }
                         if (table.text == "U")
                           return std::vector<Row>{{Value::Text("X"), Value::Integer(1)}};
                         return std::vector<Row>{};
                       }});
  }
  BlockResult Run(const std::string& block) { return RunBlock(session_, block); }
  FakeSession session_;
};

const char kCursorDeclaration[] =
    "declare\n"
    "  cursor col_cursor (c_own varchar2, c_tab varchar2) is\n"
    "    select upper(column_name), column_id from all_tab_columns\n"
    "    where table_name = c_tab and owner = c_own order by column_id;\n";

TEST_F(CursorTest, CursorWithParametersOpenedTwice) {
  BlockResult r = Run(std::string(kCursorDeclaration) +
                      "  lv_name all_tab_columns.column_name%TYPE;\n"
                      "  lv_id number;\n"
                      "begin\n"
                      "  for t in 1..2 loop\n"
                      "    open col_cursor('DEMO', 'T');\n"
                      "    loop\n"
                      "      fetch col_cursor into lv_name, lv_id;\n"
                      "      exit when col_cursor%notfound;\n"
                      "      dbms_output.put_line(t || ':' || lv_id || ' ' || lv_name ||\n"
                      "        ' #' || col_cursor%rowcount);\n"
                      "    end loop;\n"
                      "    if col_cursor%isopen then close col_cursor; end if;\n"
                      "  end loop;\n"
                      "  if not col_cursor%isopen then dbms_output.put_line('closed'); end if;\n"
                      "  for r in col_cursor('OTHER', 'U') loop\n"
                      "    dbms_output.put_line(r.column_id);\n"
                      "  end loop;\n"
                      "end;");
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines,
            (Lines{"1:1 ID #1", "1:2 NAME #2", "2:1 ID #1", "2:2 NAME #2", "closed", "1"}));
  EXPECT_EQ(session_.LastBinds(kColumnQuery)["PLSQL_B2"].text, "OTHER");
}

TEST_F(CursorTest, CursorAttributesBeforeAndAfterFetching) {
  BlockResult r = Run(std::string(kCursorDeclaration) +
                      "  rec col_cursor%ROWTYPE;\n"
                      "begin\n"
                      "  open col_cursor('DEMO', 'NONE');\n"
                      "  if col_cursor%found is null and col_cursor%notfound is null then\n"
                      "    dbms_output.put_line('unknown before fetch');\n"
                      "  end if;\n"
                      "  fetch col_cursor into rec;\n"
                      "  if col_cursor%notfound and rec.column_id is null then\n"
                      "    dbms_output.put_line('none ' || col_cursor%rowcount);\n"
                      "  end if;\n"
                      "  close col_cursor;\n"
                      "  open col_cursor('DEMO', 'T');\n"
                      "  open col_cursor('DEMO', 'T');\n"
                      "end;");
  EXPECT_EQ(r.lines, (Lines{"unknown before fetch", "none 0"}));
  EXPECT_EQ(r.Error(), "ORA-06511: PL/SQL: cursor already open\nORA-06512: at line 17");

  r = Run(std::string(kCursorDeclaration) +
          "  n number;\nbegin\n  fetch col_cursor into n, n;\nend;");
  EXPECT_EQ(r.Error(), "ORA-01001: invalid cursor\nORA-06512: at line 7");
}

TEST_F(CursorTest, ColumnsOfTheQueriedTableWinOverVariables) {
  // table_name is both a block variable and a column: the column wins.
  session_.AddQuery("select count(*) from all_tab_columns where table_name = :PLSQL_B1",
                    {{NumberColumn("COUNT(*)")},
                     [](const BindSet&) { return std::vector<Row>{{Value::Integer(7)}}; }});
  session_.AddQuery("select count(*) from all_tab_columns where table_name = table_name",
                    {{NumberColumn("COUNT(*)")},
                     [](const BindSet&) { return std::vector<Row>{{Value::Integer(99)}}; }});
  BlockResult r =
      Run("declare\n"
          "  table_name varchar2(30) := 'T';\n"
          "  lv_tab varchar2(30) := 'T';\n"
          "  n number;\n"
          "begin\n"
          "  select count(*) into n from all_tab_columns where table_name = lv_tab;\n"
          "  dbms_output.put_line(n || ' ' || sql%rowcount);\n"
          "  select count(*) into n from all_tab_columns where table_name = table_name;\n"
          "  dbms_output.put_line(n);\n"
          "end;");
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines, (Lines{"7 1", "99"}));
}

TEST_F(CursorTest, TypeAnchorsTakeTheColumnConstraints) {
  ColumnInfo ratio = NumberColumn("RATIO", 126, -127);  // FLOAT
  session_.AddTable("MEASURES", {TextColumn("CODE", 3), NumberColumn("AMOUNT", 5, 2), ratio});
  BlockResult r =
      Run("declare\n"
          "  r measures%ROWTYPE;\n"
          "  a measures.amount%TYPE := 1.005;\n"
          "  f measures.ratio%TYPE := 1234.5678;\n"
          "begin\n"
          "  r.amount := 999.994;\n"
          "  dbms_output.put_line(a || ' ' || f || ' ' || r.amount);\n"
          "  r.code := 'ABCD';\n"
          "end;");
  EXPECT_EQ(r.lines, (Lines{"1.01 1234.5678 999.99"}));
  EXPECT_EQ(r.Error(),
            "ORA-06502: PL/SQL: numeric or value error: character string buffer too small\n"
            "ORA-06512: at line 8");
}

TEST_F(CursorTest, AliasesAreNotTakenForVariables) {
  session_.AddQuery(
      "select count(*) n from all_tab_columns t where t.owner = :PLSQL_B1",
      {{NumberColumn("N")}, [](const BindSet& binds) {
         return std::vector<Row>{{Value::Integer(binds.Get("PLSQL_B1").text == "X" ? 4 : 0)}};
       }});
  BlockResult r =
      Run("declare\n  n number;\n  t number;\n  o varchar2(5) := 'X';\nbegin\n"
          "  select count(*) n into n from all_tab_columns t where t.owner = o;\n"
          "  dbms_output.put_line(n);\nend;");
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines, (Lines{"4"}));
}

TEST_F(CursorTest, SelectIntoNoDataAndTooManyRows) {
  const std::string declare = "declare\n  n number;\n  s varchar2(30);\nbegin\n";
  BlockResult r =
      Run(declare +
          "  select column_id, upper(column_name) into n, s "
          "from all_tab_columns where table_name = s and owner = s order by column_id;\nend;");
  // No such query on the stand-in: the block fails to compile.
  EXPECT_EQ(r.Error(),
            "ORA-06550: line 5, column 3:\nPL/SQL: ORA-00942: table or view does not "
            "exist\nORA-06550: line 5, column 3:\nPL/SQL: SQL Statement ignored");

  session_.AddQuery("select column_id from all_tab_columns where table_name = :PLSQL_B1",
                    {{NumberColumn("COLUMN_ID")}, [](const BindSet& binds) {
                       std::vector<Row> rows;
                       const int count = std::stoi("0" + binds.Get("PLSQL_B1").text);
                       for (int i = 0; i < count; ++i)
                         rows.push_back({Value::Integer(i + 1)});
                       return rows;
                     }});
  const std::string select =
      "  select column_id into n from all_tab_columns where table_name = s;\n";
  r = Run(declare + "  s := '0';\n" + select + "end;");
  EXPECT_EQ(r.Error(), "ORA-01403: no data found\nORA-06512: at line 6");
  r = Run(declare + "  s := '2';\n" + select + "end;");
  EXPECT_EQ(r.Error(),
            "ORA-01422: exact fetch returns more than requested number of rows\n"
            "ORA-06512: at line 6");
  r = Run(declare + "  s := '1';\n" + select +
          "  dbms_output.put_line('one ' || n);\n"
          "exception when no_data_found then dbms_output.put_line('none');\nend;");
  EXPECT_EQ(r.lines, (Lines{"one 1"}));
  r = Run(declare + "  s := '0';\n" + select +
          "exception when no_data_found then dbms_output.put_line('none');\nend;");
  EXPECT_EQ(r.lines, (Lines{"none"}));
}

TEST_F(CursorTest, DmlCommitAndRollbackGoToTheSession) {
  BlockResult r =
      Run("declare\n  v number := 5;\nbegin\n"
          "  update t set a = v where b = :bnd;\n"
          "  dbms_output.put_line(sql%rowcount);\n"
          "  commit;\n"
          "  rollback work;\n"
          "end;");
  // :bnd is not bound: the block does not run.
  EXPECT_EQ(r.Error(), "ORA-01008: not all variables bound");
  MapBinds binds;
  binds.values["BND"] = Value::Text("x");
  r = RunBlock(session_,
               "declare\n  v number := 5;\nbegin\n"
               "  update t set a = v where b = :bnd;\n"
               "  dbms_output.put_line(sql%rowcount);\n"
               "  commit;\n"
               "  rollback work;\n"
               "end;",
               binds);
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines, (Lines{"3"}));
  const auto& sent = session_.Statements();
  ASSERT_GE(sent.size(), 3u);
  EXPECT_EQ(sent[sent.size() - 3], "update t set a = :PLSQL_B1 where b = :bnd");
  EXPECT_EQ(session_.LastBinds("update t set a = :PLSQL_B1 where b = :bnd")["PLSQL_B1"].text, "5");
  EXPECT_EQ(sent[sent.size() - 2], "commit");
  EXPECT_EQ(sent[sent.size() - 1], "rollback work");
}

}  // namespace
}  // namespace sandbox::plsql::testing
