// ALTER TABLE ... MODIFY column VISIBLE | INVISIBLE. An invisible column gives
// up its column id and the columns after it move up; one made visible again
// comes last. The stored table is built again so that its visible columns
// keep leading in column order.
#include <cstdlib>

#include "sandbox/server/ddl/TableDdl.h"
#include "sandbox/server/ddl/TableStorage.h"

namespace sandbox {

bool TableDdl::SetColumnVisibility(const std::string& owner, const std::string& table,
                                   const std::string& column, bool visible, OraError& error) {
  Catalog& catalog = context_.catalog;
  const std::vector<Value> key{Value::Text(owner), Value::Text(table), Value::Text(column)};
  const auto current = catalog.Rows(
      "SELECT COLUMN_ID, (SELECT count(*) FROM \"SYS.ALL_TAB_COLS\" WHERE OWNER = ?1 AND "
      "TABLE_NAME = ?2 AND COLUMN_ID IS NOT NULL), (SELECT TEMPORARY FROM \"SYS.ALL_TABLES\" "
      "WHERE OWNER = ?1 AND TABLE_NAME = ?2) FROM \"SYS.ALL_TAB_COLS\" WHERE OWNER = ?1 AND "
      "TABLE_NAME = ?2 AND COLUMN_NAME = ?3",
      key);
  const bool invisibleNow = current[0][0].empty();
  if (invisibleNow == !visible)
    return true;  // Oracle accepts a visibility the column already has
  if (!visible && current[0][2] == "Y") {
    error = {54042, "Invisible column is not supported on this type of table."};
    return false;
  }
  if (!visible && current[0][1] == "1") {
    error = {54039, "table must have at least one column that is not invisible"};
    return false;
  }
  const bool changed =
      visible
          ? catalog.Exec(
                "UPDATE \"SYS.ALL_TAB_COLS\" SET HIDDEN_COLUMN = 'NO', COLUMN_ID = (SELECT "
                "coalesce(max(COLUMN_ID), 0) + 1 FROM \"SYS.ALL_TAB_COLS\" WHERE OWNER = ?1 "
                "AND TABLE_NAME = ?2) WHERE OWNER = ?1 AND TABLE_NAME = ?2 AND COLUMN_NAME = ?3",
                key, error)
          : catalog.Exec(
                "UPDATE \"SYS.ALL_TAB_COLS\" SET COLUMN_ID = COLUMN_ID - 1 WHERE OWNER = ?1 "
                "AND TABLE_NAME = ?2 AND COLUMN_ID > ?4",
                {key[0], key[1], key[2], Value::Integer(std::atoll(current[0][0].c_str()))},
                error) &&
                catalog.Exec(
                    "UPDATE \"SYS.ALL_TAB_COLS\" SET HIDDEN_COLUMN = 'YES', COLUMN_ID = NULL "
                    "WHERE OWNER = ?1 AND TABLE_NAME = ?2 AND COLUMN_NAME = ?3",
                    key, error);
  return changed && TableStorage(catalog, owner, table).Rebuild(error);
}

}  // namespace sandbox
