// ALTER TABLE ... RENAME COLUMN and RENAME TO: the name changes in the
// table, its indexes and triggers, its constraints and every dictionary row
// that holds it.

#include "sandbox/server/ServerSession.h"
#include "sandbox/server/ddl/TableDdl.h"
#include "sandbox/server/ddl/TableStorage.h"
#include "sandbox/server/dictionary/Dependencies.h"
#include "sandbox/server/dictionary/Dictionary.h"

namespace sandbox {

namespace {

// The condition's text with the column's name, quoted or not, replaced by
// the new one in quotes; the rest stays as written.
std::string RenamedInText(const std::string& text, const std::string& from, const std::string& to) {
  std::vector<SqlToken> tokens;
  std::size_t errorOffset = 0;
  if (!TokenizeSql(text, tokens, errorOffset))
    return text;
  std::string out;
  std::size_t copied = 0;
  for (const SqlToken& token : tokens) {
    const bool named = (token.type == SqlToken::Type::Word && token.Upper() == from) ||
                       (token.type == SqlToken::Type::QuotedName && token.text == from);
    if (!named)
      continue;
    out += text.substr(copied, token.offset - copied) + "\"" + to + "\"";
    copied = token.end;
  }
  return out + text.substr(copied);
}

}  // namespace

bool TableDdl::RenameColumn(const std::string& owner, const std::string& table, OraError& error) {
  std::string from, to;
  if (!in_.ReadName(from, error, 904, "invalid identifier") || !in_.ExpectWord("TO", error) ||
      !in_.ReadName(to, error, 904, "invalid identifier") ||
      !CheckColumnsExist(owner, table, {from}, error))
    return false;
  Catalog& catalog = context_.catalog;
  const std::vector<Value> key{Value::Text(owner), Value::Text(table), Value::Text(from),
                               Value::Text(to)};
  if (catalog.Any("SELECT 1 FROM \"SYS.ALL_TAB_COLS\" WHERE OWNER = ?1 AND TABLE_NAME = ?2 AND "
                  "COLUMN_NAME = ?4",
                  key)) {
    error = {957, "duplicate column name"};
    return false;
  }
  const std::string storage = StorageName(owner, table);
  if (!catalog.ExecMapped("ALTER TABLE " + QuoteSqliteName(storage) + " RENAME COLUMN " +
                              QuoteSqliteName(from) + " TO " + QuoteSqliteName(to),
                          error))
    return false;
  const std::string quotedFrom = "\"" + from + "\"", quotedTo = "\"" + to + "\"";
  const std::vector<Value> texts{Value::Text(owner), Value::Text(table), Value::Text(quotedFrom),
                                 Value::Text(quotedTo)};
  if (!catalog.Exec("UPDATE \"SYS.ALL_TAB_COLS\" SET COLUMN_NAME = ?4 WHERE OWNER = ?1 AND "
                    "TABLE_NAME = ?2 AND COLUMN_NAME = ?3",
                    key, error) ||
      !catalog.Exec("UPDATE \"SYS.ALL_TAB_COLS\" SET DATA_DEFAULT = replace(DATA_DEFAULT, ?3, ?4) "
                    "WHERE OWNER = ?1 AND TABLE_NAME = ?2 AND VIRTUAL_COLUMN = 'YES'",
                    texts, error) ||
      !catalog.Exec("UPDATE \"SYS.COLDEF$\" SET COLUMN_NAME = ?4, TYPE_SQL = replace(TYPE_SQL, "
                    "', ''' || ?3 || ''')', ', ''' || ?4 || ''')') WHERE OWNER = ?1 AND "
                    "TABLE_NAME = ?2 AND COLUMN_NAME = ?3",
                    key, error) ||
      !catalog.Exec("UPDATE \"SYS.COLDEF$\" SET TYPE_SQL = replace(TYPE_SQL, ?3, ?4), "
                    "DEFAULT_SQL = replace(DEFAULT_SQL, ?3, ?4), GENERATED_SQL = "
                    "replace(GENERATED_SQL, ?3, ?4) WHERE OWNER = ?1 AND TABLE_NAME = ?2",
                    texts, error) ||
      !catalog.Exec("UPDATE \"SYS.ALL_CONS_COLUMNS\" SET COLUMN_NAME = ?4 WHERE OWNER = ?1 AND "
                    "TABLE_NAME = ?2 AND COLUMN_NAME = ?3",
                    key, error) ||
      !catalog.Exec("UPDATE \"SYS.ALL_IND_COLUMNS\" SET COLUMN_NAME = ?4 WHERE TABLE_OWNER = ?1 "
                    "AND TABLE_NAME = ?2 AND COLUMN_NAME = ?3",
                    key, error) ||
      !catalog.Exec("UPDATE \"SYS.ALL_IND_EXPRESSIONS\" SET COLUMN_EXPRESSION = "
                    "replace(COLUMN_EXPRESSION, ?3, ?4) WHERE TABLE_OWNER = ?1 AND TABLE_NAME = ?2",
                    texts, error) ||
      !catalog.Exec("UPDATE \"SYS.COM$\" SET COLUMN_NAME = ?4 WHERE OWNER = ?1 AND TABLE_NAME = ?2 "
                    "AND COLUMN_NAME = ?3",
                    key, error) ||
      !catalog.Exec("UPDATE \"SYS.ALL_TAB_IDENTITY_COLS\" SET COLUMN_NAME = ?4 WHERE OWNER = ?1 "
                    "AND TABLE_NAME = ?2 AND COLUMN_NAME = ?3",
                    key, error))
    return false;
  for (const auto& check : catalog.Rows(
           "SELECT CONSTRAINT_NAME, SEARCH_CONDITION FROM \"SYS.ALL_CONSTRAINTS\" WHERE OWNER = ? "
           "AND TABLE_NAME = ? AND CONSTRAINT_TYPE = 'C'",
           {Value::Text(owner), Value::Text(table)})) {
    const std::string condition = RenamedInText(check[1], from, to);
    if (!catalog.Exec("UPDATE \"SYS.ALL_CONSTRAINTS\" SET SEARCH_CONDITION = ?1, "
                      "SEARCH_CONDITION_VC = ?1 WHERE OWNER = ?2 AND CONSTRAINT_NAME = ?3",
                      {Value::Text(condition), Value::Text(owner), Value::Text(check[0])}, error))
      return false;
  }
  return TableStorage(catalog, owner, table).Rebuild(error);
}

// ALTER TABLE t RENAME TO u. Views that name the table are left as they are
// and fail until it has its old name again, as Oracle's become invalid.
bool TableDdl::RenameTable(const std::string& owner, const std::string& table, OraError& error) {
  std::string to;
  if (!in_.ReadName(to, error, 903, "invalid table name"))
    return false;
  Catalog& catalog = context_.catalog;
  if (catalog.ObjectType(owner, to)) {
    error = {955, "name is already used by an existing object"};
    return false;
  }
  const std::string from = StorageName(owner, table), renamed = StorageName(owner, to);
  if (!catalog.Exec("PRAGMA legacy_alter_table = ON", {}, error))
    return false;
  const bool moved = catalog.Exec(
      "ALTER TABLE " + QuoteSqliteName(from) + " RENAME TO " + QuoteSqliteName(renamed), {}, error);
  catalog.Exec("PRAGMA legacy_alter_table = OFF", {}, error);
  if (!moved)
    return false;
  const std::vector<Value> names{Value::Text(owner), Value::Text(table), Value::Text(to)};
  static const char* const tables[][2] = {{"ALL_TABLES", "OWNER"},
                                          {"ALL_TAB_COLS", "OWNER"},
                                          {"ALL_CONSTRAINTS", "OWNER"},
                                          {"ALL_CONS_COLUMNS", "OWNER"},
                                          {"ALL_INDEXES", "TABLE_OWNER"},
                                          {"ALL_IND_COLUMNS", "TABLE_OWNER"},
                                          {"ALL_IND_EXPRESSIONS", "TABLE_OWNER"},
                                          {"COM$", "OWNER"},
                                          {"COLDEF$", "OWNER"},
                                          {"ALL_TAB_IDENTITY_COLS", "OWNER"},
                                          {"ALL_TRIGGERS", "TABLE_OWNER"},
                                          {"ALL_TAB_PRIVS", "TABLE_SCHEMA"},
                                          {"ALL_OBJECT_TABLES", "OWNER"}};
  for (const auto& entry : tables)
    if (!catalog.Exec("UPDATE " + QuoteSqliteName(StorageName("SYS", entry[0])) +
                          " SET TABLE_NAME = ?3 WHERE " + entry[1] + " = ?1 AND TABLE_NAME = ?2",
                      names, error))
      return false;
  // The value checks name the table in their errors.
  const std::string oldCheck = ", " + QuoteSqliteText(owner) + ", " + QuoteSqliteText(table) + ", ";
  const std::string newCheck = ", " + QuoteSqliteText(owner) + ", " + QuoteSqliteText(to) + ", ";
  // What uses the table keeps using the object under its new name, and must
  // be compiled again to find it.
  if (!InvalidateDependants(catalog, owner, table, error) ||
      !catalog.Exec("UPDATE \"SYS.ALL_DEPENDENCIES\" SET REFERENCED_NAME = ?3 WHERE "
                    "REFERENCED_OWNER = ?1 AND REFERENCED_NAME = ?2 AND REFERENCED_TYPE = 'TABLE'",
                    names, error) ||
      !catalog.Exec("UPDATE \"SYS.ALL_OBJECTS\" SET OBJECT_NAME = ?3 WHERE OWNER = ?1 AND "
                    "OBJECT_NAME = ?2 AND OBJECT_TYPE = 'TABLE'",
                    names, error) ||
      !catalog.Exec("UPDATE \"SYS.DBA_SEGMENTS\" SET SEGMENT_NAME = ?3 WHERE OWNER = ?1 AND "
                    "SEGMENT_NAME = ?2 AND SEGMENT_TYPE = 'TABLE'",
                    names, error) ||
      !catalog.Exec(
          "UPDATE \"SYS.COLDEF$\" SET TYPE_SQL = replace(TYPE_SQL, ?, ?) WHERE OWNER = ? "
          "AND TABLE_NAME = ?",
          {Value::Text(oldCheck), Value::Text(newCheck), Value::Text(owner), Value::Text(to)},
          error) ||
      !TableStorage(catalog, owner, to).Rebuild(error))
    return false;
  return true;
}

bool TableDdl::Rename(OraError& error) {
  std::string table;
  if (!in_.ReadName(table, error) || !in_.ExpectWord("TO", error))
    return false;
  const std::string& owner = context_.session.CurrentSchema();
  if (context_.catalog.ObjectType(owner, table).value_or("") != "TABLE") {
    error = {4043, "object " + table + " does not exist"};
    return false;
  }
  if (!RenameTable(owner, table, error))
    return false;
  if (!in_.AtEnd()) {
    error = {933, "SQL command not properly ended"};
    return false;
  }
  return true;
}

}  // namespace sandbox
