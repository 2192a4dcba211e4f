// Schemas in the shape of the samples Oracle publishes, which nobody here
// wrote: each is scripted whole, the report run into an empty database, and
// the rebuilt schema must hold the same dictionary, every object valid, and
// every table's rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "app/BatchRun.h"
#include "tests/oracle/SandboxClient.h"
#include "tests/scripting/restore/ReplayFixture.h"

namespace {

using PublishedSchemaRoundTripTest = ReplayFixture;

// What every replay must give back beyond the tables: the objects, their
// code, triggers, sequences, views, comments, synonyms and grants.
std::vector<DictionaryView> SchemaViews() {
  std::vector<DictionaryView> views = TableDictionaryViews();
  for (DictionaryView& other : OtherObjectDictionaryViews()) {
    // A report's lines end in CR LF, and so do those of the queries it made.
    for (std::string& column : other.columns) {
      if (column == "QUERY") {
        column = "REPLACE(QUERY, CHR(13))";
      }
    }
    views.push_back(std::move(other));
  }
  views.push_back({"user_source", {"NAME", "TYPE", "LINE", "UPPER(TEXT)"}});
  // An identity column's sequence counts on from the rebuilt rows; any
  // other sequence must start where it stood.
  views.push_back(
      {"user_sequences",
       {"SEQUENCE_NAME", "MIN_VALUE", "MAX_VALUE", "INCREMENT_BY", "CYCLE_FLAG", "ORDER_FLAG",
        "CACHE_SIZE", "CASE WHEN SEQUENCE_NAME LIKE 'ISEQ$$%' THEN 0 ELSE LAST_NUMBER END"}});
  views.push_back({"user_views", {"VIEW_NAME", "REPLACE(TEXT, CHR(13))"}});
  views.push_back({"user_triggers",
                   {"TRIGGER_NAME", "TRIGGER_TYPE", "TRIGGERING_EVENT", "TABLE_NAME", "STATUS"}});
  views.push_back({"user_views", {"VIEW_NAME", "READ_ONLY"}});
  views.push_back({"user_tables t", {"TABLE_NAME", "LOGGING"}});
  views.push_back({"user_part_tables t", {"TABLE_NAME", "DEF_LOGGING"}});
  views.push_back({"user_tab_partitions t", {"PARTITION_NAME", "LOGGING", "COMPRESS_FOR"}});
  views.push_back({"user_tab_subpartitions t", {"SUBPARTITION_NAME", "LOGGING"}});
  return views;
}

void ExpectAllValid(const DictionarySnapshot& snapshot) {
  for (const std::string& object : snapshot.rows.at("user_objects")) {
    EXPECT_EQ(object.substr(object.rfind('|')), "|VALID") << object;
  }
}

// The rows of a query on database, printed whole by the script runner (LOBs
// included), for contents past what a dictionary snapshot reads.
std::string QueryOutput(const std::string& connect, const std::string& query) {
  const sandbox::testing::RunResult result = sandbox::testing::RunScript(connect, query);
  EXPECT_EQ(result.status, 0) << result.output;
  return result.output;
}

TEST_F(PublishedSchemaRoundTripTest, HumanResourcesSchemaReplaysWhole) {
  const std::string source = "file:" + (directory / "hr.db").string();
  const std::string target = "file:" + (directory / "hr-target.db").string();
  const sandbox::testing::RunResult built = sandbox::testing::RunScript(
      "SYSTEM/manager@" + source,
      ReadWholeFile(QUILLMARK_SOURCE_DIR "/tests/scripting/restore/hr_schema.sql"));
  ASSERT_EQ(built.status, 0) << built.output;

  std::string errors;
  const std::string report = ScriptEverything("HR", "hr", source, BatchKindNames(), &errors);
  EXPECT_EQ(errors.find("not scripted"), std::string::npos) << errors;

  // The other schema and what it granted exist before the report runs, as
  // they would in a database the schema is restored into.
  const std::string payroll =
      "create user PAYROLL identified by payroll;\n"
      "create table PAYROLL.pay_grades (grade varchar2(2) primary key, low_pay number(8,2), "
      "high_pay number(8,2));\n"
      "insert into PAYROLL.pay_grades values ('A', 1000, 2999);\n"
      "insert into PAYROLL.pay_grades values ('B', 3000, 5999);\n"
      "insert into PAYROLL.pay_grades values ('C', 6000, 24999);\n"
      "grant select on PAYROLL.pay_grades to HR;\n";
  const sandbox::testing::RunResult replay = Replay("HR", "hr", report, target, "", payroll);
  EXPECT_EQ(replay.status, 0) << replay.output;
  EXPECT_EQ(replay.output, "");

  std::vector<DictionaryView> views = SchemaViews();
  views.push_back({"regions", {"REGION_ID", "REGION_NAME"}});
  views.push_back({"countries", {"COUNTRY_ID", "COUNTRY_NAME", "REGION_ID"}});
  views.push_back(
      {"locations",
       {"LOCATION_ID", "STREET_ADDRESS", "POSTAL_CODE", "CITY", "STATE_PROVINCE", "COUNTRY_ID"}});
  views.push_back(
      {"departments", {"DEPARTMENT_ID", "DEPARTMENT_NAME", "MANAGER_ID", "LOCATION_ID"}});
  views.push_back({"jobs", {"JOB_ID", "JOB_TITLE", "MIN_SALARY", "MAX_SALARY"}});
  views.push_back({"employees",
                   {"EMPLOYEE_ID", "FIRST_NAME", "LAST_NAME", "EMAIL", "PHONE_NUMBER",
                    "TO_CHAR(HIRE_DATE, 'YYYY-MM-DD HH24:MI:SS')", "JOB_ID", "SALARY",
                    "COMMISSION_PCT", "MANAGER_ID", "DEPARTMENT_ID"}});
  views.push_back({"job_history",
                   {"EMPLOYEE_ID", "TO_CHAR(START_DATE, 'YYYY-MM-DD HH24:MI:SS')",
                    "TO_CHAR(END_DATE, 'YYYY-MM-DD HH24:MI:SS')", "JOB_ID", "DEPARTMENT_ID"}});
  views.push_back({"emp_details_view", {"EMPLOYEE_ID", "DEPARTMENT_NAME", "CITY", "REGION_NAME"}});
  views.push_back({"emp_grades_view", {"EMPLOYEE_ID", "GRADE"}});
  const DictionarySnapshot before = Snapshot("HR", "hr", source, views);
  const DictionarySnapshot after = Snapshot("HR", "hr", target, views);
  EXPECT_EQ(DictionaryDifferences(before, after), "") << report;
  ExpectAllValid(after);
  EXPECT_EQ(after.rows.at("employees").size(), 10u);
  EXPECT_EQ(after.rows.at("job_history").size(), 4u);
  EXPECT_EQ(after.rows.at("user_triggers").size(), 2u);
  const auto& grants = after.rows.at("all_tab_privs");
  EXPECT_EQ(
      std::count_if(grants.begin(), grants.end(),
                    [](const std::string& row) { return row.rfind("HR|HR_READER|", 0) == 0; }),
      5)
      << ::testing::PrintToString(grants);
}

TEST_F(PublishedSchemaRoundTripTest, SalesHistoryWarehouseReplaysWhole) {
  const std::string source = "file:" + (directory / "sh.db").string();
  const std::string target = "file:" + (directory / "sh-target.db").string();
  const sandbox::testing::RunResult built = sandbox::testing::RunScript(
      "SYSTEM/manager@" + source,
      ReadWholeFile(QUILLMARK_SOURCE_DIR "/tests/scripting/restore/sales_history_schema.sql"));
  ASSERT_EQ(built.status, 0) << built.output;

  // The dimension is the one object the run leaves out, and it says so at
  // the end of the report and on standard error; a strict run fails.
  std::string errors;
  const std::string report = ScriptEverything("SH", "sh", source, BatchKindNames(), &errors);
  const std::string left = "1 object was not scripted because the tool does not script their kind:";
  EXPECT_NE(errors.find(left), std::string::npos) << errors;
  EXPECT_NE(errors.find("DIMENSION TIMES_DIM"), std::string::npos) << errors;
  EXPECT_NE(report.find(left), std::string::npos);
  EXPECT_NE(report.find("DIMENSION TIMES_DIM"), std::string::npos);
  BatchOptions strict = RunOptions("SH", "sh", source, BatchKindNames());
  strict.Strict = true;
  strict.ReportFile = (directory / "strict.sql").string();
  std::ostringstream output, strictErrors;
  EXPECT_EQ(RunBatch(strict, *SandboxSettings(), output, strictErrors), BatchReportIncomplete)
      << strictErrors.str();

  // Text whose lines a script tool would take for its own comes in pieces.
  EXPECT_NE(report.find("'Ends with;'\r\n|| CHR(10)\r\n|| CHR(10)\r\n|| '/'"), std::string::npos);
  // A container table's indexes follow their view, and only when indexes
  // are chosen.
  EXPECT_LT(report.find("CREATE MATERIALIZED VIEW CAL_MONTH_SALES_MV"),
            report.find("CREATE INDEX CAL_MONTH_MV_IX"));
  std::vector<std::string> kinds = BatchKindNames();
  std::erase(kinds, "indexes");
  EXPECT_EQ(ScriptEverything("SH", "sh", source, kinds).find("CAL_MONTH_MV_IX"), std::string::npos);

  const sandbox::testing::RunResult replay = Replay("SH", "sh", report, target);
  EXPECT_EQ(replay.status, 0) << replay.output;
  EXPECT_EQ(replay.output, "");

  std::vector<DictionaryView> views = SchemaViews();
  for (DictionaryView& view : views) {
    if (view.view == "user_objects") {
      view.view = "user_objects where object_type <> 'DIMENSION'";
    }
  }
  // The identity column counts on past the highest row in the rebuilt table.
  for (DictionaryView& view : views) {
    if (view.view == "user_tab_identity_cols") {
      view.columns.back() = "SUBSTR(IDENTITY_OPTIONS, INSTR(IDENTITY_OPTIONS, 'INCREMENT BY'))";
    }
  }
  views.push_back({"countries", {"COUNTRY_ID", "COUNTRY_ISO_CODE", "COUNTRY_NAME"}});
  views.push_back({"channels", {"CHANNEL_ID", "CHANNEL_DESC", "CHANNEL_CLASS"}});
  views.push_back({"times",
                   {"TO_CHAR(TIME_ID, 'YYYY-MM-DD HH24:MI:SS')", "DAY_NAME",
                    "CALENDAR_QUARTER_DESC", "TO_CHAR(END_OF_CAL_MONTH, 'YYYY-MM-DD')"}});
  views.push_back({"customers",
                   {"CUST_ID", "CUST_FIRST_NAME", "CUST_LAST_NAME", "CUST_GENDER",
                    "CUST_MARITAL_STATUS", "CUST_STREET_ADDRESS", "CUST_CITY", "CUST_CREDIT_LIMIT",
                    "CUST_EMAIL", "CUST_VALID", "CUST_INITIAL", "CUST_TITLE"}});
  views.push_back({"products",
                   {"PROD_ID", "PROD_NAME", "PROD_DESC", "PROD_LIST_PRICE", "PROD_MIN_PRICE",
                    "PROD_EFF_FROM", "PROD_VALID"}});
  views.push_back({"promotions", {"PROMO_ID", "PROMO_NAME", "PROMO_COST", "PROMO_END_DATE"}});
  views.push_back({"sales",
                   {"PROD_ID", "CUST_ID", "TO_CHAR(TIME_ID, 'YYYY-MM-DD')", "CHANNEL_ID",
                    "PROMO_ID", "QUANTITY_SOLD", "AMOUNT_SOLD"}});
  views.push_back({"costs", {"PROD_ID", "TO_CHAR(TIME_ID, 'YYYY-MM-DD')", "UNIT_COST"}});
  views.push_back(
      {"channel_sales_history", {"TO_CHAR(TIME_ID, 'YYYY-MM-DD')", "CHANNEL_ID", "AMOUNT_SOLD"}});
  views.push_back({"monthly_sales_view", {"CALENDAR_MONTH_DESC", "DOLLARS", "THOUSANDS"}});
  views.push_back({"fweek_pscat_sales_mv", {"CALENDAR_YEAR", "PROD_CATEGORY", "DOLLARS"}});
  const DictionarySnapshot before = Snapshot("SH", "sh", source, views);
  const DictionarySnapshot after = Snapshot("SH", "sh", target, views);
  EXPECT_EQ(DictionaryDifferences(before, after), "") << report;
  for (const std::string& object : after.rows.at("user_objects where object_type <> 'DIMENSION'")) {
    EXPECT_EQ(object.substr(object.rfind('|')), "|VALID") << object;
  }
  EXPECT_EQ(after.rows.at("sales").size(), 6u);
  EXPECT_EQ(after.rows.at("user_tab_subpartitions").size(), 9u);
  EXPECT_EQ(after.rows.at("user_mviews").size(), 2u);

  // The notes, LOBs of more than 32 KB among them, whole and byte for byte.
  const std::string notes =
      "select note_id, promo_id, title, length(body), body, attachment, checksum\n"
      "  from promotion_notes order by note_id;\n";
  const std::string restored = QueryOutput("SH/sh@" + target, notes);
  EXPECT_EQ(restored, QueryOutput("SH/sh@" + source, notes));
  EXPECT_NE(restored.find("|38006|Notes\nLine 0001: naïve café 'quoted' & more\n"),
            std::string::npos)
      << restored.substr(0, 400);
}

}  // namespace

namespace {

// Texts whose lines a command-line SQL tool would take for its own come back
// byte for byte, and so does every row.
TEST_F(PublishedSchemaRoundTripTest, ProductMediaTextsWithToolLinesReplayWhole) {
  const std::string source = "file:" + (directory / "pm.db").string();
  const std::string target = "file:" + (directory / "pm-target.db").string();
  const sandbox::testing::RunResult built = sandbox::testing::RunScript(
      "SYSTEM/manager@" + source,
      ReadWholeFile(QUILLMARK_SOURCE_DIR "/tests/scripting/restore/product_media_schema.sql"));
  ASSERT_EQ(built.status, 0) << built.output;

  std::string errors;
  const std::string report = ScriptEverything("PM", "pm", source, BatchKindNames(), &errors);
  const sandbox::testing::RunResult replay = Replay("PM", "pm", report, target);
  EXPECT_EQ(replay.status, 0) << replay.output;
  EXPECT_EQ(replay.output, "");

  std::vector<DictionaryView> views = SchemaViews();
  views.push_back({"product_information", {"PRODUCT_ID", "PRODUCT_NAME", "PRODUCT_DESCRIPTION"}});
  views.push_back({"product_price_view", {"PRODUCT_ID", "PRODUCT_NAME", "QUARTER", "TAG"}});
  views.push_back({"dual", {"UNIT_PRICE(10, 4)"}});
  const DictionarySnapshot before = Snapshot("PM", "pm", source, views);
  const DictionarySnapshot after = Snapshot("PM", "pm", target, views);
  EXPECT_EQ(DictionaryDifferences(before, after), "") << report;
  ExpectAllValid(after);

  // Oracle refuses a string expression of more than 4,000 bytes in SQL
  // (ORA-01489), which the sandbox lets pass: a plain INSERT of a release
  // must not carry more.
  for (std::size_t at = report.find("\nINSERT INTO PRINT_MEDIA"); at != std::string::npos;
       at = report.find("\nINSERT INTO PRINT_MEDIA", at + 1)) {
    EXPECT_LT(report.find(");\r\n", at) - at, 4300u) << report.substr(at, 200);
  }
  const std::string releases =
      "select product_id, ad_id, ad_header, press_release, ad_footer from print_media order by 1, "
      "2;\n";
  EXPECT_EQ(QueryOutput("PM/pm@" + target, releases), QueryOutput("PM/pm@" + source, releases));
}

}  // namespace
