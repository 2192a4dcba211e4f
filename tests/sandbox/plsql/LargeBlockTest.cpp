// One larger block in the style of the table DDL generator, mixing cursors
// with parameters, %TYPE declarations, a stateful line writer, size texts,
// nested blocks with handlers and the closing WHEN OTHERS, with its exact
// output over a stand-in dictionary.
#include <gtest/gtest.h>

#include "BlockRunner.h"
#include "FakeSession.h"
#include "TableDdlBlock.h"

namespace sandbox::plsql::testing {
namespace {

using Lines = std::vector<std::string>;

const char kTabQuery[] =
    "select upper(owner), upper(table_name), pct_free, pct_used, ini_trans, max_trans, "
    "tablespace_name, initial_extent, next_extent, min_extents, max_extents, freelists, "
    "freelist_groups, pct_increase from all_tables where owner != 'SYS' AND owner = :bind1 AND "
    "table_name = :bind2 order by owner, table_name";
const char kColQuery[] =
    "select owner, upper(column_name), upper(data_type), data_length, data_precision, "
    "data_scale, nullable, default_length, data_default, column_id from all_tab_columns where "
    "table_name = :PLSQL_B1 and owner = :PLSQL_B2 order by column_id";
const char kCountQuery[] = "select count(*) from all_tab_columns where owner = :PLSQL_B1";

class LargeBlockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    session_.AddTable(
        "ALL_TABLES",
        {TextColumn("OWNER", 128), TextColumn("TABLE_NAME", 128), NumberColumn("PCT_FREE"),
         NumberColumn("PCT_USED"), NumberColumn("INI_TRANS"), NumberColumn("MAX_TRANS"),
         TextColumn("TABLESPACE_NAME", 30), NumberColumn("INITIAL_EXTENT"),
         NumberColumn("NEXT_EXTENT"), NumberColumn("MIN_EXTENTS"), NumberColumn("MAX_EXTENTS"),
         NumberColumn("FREELISTS"), NumberColumn("FREELIST_GROUPS"), NumberColumn("PCT_INCREASE")});
    std::vector<ColumnInfo> tabColumns = {
        TextColumn("OWNER", 128),       TextColumn("TABLE_NAME", 128),
        TextColumn("COLUMN_NAME", 128), TextColumn("DATA_TYPE", 128),
        NumberColumn("DATA_LENGTH"),    NumberColumn("DATA_PRECISION"),
        NumberColumn("DATA_SCALE"),     TextColumn("NULLABLE", 1),
        NumberColumn("DEFAULT_LENGTH"), TextColumn("DATA_DEFAULT", 0),
        NumberColumn("COLUMN_ID")};
    tabColumns[9].dataType = 8;  // LONG
    session_.AddTable("ALL_TAB_COLUMNS", tabColumns);

    FakeQuery tables;
    for (const char* name : {"UPPER(OWNER)", "UPPER(TABLE_NAME)"})
      tables.columns.push_back(TextColumn(name, 128));
    for (const char* name : {"PCT_FREE", "PCT_USED", "INI_TRANS", "MAX_TRANS"})
      tables.columns.push_back(NumberColumn(name));
    tables.columns.push_back(TextColumn("TABLESPACE_NAME", 30));
    for (const char* name : {"INITIAL_EXTENT", "NEXT_EXTENT", "MIN_EXTENTS", "MAX_EXTENTS",
                             "FREELISTS", "FREELIST_GROUPS", "PCT_INCREASE"}) {
      tables.columns.push_back(NumberColumn(name));
    }
    tables.rows = [](const BindSet& binds) {
      if (binds.Get("BIND1").text != "DEMO" || binds.Get("BIND2").text != "T")
        return std::vector<Row>{};
      return std::vector<Row>{{Value::Text("DEMO"), Value::Text("T"), Value::Integer(10),
                               Value::Integer(40), Value::Integer(0), Value::Integer(255),
                               Value::Text("USERS"), Value::Integer(65536), Value::Integer(1048576),
                               Value::Integer(1), Value::Integer(121), Value::Integer(1),
                               Value::Integer(1), Value::Integer(0)}};
    };
    session_.AddQuery(kTabQuery, tables);

    FakeQuery columns;
    columns.columns = {TextColumn("OWNER", 128),
                       TextColumn("UPPER(COLUMN_NAME)", 128),
                       TextColumn("UPPER(DATA_TYPE)", 128),
                       NumberColumn("DATA_LENGTH"),
                       NumberColumn("DATA_PRECISION"),
                       NumberColumn("DATA_SCALE"),
                       TextColumn("NULLABLE", 1),
                       NumberColumn("DEFAULT_LENGTH"),
                       TextColumn("DATA_DEFAULT", 0),
                       NumberColumn("COLUMN_ID")};
    columns.rows = [](const BindSet& binds) {
      if (binds.Get("PLSQL_B1").text != "T" || binds.Get("PLSQL_B2").text != "DEMO")
        return std::vector<Row>{};
      return std::vector<Row>{{Value::Text("DEMO"), Value::Text("ID"), Value::Text("NUMBER"),
                               Value::Integer(22), Value::Integer(10), Value::Integer(0),
                               Value::Text("N"), Value::Null(), Value::Null(), Value::Integer(1)},
                              {Value::Text("DEMO"), Value::Text("NAME"), Value::Text("VARCHAR2"),
                               Value::Integer(30), Value::Null(), Value::Null(), Value::Text("Y"),
                               Value::Integer(3), Value::Text("'x'"), Value::Integer(2)}};
    };
    session_.AddQuery(kColQuery, columns);
    session_.AddQuery(
        kCountQuery,
        {{NumberColumn("COUNT(*)")}, [](const BindSet& binds) {
           return std::vector<Row>{{Value::Integer(binds.Get("PLSQL_B1").text == "DEMO" ? 11 : 0)}};
         }});
  }

  BlockResult Run(const std::string& owner, const std::string& table, const std::string& storage,
                  const std::string& pct) {
    MapBinds binds;
    binds.values["BIND1"] = Value::Text(owner);
    binds.values["BIND2"] = Value::Text(table);
    binds.values["BIND3"] = Value::Text(storage);
    binds.values["BIND4"] = Value::Text(pct);
    return RunBlock(session_, kTableDdlBlock, binds);
  }

  FakeSession session_;
};

TEST_F(LargeBlockTest, PrintsTheTableDdl) {
  BlockResult r = Run("DEMO", "T", "Y", "Y");
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines, (Lines{"CREATE TABLE T (",
                            "\t ID\tNUMBER(10)\tNOT NULL",
                            "\t,NAME\tVARCHAR2(30) DEFAULT 'x'\t    NULL",
                            ")",
                            "PCTFREE  10",
                            "PCTUSED  40",
                            "INITRANS 1",
                            "MAXTRANS 255",
                            "TABLESPACE USERS",
                            "    STORAGE (",
                            "\tINITIAL 64K",
                            "\tNEXT 1M",
                            "\tMINEXTENTS 1",
                            "\tMAXEXTENTS 121",
                            "\tPCTINCREASE 0",
                            "\tFREELISTS 1 FREELIST GROUPS 1",
                            "        )",
                            "/",
                            "-- tables 1, columns 2, lines 18",
                            "-- dictionary columns 11",
                            "-- odd"}));
}

TEST_F(LargeBlockTest, OptionsOffAndAMissingTable) {
  BlockResult r = Run("DEMO", "T", "N", "N");
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines,
            (Lines{"CREATE TABLE T (", "\t ID\tNUMBER(10)\tNOT NULL",
                   "\t,NAME\tVARCHAR2(30) DEFAULT 'x'\t    NULL", ")", "/",
                   "-- tables 1, columns 2, lines 5", "-- dictionary columns 11", "-- odd"}));
  r = Run("DEMO", "NONE", "Y", "Y");
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines, (Lines{"-- tables 0, columns 0, lines 0", "-- dictionary columns 0"}));
}

TEST_F(LargeBlockTest, AnEmptySettingIsNotBoundAndTheBlockFails) {
  MapBinds binds;
  binds.values["BIND1"] = Value::Text("DEMO");
  binds.values["BIND2"] = Value::Text("T");
  binds.values["BIND3"] = Value::Text("Y");
  BlockResult r = RunBlock(session_, kTableDdlBlock, binds);
  EXPECT_EQ(r.Error(), "ORA-01008: not all variables bound");
  EXPECT_TRUE(r.lines.empty());
}

}  // namespace
}  // namespace sandbox::plsql::testing
