// Object and collection types named in SQL: which calls of a statement are
// constructors, and the attributes they fill.
#include <algorithm>

#include "sandbox/server/ServerSession.h"
#include "sandbox/server/SqliteHandle.h"
#include "sandbox/server/dictionary/Dictionary.h"

namespace sandbox {

std::optional<ObjectTypeShape> ServerSession::ResolveObjectType(
    const std::vector<std::string>& parts) {
  std::lock_guard lock(database_->Mutex());
  SqliteRunner runner(database_->Handle());
  // Most calls are of functions: a name no type has is passed over without
  // asking the catalog more.
  if (SchemaChangedSince(typeView_)) {
    typeNames_.clear();
    std::vector<std::vector<std::string>> rows;
    runner.Query("SELECT DISTINCT TYPE_NAME FROM \"SYS.ALL_TYPES\"", {}, rows);
    for (const auto& row : rows)
      typeNames_.insert(row[0]);
  }
  if (parts.empty() || parts.size() > 2 || typeNames_.count(parts.back()) == 0)
    return std::nullopt;
  ObjectTypeShape shape;
  shape.owner = parts.size() == 2 ? parts[0] : schema_;
  shape.name = parts.back();
  std::vector<std::vector<std::string>> rows;
  runner.Query(
      "SELECT t.TYPECODE, c.ELEM_TYPE_OWNER, c.ELEM_TYPE_NAME, c.UPPER_BOUND, "
      "t.SUPERTYPE_NAME, t.INSTANTIABLE FROM "
      "\"SYS.ALL_TYPES\" t LEFT JOIN "
      "\"SYS.ALL_COLL_TYPES\" c ON c.OWNER = t.OWNER AND c.TYPE_NAME = t.TYPE_NAME "
      "WHERE t.OWNER = ? AND t.TYPE_NAME = ? AND t.INCOMPLETE = 'NO'",
      {Value::Text(shape.owner), Value::Text(shape.name)}, rows);
  if (rows.empty())
    return std::nullopt;
  // The attributes of an object type, or of a collection's object elements.
  auto readAttributes = [&](const std::string& owner, const std::string& name,
                            std::vector<std::string>& names, std::vector<bool>& userTypes) {
    std::vector<std::vector<std::string>> attributes;
    runner.Query(
        "SELECT ATTR_NAME, ATTR_TYPE_OWNER FROM \"SYS.ALL_TYPE_ATTRS\" WHERE OWNER = ? AND "
        "TYPE_NAME = ? ORDER BY ATTR_NO",
        {Value::Text(owner), Value::Text(name)}, attributes);
    for (const auto& row : attributes) {
      names.push_back(row[0]);
      userTypes.push_back(!row[1].empty());
    }
  };
  if (rows[0][0] == "COLLECTION") {
    shape.collection = true;
    shape.elementIsUserType = !rows[0][1].empty();
    shape.upperBound = rows[0][3].empty() ? 0 : std::stoll(rows[0][3]);
    if (shape.elementIsUserType)
      readAttributes(rows[0][1], rows[0][2], shape.elementAttributes,
                     shape.elementAttributeIsUserType);
    return shape;
  }
  shape.subtype = !rows[0][4].empty();
  shape.instantiable = rows[0][5] != "NO";
  readAttributes(shape.owner, shape.name, shape.attributes, shape.attributeIsUserType);
  return shape;
}

std::vector<TypeFamilyMember> ServerSession::TypeFamily(const std::string& owner,
                                                        const std::string& name) {
  std::lock_guard lock(database_->Mutex());
  SqliteRunner runner(database_->Handle());
  std::vector<std::vector<std::string>> rows;
  // Up to the root, then every type under it, level by level.
  runner.Query(
      "WITH RECURSIVE up(o, n, depth) AS (SELECT ?1, ?2, 0 UNION ALL SELECT t.SUPERTYPE_OWNER, "
      "t.SUPERTYPE_NAME, up.depth + 1 FROM up JOIN \"SYS.ALL_TYPES\" t ON t.OWNER = up.o AND "
      "t.TYPE_NAME = up.n WHERE t.SUPERTYPE_NAME IS NOT NULL AND up.depth < 64), "
      "root AS (SELECT o, n FROM up ORDER BY depth DESC LIMIT 1), "
      "down(o, n, so, sn, level) AS (SELECT t.OWNER, t.TYPE_NAME, NULL, NULL, 0 FROM root JOIN "
      "\"SYS.ALL_TYPES\" t ON t.OWNER = root.o AND t.TYPE_NAME = root.n AND t.TYPECODE = "
      "'OBJECT' UNION ALL SELECT t.OWNER, t.TYPE_NAME, down.o, down.n, down.level + 1 FROM down "
      "JOIN \"SYS.ALL_TYPES\" t ON t.SUPERTYPE_OWNER = down.o AND t.SUPERTYPE_NAME = down.n "
      "WHERE down.level < 64) "
      "SELECT d.o || '.' || d.n, coalesce(d.so || '.' || d.sn, ''), rawtohex(t.TYPEID), (SELECT "
      "group_concat(m.METHOD_NAME, ' ') FROM \"SYS.ALL_TYPE_METHODS\" m WHERE m.OWNER = d.o AND "
      "m.TYPE_NAME = d.n AND m.INHERITED = 'NO') FROM down d JOIN \"SYS.ALL_TYPES\" t ON "
      "t.OWNER = d.o AND t.TYPE_NAME = d.n ORDER BY d.level",
      {Value::Text(owner), Value::Text(name)}, rows);
  std::vector<TypeFamilyMember> family;
  for (const auto& row : rows) {
    TypeFamilyMember& member = family.emplace_back();
    member.type = row[0];
    member.supertype = row[1];
    member.typeId = row[2];
    for (std::size_t at = 0; at < row[3].size();) {
      const std::size_t blank = std::min(row[3].find(' ', at), row[3].size());
      member.methods.push_back(row[3].substr(at, blank - at));
      at = blank + 1;
    }
  }
  return family;
}

namespace {

// Rows of a dictionary query whose parameters are the owner and name of the
// table stored as `storage`, then `more`; none when storage names no table.
std::vector<std::vector<std::string>> TableRows(ServerDatabase& database,
                                                const std::string& storage, const char* sql,
                                                std::vector<Value> more = {}) {
  std::vector<std::vector<std::string>> rows;
  std::string owner, table;
  if (!SplitStorageName(storage, owner, table))
    return rows;
  std::vector<Value> params{Value::Text(owner), Value::Text(table)};
  params.insert(params.end(), more.begin(), more.end());
  std::lock_guard lock(database.Mutex());
  SqliteRunner(database.Handle()).Query(sql, params, rows);
  return rows;
}

std::optional<std::pair<std::string, std::string>> FirstPair(
    const std::vector<std::vector<std::string>>& rows) {
  if (rows.empty())
    return std::nullopt;
  return std::make_pair(rows[0][0], rows[0][1]);
}

}  // namespace

bool ServerSession::HoldsSubtypeRows(const std::string& storage) {
  return !TableRows(*database_, storage,
                    "SELECT 1 FROM \"SYS.ALL_TAB_COLS\" WHERE OWNER = ? AND TABLE_NAME = ? AND "
                    "COLUMN_NAME = 'SYS_NC_TYPEID$'")
              .empty();
}

std::optional<std::pair<std::string, std::string>> ServerSession::ObjectTableType(
    const std::string& storage) {
  return FirstPair(TableRows(*database_, storage,
                             "SELECT TABLE_TYPE_OWNER, TABLE_TYPE FROM \"SYS.ALL_OBJECT_TABLES\" "
                             "WHERE OWNER = ? AND TABLE_NAME = ?"));
}

std::optional<std::pair<std::string, std::string>> ServerSession::ColumnObjectType(
    const std::string& storage, const std::string& column) {
  return FirstPair(TableRows(
      *database_, storage,
      "SELECT c.DATA_TYPE_OWNER, c.DATA_TYPE FROM \"SYS.ALL_TAB_COLS\" c JOIN \"SYS.ALL_TYPES\" t "
      "ON t.OWNER = c.DATA_TYPE_OWNER AND t.TYPE_NAME = c.DATA_TYPE AND t.TYPECODE = 'OBJECT' "
      "WHERE c.OWNER = ? AND c.TABLE_NAME = ? AND c.COLUMN_NAME = ?",
      {Value::Text(column)}));
}

}  // namespace sandbox
