// The storage clauses of nested table columns: NESTED TABLE column STORE AS
// name, kept in ALL_NESTED_TABLES with the storage table's object row. The
// column's values themselves stay in the parent table's row.
#include "sandbox/server/ddl/TableDdl.h"
#include "sandbox/server/ddl/TypeDeclaration.h"

namespace sandbox {

// column STORE AS name [RETURN [AS] LOCATOR | VALUE] [(storage properties)]
bool TableDdl::ReadNestedTable(NestedTableSpec& nested, OraError& error) {
  if (!in_.AcceptWord("COLUMN_VALUE") &&
      !in_.ReadName(nested.column, error, 904, "invalid identifier"))
    return false;
  if (nested.column.empty())
    nested.column = "COLUMN_VALUE";
  if (!in_.ExpectWord("STORE", error) || !in_.ExpectWord("AS", error) ||
      !in_.ReadName(nested.storageName, error, 903, "invalid table name"))
    return false;
  if (in_.AcceptWord("RETURN")) {
    in_.AcceptWord("AS");
    nested.returnsLocator = in_.AcceptWord("LOCATOR");
    if (!nested.returnsLocator && !in_.ExpectWord("VALUE", error))
      return false;
  }
  // Physical properties of the storage table: nothing of them is kept.
  std::size_t begin = 0, end = 0;
  if (in_.Peek().IsSymbol("(") && !ReadParenthesised(begin, end, error))
    return false;
  return true;
}

bool TableDdl::AddNestedTables(const std::string& owner, const std::string& table,
                               const std::vector<ColumnSpec>& columns,
                               const std::vector<NestedTableSpec>& nestedTables, OraError& error) {
  Catalog& catalog = context_.catalog;
  for (const ColumnSpec& column : columns) {
    if (!column.type.IsUserDefined())
      continue;
    const auto kind = FindUserType(catalog, column.type.typeOwner, column.type.name);
    const bool nestedColumn = kind && kind->collection == "TABLE";
    const auto spec =
        std::find_if(nestedTables.begin(), nestedTables.end(),
                     [&](const NestedTableSpec& nested) { return nested.column == column.name; });
    if (nestedColumn && spec == nestedTables.end()) {
      error = {22913, "must specify table name for nested table column or attribute"};
      return false;
    }
    if (!nestedColumn)
      continue;
    if (catalog.ObjectType(owner, spec->storageName)) {
      error = {955, "name is already used by an existing object"};
      return false;
    }
    if (!catalog.AddObject(owner, spec->storageName, "TABLE", error) ||
        !catalog.Exec(
            "INSERT INTO \"SYS.ALL_NESTED_TABLES\" VALUES (?, ?, ?, ?, ?, ?, 'USER_SPECIFIED', ?, "
            "'N')",
            {Value::Text(owner), Value::Text(spec->storageName), Value::Text(column.type.typeOwner),
             Value::Text(column.type.name), Value::Text(table), Value::Text(column.name),
             Value::Text(spec->returnsLocator ? "LOCATOR" : "VALUE")},
            error))
      return false;
  }
  for (const NestedTableSpec& nested : nestedTables)
    if (!catalog.Any("SELECT 1 FROM \"SYS.ALL_NESTED_TABLES\" WHERE OWNER = ? AND "
                     "PARENT_TABLE_NAME = ? AND PARENT_TABLE_COLUMN = ?",
                     {Value::Text(owner), Value::Text(table), Value::Text(nested.column)})) {
      error = {22912, "specified column or attribute is not a nested table type"};
      return false;
    }
  return true;
}

bool TableDdl::RemoveNestedTables(const std::string& owner, const std::string& table,
                                  OraError& error) {
  Catalog& catalog = context_.catalog;
  const std::vector<Value> key{Value::Text(owner), Value::Text(table)};
  for (const auto& storage :
       catalog.Rows("SELECT TABLE_NAME FROM \"SYS.ALL_NESTED_TABLES\" WHERE OWNER = ? AND "
                    "PARENT_TABLE_NAME = ?",
                    key))
    if (!catalog.RemoveObject(owner, storage[0], "TABLE", error))
      return false;
  return catalog.Exec(
      "DELETE FROM \"SYS.ALL_NESTED_TABLES\" WHERE OWNER = ? AND PARENT_TABLE_NAME = ?", key,
      error);
}

}  // namespace sandbox
