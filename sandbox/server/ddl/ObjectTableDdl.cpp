// Object tables: CREATE TABLE t OF type [(object properties)] [OBJECT
// IDENTIFIER IS SYSTEM GENERATED | PRIMARY KEY]. The table's columns are
// the type's attributes, so everything a relational table has (constraints,
// indexes, rows) works on them; the hidden SYS_NC_OID$ and SYS_NC_ROWINFO$
// columns are kept in the dictionary only.
#include <algorithm>

#include "sandbox/server/ddl/TableDdl.h"
#include "sandbox/server/ddl/TypeDeclaration.h"
#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

namespace {

// The declaration an attribute's ALL_TYPE_ATTRS row stands for.
std::string AttributeDeclaration(const std::vector<std::string>& row) {
  const std::string& name = row[1];
  const std::string& length = row[2];
  const std::string& precision = row[3];
  const std::string& scale = row[4];
  const bool characters = row[5] == "C";
  if (name == "NUMBER" && !precision.empty())
    return name + "(" + precision + (scale.empty() ? "" : "," + scale) + ")";
  if (name == "FLOAT" && !precision.empty())
    return name + "(" + precision + ")";
  if ((name == "VARCHAR2" || name == "CHAR" || name == "RAW") && !length.empty())
    return name + "(" + length + (characters ? " CHAR" : "") + ")";
  if ((name == "NVARCHAR2" || name == "NCHAR") && !length.empty())
    return name + "(" + length + ")";
  return name;
}

}  // namespace

bool TableDdl::AttributeColumns(const ObjectTableSpec& spec, std::vector<ColumnSpec>& columns,
                                OraError& error) {
  const auto rows = context_.catalog.Rows(
      "SELECT ATTR_NAME, ATTR_TYPE_NAME, LENGTH, PRECISION, SCALE, CHAR_USED, ATTR_TYPE_OWNER "
      "FROM \"SYS.ALL_TYPE_ATTRS\" WHERE OWNER = ? AND TYPE_NAME = ? ORDER BY ATTR_NO",
      {Value::Text(spec.typeOwner), Value::Text(spec.typeName)});
  for (const auto& row : rows) {
    ColumnSpec& column = columns.emplace_back();
    column.name = row[0];
    if (!row[6].empty()) {
      column.type.name = row[1];
      column.type.typeOwner = row[6];
    } else {
      std::vector<SqlToken> tokens;
      std::size_t errorOffset = 0;
      if (!TokenizeSql(AttributeDeclaration(row), tokens, errorOffset)) {
        error = {902, "invalid datatype"};
        return false;
      }
      TokenStream declaration(tokens, 0);
      if (!ReadBuiltinType(declaration, column.type, error))
        return false;
    }
  }
  return true;
}

bool TableDdl::ReadObjectTable(ObjectTableSpec& spec, std::vector<ColumnSpec>& columns,
                               std::vector<ConstraintSpec>& constraints, OraError& error) {
  if (!in_.ReadQualifiedName(spec.typeOwner, spec.typeName, context_.Schema(), error))
    return false;
  const auto kind = FindUserType(context_.catalog, spec.typeOwner, spec.typeName);
  if (!kind) {
    error = {902, "invalid datatype"};
    return false;
  }
  if (kind->typecode != "OBJECT" || kind->incomplete) {
    error = {902, "invalid datatype"};
    return false;
  }
  if (!AttributeColumns(spec, columns, error))
    return false;
  spec.substitutable = context_.catalog.Any(
      "SELECT 1 FROM \"SYS.ALL_TYPES\" WHERE OWNER = ? AND TYPE_NAME = ? AND "
      "FINAL = 'NO'",
      {Value::Text(spec.typeOwner), Value::Text(spec.typeName)});
  // (constraint | attribute [DEFAULT expr] [constraints], ...)
  if (in_.AcceptSymbol("(")) {
    do {
      if (StartsConstraint()) {
        ConstraintSpec constraint;
        if (!ReadConstraint(constraint, nullptr, error))
          return false;
        constraints.push_back(std::move(constraint));
        continue;
      }
      std::string name;
      if (!in_.ReadName(name, error, 904, "invalid identifier"))
        return false;
      const auto column =
          std::find_if(columns.begin(), columns.end(),
                       [&](const ColumnSpec& candidate) { return candidate.name == name; });
      if (column == columns.end()) {
        error = {904, "\"" + name + "\": invalid identifier"};
        return false;
      }
      if (!ReadColumnProperties(*column, constraints, error))
        return false;
    } while (in_.AcceptSymbol(","));
    if (!in_.ExpectSymbol(")", error))
      return false;
  }
  if (in_.AcceptWords("OBJECT", "IDENTIFIER")) {
    if (!in_.ExpectWord("IS", error))
      return false;
    spec.primaryKeyIdentifier = in_.AcceptWords("PRIMARY", "KEY");
    if (!spec.primaryKeyIdentifier &&
        (!in_.ExpectWord("SYSTEM", error) || !in_.ExpectWord("GENERATED", error)))
      return false;
  }
  if (spec.primaryKeyIdentifier &&
      std::none_of(constraints.begin(), constraints.end(),
                   [](const ConstraintSpec& constraint) { return constraint.type == 'P'; })) {
    error = {22829, "OID clause requires primary key constraint"};
    return false;
  }
  // Key attributes are NOT NULL, as key columns of any table.
  for (const ConstraintSpec& constraint : constraints)
    if (constraint.type == 'P')
      for (ColumnSpec& column : columns)
        if (std::find(constraint.columns.begin(), constraint.columns.end(), column.name) !=
            constraint.columns.end())
          column.notNull = true;
  return true;
}

bool TableDdl::AddObjectTableRows(const std::string& owner, const std::string& table,
                                  const ObjectTableSpec& spec, OraError& error) {
  Catalog& catalog = context_.catalog;
  return catalog.Exec(
             "INSERT INTO \"SYS.ALL_TAB_COLS\" (OWNER, TABLE_NAME, COLUMN_NAME, DATA_TYPE, "
             "DATA_TYPE_OWNER, DATA_LENGTH, NULLABLE, COLUMN_ID, CHAR_LENGTH, HIDDEN_COLUMN, "
             "VIRTUAL_COLUMN, INTERNAL_COLUMN_ID, USER_GENERATED) VALUES "
             "(?1, ?2, 'SYS_NC_OID$', 'RAW', NULL, 16, 'Y', NULL, 0, 'YES', 'NO', 1, 'NO'), "
             "(?1, ?2, 'SYS_NC_ROWINFO$', ?4, ?3, 1, 'Y', NULL, 0, 'YES', 'YES', 2, 'NO')",
             {Value::Text(owner), Value::Text(table), Value::Text(spec.typeOwner),
              Value::Text(spec.typeName)},
             error) &&
         // A subtype's row keeps its whole object (as JSON text) here; a row
         // of the table's own type leaves it NULL.
         (!spec.substitutable ||
          (catalog.Exec(
               "INSERT INTO \"SYS.ALL_TAB_COLS\" (OWNER, TABLE_NAME, COLUMN_NAME, DATA_TYPE, "
               "DATA_LENGTH, NULLABLE, COLUMN_ID, CHAR_LENGTH, HIDDEN_COLUMN, VIRTUAL_COLUMN, "
               "INTERNAL_COLUMN_ID, USER_GENERATED) VALUES (?1, ?2, 'SYS_NC_TYPEID$', 'RAW', 16, "
               "'Y', NULL, 0, 'YES', 'NO', 3, 'NO')",
               {Value::Text(owner), Value::Text(table)}, error) &&
           catalog.Exec("INSERT INTO \"SYS.COLDEF$\" (OWNER, TABLE_NAME, COLUMN_NAME, TYPE_SQL) "
                        "VALUES (?, ?, 'SYS_NC_TYPEID$', 'TEXT')",
                        {Value::Text(owner), Value::Text(table)}, error))) &&
         catalog.Exec(
             "INSERT INTO \"SYS.ALL_OBJECT_TABLES\" (OWNER, TABLE_NAME, TABLESPACE_NAME, STATUS, "
             "OBJECT_ID_TYPE, TABLE_TYPE_OWNER, TABLE_TYPE, \"TEMPORARY\", NESTED) SELECT OWNER, "
             "TABLE_NAME, TABLESPACE_NAME, STATUS, ?, ?, ?, \"TEMPORARY\", 'NO' FROM "
             "\"SYS.ALL_TABLES\" WHERE OWNER = ? AND TABLE_NAME = ?",
             {Value::Text(spec.primaryKeyIdentifier ? "USER-DEFINED" : "SYSTEM GENERATED"),
              Value::Text(spec.typeOwner), Value::Text(spec.typeName), Value::Text(owner),
              Value::Text(table)},
             error);
}

bool TableDdl::RemoveObjectTableRow(const std::string& owner, const std::string& table,
                                    OraError& error) {
  return context_.catalog.Exec(
      "DELETE FROM \"SYS.ALL_OBJECT_TABLES\" WHERE OWNER = ? AND TABLE_NAME = ?",
      {Value::Text(owner), Value::Text(table)}, error);
}

}  // namespace sandbox
