// Run settings: stored keys, defaults and order, the prefixes, data conditions
// and exclusion lists; the report character format.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "config/MemorySettingsStore.h"
#include "engine/ReportCharFormat.h"
#include "engine/RunSettings.h"

namespace {

// Every stored integer with its default, in the order of loading and saving.
const std::vector<std::pair<std::string, int>> ExpectedStoredInts = {
    {"asn", 0},
    {"ilsn", 0},
    {"as", 0},
    {"asl", 500},
    {"tbl", 2000},
    {"ccl", 0},
    {"cdc", 0},
    {"cdt", 0},
    {"cdf", 0},
    {"cdv", 1},
    {"cds", 0},
    {"cdl", 0},
    {"doc", 1},
    {"dvc", 1},
    {"dpbc", 1},
    {"dpc", 1},
    {"DoTypeCommon", 1},
    {"DoTypeBodyCommon", 1},
    {"DoTriggerCommon", 1},
    {"DoViewSourceCommon", 1},
    {"DoingUpgradeScript", 0},
    {"dfc", 1},
    {"dstc", 1},
    {"dos", 1},
    {"dvsk", 1},
    {"dfs", 1},
    {"dps", 1},
    {"DoTypeSkipped", 1},
    {"DoTypeBodySkipped", 1},
    {"DoTriggerSkipped", 1},
    {"DoViewSourceSkipped", 1},
    {"dpbs", 1},
    {"dss", 1},
    {"dsp", 1},
    {"drp", 1},
    {"dcc", 1},
    {"dcn", 1},
    {"dtb", 1},
    {"dop", 1},
    {"dst", 1},
    {"dpr", 1},
    {"dsq", 1},
    {"dct", 1},
    {"dtr", 1},
    {"dsc", 1},
    {"DoType", 1},
    {"DoTypeBody", 1},
    {"DoViewSource", 1},
    {"dfn", 1},
    {"dpk", 1},
    {"dpb", 1},
    {"din", 1},
    {"dda", 1},
    {"ndd", 1},
    {"ndv", 1},
    {"ndc", 1},
    {"ndt", 1},
    {"ndf", 1},
    {"ndp", 1},
    {"ndpb", 1},
    {"NoDiffType", 1},
    {"NoDiffTypeBody", 1},
    {"NoDiffViewSource", 1},
    {"nds", 1},
    {"bdt", 0},
    {"iss", 1},
    {"DoSynonym", 1},
    {"DoObjectGrant", 1},
    {"DoDatabaseLink", 1},
    {"DoMaterializedView", 1},
    {"DoMviewLog", 1},
};

TEST(RunSettingsStore, EmptyStoreGivesEveryDefaultAndSavesInKeyOrder) {
  ASSERT_EQ(ExpectedStoredInts.size(), 71u);
  MemorySettingsStore empty;
  RunSettings settings;
  settings.DoTable = 0;  // loading must overwrite what was there
  settings.AutoSaveLines = 7;
  settings.LoadRunSettings(empty);

  MemorySettingsStore saved;
  settings.SaveRunSettings(saved);
  ASSERT_EQ(saved.WriteLog().size(), ExpectedStoredInts.size());
  for (std::size_t i = 0; i < ExpectedStoredInts.size(); ++i) {
    const auto& [key, value] = ExpectedStoredInts[i];
    EXPECT_EQ(saved.WriteLog()[i], std::make_pair(std::string(SettingsSection), key)) << i;
    EXPECT_EQ(saved.GetInt(SettingsSection, key, -1), value) << key;
  }
  EXPECT_EQ(settings.ConstraintNameMode, 1);
  EXPECT_EQ(settings.TriggerSourceLimit, 2000);
  EXPECT_EQ(settings.AutoSave, 0);
  EXPECT_EQ(settings.AutoSaveLines, 500);
  EXPECT_EQ(settings.CommentPrefix, "");
  EXPECT_EQ(settings.SqlCommentPrefix, "");
}

// Distinct values for every key, each within its key's documented range.
int DistinctValue(std::size_t i) {
  return ExpectedStoredInts[i].first == std::string("dcn") ? 2 : static_cast<int>(100 + i);
}

TEST(RunSettingsStore, EveryKeyRoundTripsToItsOwnField) {
  MemorySettingsStore store;
  for (std::size_t i = 0; i < ExpectedStoredInts.size(); ++i) {
    store.SetInt(SettingsSection, ExpectedStoredInts[i].first, DistinctValue(i));
  }
  RunSettings settings;
  settings.LoadRunSettings(store);
  MemorySettingsStore saved;
  settings.SaveRunSettings(saved);
  for (std::size_t i = 0; i < ExpectedStoredInts.size(); ++i) {
    EXPECT_EQ(saved.GetInt(SettingsSection, ExpectedStoredInts[i].first, -1), DistinctValue(i))
        << ExpectedStoredInts[i].first;
  }
  EXPECT_EQ(settings.RunMode, 120);  // DoingUpgradeScript
  EXPECT_EQ(settings.CommentPrefix, "*  ");
  EXPECT_EQ(settings.SqlCommentPrefix, "-- ");
  EXPECT_EQ(RunSettings::StoredKeys().front(), "asn");
  EXPECT_EQ(RunSettings::StoredKeys().back(), "DoMviewLog");
}

TEST(RunSettingsStore, IntegersOutOfTheirRangesAreTakenAsTheNearestEnd) {
  MemorySettingsStore store;
  store.SetInt(SettingsSection, "asl", 0);
  store.SetInt(SettingsSection, "tbl", 2147483647);
  store.SetInt(SettingsSection, "dcn", -7);
  RunSettings settings;
  settings.LoadRunSettings(store);
  EXPECT_EQ(settings.AutoSaveLines, 1);
  EXPECT_EQ(settings.TriggerSourceLimit, 64000);
  EXPECT_EQ(settings.ConstraintNameMode, 0);
  store.SetInt(SettingsSection, "asl", 1000000);
  store.SetInt(SettingsSection, "tbl", 99);
  settings.LoadRunSettings(store);
  EXPECT_EQ(settings.AutoSaveLines, 999999);
  EXPECT_EQ(settings.TriggerSourceLimit, 100);
}

TEST(RunSettingsLookups, DataConditionDropsALeadingWhereKeyword) {
  RunSettings settings;
  settings.DataConditions = {
      {"LOWER", "where  x = 1"}, {"PADDED", "  WHERE x = 1"}, {"GLUED", "WHEREx = 1"},
      {"TAB", "Where\tx = 1"},   {"PLAIN", "x = 1"},          {"EMPTY", ""},
      {"BARE", "  where   "},    {"KEYWORD", "WHERE"},
  };
  std::string condition;
  ASSERT_TRUE(settings.GetDataCondition("LOWER", condition));
  EXPECT_EQ(condition, " x = 1");
  ASSERT_TRUE(settings.GetDataCondition("PADDED", condition));
  EXPECT_EQ(condition, "x = 1");
  ASSERT_TRUE(settings.GetDataCondition("GLUED", condition));
  EXPECT_EQ(condition, "WHEREx = 1");
  ASSERT_TRUE(settings.GetDataCondition("TAB", condition));
  EXPECT_EQ(condition, "x = 1");
  ASSERT_TRUE(settings.GetDataCondition("PLAIN", condition));
  EXPECT_EQ(condition, "x = 1");
  EXPECT_FALSE(settings.GetDataCondition("EMPTY", condition));
  EXPECT_FALSE(settings.GetDataCondition("MISSING", condition));
  EXPECT_FALSE(settings.GetDataCondition("lower", condition));  // the key matches exactly
  // A keyword with nothing after it would leave the query ending in "where".
  EXPECT_FALSE(settings.GetDataCondition("BARE", condition));
  EXPECT_TRUE(condition.empty());
  // "WHERE" alone is not followed by a blank, so it stays as typed.
  ASSERT_TRUE(settings.GetDataCondition("KEYWORD", condition));
  EXPECT_EQ(condition, "WHERE");
}

TEST(RunSettingsLookups, TableExclusionIgnoresCase) {
  RunSettings settings;
  settings.ExcludedTables = {"emp", "Dept_History"};
  EXPECT_TRUE(settings.IsTableExcluded("EMP"));
  EXPECT_TRUE(settings.IsTableExcluded("DEPT_HISTORY"));
  EXPECT_FALSE(settings.IsTableExcluded("EMPLOYEES"));
  EXPECT_FALSE(settings.IsTableExcluded("EM"));
}

TEST(ReportCharFormatStore, DefaultsRoundTripAndLongFaceNames) {
  MemorySettingsStore store;
  const ReportCharFormat defaults = ReportCharFormat::Load(store);
  EXPECT_EQ(defaults.faceName, "Courier New");
  EXPECT_EQ(defaults.height, 170);
  EXPECT_DOUBLE_EQ(defaults.PointSize(), 8.5);
  EXPECT_EQ(defaults.mask, 0xB0000013u);
  EXPECT_EQ(defaults.effects, 0x40000000u);

  ReportCharFormat chosen = defaults;
  chosen.SetFont("DejaVu Sans Mono", 11, true, false);
  chosen.Save(store);
  EXPECT_EQ(store.GetInt(SettingsSection, "yHeight", 0), 220);
  const ReportCharFormat loaded = ReportCharFormat::Load(store);
  EXPECT_EQ(loaded, chosen);
  EXPECT_TRUE(loaded.Bold());
  EXPECT_FALSE(loaded.Italic());
  EXPECT_EQ(loaded.mask, 0xB0000013u);  // the high bit survives the signed store

  store.SetString(SettingsSection, "szFaceName", std::string(40, 'F'));
  EXPECT_EQ(ReportCharFormat::Load(store).faceName, std::string(31, 'F'));
}

}  // namespace
