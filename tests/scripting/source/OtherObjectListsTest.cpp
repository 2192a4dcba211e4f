// The statements that rows of the other objects' dictionary views become,
// and what the coverage check makes of each kind of object.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/RunSettings.h"
#include "scripting/source/CoverageCheck.h"
#include "scripting/source/OtherObjectLists.h"

namespace {

std::string Built(const StatementList& list, std::size_t query, const DictionaryQuery::Row& row) {
  return list.Queries.at(query).Build(row).Text;
}

TEST(OtherObjectListsTest, SynonymsNameTargetsOutsideTheSchemaWithTheirOwner) {
  const StatementList list = SynonymList("APP");
  EXPECT_EQ(Built(list, 0, {"S1", "APP", "T", ""}), "CREATE OR REPLACE SYNONYM S1 FOR T;\r\n");
  EXPECT_EQ(Built(list, 0, {"s2", "HR", "Emp", "LINK.EXAMPLE"}),
            "CREATE OR REPLACE SYNONYM \"s2\" FOR HR.\"Emp\"@LINK.EXAMPLE;\r\n");
  // A public synonym lives outside the schema: its target keeps the owner.
  EXPECT_EQ(Built(list, 1, {"ALL_T", "APP", "T", ""}),
            "CREATE OR REPLACE PUBLIC SYNONYM ALL_T FOR APP.T;\r\n");
  const ListedStatement statement = list.Queries[0].Build({"S1", "APP", "T", ""});
  ASSERT_EQ(statement.Objects.size(), 1u);
  EXPECT_EQ(statement.Objects[0].Type, "SYNONYM");
  EXPECT_TRUE(list.Queries[1].Build({"ALL_T", "APP", "T", ""}).Objects.empty());
}

TEST(OtherObjectListsTest, DatabaseLinksNeverCarryAPasswordAndQuoteTheirHost) {
  const StatementList list = DatabaseLinkList();
  const std::string withUser = Built(list, 0, {"SALES", "SCOTT", "host:1521/o'db"});
  EXPECT_NE(withUser.find("\r\nCREATE DATABASE LINK SALES CONNECT TO SCOTT IDENTIFIED BY "
                          "<password> USING 'host:1521/o''db';\r\n"),
            std::string::npos)
      << withUser;
  EXPECT_EQ(withUser.rfind("-- Replace <password> by the password of SCOTT", 0), 0u) << withUser;
  const std::string withoutUser = Built(list, 0, {"OPEN", "", "db"});
  EXPECT_NE(withoutUser.find("CREATE DATABASE LINK OPEN USING 'db';\r\n"), std::string::npos);
  EXPECT_EQ(withoutUser.find("IDENTIFIED"), std::string::npos);
}

TEST(OtherObjectListsTest, GrantsKeepTheirOptionsAndColumns) {
  const StatementList own = ObjectGrantList("APP", true);
  ASSERT_EQ(own.Queries.size(), 3u);
  EXPECT_NE(own.Queries[1].Sql.find("from all_tab_privs where grantor = :owner"),
            std::string::npos);
  EXPECT_EQ(Built(own, 1, {"SELECT", "APP", "T", "PUBLIC", "NO", "YES", ""}),
            "GRANT SELECT ON T TO PUBLIC WITH HIERARCHY OPTION;\r\n");
  // A grant to a user or role the report creates is skipped, and said so,
  // where that user or role could not be created.
  EXPECT_EQ(Built(own, 1, {"SELECT", "HR", "EMP", "r1", "YES", "NO", ""}),
            "BEGIN EXECUTE IMMEDIATE 'GRANT SELECT ON HR.EMP TO \"r1\" WITH GRANT OPTION'; "
            "EXCEPTION WHEN OTHERS THEN IF SQLCODE <> -1917 THEN RAISE; END IF; "
            "DBMS_OUTPUT.PUT_LINE('Not granted, \"r1\" does not exist: GRANT SELECT ON HR.EMP "
            "TO \"r1\" WITH GRANT OPTION'); END;\r\n/\r\n");
  EXPECT_NE(Built(own, 2, {"UPDATE", "APP", "T", "CLERK", "NO", "NO", "QTY"})
                .find("'GRANT UPDATE (QTY) ON T TO CLERK'"),
            std::string::npos);
  // The grantees come first, named as what the report needs.
  const ListedStatement grantee = own.Queries[0].Build({"r1", "ROLE"});
  EXPECT_EQ(grantee.Text, "CREATE ROLE \"r1\";\r\n");
  EXPECT_EQ(own.Queries[0].Build({"REPORT", "USER"}).Text,
            "CREATE USER REPORT NO AUTHENTICATION;\r\n");
  ASSERT_EQ(grantee.Needed.size(), 1u);
  EXPECT_EQ(grantee.Needed[0].first.Type, "ROLE");
  EXPECT_EQ(grantee.Needed[0].first.Name, "r1");
  // Another schema's grants are complete only in the dba_ views.
  const StatementList other = ObjectGrantList("APP", false);
  EXPECT_NE(other.Queries[2].Sql.find("from dba_col_privs where grantor = :owner"),
            std::string::npos);
}

TEST(OtherObjectListsTest, MaterializedViewsKeepTheirOptionsAndClaimTheirContainers) {
  const StatementList list = MaterializedViewList(false, false);
  DictionaryQuery::Row row = {"MV", "DEFERRED", "FAST", "COMMIT", "N",     "select 1 from dual",
                              "0",  "",         "2",    "255",    "USERS", "YES"};
  const ListedStatement view = list.Queries[0].Build(row);
  EXPECT_EQ(view.Text,
            "CREATE MATERIALIZED VIEW MV\r\nBUILD DEFERRED\r\nREFRESH FAST ON COMMIT\r\n"
            "DISABLE QUERY REWRITE\r\nAS select 1 from dual\r\n/\r\n");
  // The container table's physical clauses follow the toggles, as a table's do.
  EXPECT_EQ(Built(MaterializedViewList(true, true), 0, row),
            "CREATE MATERIALIZED VIEW MV\r\nPCTFREE 0 INITRANS 2 MAXTRANS 255\r\n"
            "TABLESPACE USERS\r\nBUILD DEFERRED\r\nREFRESH FAST ON COMMIT\r\n"
            "DISABLE QUERY REWRITE\r\nAS select 1 from dual\r\n/\r\n");
  // So does NOLOGGING, a storage clause.
  row.back() = "NO";
  EXPECT_EQ(Built(MaterializedViewList(true, true), 0, row),
            "CREATE MATERIALIZED VIEW MV\r\nPCTFREE 0 INITRANS 2 MAXTRANS 255\r\n"
            "TABLESPACE USERS\r\nNOLOGGING\r\nBUILD DEFERRED\r\nREFRESH FAST ON COMMIT\r\n"
            "DISABLE QUERY REWRITE\r\nAS select 1 from dual\r\n/\r\n");
  EXPECT_EQ(Built(MaterializedViewList(true, false), 0, row).find("NOLOGGING"), std::string::npos);
  ASSERT_EQ(view.Objects.size(), 2u);
  EXPECT_EQ(view.Objects[1].Type, "TABLE");
  EXPECT_NE(Built(list, 0, {"MV", "IMMEDIATE", "NEVER", "NEVER", "Y", "q", "", "", "", "", "", ""})
                .find("BUILD IMMEDIATE\r\nNEVER REFRESH\r\nENABLE QUERY REWRITE"),
            std::string::npos);
  EXPECT_EQ(Built(list, 1, {"MV", "it's"}), "COMMENT ON MATERIALIZED VIEW MV IS 'it''s';\r\n");
  EXPECT_EQ(Built(list, 2, {"MV", "sum of", "a 'b'"}),
            "COMMENT ON COLUMN MV.\"sum of\" IS 'a ''b'''\r\n/\r\n");
  // One view's list holds its column comments and no other view's.
  const StatementList one = MaterializedViewList(false, false, "MV");
  ASSERT_EQ(one.Queries.size(), 3u);
  EXPECT_EQ(one.Queries[2].Fold({{"MU", "A", "x"}, {"MV", "B", "y"}}).size(), 1u);
  const StatementList logs = MaterializedViewLogList();
  EXPECT_EQ(Built(logs, 0, {"T", "MLOG$_T", "YES", "NO", "NO", "YES", "NO", "", "0"}),
            "CREATE MATERIALIZED VIEW LOG ON T WITH ROWID, SEQUENCE EXCLUDING NEW VALUES;\r\n");
  // A log's filter columns come one row each after the log's own row.
  const auto folded =
      logs.Queries[0].Fold({{"T", "MLOG$_T", "NO", "YES", "NO", "NO", "NO", "", "0"},
                            {"T", "MLOG$_T", "NO", "YES", "NO", "NO", "NO", "B", "2"},
                            {"T", "MLOG$_T", "NO", "YES", "NO", "NO", "NO", "a", "3"},
                            {"U", "MLOG$_U", "NO", "NO", "NO", "NO", "NO", "", "0"},
                            {"U", "MLOG$_U", "NO", "NO", "NO", "NO", "NO", "C", "1"}});
  ASSERT_EQ(folded.size(), 2u);
  EXPECT_EQ(
      logs.Queries[0].Build(folded[0]).Text,
      "CREATE MATERIALIZED VIEW LOG ON T WITH PRIMARY KEY (B, \"a\") EXCLUDING NEW VALUES;\r\n");
  EXPECT_EQ(logs.Queries[0].Build(folded[1]).Text,
            "CREATE MATERIALIZED VIEW LOG ON U WITH (C) EXCLUDING NEW VALUES;\r\n");
}

TEST(CoverageCheckTest, EachKindIsExpectedOnlyWhenChosenAndNotExcluded) {
  using Coverage = CoverageCheck::Coverage;
  RunSettings settings;
  const std::set<std::string> views{"MV"};
  EXPECT_EQ(CoverageCheck::CoverageOf(settings, "JAVA SOURCE", "X", views), Coverage::Unsupported);
  EXPECT_EQ(CoverageCheck::CoverageOf(settings, "QUEUE", "X", views), Coverage::Unsupported);
  EXPECT_EQ(CoverageCheck::CoverageOf(settings, "INDEX", "X", views), Coverage::NotListed);
  EXPECT_EQ(CoverageCheck::CoverageOf(settings, "TABLE PARTITION", "X", views),
            Coverage::NotListed);
  EXPECT_EQ(CoverageCheck::CoverageOf(settings, "PACKAGE BODY", "P", views), Coverage::Expected);
  EXPECT_EQ(CoverageCheck::CoverageOf(settings, "DATABASE LINK", "L", views), Coverage::Expected);
  settings.ExcludedPackageBodies = {"p"};
  EXPECT_EQ(CoverageCheck::CoverageOf(settings, "PACKAGE BODY", "P", views), Coverage::NotListed);
  settings.ExcludedTables = {"t"};
  EXPECT_EQ(CoverageCheck::CoverageOf(settings, "TABLE", "T", views), Coverage::NotListed);
  EXPECT_EQ(CoverageCheck::CoverageOf(settings, "TABLE", "U", views), Coverage::Expected);
  // A container table and a log's table belong to their view and log.
  settings.DoMaterializedView = 0;
  settings.DoMviewLog = 0;
  EXPECT_EQ(CoverageCheck::CoverageOf(settings, "TABLE", "MV", views), Coverage::NotListed);
  EXPECT_EQ(CoverageCheck::CoverageOf(settings, "TABLE", "MLOG$_U", views), Coverage::NotListed);
  settings.DoSequence = 0;
  EXPECT_EQ(CoverageCheck::CoverageOf(settings, "SEQUENCE", "S", views), Coverage::NotListed);
}

}  // namespace
