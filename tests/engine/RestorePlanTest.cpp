// The restore plan: which sections a choice of kinds gives, and in what order.
#include "engine/RestorePlan.h"

#include <gtest/gtest.h>

#include "engine/RunSettings.h"

namespace {

using Codes = std::vector<std::string>;

RunSettings NothingChosen() {
  RunSettings settings;
  for (int RunSettings::*flag :
       {&RunSettings::DoTable, &RunSettings::DoIndex, &RunSettings::DoConstraint,
        &RunSettings::DoData, &RunSettings::DoPrivilege, &RunSettings::DoSequence,
        &RunSettings::DoTrigger, &RunSettings::DoViewSource, &RunSettings::DoProcedure,
        &RunSettings::DoFunction, &RunSettings::DoPackage, &RunSettings::DoPackageBody,
        &RunSettings::DoType, &RunSettings::DoTypeBody, &RunSettings::DoSynonym,
        &RunSettings::DoObjectGrant, &RunSettings::DoDatabaseLink, &RunSettings::DoMaterializedView,
        &RunSettings::DoMviewLog}) {
    settings.*flag = 0;
  }
  return settings;
}

TEST(RestorePlanTest, EveryKindGivesTheSectionsInRestoreOrder) {
  const std::vector<PlannedSection> expected = {
      {RestoreSection::Privileges, {}},
      {RestoreSection::Synonyms, {}},
      {RestoreSection::DatabaseLinks, {}},
      {RestoreSection::Sequences, {}},
      {RestoreSection::StoredSource, Codes{"TYPE"}},
      {RestoreSection::Tables, {}},
      {RestoreSection::Data, {}},
      {RestoreSection::Indexes, {}},
      {RestoreSection::Constraints, {}},
      {RestoreSection::MaterializedViewLogs, {}},
      {RestoreSection::StoredSource, Codes{"FUNC", "STP", "PKG", "VIEW"},
       SourcePass::BeforeMaterializedViews},
      {RestoreSection::StoredSource, Codes{"FUNC", "STP", "PKG", "VIEW"},
       SourcePass::OnMaterializedViews},
      {RestoreSection::StoredSource, Codes{"PKGBD", "TYPEB"}},
      {RestoreSection::ObjectGrants, {}},
      {RestoreSection::StoredSource, Codes{"TRIG"}},
  };
  EXPECT_EQ(PlanRestore(RunSettings()), expected);
  EXPECT_TRUE(PlanRestore(NothingChosen()).empty());
}

TEST(RestorePlanTest, ASectionHoldsOnlyTheChosenKindsOfIt) {
  RunSettings settings = NothingChosen();
  settings.DoPackage = 1;
  settings.DoTypeBody = 1;
  settings.DoTrigger = 1;
  EXPECT_EQ(PlanRestore(settings), (std::vector<PlannedSection>{
                                       {RestoreSection::StoredSource, Codes{"PKG"}},
                                       {RestoreSection::StoredSource, Codes{"TYPEB"}},
                                       {RestoreSection::StoredSource, Codes{"TRIG"}},
                                   }));
}

TEST(RestorePlanTest, ViewsAndCodeStandAroundTheMaterializedViewsOnlyWhenThoseAreChosen) {
  RunSettings settings = NothingChosen();
  settings.DoViewSource = 1;
  settings.DoMaterializedView = 1;
  // The second pass writes the materialized views among the views.
  EXPECT_EQ(PlanRestore(settings),
            (std::vector<PlannedSection>{
                {RestoreSection::StoredSource, Codes{"VIEW"}, SourcePass::BeforeMaterializedViews},
                {RestoreSection::StoredSource, Codes{"VIEW"}, SourcePass::OnMaterializedViews},
            }));
  settings.DoViewSource = 0;
  settings.DoMviewLog = 1;
  EXPECT_EQ(PlanRestore(settings), (std::vector<PlannedSection>{
                                       {RestoreSection::MaterializedViewLogs, {}},
                                       {RestoreSection::MaterializedViews, {}},
                                   }));
  settings.DoViewSource = 1;
  settings.DoMviewLog = 0;
  settings.DoMaterializedView = 0;
  EXPECT_EQ(PlanRestore(settings), (std::vector<PlannedSection>{
                                       {RestoreSection::StoredSource, Codes{"VIEW"}},
                                   }));
}

TEST(RestorePlanTest, IndexesOrConstraintsAloneStillReadTheTableListFirst) {
  RunSettings settings = NothingChosen();
  settings.DoConstraint = 1;
  settings.DoData = 1;
  EXPECT_EQ(PlanRestore(settings), (std::vector<PlannedSection>{
                                       {RestoreSection::Tables, {}},
                                       {RestoreSection::Data, {}},
                                       {RestoreSection::Constraints, {}},
                                   }));
}

}  // namespace
