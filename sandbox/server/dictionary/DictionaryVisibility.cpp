// Filtered ALL_ views and the DBA_ gate of the sandbox dictionary.
#include "sandbox/server/dictionary/DictionaryVisibility.h"

#include <algorithm>
#include <string_view>

#include "sandbox/server/SqliteHandle.h"

namespace sandbox {

namespace {

// A base table filtered by the owner columns that make a row the user's own
// and the object an object privilege on which makes it visible.
struct FilteredView {
  const char* name;
  const char* ownerCondition;
  const char* objectOwner;
  const char* objectName;
  // Extra condition on the privilege path (package and type bodies are
  // shown to their owner only).
  const char* grantPathCondition;
  // Rows the view never shows, whoever looks.
  const char* rowCondition = nullptr;
};

// Object tables are listed by ALL_OBJECT_TABLES and ALL_ALL_TABLES, not by ALL_TABLES.
constexpr const char* kNotObjectTable =
    "NOT EXISTS (SELECT 1 FROM \"SYS.ALL_OBJECT_TABLES\" o WHERE o.OWNER = t.OWNER AND "
    "o.TABLE_NAME = t.TABLE_NAME)";

const FilteredView kFilteredViews[] = {
    {"ALL_OBJECTS", "OWNER = ora_user()", "OWNER", "OBJECT_NAME",
     "OBJECT_TYPE NOT IN ('PACKAGE BODY', 'TYPE BODY')"},
    {"ALL_TABLES", "OWNER = ora_user()", "OWNER", "TABLE_NAME", nullptr, kNotObjectTable},
    {"ALL_ALL_TABLES", "OWNER = ora_user()", "OWNER", "TABLE_NAME", nullptr},
    {"ALL_TAB_COLUMNS", "OWNER = ora_user()", "OWNER", "TABLE_NAME", nullptr},
    {"ALL_CONSTRAINTS", "OWNER = ora_user()", "OWNER", "TABLE_NAME", nullptr},
    {"ALL_CONS_COLUMNS", "OWNER = ora_user()", "OWNER", "TABLE_NAME", nullptr},
    {"ALL_INDEXES", "(OWNER = ora_user() OR TABLE_OWNER = ora_user())", "TABLE_OWNER", "TABLE_NAME",
     nullptr},
    {"ALL_IND_COLUMNS", "(INDEX_OWNER = ora_user() OR TABLE_OWNER = ora_user())", "TABLE_OWNER",
     "TABLE_NAME", nullptr},
    {"ALL_SOURCE", "OWNER = ora_user()", "OWNER", "NAME",
     "TYPE NOT IN ('PACKAGE BODY', 'TYPE BODY')"},
    {"ALL_VIEWS", "OWNER = ora_user()", "OWNER", "VIEW_NAME", nullptr},
    {"ALL_TRIGGERS", "(OWNER = ora_user() OR TABLE_OWNER = ora_user())", "TABLE_OWNER",
     "TABLE_NAME", nullptr},
    {"ALL_SEQUENCES", "SEQUENCE_OWNER = ora_user()", "SEQUENCE_OWNER", "SEQUENCE_NAME", nullptr},
    {"ALL_DEPENDENCIES", "OWNER = ora_user()", "OWNER", "NAME",
     "TYPE NOT IN ('PACKAGE BODY', 'TYPE BODY')"},
    {"ALL_PROCEDURES", "OWNER = ora_user()", "OWNER", "OBJECT_NAME", nullptr},
    {"ALL_TYPES", "OWNER = ora_user()", "OWNER", "TYPE_NAME", nullptr},
    {"ALL_TYPE_ATTRS", "OWNER = ora_user()", "OWNER", "TYPE_NAME", nullptr},
    {"ALL_TYPE_METHODS", "OWNER = ora_user()", "OWNER", "TYPE_NAME", nullptr},
    {"ALL_COLL_TYPES", "OWNER = ora_user()", "OWNER", "TYPE_NAME", nullptr},
    {"ALL_NESTED_TABLES", "OWNER = ora_user()", "OWNER", "PARENT_TABLE_NAME", nullptr},
    {"ALL_OBJECT_TABLES", "OWNER = ora_user()", "OWNER", "TABLE_NAME", nullptr},
};

constexpr std::string_view kVisiblePrefix = "VISIBLE_";

std::string VisibleStorageName(const std::string& name) {
  return "SYS." + std::string(kVisiblePrefix) + name;
}

std::string Quoted(const std::string& storage) {
  return "\"" + storage + "\"";
}

std::string FilteredViewSql(const FilteredView& view) {
  std::string grantPath = std::string("EXISTS (SELECT 1 FROM \"SYS.ALL_TAB_PRIVS\" g WHERE ") +
                          "g.TABLE_SCHEMA = t." + view.objectOwner + " AND g.TABLE_NAME = t." +
                          view.objectName + " AND ora_is_grantee(g.GRANTEE))";
  if (view.grantPathCondition != nullptr) {
    grantPath = "(" + std::string(view.grantPathCondition) + " AND " + grantPath + ")";
  }
  return "CREATE VIEW IF NOT EXISTS " + Quoted(VisibleStorageName(view.name)) +
         " AS SELECT * FROM " + Quoted("SYS." + std::string(view.name)) + " t WHERE " +
         (view.rowCondition ? std::string(view.rowCondition) + " AND " : "") +
         "(ora_sees_dictionary() OR " + view.ownerCondition + " OR " + grantPath + ");\n";
}

// Views whose rows follow other rules than the object's visibility, and the
// grants of single columns: a row for each column, kept with the object's id
// so that a dropped object's (or column's) grants are gone with it.
constexpr std::string_view kOtherViewsSql = R"SQL(
CREATE TABLE IF NOT EXISTS "SYS.COLAUTH$" (GRANTOR VARCHAR2(128), GRANTEE VARCHAR2(128),
  OBJECT_ID NUMBER, OWNER VARCHAR2(128), TABLE_NAME VARCHAR2(128), COLUMN_NAME VARCHAR2(128),
  PRIVILEGE VARCHAR2(40), GRANTABLE VARCHAR2(3));
CREATE VIEW IF NOT EXISTS "SYS.DBA_COL_PRIVS" AS SELECT c.GRANTEE, c.OWNER, c.TABLE_NAME,
  c.COLUMN_NAME, c.GRANTOR, c.PRIVILEGE, c.GRANTABLE FROM "SYS.COLAUTH$" c
  WHERE EXISTS (SELECT 1 FROM "SYS.ALL_OBJECTS" o WHERE o.OBJECT_ID = c.OBJECT_ID)
  AND EXISTS (SELECT 1 FROM "SYS.ALL_TAB_COLUMNS" k WHERE k.OWNER = c.OWNER
    AND k.TABLE_NAME = c.TABLE_NAME AND k.COLUMN_NAME = c.COLUMN_NAME);
CREATE VIEW IF NOT EXISTS "SYS.VISIBLE_ALL_COL_PRIVS" AS SELECT GRANTOR, GRANTEE,
  OWNER AS TABLE_SCHEMA, TABLE_NAME, COLUMN_NAME, PRIVILEGE, GRANTABLE FROM "SYS.DBA_COL_PRIVS"
  WHERE ora_is_grantee(GRANTEE) OR GRANTOR = ora_user() OR OWNER = ora_user();
CREATE VIEW IF NOT EXISTS "SYS.VISIBLE_ALL_CATALOG" AS SELECT OWNER, OBJECT_NAME AS TABLE_NAME,
  CAST(OBJECT_TYPE AS VARCHAR2(11)) AS TABLE_TYPE FROM "SYS.VISIBLE_ALL_OBJECTS"
  WHERE OBJECT_TYPE IN ('TABLE', 'VIEW', 'SEQUENCE', 'SYNONYM') ORDER BY OBJECT_ID;
CREATE VIEW IF NOT EXISTS "SYS.VISIBLE_ALL_TAB_PRIVS" AS SELECT GRANTOR, GRANTEE, TABLE_SCHEMA,
  TABLE_NAME, PRIVILEGE, GRANTABLE, HIERARCHY FROM "SYS.ALL_TAB_PRIVS"
  WHERE ora_is_grantee(GRANTEE) OR GRANTOR = ora_user() OR TABLE_SCHEMA = ora_user();
CREATE VIEW IF NOT EXISTS "SYS.DBA_TAB_PRIVS" AS SELECT GRANTEE, TABLE_SCHEMA AS OWNER, TABLE_NAME,
  GRANTOR, PRIVILEGE, GRANTABLE, HIERARCHY FROM "SYS.ALL_TAB_PRIVS";
)SQL";

const char* const kOwnViewNames[] = {"DBA_TAB_PRIVS", "DBA_COL_PRIVS", "ALL_COL_PRIVS"};

const FilteredView* FindFilteredView(const std::string& upperName) {
  for (const FilteredView& view : kFilteredViews) {
    if (upperName == view.name) {
      return &view;
    }
  }
  return nullptr;
}

SqlFunctionContext* ContextOf(sqlite3_context* call) {
  return static_cast<SqlFunctionContext*>(sqlite3_user_data(call));
}

void SeesDictionary(sqlite3_context* call, int, sqlite3_value**) {
  sqlite3_result_int(call, ContextOf(call)->seesWholeDictionary ? 1 : 0);
}

void IsGrantee(sqlite3_context* call, int, sqlite3_value** arguments) {
  const unsigned char* raw = sqlite3_value_text(arguments[0]);
  if (raw == nullptr) {
    sqlite3_result_int(call, 0);
    return;
  }
  const std::string name(reinterpret_cast<const char*>(raw));
  const auto& grantees = ContextOf(call)->grantees;
  sqlite3_result_int(call, std::find(grantees.begin(), grantees.end(), name) != grantees.end());
}

}  // namespace

bool CreateVisibilityViews(sqlite3* db, std::string& message) {
  std::string sql;
  for (const FilteredView& view : kFilteredViews) {
    sql += FilteredViewSql(view);
  }
  sql += kOtherViewsSql;
  SqliteRunner runner(db);
  if (!runner.Exec(sql)) {
    message = runner.LastError();
    return false;
  }
  return true;
}

void RegisterVisibilityFunctions(sqlite3* db, SqlFunctionContext* context) {
  sqlite3_create_function_v2(db, "ora_sees_dictionary", 0, SQLITE_UTF8, context, SeesDictionary,
                             nullptr, nullptr, nullptr);
  sqlite3_create_function_v2(db, "ora_is_grantee", 1, SQLITE_UTF8, context, IsGrantee, nullptr,
                             nullptr, nullptr);
}

void RefreshVisibility(sqlite3* db, SqlFunctionContext& context) {
  SqliteRunner runner(db);
  std::vector<std::vector<std::string>> rows;
  runner.Query(
      "WITH RECURSIVE held(name) AS (SELECT ?1 UNION SELECT GRANTED_ROLE FROM "
      "\"SYS.DBA_ROLE_PRIVS\", held WHERE GRANTEE = held.name) SELECT name, "
      "name = 'DBA' OR EXISTS (SELECT 1 FROM \"SYS.DBA_SYS_PRIVS\" WHERE GRANTEE = held.name "
      "AND PRIVILEGE = 'SELECT ANY DICTIONARY') FROM held",
      {Value::Text(context.userName)}, rows);
  context.grantees = {"PUBLIC"};
  context.seesWholeDictionary = context.userName == "SYS";
  for (const auto& row : rows) {
    context.grantees.push_back(row[0]);
    context.seesWholeDictionary = context.seesWholeDictionary || row[1] == "1";
  }
}

bool IsVisibilityViewName(const std::string& upperName) {
  return std::any_of(std::begin(kOwnViewNames), std::end(kOwnViewNames),
                     [&](const char* name) { return upperName == name; });
}

std::optional<std::string> VisibleDictionaryStorage(const std::string& upperName,
                                                    const SqlFunctionContext& context) {
  if (upperName.rfind("DBA_", 0) == 0 && !context.seesWholeDictionary) {
    return std::nullopt;
  }
  if (FindFilteredView(upperName) != nullptr || upperName == "ALL_CATALOG" ||
      upperName == "ALL_TAB_PRIVS" || upperName == "ALL_COL_PRIVS") {
    return VisibleStorageName(upperName);
  }
  return "SYS." + upperName;
}

}  // namespace sandbox
