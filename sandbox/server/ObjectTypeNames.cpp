// Object and collection types named in SQL: which calls of a statement are
// constructors, and the attributes they fill.
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
      "SELECT t.TYPECODE, c.ELEM_TYPE_OWNER, c.ELEM_TYPE_NAME, c.UPPER_BOUND FROM "
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
  readAttributes(shape.owner, shape.name, shape.attributes, shape.attributeIsUserType);
  return shape;
}

std::optional<std::pair<std::string, std::string>> ServerSession::ObjectTableType(
    const std::string& storage) {
  std::string owner, table;
  if (!SplitStorageName(storage, owner, table))
    return std::nullopt;
  std::lock_guard lock(database_->Mutex());
  SqliteRunner runner(database_->Handle());
  std::vector<std::vector<std::string>> rows;
  runner.Query(
      "SELECT TABLE_TYPE_OWNER, TABLE_TYPE FROM \"SYS.ALL_OBJECT_TABLES\" WHERE OWNER = ? AND "
      "TABLE_NAME = ?",
      {Value::Text(owner), Value::Text(table)}, rows);
  if (rows.empty())
    return std::nullopt;
  return std::make_pair(rows[0][0], rows[0][1]);
}

std::optional<std::pair<std::string, std::string>> ServerSession::ColumnObjectType(
    const std::string& storage, const std::string& column) {
  std::string owner, table;
  if (!SplitStorageName(storage, owner, table))
    return std::nullopt;
  std::lock_guard lock(database_->Mutex());
  SqliteRunner runner(database_->Handle());
  std::vector<std::vector<std::string>> rows;
  runner.Query(
      "SELECT c.DATA_TYPE_OWNER, c.DATA_TYPE FROM \"SYS.ALL_TAB_COLS\" c JOIN \"SYS.ALL_TYPES\" t "
      "ON t.OWNER = c.DATA_TYPE_OWNER AND t.TYPE_NAME = c.DATA_TYPE AND t.TYPECODE = 'OBJECT' "
      "WHERE c.OWNER = ? AND c.TABLE_NAME = ? AND c.COLUMN_NAME = ?",
      {Value::Text(owner), Value::Text(table), Value::Text(column)}, rows);
  if (rows.empty())
    return std::nullopt;
  return std::make_pair(rows[0][0], rows[0][1]);
}

}  // namespace sandbox
