// ALL_DEPENDENCIES rows and the invalidation they carry.
#include "sandbox/server/dictionary/Dependencies.h"

#include <algorithm>

namespace sandbox {

namespace {

// Synonyms may name synonyms; a chain this long is a loop.
constexpr int kSynonymDepth = 16;

std::optional<ObjectRef> SynonymTarget(Catalog& catalog, const std::string& owner,
                                       const std::string& name) {
  const auto rows = catalog.Rows(
      "SELECT TABLE_OWNER, TABLE_NAME FROM \"SYS.ALL_SYNONYMS\" WHERE OWNER = ? AND "
      "SYNONYM_NAME = ? AND DB_LINK IS NULL",
      {Value::Text(owner), Value::Text(name)});
  if (rows.empty())
    return std::nullopt;
  return ObjectRef{rows[0][0], rows[0][1], ""};
}

// owner.name as an object, synonyms followed to what they name.
std::optional<ObjectRef> ObjectOrTarget(Catalog& catalog, ObjectRef candidate,
                                        std::vector<ObjectRef>* synonyms) {
  for (int depth = 0; depth < kSynonymDepth; ++depth) {
    const auto type = catalog.ObjectType(candidate.owner, candidate.name);
    const auto target = SynonymTarget(catalog, candidate.owner, candidate.name);
    if (!target)
      return type ? std::optional<ObjectRef>(ObjectRef{candidate.owner, candidate.name, *type})
                  : std::nullopt;
    if (synonyms != nullptr)
      synonyms->push_back({candidate.owner, candidate.name, "SYNONYM"});
    candidate = *target;
  }
  return std::nullopt;
}

}  // namespace

std::optional<ObjectRef> ResolveObjectName(Catalog& catalog, const std::string& owner,
                                           const std::vector<std::string>& parts,
                                           std::vector<ObjectRef>* synonyms) {
  if (parts.empty())
    return std::nullopt;
  if (auto own = ObjectOrTarget(catalog, {owner, parts[0], ""}, synonyms))
    return own;
  if (auto shared = ObjectOrTarget(catalog, {"PUBLIC", parts[0], ""}, synonyms))
    return shared;
  if (parts.size() >= 2 && catalog.UserExists(parts[0]))
    return ObjectOrTarget(catalog, {parts[0], parts[1], ""}, synonyms);
  return std::nullopt;
}

bool RecordDependencies(Catalog& catalog, const ObjectRef& dependant,
                        const std::vector<ObjectRef>& referenced, OraError& error) {
  if (!catalog.Exec(
          "DELETE FROM \"SYS.ALL_DEPENDENCIES\" WHERE OWNER = ? AND NAME = ? AND TYPE = ?",
          {Value::Text(dependant.owner), Value::Text(dependant.name), Value::Text(dependant.type)},
          error))
    return false;
  std::vector<ObjectRef> recorded;
  for (const ObjectRef& each : referenced) {
    if (each == dependant || std::find(recorded.begin(), recorded.end(), each) != recorded.end())
      continue;
    recorded.push_back(each);
    if (!catalog.Exec(
            "INSERT INTO \"SYS.ALL_DEPENDENCIES\" VALUES (?, ?, ?, ?, ?, ?, NULL, 'HARD')",
            {Value::Text(dependant.owner), Value::Text(dependant.name), Value::Text(dependant.type),
             Value::Text(each.owner), Value::Text(each.name), Value::Text(each.type)},
            error))
      return false;
  }
  return true;
}

bool InvalidateDependants(Catalog& catalog, const std::string& owner, const std::string& name,
                          OraError& error) {
  // Breadth first over the dependants; an object already INVALID has had its
  // own dependants invalidated when it became so, which also ends cycles.
  // A body is used by nothing (its declaration is), so it passes nothing on.
  std::vector<std::pair<std::string, std::string>> pending{{owner, name}};
  while (!pending.empty()) {
    const auto [refOwner, refName] = pending.back();
    pending.pop_back();
    const auto rows = catalog.Rows(
        "SELECT DISTINCT d.OWNER, d.NAME, d.TYPE FROM \"SYS.ALL_DEPENDENCIES\" d JOIN "
        "\"SYS.ALL_OBJECTS\" o ON o.OWNER = d.OWNER AND o.OBJECT_NAME = d.NAME AND "
        "o.OBJECT_TYPE = d.TYPE WHERE d.REFERENCED_OWNER = ? AND d.REFERENCED_NAME = ? AND "
        "o.STATUS = 'VALID'",
        {Value::Text(refOwner), Value::Text(refName)});
    for (const auto& row : rows) {
      if (!catalog.Exec("UPDATE \"SYS.ALL_OBJECTS\" SET STATUS = 'INVALID' WHERE OWNER = ? AND "
                        "OBJECT_NAME = ? AND OBJECT_TYPE = ?",
                        {Value::Text(row[0]), Value::Text(row[1]), Value::Text(row[2])}, error))
        return false;
      if (row[2] != "PACKAGE BODY" && row[2] != "TYPE BODY")
        pending.emplace_back(row[0], row[1]);
    }
  }
  return true;
}

bool ForgetObject(Catalog& catalog, const ObjectRef& object, OraError& error) {
  const std::vector<Value> key{Value::Text(object.owner), Value::Text(object.name),
                               Value::Text(object.type)};
  // Nothing refers to a body but through its declaration, which stays.
  const bool isBody = object.type == "PACKAGE BODY" || object.type == "TYPE BODY";
  return (isBody || InvalidateDependants(catalog, object.owner, object.name, error)) &&
         catalog.Exec(
             "DELETE FROM \"SYS.ALL_DEPENDENCIES\" WHERE (OWNER = ?1 AND NAME = ?2 AND "
             "TYPE = ?3) OR (REFERENCED_OWNER = ?1 AND REFERENCED_NAME = ?2 AND "
             "REFERENCED_TYPE = ?3)",
             key, error) &&
         catalog.Exec("DELETE FROM \"SYS.ALL_ERRORS\" WHERE OWNER = ? AND NAME = ? AND TYPE = ?",
                      key, error);
}

bool ForgetSchema(Catalog& catalog, const std::string& user, OraError& error) {
  for (const auto& row : catalog.Rows("SELECT DISTINCT REFERENCED_NAME FROM "
                                      "\"SYS.ALL_DEPENDENCIES\" WHERE REFERENCED_OWNER = ?",
                                      {Value::Text(user)}))
    if (!InvalidateDependants(catalog, user, row[0], error))
      return false;
  return catalog.Exec(
      "DELETE FROM \"SYS.ALL_DEPENDENCIES\" WHERE OWNER = ?1 OR "
      "REFERENCED_OWNER = ?1",
      {Value::Text(user)}, error);
}

}  // namespace sandbox
