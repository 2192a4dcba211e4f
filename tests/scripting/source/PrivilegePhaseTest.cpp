// The privilege phase against the sandbox: the three kinds with their
// banners and options, grants of another schema read as an administrator,
// names that need quotes, the failing query and the kinds left out.
#include <gtest/gtest.h>

#include <string>

#include "scripting/source/PrivilegePhase.h"
#include "tests/oracle/SandboxClient.h"
#include "tests/scripting/source/SourcePhaseRig.h"

namespace {

// 128 bytes with blanks: a table name that only quotes allow.
const std::string LongTableName = "Quarterly results " + std::string(110, 'x');

const char* const Banner =
    "/****************************************************************************************"
    "********************************\r\n*\r\n";
const char* const BannerEnd =
    "\r\n*\r\n********************************************************************************"
    "****************************************/\r\n\r\n";

std::string KindBanner(const std::string& label, const std::string& note) {
  return std::string("\r\n\r\n\r\n") + Banner + "*  " + label + "\r\n*\r\n" +
         "*  The following statements will create the " + label +
         " and should be executed as 'system' or 'sys'" + note + BannerEnd;
}

const std::string ObjectNote = ". You may have to execute them as the appropriate object owner.";

// APP holds system privileges with and without ADMIN OPTION, a role, and
// object privileges on HR's tables with and without GRANT OPTION, one of
// them on a single column.
class PrivilegePhaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    client.ConnectAsSystem(database);
    for (const std::string& sql : {
             std::string("create user APP identified by app"),
             std::string("grant connect to APP"),
             std::string("grant create table to APP"),
             std::string("grant create view to APP with admin option"),
             std::string("create user HR identified by hr"),
             std::string("create table HR.EMPLOYEES (ID number, \"Salary\" number)"),
             std::string("create table HR.\"" + LongTableName + "\" (ID number)"),
             std::string("grant select on HR.EMPLOYEES to APP with grant option"),
             std::string("grant update on HR.EMPLOYEES to APP"),
             std::string("grant insert on HR.\"" + LongTableName + "\" to APP"),
             std::string("grant references (\"Salary\") on HR.EMPLOYEES to APP with grant option"),
         }) {
      ASSERT_TRUE(client.session->ExecuteSql(sql)) << sql;
    }
  }

  std::string Script(SourcePhaseRig& rig, const std::string& schema) {
    PrivilegePhase phase(rig.settings, rig.flags, rig.control, rig.writer, *client.session, schema,
                         client.session->UserUpper());
    phase.Run();
    return rig.Report();
  }

  std::string AppPrivileges() const {
    return KindBanner("system privileges", "") + "GRANT CREATE TABLE TO APP;\r\n" +
           "GRANT CREATE VIEW TO APP WITH ADMIN OPTION;\r\n" + KindBanner("role privileges", "") +
           "GRANT CONNECT TO APP;\r\n" + KindBanner("object privileges", ObjectNote) +
           "GRANT INSERT ON HR.\"" + LongTableName + "\" TO APP;\r\n" +
           "GRANT SELECT ON HR.EMPLOYEES TO APP WITH GRANT OPTION;\r\n" +
           "GRANT UPDATE ON HR.EMPLOYEES TO APP;\r\n" +
           "GRANT REFERENCES (\"Salary\") ON HR.EMPLOYEES TO APP WITH GRANT OPTION;\r\n";
  }

  std::string database = FreshDatabase("GRANTS");
  SandboxClient client;
};

TEST_F(PrivilegePhaseTest, OwnSchemaGetsEveryKindWithItsOptions) {
  ASSERT_TRUE(client.session->Connect("APP", "app", database, true, true));
  SourcePhaseRig rig;
  EXPECT_EQ(Script(rig, "APP"), AppPrivileges());
  EXPECT_TRUE(client.messages.texts.empty());
  // The statements are name text, counted for auto-save; banners are comments.
  for (const TextRun& run : rig.model.Runs()) {
    if (run.text.rfind("GRANT ", 0) == 0) {
      EXPECT_EQ(run.colour, NameColour) << run.text;
    }
  }
  EXPECT_EQ(rig.host.EventsStartingWith("caption ").size(), 3u);
}

TEST_F(PrivilegePhaseTest, AdministratorScriptingAnotherSchemaWritesThatSchemasPrivileges) {
  SourcePhaseRig rig("APP:SYSTEM@TEST");
  const std::string report = Script(rig, "APP");
  EXPECT_EQ(report, AppPrivileges());
  EXPECT_EQ(report.find("DBA"), std::string::npos);
  EXPECT_EQ(report.find("UNLIMITED TABLESPACE"), std::string::npos);
}

TEST_F(PrivilegePhaseTest, NamesThatNeedQuotesAreQuotedGranteeIncluded) {
  for (const char* sql :
       {"create user \"Mixed Case\" identified by x", "grant create session to \"Mixed Case\"",
        "grant \"CONNECT\" to \"Mixed Case\" with admin option",
        "create table HR.\"order lines\" (ID number)",
        "grant delete on HR.\"order lines\" to \"Mixed Case\""}) {
    ASSERT_TRUE(client.session->ExecuteSql(sql)) << sql;
  }
  SourcePhaseRig rig;
  const std::string report = Script(rig, "Mixed Case");
  EXPECT_NE(report.find("GRANT CREATE SESSION TO \"Mixed Case\";\r\n"), std::string::npos);
  EXPECT_NE(report.find("GRANT CONNECT TO \"Mixed Case\" WITH ADMIN OPTION;\r\n"),
            std::string::npos);
  EXPECT_NE(report.find("GRANT DELETE ON HR.\"order lines\" TO \"Mixed Case\";\r\n"),
            std::string::npos);
}

TEST_F(PrivilegePhaseTest, OnlyObjectPrivilegesSelectedRunsOnlyThatKind) {
  ASSERT_TRUE(client.session->Connect("APP", "app", database, true, true));
  SourcePhaseRig rig;
  rig.settings.DoSystemPrivileges = 0;
  rig.settings.DoRolePrivileges = 0;
  const std::string report = Script(rig, "APP");
  EXPECT_EQ(report.find("system privileges"), std::string::npos);
  EXPECT_EQ(report.find("role privileges"), std::string::npos);
  EXPECT_EQ(report.rfind(KindBanner("object privileges", ObjectNote), 0), 0u);
  EXPECT_EQ(rig.host.EventsStartingWith("status Analyzing System"), std::vector<std::string>{});
}

TEST_F(PrivilegePhaseTest, UnreadableSystemQueryEndsThePhaseWithTheErrorBlock) {
  // APP may not read the dba_ views, so it cannot script HR.
  ASSERT_TRUE(client.session->Connect("APP", "app", database, true, true));
  SourcePhaseRig rig("HR:APP@TEST");
  EXPECT_EQ(Script(rig, "HR"),
            "\r\n\r\n\r\n-- The following error was received while analyzing privileges in "
            "database HR:APP@TEST :\r\n-- ORA-00942: table or view does not exist\r\n\r\n");
  EXPECT_EQ(rig.host.EventsStartingWith("status Analyzing Role"), std::vector<std::string>{});
  // The report lacks all three lists, and the run says so.
  ASSERT_EQ(rig.unscripted.Count(), 3u);
  EXPECT_EQ(rig.unscripted.Objects()[0].Kind, "LIST OF SYSTEM PRIVILEGES");
  EXPECT_EQ(rig.unscripted.Objects()[2].Kind, "LIST OF OBJECT PRIVILEGES");
  EXPECT_EQ(rig.unscripted.Objects()[2].Name, "HR");
}

TEST_F(PrivilegePhaseTest, SkipDropsTheStatementsOfTheKindUnderWay) {
  ASSERT_TRUE(client.session->Connect("APP", "app", database, true, true));
  SourcePhaseRig rig;
  rig.flags.SkipRequested = 1;
  const std::string report = Script(rig, "APP");
  EXPECT_NE(
      report.find(KindBanner("system privileges", "") + "\r\n-- System Privileges Skipped ..."),
      std::string::npos);
  EXPECT_EQ(report.find("GRANT CREATE TABLE"), std::string::npos);
  EXPECT_NE(report.find("GRANT CONNECT TO APP;"), std::string::npos);
  EXPECT_EQ(rig.flags.SkipRequested, 0);
}

}  // namespace
