// The schema's other objects (synonyms, grants it made, a database link, a
// materialized view with its log and comment) scripted headless, replayed
// into a fresh database and compared dictionary to dictionary; and the
// coverage list of a schema holding kinds the tool does not script.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/BatchOptions.h"
#include "app/BatchRun.h"
#include "tests/oracle/SandboxClient.h"
#include "tests/sandbox/oci/RunProgram.h"
#include "tests/scripting/DictionarySnapshot.h"

namespace {

// The users and roles both databases need, made as SYSTEM.
const char* const Accounts = R"(create user ORD identified by ord;
grant connect, resource to ORD;
grant create synonym, create public synonym, create database link to ORD;
grant create materialized view, create dimension, create view to ORD;
create role ORD_READER;
create user CLERK identified by clerk;
)";

// The schema alone in a fresh database, allowed to make the users and roles
// its grants go to.
const char* const TargetAccounts = R"(create user ORD identified by ord;
grant connect, resource to ORD;
grant create synonym, create public synonym, create database link to ORD;
grant create materialized view, create dimension, create view to ORD;
grant create user, create role to ORD;
)";

const char* const OrderSchema =
    R"(create table orders (id number primary key, customer varchar2(30), total number(10,2));
create table items (order_id number references orders, line number, qty number,
  constraint items_pk primary key (order_id, line));
insert into orders values (1, 'ACME', 120.5);
insert into orders values (2, 'Initech', 80);
insert into items values (1, 1, 3);
commit;
create synonym ord_items for items;
create synonym remote_emp for scott.emp@sales_link;
create public synonym all_orders for ord.orders;
create database link sales_link connect to scott identified by tiger using 'salesdb';
create database link open_link using 'opendb';
grant select on orders to ord_reader;
grant select, insert on orders to clerk with grant option;
grant select on items to public;
grant update (qty) on items to clerk;
grant references (customer) on orders to clerk with grant option;
grant select on orders to public with hierarchy option;
create materialized view log on orders with primary key, rowid (total, customer) including new values;
create materialized view log on items with rowid;
create materialized view order_totals pctfree 5 build immediate refresh complete on demand
  enable query rewrite as select customer, sum(total) as amount from orders group by customer;
create materialized view empty_orders build deferred refresh force on commit
  as select id from orders;
comment on materialized view order_totals is 'Totals by customer';
-- Views and code over a materialized view, and one over a view.
create view customer_totals_v as select customer, amount from order_totals;
create or replace function top_amount return number is
  a number;
begin
  select max(amount) into a from order_totals;
  return a;
end;
/
create view top_amount_v as select top_amount() as amount from dual;
create view big_orders_v as select id, customer, total from orders where total > 100;
create materialized view big_order_count as select count(*) as n from big_orders_v;
-- A chain that alternates: A_CHAIN_MV reads CHAIN_V, which reads CHAIN_MV,
-- which calls CHAIN_COUNT, which reads CHAIN_BASE_V.
create view chain_base_v as select customer from orders;
create or replace function chain_count(c varchar2) return number is
  n number;
begin
  select count(*) into n from chain_base_v where customer = c;
  return n;
end;
/
create materialized view chain_mv as select customer, chain_count(customer) as n from orders;
create view chain_v as select customer, n from chain_mv where n > 0;
create materialized view a_chain_mv as select count(*) as customers from chain_v;
)";

std::filesystem::path FreshDirectory(const std::string& stem) {
  const std::filesystem::path directory =
      std::filesystem::temp_directory_path() /
      ("quillmark-" + stem + "-" +
       std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::filesystem::create_directories(directory);
  return directory;
}

struct BatchResult {
  int status = -1;
  std::string report;
  std::string errors;
};

BatchResult ScriptHeadless(const std::string& connect, const std::vector<std::string>& kinds,
                           bool strict = false) {
  auto settings = SandboxSettings();
  BatchOptions options;
  options.Batch = true;
  options.Quiet = true;
  options.Strict = strict;
  options.ConnectString = connect;
  options.Kinds = kinds;
  const std::filesystem::path report = FreshDirectory("report") / "report.sql";
  options.ReportFile = report.string();
  std::ostringstream output;
  std::ostringstream errors;
  BatchResult result;
  result.status = RunBatch(options, *settings, output, errors);
  result.errors = errors.str();
  std::ifstream file(report, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  result.report = text.str();
  std::filesystem::remove_all(report.parent_path());
  return result;
}

// Runs script as logon (user/password) and tells whether it ran whole.
bool RunAs(const std::string& logon, const std::string& database, const std::string& script) {
  const sandbox::testing::RunResult run =
      sandbox::testing::RunScript(logon + "@" + database, script);
  EXPECT_EQ(run.status, 0) << run.output;
  return run.status == 0;
}

DictionarySnapshot SnapshotAsOrd(const std::string& database) {
  SandboxClient client;
  EXPECT_TRUE(client.session->Connect("ORD", "ord", database, true, true));
  return TakeDictionarySnapshot(*client.session, OtherObjectDictionaryViews());
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at)) {
    text.replace(at, from.size(), to);
    at += to.size();
  }
  return text;
}

const std::vector<std::string> SchemaKinds = {
    "synonyms",           "db-links",     "sequences",  "tables", "indexes",
    "constraints",        "data",         "mview-logs", "views",  "functions",
    "materialized-views", "object-grants"};

TEST(OtherObjectRoundTripTest, SchemaReplayedIntoAFreshDatabaseHasTheSameDictionary) {
  const std::filesystem::path directory = FreshDirectory("other-objects");
  const std::string source = "file:" + (directory / "source.db").string();
  const std::string target = "file:" + (directory / "target.db").string();
  ASSERT_TRUE(RunAs("SYSTEM/manager", source, Accounts) && RunAs("ORD/ord", source, OrderSchema));

  const BatchResult first = ScriptHeadless("ORD/ord@" + source, SchemaKinds);
  ASSERT_EQ(first.status, BatchFinished) << first.errors << first.report;
  const std::string& report = first.report;
  EXPECT_NE(report.find("CREATE OR REPLACE SYNONYM ORD_ITEMS FOR ITEMS;\r\n"), std::string::npos);
  EXPECT_NE(report.find("CREATE OR REPLACE SYNONYM REMOTE_EMP FOR SCOTT.EMP@SALES_LINK;\r\n"),
            std::string::npos);
  EXPECT_NE(report.find("CREATE OR REPLACE PUBLIC SYNONYM ALL_ORDERS FOR ORD.ORDERS;\r\n"),
            std::string::npos);
  EXPECT_NE(report.find("CREATE DATABASE LINK SALES_LINK CONNECT TO SCOTT IDENTIFIED BY "
                        "<password> USING 'salesdb';\r\n"),
            std::string::npos);
  EXPECT_NE(report.find("CREATE DATABASE LINK OPEN_LINK USING 'opendb';\r\n"), std::string::npos);
  EXPECT_EQ(report.find("tiger"), std::string::npos);
  EXPECT_NE(report.find("'GRANT INSERT ON ORDERS TO CLERK WITH GRANT OPTION'"), std::string::npos);
  EXPECT_NE(report.find("'GRANT SELECT ON ORDERS TO ORD_READER'"), std::string::npos);
  EXPECT_NE(report.find("GRANT SELECT ON ORDERS TO PUBLIC WITH HIERARCHY OPTION;\r\n"),
            std::string::npos);
  EXPECT_NE(report.find("'GRANT UPDATE (QTY) ON ITEMS TO CLERK'"), std::string::npos);
  EXPECT_NE(report.find("CREATE MATERIALIZED VIEW ORDER_TOTALS\r\nPCTFREE 5 PCTUSED 40 INITRANS 1 "
                        "MAXTRANS 255\r\nTABLESPACE USERS\r\nBUILD IMMEDIATE\r\nREFRESH "
                        "COMPLETE ON DEMAND\r\nENABLE QUERY REWRITE\r\nAS select customer"),
            std::string::npos);
  EXPECT_NE(report.find("COMMENT ON MATERIALIZED VIEW ORDER_TOTALS IS 'Totals by customer';"),
            std::string::npos);
  EXPECT_NE(report.find("CREATE MATERIALIZED VIEW LOG ON ORDERS WITH PRIMARY KEY, ROWID "
                        "(TOTAL, CUSTOMER) INCLUDING NEW VALUES;"),
            std::string::npos);
  EXPECT_NE(report.find("CREATE MATERIALIZED VIEW LOG ON ITEMS WITH ROWID EXCLUDING NEW VALUES;"),
            std::string::npos);
  // The containers and the log's table come with their views and log only.
  EXPECT_EQ(report.find("CREATE TABLE ORDER_TOTALS"), std::string::npos);
  EXPECT_EQ(report.find("CREATE TABLE EMPTY_ORDERS"), std::string::npos);
  EXPECT_EQ(report.find("MLOG$_ORDERS ("), std::string::npos);
  EXPECT_EQ(report.find("INSERT INTO ORDER_TOTALS"), std::string::npos);
  // Each kind comes where a replay needs it.
  EXPECT_LT(report.find("CREATE DATABASE LINK"), report.find("CREATE TABLE ORDERS"));
  EXPECT_LT(report.find("CREATE MATERIALIZED VIEW LOG"),
            report.find("CREATE MATERIALIZED VIEW ORDER"));
  EXPECT_LT(report.find("CREATE MATERIALIZED VIEW ORDER"), report.find("GRANT SELECT ON ORDERS"));
  // Views and code stand around the materialized views as they need them.
  const auto at = [&report](const std::string& text) {
    const std::size_t found = report.find(text);
    EXPECT_NE(found, std::string::npos) << text;
    return found;
  };
  EXPECT_LT(at("create the view BIG_ORDERS_V"), at("CREATE MATERIALIZED VIEW BIG_ORDER_COUNT"));
  EXPECT_LT(at("CREATE MATERIALIZED VIEW ORDER_TOTALS"), at("create the function TOP_AMOUNT"));
  EXPECT_LT(at("create the function TOP_AMOUNT"), at("create the view TOP_AMOUNT_V"));
  EXPECT_LT(at("CREATE MATERIALIZED VIEW ORDER_TOTALS"), at("create the view CUSTOMER_TOTALS_V"));
  EXPECT_LT(at("create the function CHAIN_COUNT"), at("CREATE MATERIALIZED VIEW CHAIN_MV"));
  EXPECT_LT(at("CREATE MATERIALIZED VIEW CHAIN_MV"), at("create the view CHAIN_V"));
  EXPECT_LT(at("create the view CHAIN_V"), at("CREATE MATERIALIZED VIEW A_CHAIN_MV"));
  EXPECT_EQ(report.find("were not scripted"), std::string::npos) << report;

  // The password is filled in as the statement's comment asks.
  ASSERT_TRUE(RunAs("SYSTEM/manager", target, TargetAccounts));
  const sandbox::testing::RunResult replay =
      sandbox::testing::RunScript("ORD/ord@" + target, ReplaceAll(report, "<password>", "secret"));
  ASSERT_EQ(replay.status, 0) << replay.output;
  EXPECT_EQ(replay.output.find("ORA-"), std::string::npos) << replay.output;

  const DictionarySnapshot before = SnapshotAsOrd(source);
  const DictionarySnapshot after = SnapshotAsOrd(target);
  EXPECT_FALSE(before.rows.at("user_mviews").empty());
  EXPECT_EQ(before.rows.at("all_col_privs").size(), 2u);
  EXPECT_EQ(DictionaryDifferences(before, after), "");
  std::filesystem::remove_all(directory);
}

TEST(OtherObjectRoundTripTest, KindsTheToolDoesNotScriptAreListedAndStrictMakesThemAnError) {
  const std::filesystem::path directory = FreshDirectory("coverage");
  const std::string database = "file:" + (directory / "coverage.db").string();
  ASSERT_TRUE(RunAs("SYSTEM/manager", database, Accounts));
  ASSERT_TRUE(RunAs("ORD/ord", database, R"(create table sales (id number, sold date);
create sequence sales_seq;
create dimension time_dim level day is sales.sold;
create materialized view sales_copy as select id from sales;
)"));
  const BatchResult lenient = ScriptHeadless("ORD/ord@" + database, {"tables", "synonyms"});
  EXPECT_EQ(lenient.status, BatchFinished) << lenient.errors;
  const std::string heading =
      "1 object was not scripted because the tool does not script their kind:";
  EXPECT_NE(lenient.report.find(heading), std::string::npos) << lenient.report;
  EXPECT_NE(lenient.report.find("DIMENSION TIME_DIM: the tool does not script objects of this "
                                "kind"),
            std::string::npos);
  EXPECT_NE(lenient.errors.find("quillmark: " + heading), std::string::npos) << lenient.errors;
  EXPECT_NE(lenient.errors.find("quillmark:   DIMENSION TIME_DIM"), std::string::npos);
  // Kinds that were not chosen, and a materialized view's container, are
  // not listed.
  EXPECT_EQ(lenient.errors.find("SALES_SEQ"), std::string::npos);
  EXPECT_EQ(lenient.errors.find("SALES_COPY"), std::string::npos);

  const BatchResult strict = ScriptHeadless("ORD/ord@" + database, {"tables"}, true);
  EXPECT_EQ(strict.status, BatchReportIncomplete) << strict.errors;
  EXPECT_NE(strict.errors.find("DIMENSION TIME_DIM"), std::string::npos);
  std::filesystem::remove_all(directory);
}

}  // namespace
