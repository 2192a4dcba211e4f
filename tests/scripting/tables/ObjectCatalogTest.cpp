// The object catalog against a fresh sandbox schema: the order of each
// listing, the remark lines of a failing listing, the one-column queries and
// names that the old fixed buffers or unquoted literals would have spoiled.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/ReportModel.h"
#include "engine/ReportOutput.h"
#include "engine/RunControl.h"
#include "engine/RunFlags.h"
#include "engine/RunSettings.h"
#include "engine/UnscriptedObjects.h"
#include "oracle/OracleStatement.h"
#include "scripting/tables/ObjectCatalog.h"
#include "tests/engine/TestRunHost.h"
#include "tests/oracle/SandboxClient.h"

namespace {

class ObjectCatalogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    database = FreshDatabase("CATALOG");
    SandboxClient system;
    system.ConnectAsSystem(database);
    for (const char* sql :
         {"create user lister identified by pw", "grant connect, resource to lister",
          "grant create view to lister", "create user empty_one identified by pw"}) {
      ASSERT_TRUE(system.session->ExecuteSql(sql)) << sql;
    }
    ASSERT_TRUE(client.session->Connect("lister", "pw", database, true, true));
    settings.RunMode = ScriptingRunMode;
    settings.UpdateCommentPrefixes();
  }

  void Run(const std::string& sql) { ASSERT_TRUE(client.session->ExecuteSql(sql)) << sql; }

  ObjectCatalog Catalog(const std::string& schema) {
    return ObjectCatalog(*client.session, output, settings, schema, "LISTER@" + database, maxima);
  }

  static std::vector<std::string> Names(const CatalogList& list, bool firstSlot = true) {
    std::vector<std::string> names;
    for (const CatalogItem& item : list) {
      names.push_back(item.Name(firstSlot));
    }
    return names;
  }

  std::string database;
  SandboxClient client;
  RunSettings settings;
  RunFlags flags;
  ReportModel model;
  TestRunHost host;
  ReportOutput output{model, settings, flags, host, *client.settings};
  CatalogNameMaxima maxima;
};

TEST_F(ObjectCatalogTest, TablesInServerOrderViewsApartAndMaximaRaised) {
  Run("create table zeta (a number)");
  Run("create table alpha (a number)");
  Run("create table middle_table (a number)");
  Run("create view some_view as select a from alpha");

  CatalogList tables;
  ObjectCatalog catalog = Catalog("LISTER");
  ASSERT_EQ(catalog.ListTablesOrViews(true, tables, true), 3);
  EXPECT_EQ(Names(tables), (std::vector<std::string>{"ZETA", "ALPHA", "MIDDLE_TABLE"}));
  EXPECT_EQ(tables[0].Names[1], "");
  EXPECT_EQ(tables[0].Markers[0], 0);
  EXPECT_EQ(maxima.MaxTableNameLength, 12);

  CatalogList views;
  ASSERT_EQ(catalog.ListTablesOrViews(false, views, false), 1);
  EXPECT_EQ(Names(views, false), std::vector<std::string>{"SOME_VIEW"});
  EXPECT_EQ(views[0].Names[0], "");
  EXPECT_EQ(maxima.MaxViewNameLength, 9);
  EXPECT_EQ(maxima.MaxTableNameLength, 12);  // only ever raised, per kind
  EXPECT_EQ(model.Text(), "");
}

TEST_F(ObjectCatalogTest, ObjectsInNameOrderAndNullListUntouched) {
  Run("create or replace procedure zed_proc is begin null; end;");
  Run("create or replace procedure abc_proc is begin null; end;");
  Run("create or replace function mid_fn return number is begin return 1; end;");

  CatalogList procedures;
  ObjectCatalog catalog = Catalog("LISTER");
  EXPECT_EQ(catalog.ListObjects(true, &procedures, "PROCEDURE"), 2);
  EXPECT_EQ(Names(procedures), (std::vector<std::string>{"ABC_PROC", "ZED_PROC"}));
  EXPECT_EQ(maxima.MaxObjectNameLength, 8);
  EXPECT_EQ(catalog.ListObjects(true, nullptr, "FUNCTION"), 0);
  EXPECT_EQ(maxima.MaxObjectNameLength, 8);
}

TEST_F(ObjectCatalogTest, SchemaWithoutTablesOrWithAQuoteListsNothingAndSaysNothing) {
  CatalogList tables;
  EXPECT_EQ(Catalog("EMPTY_ONE").ListTablesOrViews(true, tables, true), 0);
  // A quote in the schema name stays inside the literal instead of breaking
  // the statement.
  EXPECT_EQ(Catalog("O'BRIEN").ListTablesOrViews(true, tables, true), 0);
  CatalogList types;
  EXPECT_EQ(Catalog("O'BRIEN").ListObjects(true, &types, "TYPE' or 'x'='x"), 0);
  EXPECT_TRUE(tables.empty());
  EXPECT_TRUE(types.empty());
  EXPECT_EQ(model.Text(), "");
}

TEST_F(ObjectCatalogTest, NamesLongerThanSixtyCharactersArriveWhole) {
  const std::string longName(100, 'L');
  Run("create table " + longName + " (a number)");
  CatalogList tables;
  ASSERT_EQ(Catalog("LISTER").ListTablesOrViews(true, tables, true), 1);
  EXPECT_EQ(tables[0].Name(), longName);
  EXPECT_EQ(maxima.MaxTableNameLength, 100);
}

TEST_F(ObjectCatalogTest, FailingListingWritesThreeRemarkLinesAndIsRecorded) {
  // The one silent reconnect is lost as well.
  ASSERT_EQ(BreakSandboxConnections(database, 2), 1);
  CatalogList bodies;
  UnscriptedObjects unscripted;
  ObjectCatalog catalog = Catalog("LISTER");
  catalog.RecordFailuresIn(&unscripted);
  EXPECT_EQ(catalog.ListObjects(false, &bodies, "PACKAGE BODY"), 0);
  EXPECT_TRUE(bodies.empty());
  ASSERT_EQ(unscripted.Count(), 1u);
  EXPECT_EQ(unscripted.Objects()[0].Kind, "LIST OF PACKAGE BODY");
  EXPECT_EQ(unscripted.Objects()[0].Reason.rfind("ORA-03113", 0), 0u);

  const std::vector<TextRun> runs = model.Runs();
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].text,
            "\r\n\r\n\r\n-- The following error ocurred when trying to process package body in "
            "database ");
  EXPECT_EQ(runs[0].colour, NoticeColour);
  EXPECT_EQ(runs[1].text, "LISTER@" + database);
  EXPECT_EQ(runs[1].colour, AlertColour);  // the second slot's colour
  EXPECT_EQ(runs[2].text.rfind("\r\n-- ORA-03113", 0), 0u) << runs[2].text;
  EXPECT_EQ(runs[2].colour, NoticeColour);
  EXPECT_TRUE(host.Messages().empty());  // remarks, never message boxes
}

// A listing broken because the user stopped the run is the stop, not a lost
// list: the run ends with its stop line and nothing is recorded as missing.
TEST_F(ObjectCatalogTest, ListingFailedByAStopEndsTheRunInsteadOfBeingRecorded) {
  ASSERT_EQ(BreakSandboxConnections(database, 2), 1);
  RunControl control(settings, flags, output, host);
  flags.Running = 0;
  CatalogList bodies;
  UnscriptedObjects unscripted;
  ObjectCatalog catalog = Catalog("LISTER");
  catalog.RecordFailuresIn(&unscripted, &control);
  EXPECT_ANY_THROW(catalog.ListObjects(false, &bodies, "PACKAGE BODY"));
  EXPECT_EQ(unscripted.Count(), 0u);
  EXPECT_EQ(model.Text().find("The following error ocurred"), std::string::npos);
  EXPECT_NE(model.Text().find("Quillmark Stopped ..."), std::string::npos);
}

TEST_F(ObjectCatalogTest, ListingCutShortByALostConnectionIsReadAgainWhole) {
  for (int i = 0; i < 12; ++i) {
    Run("create table T" + std::to_string(i) + " (x number)");
  }
  for (const int call : {0, 1}) {
    for (const int n : {1, 2}) {
      SCOPED_TRACE("call " + std::to_string(call) + " n " + std::to_string(n));
      BreakSandboxAtCall(database, call, n);
      CatalogList tables;
      EXPECT_EQ(Catalog("LISTER").ListTablesOrViews(true, tables, true), 12);
      EXPECT_EQ(tables.size(), 12u);
      EXPECT_EQ(model.Text(), "");  // no remark
      BreakSandboxAtCall(database, call, 0);
    }
  }
  EXPECT_TRUE(client.messages.texts.empty());
}

TEST_F(ObjectCatalogTest, QueryLinesAppendsEveryRowWithALineBreak) {
  Run("create table words (w varchar2(20))");
  for (const char* word : {"one", "two", "three"}) {
    Run(std::string("insert into words values ('") + word + "')");
  }
  ObjectCatalog catalog = Catalog("LISTER");
  std::vector<std::string> lines;
  EXPECT_EQ(catalog.QueryLines("select w from words order by w", 20, lines), "");
  EXPECT_EQ(lines, (std::vector<std::string>{"one\r\n", "three\r\n", "two\r\n"}));

  lines.clear();
  EXPECT_EQ(catalog.QueryLines("select w from words where w = 'none'", 20, lines), "");
  EXPECT_TRUE(lines.empty());
  EXPECT_NE(catalog.QueryLines("select w from no_such_table", 20, lines).find("ORA-00942"),
            std::string::npos);
  EXPECT_TRUE(lines.empty());
}

TEST_F(ObjectCatalogTest, QueryTextTellsSuccessFromFailureWhateverTheText) {
  Run("create table notes (n varchar2(100))");
  Run("insert into notes values ('first')");
  Run("insert into notes values ('second')");
  ObjectCatalog catalog = Catalog("LISTER");

  OracleStatement rows(*client.session);
  std::string error = "stale";
  ASSERT_TRUE(catalog.QueryText(rows, "select n from notes order by n", -1, error));
  EXPECT_EQ(error, "");
  std::vector<std::string> values;
  while (rows.FetchNext()) {
    values.emplace_back(rows.AuxiliaryBuffer());
  }
  EXPECT_EQ(values, (std::vector<std::string>{"first", "second"}));

  OracleStatement none(*client.session);
  EXPECT_TRUE(catalog.QueryText(none, "select n from notes where n = 'x'", 10, error));
  EXPECT_FALSE(none.FetchNext());

  OracleStatement failing(*client.session);
  EXPECT_FALSE(catalog.QueryText(failing, "select n from missing_notes", 10, error));
  EXPECT_NE(error.find("ORA-00942"), std::string::npos) << error;
}

}  // namespace
