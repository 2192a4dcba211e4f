// RestorePlan: the sections of a scripting run in the order a server can
// replay them, so that running the report rebuilds the schema. Each row of
// the plan's table names a section and the kinds of objects it holds; a
// section stands in a run when any of its kinds is chosen. What one object
// needs before it is created decides the order: types before the tables whose
// columns use them, rows before the keys that check them, code before the
// views that call it, triggers last so that replayed rows fire none.
#pragma once

#include <string>
#include <vector>

struct RunSettings;

enum class RestoreSection {
  Privileges,
  // Synonyms and database links come before any code or view that names them.
  Synonyms,
  DatabaseLinks,
  Sequences,
  // The table list and, when tables are chosen, their CREATE TABLE scripts.
  Tables,
  Data,
  Indexes,
  // Primary, unique and check constraints, then foreign keys.
  Constraints,
  // Stored code or views of the kinds in sourceCodes, in dependency order.
  StoredSource,
  // After the keys: a log WITH PRIMARY KEY needs its table's primary key.
  MaterializedViewLogs,
  // A section of its own only when no views or code are chosen.
  MaterializedViews,
  // The grants the schema made, once every object they name exists.
  ObjectGrants,
};

// Which objects of its kinds a StoredSource section writes. Views and code
// that use a materialized view can only be created once it exists, and a
// materialized view may use views and code: their section is written in two
// passes around the materialized views.
enum class SourcePass {
  Whole,
  BeforeMaterializedViews,  // what uses no materialized view, with the banners
  // The materialized views and what uses one, directly or through the
  // others, in one dependency order (the MaterializedViews section is then
  // left out of the plan).
  OnMaterializedViews,
};

struct PlannedSection {
  RestoreSection section;
  // The chosen stored-source kinds of a StoredSource section ("TYPE", "FUNC",
  // ...), in the order that breaks ties between independent objects.
  std::vector<std::string> sourceCodes;
  SourcePass pass = SourcePass::Whole;

  bool operator==(const PlannedSection&) const = default;
};

// The sections of a run with settings' chosen kinds, in restore order.
std::vector<PlannedSection> PlanRestore(const RunSettings& settings);
