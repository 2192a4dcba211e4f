// A full run's report rebuilds its schema: a schema whose objects need each
// other across and within kinds (and the demo database) is scripted with
// every kind, the report is run into a fresh database, and that database must
// hold the same objects, all valid, the same dictionary and the same rows.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "tests/scripting/restore/ReplayFixture.h"

namespace {

using FullRunRoundTripTest = ReplayFixture;

// What a replay must give back beyond the tables: every object with its
// status, every line of stored source, and every row of the fixture's tables.
std::vector<DictionaryView> RestoredViews() {
  std::vector<DictionaryView> views = TableDictionaryViews();
  views.push_back({"user_objects", {"OBJECT_NAME", "OBJECT_TYPE", "STATUS"}});
  // A trigger's script starts with the keyword in capitals, as the
  // dictionary's description gives it.
  views.push_back({"user_source", {"NAME", "TYPE", "LINE", "UPPER(TEXT)"}});
  views.push_back({"user_sequences", {"SEQUENCE_NAME", "INCREMENT_BY", "CACHE_SIZE"}});
  views.push_back(
      {"user_triggers", {"TRIGGER_NAME", "TRIGGER_TYPE", "TRIGGERING_EVENT", "STATUS"}});
  views.push_back({"regions", {"REGION_ID", "REGION_NAME"}});
  views.push_back({"countries", {"COUNTRY_ID", "COUNTRY_NAME", "REGION_ID"}});
  views.push_back(
      {"departments", {"DEPARTMENT_ID", "DEPARTMENT_NAME", "MANAGER_ID", "COUNTRY_ID"}});
  views.push_back({"employees",
                   {"EMPLOYEE_ID", "FIRST_NAME", "LAST_NAME", "EMAIL", "SALARY", "DEPARTMENT_ID",
                    "MANAGER_ID"}});
  views.push_back({"audit_log", {"LOGGED_AT", "EMPLOYEE_ID", "ACTION"}});
  views.push_back({"accounts", {"ACCOUNT_ID"}});
  views.push_back({"price_list", {"ITEM_ID", "LIST_PRICE", "ITEM_NAME", "COST", "NOTE"}});
  views.push_back({"salary_history", {"EMPLOYEE_ID", "CHANGED", "SALARY"}});
  views.push_back({"band_counts_view", {"BAND", "STAFF"}});
  return views;
}

std::string Upper(std::string text) {
  for (char& c : text) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return text;
}

// Where text first stands in report, ignoring case: stored code keeps the
// case it was written in.
std::size_t FirstStatement(const std::string& report, const std::string& text) {
  const std::size_t at = Upper(report).find(text);
  EXPECT_NE(at, std::string::npos) << text;
  return at;
}

TEST_F(FullRunRoundTripTest, SchemaOfObjectsThatNeedEachOtherReplaysWhole) {
  const std::string source = "file:" + (directory / "source.db").string();
  const std::string target = "file:" + (directory / "target.db").string();
  const sandbox::testing::RunResult built = sandbox::testing::RunScript(
      "SYSTEM/manager@" + source,
      ReadWholeFile(QUILLMARK_SOURCE_DIR "/tests/scripting/restore/restore_schema.sql"));
  ASSERT_EQ(built.status, 0) << built.output;

  std::string errors;
  const std::string report = ScriptEverything("APP", "app", source, BatchKindNames(), &errors);
  // An identity column's sequence comes with its table: neither scripted on
  // its own nor listed as left out. Partitions are objects of their own,
  // scripted with their tables.
  EXPECT_EQ(report.find("CREATE SEQUENCE ISEQ$$"), std::string::npos);
  EXPECT_EQ(errors.find("not scripted"), std::string::npos) << errors;
  EXPECT_EQ(report.find("PARTITION SYS_P"), std::string::npos) << report;
  // The sections stand in restore order.
  const std::vector<std::string> order = {"GRANT CREATE TYPE TO APP",
                                          "CREATE SEQUENCE EMPLOYEES_SEQ",
                                          "CREATE OR REPLACE TYPE CORPORATE_CUSTOMER_TYP",
                                          "CREATE TABLE COUNTRIES",
                                          "INSERT INTO COUNTRIES",
                                          "CREATE INDEX EMP_NAME_IX",
                                          "CONSTRAINT COUNTRY_C_ID_PK",
                                          "CONSTRAINT COUNTR_REG_FK",
                                          "CREATE OR REPLACE FUNCTION SALARY_BAND",
                                          "CREATE OR REPLACE VIEW EMPLOYEE_DETAILS_VIEW",
                                          "CREATE OR REPLACE PACKAGE BODY HR_AUDIT",
                                          "CREATE OR REPLACE TYPE BODY ORDER_TYP",
                                          "CREATE OR REPLACE TRIGGER EMPLOYEES_AUDIT_TRG",
                                          "CREATE OR REPLACE TRIGGER EMPLOYEES_SALARY_TRG"};
  for (std::size_t at = 1; at < order.size(); ++at) {
    EXPECT_LT(FirstStatement(report, order[at - 1]), FirstStatement(report, order[at]))
        << order[at - 1] << " / " << order[at] << "\n"
        << report;
  }
  // Within the merged code section the package comes before the procedure
  // that calls it, although the procedure's kind and name come first.
  EXPECT_LT(FirstStatement(report, "CREATE OR REPLACE PACKAGE HR_AUDIT"),
            FirstStatement(report, "CREATE OR REPLACE PROCEDURE ADJUST_SALARY"));

  const sandbox::testing::RunResult replay = Replay("APP", "app", report, target);
  EXPECT_EQ(replay.status, 0) << replay.output;
  EXPECT_EQ(replay.output, "");

  const DictionarySnapshot before = Snapshot("APP", "app", source, RestoredViews());
  const DictionarySnapshot after = Snapshot("APP", "app", target, RestoredViews());
  EXPECT_EQ(DictionaryDifferences(before, after), "") << report;
  EXPECT_EQ(after.rows.at("employees").size(), 6u);
  EXPECT_EQ(after.rows.at("countries").size(), 3u);
  EXPECT_EQ(after.rows.at("salary_history").size(), 3u);
  const auto& partitions = after.rows.at("user_tab_partitions");
  EXPECT_EQ(
      std::count_if(partitions.begin(), partitions.end(),
                    [](const std::string& row) { return row.find("|YES") != std::string::npos; }),
      2)
      << ::testing::PrintToString(partitions);
  EXPECT_TRUE(after.rows.at("audit_log").empty()) << "a trigger fired on replayed rows";
  EXPECT_EQ(after.rows.at("user_triggers").size(), 2u);
  for (const std::string& object : after.rows.at("user_objects")) {
    EXPECT_EQ(object.substr(object.rfind('|')), "|VALID") << object;
  }
}

TEST_F(FullRunRoundTripTest, OrderEntrySchemaWithIdentityKeysAndJsonViewsReplaysWhole) {
  const std::string source = "file:" + (directory / "orders.db").string();
  const std::string target = "file:" + (directory / "orders-target.db").string();
  const sandbox::testing::RunResult built = sandbox::testing::RunScript(
      "SYSTEM/manager@" + source,
      ReadWholeFile(QUILLMARK_SOURCE_DIR "/tests/scripting/restore/order_entry_schema.sql"));
  ASSERT_EQ(built.status, 0) << built.output;
  std::string errors;
  const std::string report = ScriptEverything("CO", "co", source, BatchKindNames(), &errors);
  EXPECT_EQ(errors.find("not scripted"), std::string::npos) << errors;

  const sandbox::testing::RunResult replay = Replay("CO", "co", report, target);
  EXPECT_EQ(replay.status, 0) << replay.output;
  EXPECT_EQ(replay.output, "");
  // An identity column counts on from past the highest row, so its START
  // WITH is the rebuilt table's own.
  std::vector<DictionaryView> views = TableDictionaryViews();
  for (DictionaryView& view : views) {
    if (view.view == "user_tab_identity_cols") {
      view.columns.back() = "SUBSTR(IDENTITY_OPTIONS, INSTR(IDENTITY_OPTIONS, 'INCREMENT BY'))";
    }
  }
  views.push_back({"user_objects", {"OBJECT_NAME", "OBJECT_TYPE", "STATUS"}});
  views.push_back({"customers", {"CUSTOMER_ID", "EMAIL_ADDRESS", "FULL_NAME"}});
  views.push_back({"products",
                   {"PRODUCT_ID", "PRODUCT_NAME", "UNIT_PRICE",
                    "UTL_RAW.CAST_TO_VARCHAR2(DBMS_LOB.SUBSTR(PRODUCT_DETAILS))"}});
  views.push_back({"order_items", {"ORDER_ID", "LINE_ITEM_ID", "PRODUCT_ID", "QUANTITY"}});
  views.push_back({"inventory", {"INVENTORY_ID", "STORE_ID", "PRODUCT_ID"}});
  views.push_back({"store_orders", {"TOTAL", "STORE_NAME", "ORDER_STATUS", "TOTAL_SALES"}});
  views.push_back({"product_reviews", {"PRODUCT_NAME", "RATING", "REVIEW"}});
  views.push_back({"customer_order_products", {"ORDER_ID", "ORDER_TOTAL", "ITEMS"}});
  const DictionarySnapshot before = Snapshot("CO", "co", source, views);
  const DictionarySnapshot after = Snapshot("CO", "co", target, views);
  EXPECT_EQ(DictionaryDifferences(before, after), "") << report;
  EXPECT_EQ(after.rows.at("order_items").size(), 3u);
  EXPECT_EQ(after.rows.at("store_orders").size(), 7u);
  for (const std::string& object : after.rows.at("user_objects")) {
    EXPECT_EQ(object.substr(object.rfind('|')), "|VALID") << object;
  }
}

TEST_F(FullRunRoundTripTest, DemoDatabaseReportReplaysWithoutErrors) {
  std::string errors;
  const std::string report = ScriptEverything("DEMO", "demo", "demo", BatchKindNames(), &errors);
  // The users and roles the schema granted to are made by the report and
  // named in the run's summary.
  const std::string heading = "created by the report for its grants:\n";
  ASSERT_NE(errors.find(heading), std::string::npos) << errors;
  std::istringstream created(errors.substr(errors.find(heading) + heading.size()));
  std::vector<std::string> named;
  for (std::string line; std::getline(created, line);) {
    std::istringstream words(line);
    std::string prefix, kind, name;
    words >> prefix >> kind >> name;
    named.push_back(kind + " " + name.substr(0, name.size() - 1));
  }
  EXPECT_EQ(named,
            (std::vector<std::string>{"USER REPORT", "ROLE DEMO_CLERK", "ROLE DEMO_READER"}));
  EXPECT_NE(report.find("CREATE USER REPORT NO AUTHENTICATION;"), std::string::npos);

  // Into an empty database, with nothing made beforehand but the schema.
  const std::string target = "file:" + (directory / "demo-target.db").string();
  const sandbox::testing::RunResult replay = Replay("DEMO", "demo", report, target);
  EXPECT_EQ(replay.status, 0) << replay.output;
  EXPECT_EQ(replay.output, "");

  // Run by the schema's owner alone, which may create no user or role, only
  // the statements that need a DBA fail: the grants to the users and roles
  // it could not create are skipped, not errors.
  const std::string owned = "file:" + (directory / "demo-owned.db").string();
  ASSERT_EQ(sandbox::testing::RunScript("SYSTEM/manager@" + owned,
                                        "create user DEMO identified by demo;\n"
                                        "grant create session, create table, create view, "
                                        "create sequence, create procedure, create trigger, "
                                        "create synonym, create type to DEMO;\n")
                .status,
            0);
  const sandbox::testing::RunResult byOwner =
      sandbox::testing::RunScript("DEMO/demo@" + owned, report);
  std::istringstream failures(byOwner.output);
  for (std::string line; std::getline(failures, line);) {
    if (line.find("ORA-") != std::string::npos) {
      EXPECT_NE(line.find("ORA-01031"), std::string::npos) << line;
    }
  }
}

// A schema that audits its own DDL and logs its errors: replayed by its
// owner, the report must create its triggers (a compound one among them)
// without firing them, so that the logs it restored keep their rows, and
// nothing the report does after the triggers may fire them.
TEST_F(FullRunRoundTripTest, SystemTriggersAreCreatedWithoutFiringInTheReplay) {
  const std::string privileges =
      "create user AUD identified by aud;\n"
      "grant create session, create table, create view, create sequence, create procedure, "
      "create trigger, create synonym, create type to AUD;\n";
  const std::string source = "file:" + (directory / "audited.db").string();
  ASSERT_EQ(sandbox::testing::RunScript("SYSTEM/manager@" + source, privileges).status, 0);
  const sandbox::testing::RunResult built = sandbox::testing::RunScript("AUD/aud@" + source, R"(
create table ddl_log (who varchar2(30), event varchar2(30), obj_name varchar2(128));
create or replace trigger audit_ddl after create or alter or drop or grant on schema
begin
  insert into ddl_log values (ora_login_user, ora_sysevent, ora_dict_obj_name);
end;
/
create table items (id number primary key, name varchar2(20));
create or replace trigger items_name before insert on items for each row
begin
  :new.name := upper(:new.name);
end;
/
create table error_log (code number, message varchar2(400));
create or replace trigger error_logger after servererror on schema
declare
  pragma autonomous_transaction;
begin
  insert into error_log values (ora_server_error(1), ora_server_error_msg(1));
  commit;
end;
/
create or replace trigger keep_tables before drop on schema
begin
  if ora_dict_obj_type = 'TABLE' then
    raise_application_error(-20001, 'Tables stay');
  end if;
end;
/
create table item_counts (counted number);
create or replace trigger items_count
for insert or delete on items
compound trigger
  type id_list is table of number index by pls_integer;
  ids id_list;
  after each row is
  begin
    ids(ids.count + 1) := nvl(:new.id, :old.id);
  end after each row;
  after statement is
  begin
    delete from item_counts;
    insert into item_counts select count(*) from items;
  end after statement;
end items_count;
/
grant select on items to public;
insert into items values (1, 'pen');
insert into items values (2, 'ink');
commit;
)");
  ASSERT_EQ(built.status, 0) << built.output;
  // One logged error, which the replay must restore as it is.
  EXPECT_NE(
      sandbox::testing::RunScript("AUD/aud@" + source, "select * from no_such_table;\n").status, 0);
  const std::string report = ScriptEverything("AUD", "aud", source);
  EXPECT_LT(report.find("KEEP_TABLES"), report.find("AUDIT_DDL")) << report;
  // Were creating another trigger to fail, the error logger would log it.
  const std::size_t logger = FirstStatement(report, "TRIGGER ERROR_LOGGER AFTER");
  EXPECT_LT(FirstStatement(report, "TRIGGER KEEP_TABLES BEFORE"), logger) << report;
  EXPECT_LT(logger, FirstStatement(report, "TRIGGER AUDIT_DDL AFTER")) << report;

  const std::string target = "file:" + (directory / "audited-target.db").string();
  ASSERT_EQ(sandbox::testing::RunScript("SYSTEM/manager@" + target, privileges).status, 0);
  const sandbox::testing::RunResult replay =
      sandbox::testing::RunScript("AUD/aud@" + target, report);
  std::istringstream failures(replay.output);
  for (std::string line; std::getline(failures, line);) {
    if (line.find("ORA-") != std::string::npos) {
      EXPECT_NE(line.find("ORA-01031"), std::string::npos) << line;
    }
  }
  const std::vector<DictionaryView> views = {
      {"user_objects", {"OBJECT_NAME", "OBJECT_TYPE", "STATUS"}},
      {"user_triggers",
       {"TRIGGER_NAME", "TRIGGER_TYPE", "TRIGGERING_EVENT", "BASE_OBJECT_TYPE", "STATUS"}},
      {"ddl_log", {"WHO", "EVENT", "OBJ_NAME"}},
      {"items", {"ID", "NAME"}},
      {"error_log", {"CODE", "MESSAGE"}},
      {"item_counts", {"COUNTED"}},
      {"user_source", {"NAME", "TYPE", "LINE", "UPPER(TEXT)"}},
  };
  const DictionarySnapshot before = Snapshot("AUD", "aud", source, views);
  const DictionarySnapshot after = Snapshot("AUD", "aud", target, views);
  EXPECT_EQ(DictionaryDifferences(before, after), "") << report;
  EXPECT_EQ(after.rows.at("ddl_log").size(), 8u);
  EXPECT_EQ(after.rows.at("error_log").size(), 1u);
}

}  // namespace
