// The server's release decides which dictionary columns and views the blocks
// read: an older server must never be asked for what its dictionary lacks.
#include <gtest/gtest.h>

#include <string>

#include "scripting/tables/ConstraintDdlBlock.h"
#include "scripting/tables/ServerRelease.h"
#include "scripting/tables/TableDdlBlock.h"
#include "tests/scripting/tables/SandboxSchema.h"

namespace {

TEST(ServerReleaseTest, BannersGiveMajorAndMinorRelease) {
  EXPECT_EQ(ReleaseOfBanner("Oracle Database 19c Enterprise Edition Release 19.0.0.0.0 - "
                            "Production"),
            190);
  EXPECT_EQ(ReleaseOfBanner("Oracle Database 11g Enterprise Edition Release 11.2.0.4.0 - 64bit "
                            "Production"),
            112);
  EXPECT_EQ(ReleaseOfBanner("Oracle8i Enterprise Edition Release 8.1.7.0.0 - Production\n"
                            "JServer Release 8.1.7.0.0 - Production"),
            81);
  EXPECT_EQ(ReleaseOfBanner("Oracle7 Server Release 7.3.4.0.0 - Production"), 73);
  EXPECT_EQ(ReleaseOfBanner("Personal Oracle"), 0);
  EXPECT_EQ(ReleaseOfBanner("Release x"), 0);
}

struct Feature {
  const char* text;  // what the blocks read
  int since;         // the first release that has it
};

TEST(ServerReleaseTest, BlocksReadOnlyWhatTheReleaseHas) {
  // Each text appears only where the column or view is read, not where a
  // constant stands in for it.
  const Feature features[] = {
      {"from all_tab_identity_cols", 120},
      {"identity_column, default_on_null", 120},
      {", virtual_column", 110},
      {"from all_tab_cols", 90},
      {"char_length, char_used", 90},
      {"c.index_name", 90},
      {"temporary, duration", 81},
      {"c.deferrable", 80},
      {"t.iot_type", 80},
  };
  for (const int release : {73, 80, 81, 92, 112, 122, 190, 0}) {
    const std::string blocks = TableDdlBlock(release) +
                               ConstraintDdlBlock(ConstraintKinds::KeysAndChecks, release) +
                               ConstraintDdlBlock(ConstraintKinds::ForeignKeys, release);
    for (const Feature& feature : features) {
      const bool read = blocks.find(feature.text) != std::string::npos;
      EXPECT_EQ(read, ReleaseHas(release, feature.since)) << feature.text << " " << release;
    }
  }
}

TEST(ServerReleaseTest, OldReleasesStillScriptTablesAndConstraints) {
  for (const char* release : {"7.3.4", "8.1.7"}) {
    SandboxSchema schema(FreshDatabase("RELEASES") + "?release=" + release);
    schema.Run(
        "create table R (ID number(6) constraint R_PK primary key, NAME varchar2(20) not "
        "null, PARENT number(6) constraint R_FK references R on delete cascade)");
    schema.client.settings->SetString("Settings", "InclPct", "N");
    schema.client.settings->SetString("Settings", "InclStorage", "N");
    EXPECT_EQ(
        schema.ddl->GenerateTableDdl("APP", "R"),
        "CREATE TABLE R (\r\n\t ID\tNUMBER(6)\t    NULL\r\n\t,NAME\tVARCHAR2(20)\tNOT NULL\r\n"
        "\t,PARENT\tNUMBER(6)\t    NULL\r\n)\r\n/\r\n\r\n")
        << release;
    EXPECT_NE(schema.ddl->GenerateConstraintDdl("APP", "R").find("\tCONSTRAINT R_PK\r\n"),
              std::string::npos)
        << release;
    EXPECT_NE(schema.ddl->GenerateForeignKeyDdl("APP", "R").find("\tON DELETE CASCADE\r\n"),
              std::string::npos)
        << release;
    EXPECT_TRUE(schema.client.messages.texts.empty()) << schema.client.messages.texts.front();
  }
}

}  // namespace
