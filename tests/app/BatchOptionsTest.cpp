// The headless command line: what it accepts, what it refuses, and the kinds
// it selects.
#include <gtest/gtest.h>

#include "app/BatchOptions.h"
#include "engine/RunSettings.h"

namespace {

std::optional<std::string> Parse(const std::vector<std::string>& arguments, BatchOptions& options) {
  return ParseBatchArguments(arguments, options);
}

TEST(BatchOptionsTest, FullCommandLineIsTakenApart) {
  BatchOptions options;
  ASSERT_FALSE(Parse({"--batch", "--connect", "S:u/p@db", "--kinds", "tables,data,tables",
                      "--report", "out.sql", "--settings", "/tmp/qm", "--password-file", "pw"},
                     options));
  EXPECT_TRUE(options.Batch);
  EXPECT_EQ(options.ConnectString, "S:u/p@db");
  EXPECT_EQ(options.Kinds, (std::vector<std::string>{"tables", "data"}));
  EXPECT_EQ(options.ReportFile, "out.sql");
  EXPECT_EQ(options.SettingsDirectory, "/tmp/qm");
  EXPECT_EQ(options.PasswordFile, "pw");

  ASSERT_FALSE(Parse({"--connect", "u/p@db", "--batch"}, options));
  EXPECT_EQ(options.Kinds, BatchKindNames());
  EXPECT_EQ(options.Kinds.size(), 19u);
  EXPECT_FALSE(options.Strict);

  ASSERT_FALSE(Parse({"--batch", "--connect", "u/p@db", "--strict", "--kinds",
                      "synonyms,object-grants,db-links,materialized-views,mview-logs"},
                     options));
  EXPECT_TRUE(options.Strict);
  EXPECT_EQ(options.Kinds.size(), 5u);
  EXPECT_TRUE(options.ReportFile.empty());

  ASSERT_FALSE(Parse({"--batch", "--connect", "u/p@db", "--query", "select * from t"}, options));
  EXPECT_EQ(options.Query, "select * from t");
  ASSERT_FALSE(Parse({"--batch", "--connect", "u/p@db", "--query-file", "q.sql"}, options));
  EXPECT_EQ(options.QueryFile, "q.sql");

  ASSERT_FALSE(Parse({"--help"}, options));
  EXPECT_TRUE(options.Help);
}

TEST(BatchOptionsTest, BadCommandLinesAreRefusedWithAReason) {
  BatchOptions options;
  const std::vector<std::vector<std::string>> bad = {
      {"--batch"},                                            // no connect string
      {"--connect", "u/p@db"},                                // no --batch
      {"--batch", "--connect"},                               // value missing
      {"--batch", "--connect", ""},                           // empty value
      {"--batch", "--connect", "u@d", "--kinds", "tables,"},  // empty kind
      {"--batch", "--connect", "u@d", "--kinds", "Tables"},   // names are lower case
      {"--batch", "--connect", "u@d", "--kinds", "tables,synonym"},
      {"--batch", "--connect", "u@d", "--verbose"},
      {"--batch", "--connect", "u@d", "--query", "select 1 from dual", "--query-file", "q.sql"},
      {"--batch", "--connect", "u@d", "--query"},
  };
  for (const std::vector<std::string>& arguments : bad) {
    const std::optional<std::string> problem = Parse(arguments, options);
    EXPECT_TRUE(problem.has_value()) << arguments.back();
  }
  std::string error;
  EXPECT_FALSE(ParseKindList("tables,grants", error));
  EXPECT_EQ(error, "unknown kind 'grants'");
}

TEST(BatchOptionsTest, KindsSwitchExactlyTheirFlags) {
  RunSettings settings;
  SelectKinds(settings, {"package-bodies", "views", "type-bodies"});
  EXPECT_EQ(settings.DoPackageBody, 1);
  EXPECT_EQ(settings.DoViewSource, 1);
  EXPECT_EQ(settings.DoTypeBody, 1);
  for (const int flag :
       {settings.DoTable, settings.DoIndex, settings.DoConstraint, settings.DoData,
        settings.DoPrivilege, settings.DoSequence, settings.DoTrigger, settings.DoProcedure,
        settings.DoFunction, settings.DoPackage, settings.DoType, settings.DoSynonym,
        settings.DoObjectGrant, settings.DoDatabaseLink, settings.DoMaterializedView,
        settings.DoMviewLog}) {
    EXPECT_EQ(flag, 0);
  }
  SelectKinds(settings, {"mview-logs", "db-links"});
  EXPECT_EQ(settings.DoMviewLog + settings.DoDatabaseLink, 2);
  EXPECT_EQ(settings.DoMaterializedView + settings.DoSynonym + settings.DoPackageBody, 0);
  SelectKinds(settings, BatchKindNames());
  EXPECT_EQ(settings.DoTable + settings.DoIndex + settings.DoConstraint + settings.DoData +
                settings.DoPrivilege + settings.DoSequence + settings.DoTrigger +
                settings.DoViewSource + settings.DoFunction + settings.DoPackage +
                settings.DoPackageBody + settings.DoProcedure + settings.DoType +
                settings.DoTypeBody + settings.DoSynonym + settings.DoObjectGrant +
                settings.DoDatabaseLink + settings.DoMaterializedView + settings.DoMviewLog,
            19);
}

TEST(BatchOptionsTest, HeadlessIsChosenByBatchOrHelpOnly) {
  EXPECT_TRUE(WantsHeadless({"--settings", "d", "--batch"}));
  EXPECT_TRUE(WantsHeadless({"--help"}));
  EXPECT_FALSE(WantsHeadless({"--settings", "d"}));
  EXPECT_FALSE(WantsHeadless({"config.qmo"}));
}

}  // namespace
