// A schema of every constraint kind is scripted, the script is run into a
// fresh database and that database is scripted again: both reports must be
// the same apart from the database name and the numbers of system-generated
// constraint names.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "config/MemorySettingsStore.h"
#include "engine/ReportModel.h"
#include "engine/ReportOutput.h"
#include "engine/RunControl.h"
#include "engine/RunFlags.h"
#include "engine/RunSettings.h"
#include "engine/UnscriptedObjects.h"
#include "scripting/tables/ObjectCatalog.h"
#include "scripting/tables/TableListSource.h"
#include "scripting/tables/TablePhases.h"
#include "tests/engine/TestRunHost.h"
#include "tests/sandbox/oci/RunProgram.h"
#include "tests/scripting/tables/SandboxSchema.h"

namespace {

// The schema's tables as the catalog lists them.
class CatalogTableList final : public TableListSource {
 public:
  CatalogTableList(ObjectCatalog catalog, std::string databaseName)
      : catalog_(std::move(catalog)), databaseName_(std::move(databaseName)) {}
  bool TableListLoaded() override { return false; }
  int ReloadTableList() override {
    list_.clear();
    return catalog_.ListTablesOrViews(true, list_, true);
  }
  const CatalogList& TableList() override { return list_; }
  std::string SchemaOwner() override { return "APP"; }
  std::string DatabaseName() override { return databaseName_; }

 private:
  ObjectCatalog catalog_;
  std::string databaseName_;
  CatalogList list_;
};

// The table, index and constraint phases of one schema, as report text.
std::string ScriptSchema(SandboxSchema& schema, const std::string& databaseName) {
  MemorySettingsStore store;
  TestRunHost host;
  RunSettings settings;
  settings.RunMode = ScriptingRunMode;
  settings.UpdateCommentPrefixes();
  RunFlags flags;
  flags.Running = 1;
  ReportModel model;
  ReportOutput output(model, settings, flags, host, store);
  RunControl control(settings, flags, output, host);
  CatalogNameMaxima maxima;
  CatalogTableList tables(
      ObjectCatalog(*schema.client.session, output, settings, "APP", databaseName, maxima),
      databaseName);
  UnscriptedObjects unscripted;
  TablePhases phases(settings, output, &host, control, tables, *schema.ddl, unscripted);
  phases.RunTablePhase();
  phases.RunIndexPhase();
  phases.RunConstraintPhase();
  return model.Text();
}

std::string Normalized(std::string report, const std::string& databaseName) {
  report = std::regex_replace(report, std::regex(databaseName), "DB");
  return std::regex_replace(report, std::regex("SYS_C[0-9]+"), "SYS_C#");
}

const char* const SchemaStatements[] = {
    "create table REGIONS (REGION_ID number(4) not null, NAME varchar2(40) not null, "
    "constraint REGIONS_PK primary key (REGION_ID), constraint REGIONS_NAME_UK unique (NAME))",
    "create table COUNTRIES (COUNTRY_ID char(2) primary key, NAME varchar2(60), "
    "REGION_ID number(4) constraint COUNTRIES_REGION_FK references REGIONS (REGION_ID))",
    "create table CITIES (CITY_ID number(6) not null, COUNTRY_ID char(2), NAME varchar2(40) "
    "default 'NEW YORK', constraint CITIES_PK primary key (CITY_ID), constraint CITIES_NAME_CK "
    "check (NAME in ('NEW YORK', 'LOS ANGELES', 'SAN FRANCISCO', 'SALT LAKE CITY', "
    "'LAS VEGAS', 'SANTA FE')), constraint CITIES_COUNTRY_FK foreign key (COUNTRY_ID) "
    "references COUNTRIES (COUNTRY_ID))",
    "create table DEPARTMENTS (DEPT_ID number(4), NAME varchar2(30) not null, BUDGET "
    "number(12,2) check (BUDGET >= 0), constraint DEPARTMENTS_PK primary key (DEPT_ID))",
    "create table EMPLOYEES (EMP_ID number(6), DEPT_ID number(4), MANAGER_ID number(6), "
    "EMAIL varchar2(50), SALARY number(8,2), HIRED date default sysdate, "
    "constraint EMPLOYEES_PK primary key (EMP_ID), constraint EMPLOYEES_EMAIL_UK unique "
    "(EMAIL), constraint EMPLOYEES_DEPT_FK foreign key (DEPT_ID) references DEPARTMENTS "
    "(DEPT_ID), constraint EMPLOYEES_MANAGER_FK foreign key (MANAGER_ID) references "
    "EMPLOYEES (EMP_ID), constraint EMPLOYEES_SALARY_CK check (SALARY > 0 and SALARY < "
    "1000000))",
    "create table PROJECTS (PROJECT_ID number(6) primary key, TITLE varchar2(80) not null, "
    "RATE float(126), STARTED date)",
    "create table ASSIGNMENTS (EMP_ID number(6), PROJECT_ID number(6), ROLE varchar2(20), "
    "constraint ASSIGNMENTS_PK primary key (EMP_ID, PROJECT_ID), constraint "
    "ASSIGNMENTS_EMP_FK foreign key (EMP_ID) references EMPLOYEES (EMP_ID), constraint "
    "ASSIGNMENTS_PROJECT_FK foreign key (PROJECT_ID) references PROJECTS (PROJECT_ID))",
    "create table \"Notes\" (\"id\" number(6) primary key, BODY varchar2(200))",
    "create table AUDIT_LOG (LOGGED date not null, ACTION varchar2(10) check (ACTION in "
    "('INSERT', 'UPDATE', 'DELETE')), DETAIL raw(16)) pctfree 20 storage (initial 2097152 "
    "next 10000)",
    "create table SETTINGS (NAME varchar2(30) not null, VALUE varchar2(100), "
    "constraint SETTINGS_UK unique (NAME))",
    "create index EMPLOYEES_DEPT_IX on EMPLOYEES (DEPT_ID, SALARY)",
    "create unique index PROJECTS_TITLE_UX on PROJECTS (TITLE)",
    "create index CITIES_NAME_IX on CITIES (NAME) pctfree 30",
    "create index AUDIT_LOG_IX on AUDIT_LOG (LOGGED)",
};

TEST(RoundTripTest, ScriptRunIntoAFreshDatabaseScriptsTheSame) {
  const std::filesystem::path directory =
      std::filesystem::temp_directory_path() /
      ("quillmark-tables-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
       "-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::filesystem::create_directories(directory);
  const std::string source = "file:" + (directory / "source.db").string();
  const std::string target = "file:" + (directory / "target.db").string();

  std::string first;
  {
    SandboxSchema schema(source);
    for (const char* statement : SchemaStatements) {
      schema.Run(statement);
    }
    first = ScriptSchema(schema, "APP@SOURCE");
    EXPECT_TRUE(schema.client.messages.texts.empty()) << schema.client.messages.texts.front();
  }
  std::string second;
  {
    SandboxSchema schema(target);
    schema.client.session->Disconnect();
    const sandbox::testing::RunResult run = sandbox::testing::RunScript("APP/app@" + target, first);
    EXPECT_EQ(run.status, 0) << run.output;
    ASSERT_TRUE(schema.client.session->Connect("APP", "app", target, true, true));
    second = ScriptSchema(schema, "APP@TARGET");
  }
  EXPECT_NE(first.find("CREATE TABLE \"Notes\""), std::string::npos);
  EXPECT_NE(first.find("ALTER TABLE EMPLOYEES ADD"), std::string::npos);
  EXPECT_NE(first.find("CREATE INDEX EMPLOYEES_DEPT_IX ON EMPLOYEES"), std::string::npos);
  EXPECT_EQ(Normalized(second, "APP@TARGET"), Normalized(first, "APP@SOURCE"));
  std::filesystem::remove_all(directory);
}

}  // namespace
