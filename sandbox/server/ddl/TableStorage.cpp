// Creating and rebuilding a table's SQLite storage from its column definitions.
#include "sandbox/server/ddl/TableStorage.h"

#include "sandbox/server/dictionary/Dictionary.h"

namespace sandbox {

bool TableStorage::SaveColumn(const ColumnDefinition& column, OraError& error) {
  return catalog_.Exec("INSERT INTO \"SYS.COLDEF$\" VALUES (?, ?, ?, ?, ?, ?)",
                       {Value::Text(owner_), Value::Text(table_), Value::Text(column.name),
                        Value::Text(column.typeSql), Value::Text(column.defaultSql),
                        Value::Text(column.generatedSql)},
                       error);
}

bool TableStorage::SetDefault(const std::string& column, const std::string& defaultSql,
                              OraError& error) {
  return catalog_.Exec(
      "UPDATE \"SYS.COLDEF$\" SET DEFAULT_SQL = ? WHERE OWNER = ? AND TABLE_NAME = ? AND "
      "COLUMN_NAME = ?",
      {Value::Text(defaultSql), Value::Text(owner_), Value::Text(table_), Value::Text(column)},
      error);
}

bool TableStorage::SetType(const std::string& column, const std::string& typeSql, OraError& error) {
  return catalog_.Exec(
      "UPDATE \"SYS.COLDEF$\" SET TYPE_SQL = ? WHERE OWNER = ? AND TABLE_NAME = ? AND "
      "COLUMN_NAME = ?",
      {Value::Text(typeSql), Value::Text(owner_), Value::Text(table_), Value::Text(column)}, error);
}

bool TableStorage::Forget(OraError& error) {
  return catalog_.Exec("DELETE FROM \"SYS.COLDEF$\" WHERE OWNER = ? AND TABLE_NAME = ?",
                       {Value::Text(owner_), Value::Text(table_)}, error);
}

std::string TableStorage::CreateSql(const std::string& storage) {
  const auto columns = catalog_.Rows(
      "SELECT d.COLUMN_NAME, d.TYPE_SQL, d.DEFAULT_SQL, d.GENERATED_SQL FROM \"SYS.COLDEF$\" d "
      "JOIN \"SYS.ALL_TAB_COLS\" c ON c.OWNER = d.OWNER AND c.TABLE_NAME = d.TABLE_NAME AND "
      "c.COLUMN_NAME = d.COLUMN_NAME WHERE d.OWNER = ? AND d.TABLE_NAME = ? ORDER BY c.COLUMN_ID "
      "IS NULL, c.COLUMN_ID, "
      "c.INTERNAL_COLUMN_ID",
      {Value::Text(owner_), Value::Text(table_)});
  std::string sql = "CREATE TABLE " + QuoteSqliteName(storage) + " (";
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const auto& c = columns[i];
    sql += (i ? ", " : "") + QuoteSqliteName(c[0]) + " " + c[1];
    if (!c[3].empty())
      sql += " GENERATED ALWAYS AS (" + c[3] + ") VIRTUAL";
    else if (!c[2].empty())
      sql += " DEFAULT (" + c[2] + ")";
  }
  return sql + ")";
}

bool TableStorage::Create(OraError& error) {
  return catalog_.ExecMapped(CreateSql(StorageName(owner_, table_)), error);
}

bool TableStorage::Rebuild(OraError& error) {
  const std::string storage = StorageName(owner_, table_);
  const std::string building = "rebuild:" + storage;
  // Indexes and triggers go with the old table and are made again after.
  const auto dependents = catalog_.Rows(
      "SELECT sql FROM sqlite_master WHERE tbl_name = ? AND type IN ('index', 'trigger') AND sql "
      "IS NOT NULL ORDER BY type, rowid",
      {Value::Text(storage)});
  const auto kept = catalog_.Rows(
      "SELECT o.name FROM pragma_table_xinfo(?) o JOIN \"SYS.COLDEF$\" d ON d.COLUMN_NAME = o.name "
      "WHERE o.hidden = 0 AND d.OWNER = ? AND d.TABLE_NAME = ? AND coalesce(d.GENERATED_SQL, '') = "
      "''",
      {Value::Text(storage), Value::Text(owner_), Value::Text(table_)});
  std::string columns;
  for (const auto& column : kept)
    columns += (columns.empty() ? "" : ", ") + QuoteSqliteName(column[0]);
  if (!catalog_.ExecMapped(CreateSql(building), error))
    return false;
  if (!columns.empty() &&
      !catalog_.ExecMapped("INSERT INTO " + QuoteSqliteName(building) + " (" + columns +
                               ") SELECT " + columns + " FROM " + QuoteSqliteName(storage),
                           error))
    return false;
  // The legacy rename leaves the text of views and other tables' triggers
  // alone: they name the table, which has the same name again afterwards.
  if (!catalog_.Exec("DROP TABLE " + QuoteSqliteName(storage), {}, error) ||
      !catalog_.Exec("PRAGMA legacy_alter_table = ON", {}, error))
    return false;
  const bool renamed = catalog_.Exec(
      "ALTER TABLE " + QuoteSqliteName(building) + " RENAME TO " + QuoteSqliteName(storage), {},
      error);
  catalog_.Exec("PRAGMA legacy_alter_table = OFF", {}, error);
  if (!renamed)
    return false;
  for (const auto& dependent : dependents)
    if (!catalog_.ExecMapped(dependent[0], error))
      return false;
  return true;
}

}  // namespace sandbox
