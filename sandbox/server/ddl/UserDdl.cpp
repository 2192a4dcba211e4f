// Users, roles and grants.
#include "sandbox/server/ddl/UserDdl.h"

#include "sandbox/server/ServerSession.h"
#include "sandbox/server/SqliteHandle.h"
#include "sandbox/server/dictionary/Dependencies.h"
#include "sandbox/server/dictionary/Dictionary.h"
#include "sandbox/server/values/DateFormat.h"

namespace sandbox {

namespace {

const char* const kSystemPrivileges[] = {
    "CREATE SESSION",
    "ALTER SESSION",
    "UNLIMITED TABLESPACE",
    "CREATE TABLE",
    "CREATE ANY TABLE",
    "ALTER ANY TABLE",
    "DROP ANY TABLE",
    "SELECT ANY TABLE",
    "INSERT ANY TABLE",
    "UPDATE ANY TABLE",
    "DELETE ANY TABLE",
    "CREATE VIEW",
    "CREATE ANY VIEW",
    "DROP ANY VIEW",
    "CREATE SEQUENCE",
    "CREATE ANY SEQUENCE",
    "DROP ANY SEQUENCE",
    "SELECT ANY SEQUENCE",
    "CREATE PROCEDURE",
    "CREATE ANY PROCEDURE",
    "DROP ANY PROCEDURE",
    "EXECUTE ANY PROCEDURE",
    "ALTER ANY PROCEDURE",
    "CREATE TRIGGER",
    "CREATE ANY TRIGGER",
    "DROP ANY TRIGGER",
    "CREATE TYPE",
    "CREATE ANY TYPE",
    "DROP ANY TYPE",
    "CREATE SYNONYM",
    "CREATE PUBLIC SYNONYM",
    "DROP PUBLIC SYNONYM",
    "CREATE ANY INDEX",
    "DROP ANY INDEX",
    "ALTER ANY INDEX",
    "CREATE USER",
    "ALTER USER",
    "DROP USER",
    "CREATE ROLE",
    "DROP ANY ROLE",
    "GRANT ANY ROLE",
    "GRANT ANY PRIVILEGE",
    "GRANT ANY OBJECT PRIVILEGE",
    "CREATE DATABASE LINK",
    "CREATE PUBLIC DATABASE LINK",
    "DROP PUBLIC DATABASE LINK",
    "CREATE MATERIALIZED VIEW",
    "CREATE ANY MATERIALIZED VIEW",
    "DROP ANY MATERIALIZED VIEW",
    "CREATE DIMENSION",
    "CREATE ANY DIMENSION",
    "DROP ANY DIMENSION",
    "CREATE CLUSTER",
    "SELECT ANY DICTIONARY",
    "ANALYZE ANY",
    "AUDIT ANY",
    "COMMENT ANY TABLE",
    "LOCK ANY TABLE",
    "BECOME USER",
    "CREATE TABLESPACE",
    "ALTER TABLESPACE",
    "DROP TABLESPACE",
    "ALTER SYSTEM",
    "ALTER DATABASE",
    "RESTRICTED SESSION",
    "DEBUG CONNECT SESSION",
    "CREATE JOB",
    "CREATE ANY CONTEXT",
    "EXEMPT ACCESS POLICY",
};

const char* const kObjectPrivileges[] = {
    "SELECT",        "INSERT",  "UPDATE",   "DELETE", "ALTER", "INDEX",
    "REFERENCES",    "EXECUTE", "DEBUG",    "READ",   "WRITE", "ON COMMIT REFRESH",
    "QUERY REWRITE", "UNDER",   "FLASHBACK"};

bool IsSystemPrivilege(const std::string& name) {
  for (const char* privilege : kSystemPrivileges)
    if (name == privilege)
      return true;
  return false;
}

bool IsObjectPrivilege(const std::string& name) {
  for (const char* privilege : kObjectPrivileges)
    if (name == privilege)
      return true;
  return false;
}

// Privileges that ALL grants on each kind of object.
std::vector<std::string> AllPrivilegesOn(const std::string& objectType) {
  if (objectType == "TABLE")
    return {"ALTER", "DELETE", "INDEX", "INSERT", "SELECT", "UPDATE", "REFERENCES"};
  if (objectType == "VIEW")
    return {"DELETE", "INSERT", "SELECT", "UPDATE", "REFERENCES"};
  if (objectType == "SEQUENCE")
    return {"ALTER", "SELECT"};
  return {"EXECUTE", "DEBUG"};
}

}  // namespace

bool UserDdl::ReadUserOptions(const std::string& user, OraError& error) {
  Catalog& catalog = context_.catalog;
  while (!in_.AtEnd()) {
    if (in_.AcceptWord("IDENTIFIED")) {
      if (in_.AcceptWord("EXTERNALLY") || in_.AcceptWord("GLOBALLY"))
        continue;
      if (!in_.ExpectWord("BY", error))
        return false;
      const SqlToken& password = in_.Peek();
      if (password.type != SqlToken::Type::Word && password.type != SqlToken::Type::QuotedName) {
        error = {988, "missing or invalid password(s)"};
        return false;
      }
      if (!catalog.Exec("UPDATE \"SYS.USER$\" SET PASSWORD = ? WHERE NAME = ?",
                        {Value::Text(password.text), Value::Text(user)}, error))
        return false;
      in_.Skip();
    } else if (in_.AcceptWords("DEFAULT", "TABLESPACE") ||
               in_.AcceptWords("TEMPORARY", "TABLESPACE")) {
      const bool isDefault = context_.tokens[in_.Position() - 2].IsWord("DEFAULT");
      std::string tablespace;
      if (!in_.ReadName(tablespace, error, 959, "tablespace does not exist"))
        return false;
      if (!catalog.Exec(std::string("UPDATE \"SYS.ALL_USERS\" SET ") +
                            (isDefault ? "DEFAULT_TABLESPACE" : "TEMPORARY_TABLESPACE") +
                            " = ? WHERE USERNAME = ?",
                        {Value::Text(tablespace), Value::Text(user)}, error))
        return false;
    } else if (in_.AcceptWord("QUOTA")) {
      long long size = 0;
      if (!in_.AcceptWord("UNLIMITED") && !in_.ReadSize(size, error))
        return false;
      std::string tablespace;
      if (!in_.ExpectWord("ON", error) ||
          !in_.ReadName(tablespace, error, 959, "tablespace does not exist"))
        return false;
    } else if (in_.AcceptWord("PROFILE")) {
      std::string profile;
      if (!in_.ReadName(profile, error, 2380, "profile does not exist"))
        return false;
    } else if (in_.AcceptWord("ACCOUNT")) {
      if (!in_.AcceptWord("LOCK") && !in_.AcceptWord("UNLOCK")) {
        error = {922, "missing or invalid option"};
        return false;
      }
    } else if (in_.AcceptWords("PASSWORD", "EXPIRE")) {
    } else {
      error = {922, "missing or invalid option"};
      return false;
    }
  }
  return true;
}

bool UserDdl::CreateUser(OraError& error) {
  in_.Skip();  // USER
  std::string user;
  if (!in_.ReadName(user, error, 1935, "missing user or role name"))
    return false;
  if (!context_.Require("CREATE USER", error))
    return false;
  Catalog& catalog = context_.catalog;
  if (catalog.UserExists(user) || catalog.RoleExists(user)) {
    error = {1920, "user name '" + user + "' conflicts with another user or role name"};
    return false;
  }
  // A schema-only account (release 18 on) has no password to log on with.
  const bool noAuthentication = in_.AcceptWords("NO", "AUTHENTICATION");
  if (!noAuthentication && !in_.Peek().IsWord("IDENTIFIED")) {
    error = {924, "missing BY keyword"};
    return false;
  }
  const auto ids =
      catalog.Rows("SELECT COALESCE(MAX(USER_ID), 100) + 1 FROM \"SYS.ALL_USERS\"", {});
  if (!catalog.Exec("INSERT INTO \"SYS.USER$\" VALUES (?, NULL, 'USER')", {Value::Text(user)},
                    error) ||
      !catalog.Exec(
          "INSERT INTO \"SYS.ALL_USERS\" VALUES (?, ?, ?, 'USERS', 'TEMP')",
          {Value::Text(user), Value::Number(ids[0][0]), Value::Date(DateParts::Now().ToIso())},
          error))
    return false;
  return ReadUserOptions(user, error);
}

bool UserDdl::AlterUser(OraError& error) {
  in_.Skip();  // USER
  std::string user;
  if (!in_.ReadName(user, error, 1935, "missing user or role name"))
    return false;
  if (!context_.catalog.UserExists(user)) {
    error = {1918, "user '" + user + "' does not exist"};
    return false;
  }
  if (user != context_.User() && !context_.Require("ALTER USER", error))
    return false;
  return ReadUserOptions(user, error);
}

bool UserDdl::DropSchemaObjects(const std::string& user, OraError& error) {
  Catalog& catalog = context_.catalog;
  SqliteRunner runner(catalog.Database().Handle());
  std::vector<std::vector<std::string>> rows;
  runner.Query(
      "SELECT type, name FROM sqlite_master WHERE (substr(name, 1, length(?1)) = ?1 OR "
      "substr(name, 1, length(?2)) = ?2) AND type IN ('table', 'view')",
      {Value::Text(StorageName(user, "")), Value::Text("index:" + StorageName(user, ""))}, rows);
  for (const auto& row : rows)
    if (!catalog.Exec(
            "DROP " + std::string(row[0] == "view" ? "VIEW " : "TABLE ") + QuoteSqliteName(row[1]),
            {}, error))
      return false;
  if (!ForgetSchema(catalog, user, error))
    return false;
  static const char* const ownerColumns[][2] = {
      {"ALL_OBJECTS", "OWNER"},
      {"ALL_TABLES", "OWNER"},
      {"ALL_TAB_COLS", "OWNER"},
      {"ALL_IND_EXPRESSIONS", "INDEX_OWNER"},
      {"ALL_TAB_IDENTITY_COLS", "OWNER"},
      {"ALL_SYNONYMS", "OWNER"},
      {"LINK$", "OWNER"},
      {"MVIEW$", "OWNER"},
      {"MLOG$", "LOG_OWNER"},
      {"COLDEF$", "OWNER"},
      {"CONS_INDEX$", "OWNER"},
      {"COM$", "OWNER"},
      {"ALL_CONSTRAINTS", "OWNER"},
      {"ALL_CONS_COLUMNS", "OWNER"},
      {"ALL_INDEXES", "OWNER"},
      {"ALL_IND_COLUMNS", "INDEX_OWNER"},
      {"ALL_SOURCE", "OWNER"},
      {"ALL_ERRORS", "OWNER"},
      {"VIEWCOL$", "OWNER"},
      {"ALL_VIEWS", "OWNER"},
      {"ALL_TRIGGERS", "OWNER"},
      {"ALL_SEQUENCES", "SEQUENCE_OWNER"},
      {"SEQ$", "OWNER"},
      {"DBA_SEGMENTS", "OWNER"},
      {"ALL_TAB_PRIVS", "TABLE_SCHEMA"},
      {"ALL_TAB_PRIVS", "GRANTEE"},
      {"COLAUTH$", "OWNER"},
      {"COLAUTH$", "GRANTEE"},
      {"DBA_SYS_PRIVS", "GRANTEE"},
      {"DBA_ROLE_PRIVS", "GRANTEE"},
      {"ALL_USERS", "USERNAME"},
      {"USER$", "NAME"},
  };
  for (const auto& entry : ownerColumns)
    if (!catalog.Exec("DELETE FROM " + QuoteSqliteName(StorageName("SYS", entry[0])) + " WHERE " +
                          entry[1] + " = ?",
                      {Value::Text(user)}, error))
      return false;
  // Foreign keys of other schemas that pointed into the dropped one go with it.
  return catalog.Exec("DELETE FROM \"SYS.ALL_CONSTRAINTS\" WHERE R_OWNER = ?", {Value::Text(user)},
                      error);
}

bool UserDdl::DropUser(OraError& error) {
  in_.Skip();  // USER
  std::string user;
  if (!in_.ReadName(user, error, 1935, "missing user or role name"))
    return false;
  const bool cascade = in_.AcceptWord("CASCADE");
  if (!in_.AtEnd()) {
    error = {933, "SQL command not properly ended"};
    return false;
  }
  if (!context_.Require("DROP USER", error))
    return false;
  Catalog& catalog = context_.catalog;
  if (!catalog.UserExists(user)) {
    error = {1918, "user '" + user + "' does not exist"};
    return false;
  }
  if (user == "SYS" || user == "SYSTEM" || user == context_.User()) {
    error = {1940, "cannot drop a user that is currently connected"};
    return false;
  }
  if (!cascade &&
      catalog.Any("SELECT 1 FROM \"SYS.ALL_OBJECTS\" WHERE OWNER = ?", {Value::Text(user)})) {
    error = {1922, "CASCADE must be specified to drop '" + user + "'"};
    return false;
  }
  return DropSchemaObjects(user, error);
}

bool UserDdl::CreateRole(OraError& error) {
  in_.Skip();  // ROLE
  std::string role;
  if (!in_.ReadName(role, error, 1937, "missing or invalid role name"))
    return false;
  if (!context_.Require("CREATE ROLE", error))
    return false;
  Catalog& catalog = context_.catalog;
  if (catalog.UserExists(role) || catalog.RoleExists(role)) {
    error = {1921, "role name '" + role + "' conflicts with another user or role name"};
    return false;
  }
  bool password = false;
  if (in_.AcceptWords("NOT", "IDENTIFIED")) {
  } else if (in_.AcceptWord("IDENTIFIED")) {
    password = true;
    if (!in_.ExpectWord("BY", error))
      return false;
    in_.Skip();
  }
  if (!in_.AtEnd()) {
    error = {922, "missing or invalid option"};
    return false;
  }
  // The creator holds the new role with ADMIN OPTION, as in Oracle.
  return catalog.Exec("INSERT INTO \"SYS.DBA_ROLES\" VALUES (?, ?)",
                      {Value::Text(role), Value::Text(password ? "YES" : "NO")}, error) &&
         catalog.Exec("INSERT INTO \"SYS.DBA_ROLE_PRIVS\" VALUES (?, ?, 'YES', 'YES')",
                      {Value::Text(context_.User()), Value::Text(role)}, error);
}

bool UserDdl::DropRole(OraError& error) {
  in_.Skip();  // ROLE
  std::string role;
  if (!in_.ReadName(role, error, 1937, "missing or invalid role name"))
    return false;
  Catalog& catalog = context_.catalog;
  if (!catalog.RoleExists(role)) {
    error = {1919, "role '" + role + "' does not exist"};
    return false;
  }
  if (!context_.Require("DROP ANY ROLE", error))
    return false;
  return catalog.Exec("DELETE FROM \"SYS.DBA_ROLES\" WHERE ROLE = ?", {Value::Text(role)}, error) &&
         catalog.Exec("DELETE FROM \"SYS.DBA_ROLE_PRIVS\" WHERE GRANTED_ROLE = ? OR GRANTEE = ?",
                      {Value::Text(role), Value::Text(role)}, error) &&
         catalog.Exec("DELETE FROM \"SYS.DBA_SYS_PRIVS\" WHERE GRANTEE = ?", {Value::Text(role)},
                      error) &&
         catalog.Exec("DELETE FROM \"SYS.ALL_TAB_PRIVS\" WHERE GRANTEE = ?", {Value::Text(role)},
                      error) &&
         catalog.Exec("DELETE FROM \"SYS.COLAUTH$\" WHERE GRANTEE = ?", {Value::Text(role)}, error);
}

bool UserDdl::GrantColumns(const std::string& owner, const std::string& name,
                           const std::string& grantor, const std::string& grantee,
                           const std::string& privilege, const std::vector<std::string>& columns,
                           bool grantOption, OraError& error) {
  Catalog& catalog = context_.catalog;
  const auto ids = catalog.Rows(
      "SELECT OBJECT_ID FROM \"SYS.ALL_OBJECTS\" WHERE OWNER = ? AND OBJECT_NAME = ? AND "
      "OBJECT_TYPE IN ('TABLE', 'VIEW')",
      {Value::Text(owner), Value::Text(name)});
  if (ids.empty()) {
    error = {942, "table or view does not exist"};
    return false;
  }
  for (const std::string& column : columns)
    if (!catalog.Exec("DELETE FROM \"SYS.COLAUTH$\" WHERE GRANTEE = ? AND OWNER = ? AND "
                      "TABLE_NAME = ? AND COLUMN_NAME = ? AND PRIVILEGE = ?",
                      {Value::Text(grantee), Value::Text(owner), Value::Text(name),
                       Value::Text(column), Value::Text(privilege)},
                      error) ||
        !catalog.Exec("INSERT INTO \"SYS.COLAUTH$\" VALUES (?, ?, ?, ?, ?, ?, ?, ?)",
                      {Value::Text(grantor), Value::Text(grantee), Value::Number(ids[0][0]),
                       Value::Text(owner), Value::Text(name), Value::Text(column),
                       Value::Text(privilege), Value::Text(grantOption ? "YES" : "NO")},
                      error))
      return false;
  return true;
}

bool UserDdl::HoldsGrantOption(const std::string& owner, const std::string& name,
                               const std::string& privilege) {
  return context_.catalog.Any(
      "SELECT 1 FROM \"SYS.ALL_TAB_PRIVS\" WHERE GRANTEE IN (?, 'PUBLIC') AND TABLE_SCHEMA = ? "
      "AND TABLE_NAME = ? AND PRIVILEGE = ? AND GRANTABLE = 'YES'",
      {Value::Text(context_.User()), Value::Text(owner), Value::Text(name),
       Value::Text(privilege)});
}

bool UserDdl::MayAdminister(const std::string& item, bool isRole, OraError& error) {
  const bool heldWithAdminOption = context_.catalog.Any(
      isRole ? "SELECT 1 FROM \"SYS.DBA_ROLE_PRIVS\" WHERE GRANTEE = ? AND GRANTED_ROLE = ? AND "
               "ADMIN_OPTION = 'YES'"
             : "SELECT 1 FROM \"SYS.DBA_SYS_PRIVS\" WHERE GRANTEE = ? AND PRIVILEGE = ? AND "
               "ADMIN_OPTION = 'YES'",
      {Value::Text(context_.User()), Value::Text(item)});
  return heldWithAdminOption ||
         context_.Require(isRole ? "GRANT ANY ROLE" : "GRANT ANY PRIVILEGE", error);
}

bool UserDdl::ReadPrivilegeList(std::vector<std::string>& items,
                                std::vector<std::vector<std::string>>& columns, OraError& error) {
  items.clear();
  columns.clear();
  for (;;) {
    std::string item;
    std::vector<std::string> itemColumns;
    while (!in_.AtEnd() && !in_.Peek().IsSymbol(",") && !in_.Peek().IsWord("TO") &&
           !in_.Peek().IsWord("FROM") &&
           // ON ends the list, except inside the privilege "ON COMMIT REFRESH".
           !(in_.Peek().IsWord("ON") && !item.empty() && item != "ON COMMIT")) {
      if (in_.Peek().IsSymbol("(")) {
        if (!in_.ReadNameList(itemColumns, error))
          return false;
        continue;
      }
      if (!item.empty())
        item += ' ';
      item += in_.Peek().Upper();
      in_.Skip();
    }
    if (item.empty()) {
      error = {990, "missing or invalid privilege"};
      return false;
    }
    items.push_back(item);
    columns.push_back(std::move(itemColumns));
    if (!in_.AcceptSymbol(","))
      return true;
  }
}

bool UserDdl::ReadGranteeList(const char* keyword, std::vector<std::string>& grantees,
                              OraError& error) {
  if (!in_.ExpectWord(keyword, error))
    return false;
  grantees.clear();
  do {
    std::string grantee;
    if (!in_.ReadName(grantee, error, 987, "missing or invalid username(s)"))
      return false;
    if (grantee != "PUBLIC" && !context_.catalog.UserExists(grantee) &&
        !context_.catalog.RoleExists(grantee)) {
      error = {1917, "user or role '" + grantee + "' does not exist"};
      return false;
    }
    grantees.push_back(grantee);
  } while (in_.AcceptSymbol(","));
  return true;
}

bool UserDdl::CheckColumns(const std::string& owner, const std::string& name,
                           const std::string& privilege, const std::vector<std::string>& columns,
                           OraError& error) {
  if (columns.empty())
    return true;
  if (privilege != "INSERT" && privilege != "UPDATE" && privilege != "REFERENCES") {
    error = {969, "missing ON keyword"};
    return false;
  }
  for (const std::string& column : columns)
    if (!context_.catalog.Any("SELECT 1 FROM \"SYS.ALL_TAB_COLUMNS\" WHERE OWNER = ? AND "
                              "TABLE_NAME = ? AND COLUMN_NAME = ?",
                              {Value::Text(owner), Value::Text(name), Value::Text(column)})) {
      error = {904, "\"" + column + "\": invalid identifier"};
      return false;
    }
  return true;
}

bool UserDdl::Grant(OraError& error) {
  std::vector<std::string> items, grantees;
  std::vector<std::vector<std::string>> columnLists;
  if (!ReadPrivilegeList(items, columnLists, error))
    return false;
  Catalog& catalog = context_.catalog;
  if (in_.AcceptWord("ON")) {
    std::string owner, name;
    if (!in_.ReadQualifiedName(owner, name, context_.session.CurrentSchema(), error))
      return false;
    const auto type = catalog.ObjectType(owner, name);
    if (!type) {
      error = {942, "table or view does not exist"};
      return false;
    }
    if (!ReadGranteeList("TO", grantees, error))
      return false;
    // WITH HIERARCHY OPTION and WITH GRANT OPTION, in either order.
    bool grantOption = false;
    bool hierarchyOption = false;
    while (in_.AcceptWord("WITH")) {
      bool& option = in_.AcceptWord("GRANT") ? grantOption : hierarchyOption;
      if (&option == &hierarchyOption && !in_.ExpectWord("HIERARCHY", error))
        return false;
      if (!in_.ExpectWord("OPTION", error))
        return false;
      option = true;
    }
    if (!in_.AtEnd()) {
      error = {933, "SQL command not properly ended"};
      return false;
    }
    // Each privilege with its columns: none for a grant on the whole object.
    std::vector<std::pair<std::string, std::vector<std::string>>> privileges;
    for (std::size_t i = 0; i < items.size(); ++i) {
      const std::string& item = items[i];
      if ((item == "ALL" || item == "ALL PRIVILEGES") && columnLists[i].empty()) {
        for (const std::string& privilege : AllPrivilegesOn(*type))
          privileges.emplace_back(privilege, std::vector<std::string>{});
      } else if (IsObjectPrivilege(item)) {
        if (!CheckColumns(owner, name, item, columnLists[i], error))
          return false;
        privileges.emplace_back(item, columnLists[i]);
      } else {
        error = {990, "missing or invalid privilege"};
        return false;
      }
    }
    // The owner grants, and so does a holder of the privilege WITH GRANT
    // OPTION; GRANT ANY OBJECT PRIVILEGE grants in the owner's name.
    std::string grantor = context_.User();
    for (const auto& [privilege, columns] : privileges) {
      if (grantor != owner && !HoldsGrantOption(owner, name, privilege)) {
        if (!context_.Require("GRANT ANY OBJECT PRIVILEGE", error))
          return false;
        grantor = owner;
      }
    }
    for (const std::string& grantee : grantees)
      for (const auto& [privilege, columns] : privileges) {
        if (!columns.empty()) {
          if (!GrantColumns(owner, name, grantor, grantee, privilege, columns, grantOption, error))
            return false;
          continue;
        }
        if (!catalog.Exec(
                "DELETE FROM \"SYS.ALL_TAB_PRIVS\" WHERE GRANTEE = ? AND TABLE_SCHEMA = ? AND "
                "TABLE_NAME = ? AND PRIVILEGE = ?",
                {Value::Text(grantee), Value::Text(owner), Value::Text(name),
                 Value::Text(privilege)},
                error) ||
            !catalog.Exec(
                "INSERT INTO \"SYS.ALL_TAB_PRIVS\" VALUES (?, ?, ?, ?, ?, ?, ?)",
                {Value::Text(grantor), Value::Text(grantee), Value::Text(owner), Value::Text(name),
                 Value::Text(privilege), Value::Text(grantOption ? "YES" : "NO"),
                 Value::Text(hierarchyOption ? "YES" : "NO")},
                error))
          return false;
      }
    return true;
  }
  if (!ReadGranteeList("TO", grantees, error))
    return false;
  const bool adminOption = in_.AcceptWords("WITH", "ADMIN") && in_.AcceptWord("OPTION");
  if (!in_.AtEnd()) {
    error = {933, "SQL command not properly ended"};
    return false;
  }
  for (const std::string& item : items) {
    const bool isRole = catalog.RoleExists(item);
    if (!isRole && !IsSystemPrivilege(item)) {
      error = item.find(' ') == std::string::npos
                  ? OraError{1919, "role '" + item + "' does not exist"}
                  : OraError{990, "missing or invalid privilege"};
      return false;
    }
    if (!MayAdminister(item, isRole, error))
      return false;
    for (const std::string& grantee : grantees) {
      if (isRole && grantee == item) {
        error = {1934, "circular role grant detected"};
        return false;
      }
      const char* table = isRole ? "\"SYS.DBA_ROLE_PRIVS\"" : "\"SYS.DBA_SYS_PRIVS\"";
      const char* column = isRole ? "GRANTED_ROLE" : "PRIVILEGE";
      if (!catalog.Exec(
              std::string("DELETE FROM ") + table + " WHERE GRANTEE = ? AND " + column + " = ?",
              {Value::Text(grantee), Value::Text(item)}, error))
        return false;
      const std::string insert = isRole
                                     ? "INSERT INTO \"SYS.DBA_ROLE_PRIVS\" VALUES (?, ?, ?, 'YES')"
                                     : "INSERT INTO \"SYS.DBA_SYS_PRIVS\" VALUES (?, ?, ?)";
      if (!catalog.Exec(
              insert,
              {Value::Text(grantee), Value::Text(item), Value::Text(adminOption ? "YES" : "NO")},
              error))
        return false;
    }
  }
  return true;
}

bool UserDdl::Revoke(OraError& error) {
  std::vector<std::string> items, grantees;
  std::vector<std::vector<std::string>> columnLists;
  if (!ReadPrivilegeList(items, columnLists, error))
    return false;
  Catalog& catalog = context_.catalog;
  if (in_.AcceptWord("ON")) {
    for (const auto& columns : columnLists)
      if (!columns.empty()) {
        error = {1750, "UPDATE/REFERENCES may only be REVOKEd from the whole table, not by column"};
        return false;
      }
    std::string owner, name;
    if (!in_.ReadQualifiedName(owner, name, context_.session.CurrentSchema(), error))
      return false;
    if (!ReadGranteeList("FROM", grantees, error))
      return false;
    if (!in_.AtEnd() && !in_.AcceptWords("CASCADE", "CONSTRAINTS")) {
      error = {933, "SQL command not properly ended"};
      return false;
    }
    // A user revokes what it granted; the owner and a holder of GRANT ANY
    // OBJECT PRIVILEGE revoke whoever granted it.
    OraError ignored;
    const bool anyGrantor =
        owner == context_.User() || context_.Require("GRANT ANY OBJECT PRIVILEGE", ignored);
    for (const std::string& grantee : grantees)
      for (const std::string& item : items) {
        const bool all = item == "ALL" || item == "ALL PRIVILEGES";
        const std::vector<Value> match{Value::Text(grantee),
                                       Value::Text(owner),
                                       Value::Text(name),
                                       Value::Text(item),
                                       Value::Integer(all ? 1 : 0),
                                       Value::Text(context_.User()),
                                       Value::Integer(anyGrantor ? 1 : 0)};
        const std::string where =
            " WHERE GRANTEE = ? AND TABLE_SCHEMA = ? AND TABLE_NAME = ? AND (PRIVILEGE = ? OR ?) "
            "AND (GRANTOR = ? OR ?)";
        // Revoking a privilege takes its column grants with it.
        const std::string columnWhere =
            " WHERE GRANTEE = ? AND OWNER = ? AND TABLE_NAME = ? AND (PRIVILEGE = ? OR ?) "
            "AND (GRANTOR = ? OR ?)";
        if (!catalog.Any("SELECT 1 FROM \"SYS.ALL_TAB_PRIVS\"" + where, match) &&
            !catalog.Any("SELECT 1 FROM \"SYS.COLAUTH$\"" + columnWhere, match)) {
          error = {1927, "cannot REVOKE privileges you did not grant"};
          return false;
        }
        if (!catalog.Exec("DELETE FROM \"SYS.ALL_TAB_PRIVS\"" + where, match, error) ||
            !catalog.Exec("DELETE FROM \"SYS.COLAUTH$\"" + columnWhere, match, error))
          return false;
      }
    return true;
  }
  if (!ReadGranteeList("FROM", grantees, error))
    return false;
  for (const std::string& item : items)
    if (!MayAdminister(item, catalog.RoleExists(item), error))
      return false;
  for (const std::string& grantee : grantees)
    for (const std::string& item : items) {
      const bool isRole = catalog.RoleExists(item);
      const std::string sql =
          isRole ? "DELETE FROM \"SYS.DBA_ROLE_PRIVS\" WHERE GRANTEE = ? AND GRANTED_ROLE = ?"
                 : "DELETE FROM \"SYS.DBA_SYS_PRIVS\" WHERE GRANTEE = ? AND PRIVILEGE = ?";
      if (!catalog.Any(
              isRole ? "SELECT 1 FROM \"SYS.DBA_ROLE_PRIVS\" WHERE GRANTEE = ? AND GRANTED_ROLE = ?"
                     : "SELECT 1 FROM \"SYS.DBA_SYS_PRIVS\" WHERE GRANTEE = ? AND PRIVILEGE = ?",
              {Value::Text(grantee), Value::Text(item)})) {
        error = isRole ? OraError{1951, "ROLE '" + item + "' not granted to '" + grantee + "'"}
                       : OraError{1952, "system privileges not granted to '" + grantee + "'"};
        return false;
      }
      if (!catalog.Exec(sql, {Value::Text(grantee), Value::Text(item)}, error))
        return false;
    }
  return true;
}

}  // namespace sandbox
