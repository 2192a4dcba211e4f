// Dependencies among a schema's objects from the data dictionary.
#include "scripting/source/DictionaryDependencies.h"

#include <utility>

#include "scripting/source/DictionaryQuery.h"

namespace {

constexpr int NameLength = 128;
constexpr int TypeLength = 30;

// Both queries answer dependent type and name, then referenced type and name.
constexpr const char* DependencyQuery =
    "select type, name, referenced_type, referenced_name from all_dependencies "
    "where owner = :owner and referenced_owner = :owner";
constexpr const char* SupertypeQuery =
    "select 'TYPE', type_name, 'TYPE', supertype_name from all_types "
    "where owner = :owner and supertype_owner = :owner and supertype_name is not null";
// Creating a trigger is a CREATE event: a system trigger that fires on it
// must be created after the triggers that are not, and every system trigger
// after the table triggers. A statement that fails fires SERVERERROR
// triggers, so they come after the other triggers but those that fire on
// CREATE, whose firing is certain.
constexpr const char* TriggerFiringQuery =
    "select 'TRIGGER', s.trigger_name, 'TRIGGER', t.trigger_name from all_triggers s, "
    "all_triggers t where s.owner = :owner and t.owner = :owner and "
    "s.base_object_type in ('SCHEMA', 'DATABASE') and t.trigger_name <> s.trigger_name and "
    "(t.base_object_type not in ('SCHEMA', 'DATABASE') or ((s.triggering_event like '%CREATE%' "
    "or s.triggering_event like '%DDL%') and t.triggering_event not like '%CREATE%' and "
    "t.triggering_event not like '%DDL%') or (s.triggering_event like '%SERVERERROR%' and "
    "t.triggering_event not like '%SERVERERROR%' and t.triggering_event not like '%CREATE%' and "
    "t.triggering_event not like '%DDL%'))";
constexpr const char* MaterializedViewUseQuery =
    "select d.type, d.name, 'MATERIALIZED VIEW', d.referenced_name from all_dependencies d, "
    "all_mviews m where d.owner = :owner and d.referenced_owner = :owner and "
    "d.referenced_type in ('TABLE', 'MATERIALIZED VIEW') and m.owner = :owner and m.mview_name = "
    "d.referenced_name";

// The rows of sql for owner added to dependencies; "" or the failure.
std::string ReadInto(OracleSession& session, const char* sql, const std::string& owner,
                     std::vector<ObjectDependency>& dependencies) {
  DictionaryQuery query(session, sql, {TypeLength, NameLength, TypeLength, NameLength});
  query.Bind(":owner", owner);
  std::vector<DictionaryQuery::Row> rows;
  std::string error;
  if (!query.ReadAll(rows, error)) {
    return error;
  }
  for (const DictionaryQuery::Row& row : rows) {
    dependencies.push_back({{row.at(0), row.at(1)}, {row.at(2), row.at(3)}});
  }
  return {};
}

std::string WithoutTrailingWhiteSpace(std::string text) {
  const std::size_t end = text.find_last_not_of(" \t\r\n");
  text.erase(end == std::string::npos ? 0 : end + 1);
  return text;
}

}  // namespace

std::string DictionaryDependencies::ReadDependencies(const std::string& owner,
                                                     const DependencyKinds& kinds,
                                                     std::vector<ObjectDependency>& dependencies) {
  std::string failures;
  const std::pair<const char*, const char*> queries[] = {{"all_dependencies", DependencyQuery},
                                                         {"all_types", SupertypeQuery},
                                                         {"all_triggers", TriggerFiringQuery},
                                                         {"all_mviews", MaterializedViewUseQuery}};
  for (const auto& [view, sql] : queries) {
    if ((sql == SupertypeQuery && !kinds.supertypes) ||
        (sql == TriggerFiringQuery && !kinds.triggerFiring) ||
        (sql == MaterializedViewUseQuery && !kinds.materializedViews)) {
      continue;
    }
    const std::string error = ReadInto(session_, sql, owner, dependencies);
    if (!error.empty()) {
      failures += (failures.empty() ? "" : "; ") + std::string(view) + ": " +
                  WithoutTrailingWhiteSpace(error);
    }
  }
  return failures;
}
