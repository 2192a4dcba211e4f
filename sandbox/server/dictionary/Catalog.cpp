// Dictionary rows of objects.
#include "sandbox/server/dictionary/Catalog.h"

#include <cstdio>

#include "sandbox/server/ErrorMapping.h"
#include "sandbox/server/dictionary/Dependencies.h"
#include "sandbox/server/values/DateFormat.h"

namespace sandbox {

namespace {

// ALL_OBJECTS.TIMESTAMP text: "YYYY-MM-DD:HH24:MI:SS".
std::string ObjectTimestamp(const std::string& iso) {
  std::string text = iso;
  if (text.size() > 10)
    text[10] = ':';
  return text;
}

}  // namespace

bool Catalog::Exec(const std::string& sql, const std::vector<Value>& params, OraError& error) {
  if (runner_.Exec(sql, params))
    return true;
  error = {600, "internal error code, arguments: [catalog], [" + runner_.LastError() + "]"};
  return false;
}

bool Catalog::ExecMapped(const std::string& sql, OraError& error) {
  if (runner_.Exec(sql))
    return true;
  error = MapSqliteError(runner_.LastError());
  return false;
}

std::vector<std::vector<std::string>> Catalog::Rows(const std::string& sql,
                                                    const std::vector<Value>& params) {
  std::vector<std::vector<std::string>> rows;
  runner_.Query(sql, params, rows);
  return rows;
}

bool Catalog::UserExists(const std::string& name) {
  return Any("SELECT 1 FROM \"SYS.ALL_USERS\" WHERE USERNAME = ?", {Value::Text(name)});
}

bool Catalog::RoleExists(const std::string& name) {
  return Any("SELECT 1 FROM \"SYS.DBA_ROLES\" WHERE ROLE = ?", {Value::Text(name)});
}

std::optional<std::string> Catalog::ObjectType(const std::string& owner, const std::string& name) {
  const auto rows = Rows(
      "SELECT OBJECT_TYPE FROM \"SYS.ALL_OBJECTS\" WHERE OWNER = ? AND OBJECT_NAME = ? AND "
      "SUBOBJECT_NAME IS NULL AND OBJECT_TYPE NOT IN "
      "('INDEX', 'TRIGGER', 'PACKAGE BODY', 'TYPE BODY', 'DATABASE LINK', 'MATERIALIZED VIEW')",
      {Value::Text(owner), Value::Text(name)});
  if (rows.empty())
    return std::nullopt;
  return rows[0][0];
}

bool Catalog::AddObject(const std::string& owner, const std::string& name, const std::string& type,
                        OraError& error, const std::string& status) {
  const long long id = database_.NextObjectId();
  const std::string now = DateParts::Now().ToIso();
  const bool hasSegment = type == "TABLE" || type == "INDEX";
  return Exec(
      "INSERT INTO \"SYS.ALL_OBJECTS\" VALUES (?, ?, NULL, ?, ?, ?, ?, ?, ?, ?, 'N', ?, 'N')",
      {Value::Text(owner), Value::Text(name), Value::Integer(id),
       hasSegment ? Value::Integer(id) : Value::Null(), Value::Text(type), Value::Date(now),
       Value::Date(now), Value::Text(ObjectTimestamp(now)), Value::Text(status),
       Value::Text(name.rfind("SYS_", 0) == 0 ? "Y" : "N")},
      error);
}

bool Catalog::AddPartitionObject(const std::string& owner, const std::string& name,
                                 const std::string& partition, const std::string& type,
                                 bool segment, OraError& error) {
  const long long id = database_.NextObjectId();
  const std::string now = DateParts::Now().ToIso();
  return Exec(
      "INSERT INTO \"SYS.ALL_OBJECTS\" VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, 'VALID', 'N', 'N', 'N')",
      {Value::Text(owner), Value::Text(name), Value::Text(partition), Value::Integer(id),
       segment ? Value::Integer(id) : Value::Null(), Value::Text(type), Value::Date(now),
       Value::Date(now), Value::Text(ObjectTimestamp(now))},
      error);
}

bool Catalog::TouchObject(const std::string& owner, const std::string& name,
                          const std::string& type, const std::string& status, OraError& error) {
  const std::string now = DateParts::Now().ToIso();
  return Exec(
      "UPDATE \"SYS.ALL_OBJECTS\" SET LAST_DDL_TIME = ?, TIMESTAMP = ?, STATUS = ? WHERE OWNER = ? "
      "AND "
      "OBJECT_NAME = ? AND OBJECT_TYPE = ?",
      {Value::Date(now), Value::Text(ObjectTimestamp(now)), Value::Text(status), Value::Text(owner),
       Value::Text(name), Value::Text(type)},
      error);
}

bool Catalog::RemoveObject(const std::string& owner, const std::string& name,
                           const std::string& type, OraError& error) {
  return ForgetObject(*this, {owner, name, type}, error) &&
         Exec(
             "DELETE FROM \"SYS.ALL_OBJECTS\" WHERE OWNER = ? AND OBJECT_NAME = ? AND OBJECT_TYPE "
             "= ?",
             {Value::Text(owner), Value::Text(name), Value::Text(type)}, error);
}

std::string Catalog::SystemConstraintName() {
  char name[32];
  std::snprintf(name, sizeof name, "SYS_C%07lld", database_.NextObjectId() - 60000);
  return name;
}

}  // namespace sandbox
