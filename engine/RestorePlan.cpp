// The restore order of a scripting run.
#include "engine/RestorePlan.h"

#include <algorithm>
#include <array>

#include "engine/RunSettings.h"

namespace {

// One chosen-kind flag of a section; code names a stored-source kind.
struct SectionKind {
  int RunSettings::*flag = nullptr;
  const char* code = nullptr;
};

struct SectionRule {
  RestoreSection section;
  std::array<SectionKind, 4> kinds;
  SourcePass pass = SourcePass::Whole;
};

constexpr std::array<SectionKind, 4> CodeAndViewKinds = {{{&RunSettings::DoFunction, "FUNC"},
                                                          {&RunSettings::DoProcedure, "STP"},
                                                          {&RunSettings::DoPackage, "PKG"},
                                                          {&RunSettings::DoViewSource, "VIEW"}}};

// The restore order, one row per section. The table phase also runs for
// indexes or constraints alone: it reads the table list they walk.
constexpr SectionRule Rules[] = {
    {RestoreSection::Privileges, {{{&RunSettings::DoPrivilege}}}},
    {RestoreSection::Synonyms, {{{&RunSettings::DoSynonym}}}},
    {RestoreSection::DatabaseLinks, {{{&RunSettings::DoDatabaseLink}}}},
    {RestoreSection::Sequences, {{{&RunSettings::DoSequence}}}},
    {RestoreSection::StoredSource, {{{&RunSettings::DoType, "TYPE"}}}},
    {RestoreSection::Tables,
     {{{&RunSettings::DoTable}, {&RunSettings::DoIndex}, {&RunSettings::DoConstraint}}}},
    {RestoreSection::Data, {{{&RunSettings::DoData}}}},
    {RestoreSection::Indexes, {{{&RunSettings::DoIndex}}}},
    {RestoreSection::Constraints, {{{&RunSettings::DoConstraint}}}},
    {RestoreSection::MaterializedViewLogs, {{{&RunSettings::DoMviewLog}}}},
    // Views and code that a server compiles when it is created, in one
    // order: a function may read a view that calls another function. What
    // uses a materialized view follows the materialized views.
    {RestoreSection::StoredSource, CodeAndViewKinds, SourcePass::BeforeMaterializedViews},
    {RestoreSection::MaterializedViews, {{{&RunSettings::DoMaterializedView}}}},
    {RestoreSection::StoredSource, CodeAndViewKinds, SourcePass::OnMaterializedViews},
    {RestoreSection::StoredSource,
     {{{&RunSettings::DoPackageBody, "PKGBD"}, {&RunSettings::DoTypeBody, "TYPEB"}}}},
    {RestoreSection::ObjectGrants, {{{&RunSettings::DoObjectGrant}}}},
    // Triggers last: no statement after them may fire them (a DDL trigger
    // fires on GRANT too).
    {RestoreSection::StoredSource, {{{&RunSettings::DoTrigger, "TRIG"}}}},
};

}  // namespace

std::vector<PlannedSection> PlanRestore(const RunSettings& settings) {
  std::vector<PlannedSection> plan;
  for (const SectionRule& rule : Rules) {
    bool chosen = false;
    std::vector<std::string> codes;
    for (const SectionKind& kind : rule.kinds) {
      if (kind.flag == nullptr || settings.*kind.flag == 0) {
        continue;
      }
      chosen = true;
      if (kind.code != nullptr) {
        codes.emplace_back(kind.code);
      }
    }
    if (chosen) {
      plan.push_back({rule.section, std::move(codes), rule.pass});
    }
  }
  // The pass after the materialized views writes them, among what they need
  // and what needs them (a view over one may be read by another); without
  // materialized views their section's neighbours are one section.
  if (settings.DoMaterializedView != 0 &&
      std::any_of(plan.begin(), plan.end(), [](const PlannedSection& planned) {
        return planned.pass == SourcePass::OnMaterializedViews;
      })) {
    std::erase_if(plan, [](const PlannedSection& planned) {
      return planned.section == RestoreSection::MaterializedViews;
    });
  }
  if (settings.DoMaterializedView == 0) {
    std::erase_if(plan, [](const PlannedSection& planned) {
      return planned.pass == SourcePass::OnMaterializedViews;
    });
    for (PlannedSection& planned : plan) {
      planned.pass = SourcePass::Whole;
    }
  }
  return plan;
}
