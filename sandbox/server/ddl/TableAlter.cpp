// ALTER TABLE: columns added and modified, constraints added, dropped,
// renamed, enabled and disabled, with the dictionary rows Oracle keeps.
#include <algorithm>

#include "sandbox/server/ServerSession.h"
#include "sandbox/server/ddl/TableDdl.h"
#include "sandbox/server/ddl/TableStorage.h"
#include "sandbox/server/dictionary/Dictionary.h"
#include "sandbox/server/integrity/ConstraintRules.h"

namespace sandbox {

namespace {

using Key = std::vector<Value>;

}  // namespace

bool TableDdl::AlterTable(OraError& error) {
  in_.Skip();  // TABLE
  std::string owner, table;
  if (!ReadTableName(owner, table, error))
    return false;
  Catalog& catalog = context_.catalog;
  if (!catalog.Any("SELECT 1 FROM \"SYS.ALL_TABLES\" WHERE OWNER = ? AND TABLE_NAME = ?",
                   {Value::Text(owner), Value::Text(table)})) {
    error = {942, "table or view does not exist"};
    return false;
  }
  if (owner != context_.User() && !context_.Require("ALTER ANY TABLE", error))
    return false;
  bool done = true;
  if (in_.AcceptWord("ADD"))
    done = AlterAdd(owner, table, error);
  else if (in_.AcceptWord("MODIFY"))
    done = AlterModify(owner, table, error);
  else if (in_.AcceptWord("DROP"))
    done = in_.Peek().IsWord("COLUMN") || in_.Peek().IsSymbol("(")
               ? DropColumns(owner, table, error)
               : DropConstraint(owner, table, error);
  else if (in_.AcceptWord("ENABLE"))
    done = AlterConstraintState(owner, table, true, error);
  else if (in_.AcceptWord("DISABLE"))
    done = AlterConstraintState(owner, table, false, error);
  else if (in_.AcceptWord("RENAME"))
    done = in_.AcceptWord("COLUMN") ? RenameColumn(owner, table, error)
           : in_.AcceptWord("TO")   ? RenameTable(owner, table, error)
                                    : RenameConstraint(owner, table, error);
  else {
    StorageSpec storage;
    const std::size_t from = in_.Position();
    done = ReadStorage(storage, false, error) &&
           AlterAttributes(owner, table, storage, from, in_.Position(), error);
    if (done && in_.Position() == from) {
      error = {1735, "invalid ALTER TABLE option"};
      return false;
    }
  }
  if (!done)
    return false;
  if (!in_.AtEnd()) {
    error = {922, "missing or invalid option"};
    return false;
  }
  return true;
}

bool TableDdl::SetRowMovement(const std::string& owner, const std::string& table, bool enable,
                              OraError& error) {
  return context_.catalog.Exec(
      "UPDATE \"SYS.ALL_TABLES\" SET ROW_MOVEMENT = ? WHERE OWNER = ? AND TABLE_NAME = ?",
      {Value::Text(enable ? "ENABLED" : "DISABLED"), Value::Text(owner), Value::Text(table)},
      error);
}

bool TableDdl::AlterAttributes(const std::string& owner, const std::string& table,
                               const StorageSpec& storage, std::size_t from, std::size_t to,
                               OraError& error) {
  std::vector<std::string> sets;
  std::vector<Value> values;
  const std::pair<const std::optional<long long>*, const char*> numbers[] = {
      {&storage.pctFree, "PCT_FREE"},
      {&storage.pctUsed, "PCT_USED"},
      {&storage.iniTrans, "INI_TRANS"},
      {&storage.maxTrans, "MAX_TRANS"}};
  for (const auto& [value, column] : numbers)
    if (value->has_value()) {
      sets.push_back(std::string(column) + " = ?");
      values.push_back(Value::Integer(**value));
    }
  bool logging = false, compression = false, movement = false;
  for (std::size_t i = from; i < to; ++i) {
    const SqlToken& t = context_.tokens[i];
    logging = logging || t.IsWord("LOGGING") || t.IsWord("NOLOGGING");
    compression = compression || t.IsWord("COMPRESS") || t.IsWord("NOCOMPRESS");
    movement = movement || t.IsWord("MOVEMENT");
  }
  if (movement && !SetRowMovement(owner, table, storage.rowMovement, error))
    return false;
  if (logging) {
    sets.push_back("LOGGING = ?");
    values.push_back(Value::Text(storage.logging ? "YES" : "NO"));
  }
  if (compression) {
    sets.push_back("COMPRESSION = ?, COMPRESS_FOR = ?");
    values.push_back(Value::Text(storage.compressed ? "ENABLED" : "DISABLED"));
    values.push_back(storage.compressFor ? Value::Text(*storage.compressFor) : Value::Null());
  }
  if (sets.empty())
    return true;
  std::string sql = "UPDATE \"SYS.ALL_TABLES\" SET ";
  for (std::size_t k = 0; k < sets.size(); ++k)
    sql += (k ? ", " : "") + sets[k];
  // A partitioned table keeps these on its partitions, as Oracle shows them.
  sql += " WHERE OWNER = ? AND TABLE_NAME = ? AND PARTITIONED = 'NO'";
  values.push_back(Value::Text(owner));
  values.push_back(Value::Text(table));
  return context_.catalog.Exec(sql, values, error);
}

bool TableDdl::AlterAdd(const std::string& owner, const std::string& table, OraError& error) {
  Catalog& catalog = context_.catalog;
  const Key key{Value::Text(owner), Value::Text(table)};
  const bool parenthesised = in_.AcceptSymbol("(");
  do {
    if (StartsConstraint()) {
      ConstraintSpec spec;
      if (!ReadConstraint(spec, nullptr, error) || !AddConstraint(owner, table, spec, error))
        return false;
      continue;
    }
    ColumnSpec column;
    std::vector<ConstraintSpec> inlineConstraints;
    if (!ReadColumn(column, inlineConstraints, error))
      return false;
    if (catalog.Any("SELECT 1 FROM \"SYS.ALL_TAB_COLUMNS\" WHERE OWNER = ? AND TABLE_NAME = ? "
                    "AND COLUMN_NAME = ?",
                    {Value::Text(owner), Value::Text(table), Value::Text(column.name)})) {
      error = {1430, "column being added already exists in table"};
      return false;
    }
    if (column.invisible && catalog.Any("SELECT 1 FROM \"SYS.ALL_TABLES\" WHERE OWNER = ? AND "
                                        "TABLE_NAME = ? AND TEMPORARY = 'Y'",
                                        key)) {
      error = {54042, "Invisible column is not supported on this type of table."};
      return false;
    }
    const bool filled =
        catalog.Any("SELECT 1 FROM " + QuoteSqliteName(StorageName(owner, table)), {});
    if (column.notNull && filled && column.defaultSql.empty() && !column.identity) {
      error = {1758, "table must be empty to add mandatory (NOT NULL) column"};
      return false;
    }
    const auto next = catalog.Rows(
        "SELECT coalesce(MAX(COLUMN_ID), 0) + 1 FROM \"SYS.ALL_TAB_COLS\" WHERE OWNER = ? AND "
        "TABLE_NAME = ?",
        key);
    if ((column.identity && !AddIdentity(owner, table, column, error)) ||
        !AddColumnRows(owner, table, column, std::atoi(next[0][0].c_str()), error) ||
        !AddColumnStorage(owner, table, column, error) ||
        !TableStorage(catalog, owner, table).Rebuild(error))
      return false;
    for (ConstraintSpec& spec : inlineConstraints)
      if (!AddConstraint(owner, table, spec, error))
        return false;
  } while (parenthesised && in_.AcceptSymbol(","));
  return !parenthesised || in_.ExpectSymbol(")", error);
}

bool TableDdl::AlterModify(const std::string& owner, const std::string& table, OraError& error) {
  if (in_.Peek().IsWord("CONSTRAINT") || in_.Peek().IsWord("PRIMARY") ||
      in_.Peek().IsWord("UNIQUE")) {
    std::string name;
    if (!FindConstraint(owner, table, name, error))
      return false;
    ConstraintRules rules(context_.catalog.Database(), context_.session);
    const auto row = rules.Load(owner, name);
    if (!row || row->table != table) {
      error = {2443, "Cannot drop constraint  - nonexistent constraint"};
      return false;
    }
    std::optional<bool> enable, validate, deferred;
    for (;;) {
      if (in_.AcceptWord("ENABLE"))
        enable = true;
      else if (in_.AcceptWord("DISABLE"))
        enable = false;
      else if (in_.AcceptWord("VALIDATE"))
        validate = true;
      else if (in_.AcceptWord("NOVALIDATE"))
        validate = false;
      else if (in_.AcceptWords("INITIALLY", "DEFERRED"))
        deferred = true;
      else if (in_.AcceptWords("INITIALLY", "IMMEDIATE"))
        deferred = false;
      else if (!(in_.AcceptWord("RELY") || in_.AcceptWord("NORELY")))
        break;
    }
    if (deferred) {
      if (*deferred && !row->deferrable) {
        error = {2447, "cannot defer a constraint that is not deferrable"};
        return false;
      }
      if (!context_.catalog.Exec(
              "UPDATE \"SYS.ALL_CONSTRAINTS\" SET \"DEFERRED\" = ? WHERE OWNER = ? AND "
              "CONSTRAINT_NAME = ?",
              {Value::Text(*deferred ? "DEFERRED" : "IMMEDIATE"), Value::Text(owner),
               Value::Text(name)},
              error))
        return false;
    }
    const bool on = enable.value_or(row->enabled);
    if (!validate && !enable)
      validate = context_.catalog.Any(
          "SELECT 1 FROM \"SYS.ALL_CONSTRAINTS\" WHERE OWNER = ? AND CONSTRAINT_NAME = ? AND "
          "VALIDATED = 'VALIDATED'",
          {Value::Text(owner), Value::Text(name)});
    return SetConstraintState(owner, name, on, validate, error);
  }
  const bool parenthesised = in_.AcceptSymbol("(");
  do {
    if (!ModifyColumn(owner, table, error))
      return false;
  } while (parenthesised && in_.AcceptSymbol(","));
  return !parenthesised || in_.ExpectSymbol(")", error);
}

// MODIFY column [type] [DEFAULT expr] [NULL | NOT NULL | constraint ...].
bool TableDdl::ModifyColumn(const std::string& owner, const std::string& table, OraError& error) {
  Catalog& catalog = context_.catalog;
  std::string column;
  if (!in_.ReadName(column, error, 904, "invalid identifier"))
    return false;
  const Key key{Value::Text(owner), Value::Text(table), Value::Text(column)};
  const auto current = catalog.Rows(
      "SELECT NULLABLE FROM \"SYS.ALL_TAB_COLUMNS\" WHERE OWNER = ? AND TABLE_NAME = ? AND "
      "COLUMN_NAME = ?",
      key);
  if (current.empty()) {
    error = {904, "\"" + column + "\": invalid identifier"};
    return false;
  }
  if (in_.Peek().IsWord("GENERATED"))
    return ModifyIdentity(owner, table, column, error);
  if (in_.Peek().IsWord("VISIBLE") || in_.Peek().IsWord("INVISIBLE"))
    return SetColumnVisibility(owner, table, column, !AcceptVisibility(false), error);
  TableStorage storage(catalog, owner, table);
  bool rebuild = false;
  const SqlToken& next = in_.Peek();
  if (next.type == SqlToken::Type::Word && !next.IsWord("DEFAULT") && !next.IsWord("NULL") &&
      !next.IsWord("NOT") && !next.IsWord("CONSTRAINT") && !next.IsWord("PRIMARY") &&
      !next.IsWord("UNIQUE") && !next.IsWord("CHECK") && !next.IsWord("REFERENCES") &&
      !next.IsWord("ENABLE") && !next.IsWord("DISABLE")) {
    ColumnSpec spec;
    spec.name = column;
    if (!ReadType(spec.type, error))
      return false;
    const OracleType& type = spec.type;
    std::string typeSql = type.SqliteDeclaration();
    if (const std::string check = type.ValueCheck(owner, table, column); !check.empty())
      typeSql += " CHECK (" + check + ")";
    if (!catalog.Exec(
            "UPDATE \"SYS.ALL_TAB_COLS\" SET DATA_TYPE = ?, DATA_LENGTH = ?, DATA_PRECISION = ?, "
            "DATA_SCALE = ?, CHAR_LENGTH = ?, CHAR_USED = ? WHERE OWNER = ? AND TABLE_NAME = ? AND "
            "COLUMN_NAME = ?",
            {Value::Text(type.name), Value::Integer(type.length),
             type.precision ? Value::Integer(*type.precision) : Value::Null(),
             type.scale ? Value::Integer(*type.scale) : Value::Null(),
             Value::Integer(type.charLength),
             type.charUsed ? Value::Text(std::string(1, type.charUsed)) : Value::Null(),
             Value::Text(owner), Value::Text(table), Value::Text(column)},
            error) ||
        !storage.SetType(column, typeSql, error))
      return false;
    rebuild = true;
  }
  while (!in_.AtEnd() && !in_.Peek().IsSymbol(",") && !in_.Peek().IsSymbol(")")) {
    if (in_.Peek().IsWord("DEFAULT")) {
      ColumnSpec spec;
      spec.name = column;
      if (!ReadDefault(spec, error))
        return false;
      if (!catalog.Exec(
              "UPDATE \"SYS.ALL_TAB_COLS\" SET DATA_DEFAULT = ?, DEFAULT_LENGTH = ?, "
              "DEFAULT_ON_NULL = ? WHERE OWNER = ? AND TABLE_NAME = ? AND COLUMN_NAME = ?",
              {Value::Text(spec.defaultText),
               spec.defaultText.empty()
                   ? Value::Null()
                   : Value::Integer(static_cast<long long>(spec.defaultText.size())),
               Value::Text(spec.defaultOnNull ? "YES" : "NO"), Value::Text(owner),
               Value::Text(table), Value::Text(column)},
              error) ||
          !storage.SetDefault(column, spec.defaultSql, error))
        return false;
      rebuild = true;
    } else if (in_.AcceptWord("NULL")) {
      const auto notNull = catalog.Rows(
          "SELECT c.CONSTRAINT_NAME FROM \"SYS.ALL_CONSTRAINTS\" c JOIN \"SYS.ALL_CONS_COLUMNS\" k "
          "ON k.OWNER = c.OWNER AND k.CONSTRAINT_NAME = c.CONSTRAINT_NAME WHERE c.OWNER = ?1 AND "
          "c.TABLE_NAME = ?2 AND k.COLUMN_NAME = ?3 AND c.CONSTRAINT_TYPE = 'C' AND "
          "c.SEARCH_CONDITION = '\"' || ?3 || '\" IS NOT NULL'",
          key);
      if (notNull.empty()) {
        error = {1451, "column to be modified to NULL cannot be modified to NULL"};
        return false;
      }
      for (const auto& constraint : notNull)
        if (!RemoveConstraint(owner, constraint[0], false, error))
          return false;
    } else {
      ConstraintSpec spec;
      if (!ReadConstraint(spec, &column, error))
        return false;
      if (spec.type == 'N') {
        if (current[0][0] == "N") {
          error = {1442, "column to be modified to NOT NULL is already NOT NULL"};
          return false;
        }
        spec.type = 'C';
        spec.columns = {column};
        spec.condition = "\"" + column + "\" IS NOT NULL";
      }
      if (!AddConstraint(owner, table, spec, error)) {
        // Oracle names no constraint it has not yet named.
        if (error.code == 2296 && spec.name.rfind("SYS_C", 0) == 0)
          error.message = "cannot enable (" + owner + ".) - null values found";
        return false;
      }
      // A NOT NULL or primary key added here makes the column mandatory.
      if (!RefreshNullable(owner, table, error))
        return false;
    }
  }
  if (rebuild && !storage.Rebuild(error)) {
    if (error.code == 12899 || error.code == 1401)
      error = {1441, "cannot decrease column length because some value is too big"};
    else if (error.code == 1438)
      error = {1440, "column to be modified must be empty to decrease precision or scale"};
    return false;
  }
  return true;
}

// CONSTRAINT name | PRIMARY KEY | UNIQUE (columns): the constraint named.
bool TableDdl::FindConstraint(const std::string& owner, const std::string& table, std::string& name,
                              OraError& error) {
  Catalog& catalog = context_.catalog;
  if (in_.AcceptWord("CONSTRAINT"))
    return in_.ReadName(name, error, 904, "invalid identifier");
  std::vector<Value> key{Value::Text(owner), Value::Text(table)};
  std::string filter = "CONSTRAINT_TYPE = 'P'";
  if (in_.AcceptWord("UNIQUE")) {
    std::vector<std::string> columns;
    if (!in_.ReadNameList(columns, error))
      return false;
    filter =
        "CONSTRAINT_TYPE = 'U' AND (SELECT group_concat(COLUMN_NAME, ',') FROM (SELECT "
        "COLUMN_NAME FROM \"SYS.ALL_CONS_COLUMNS\" k WHERE k.OWNER = c.OWNER AND "
        "k.CONSTRAINT_NAME = c.CONSTRAINT_NAME ORDER BY POSITION)) = ?3";
    key.push_back(Value::Text(JoinColumns(columns)));
  } else if (!in_.AcceptWords("PRIMARY", "KEY")) {
    error = {905, "missing keyword"};
    return false;
  }
  const auto rows = catalog.Rows(
      "SELECT CONSTRAINT_NAME FROM \"SYS.ALL_CONSTRAINTS\" c WHERE OWNER = ?1 AND TABLE_NAME = ?2 "
      "AND " +
          filter,
      key);
  if (rows.empty()) {
    error = {2441, "Cannot drop nonexistent primary key"};
    return false;
  }
  name = rows[0][0];
  return true;
}

// Foreign keys that refer to a key.
static std::vector<std::vector<std::string>> Dependents(Catalog& catalog, const std::string& owner,
                                                        const std::string& name) {
  return catalog.Rows(
      "SELECT OWNER, CONSTRAINT_NAME, STATUS FROM \"SYS.ALL_CONSTRAINTS\" WHERE R_OWNER = ? AND "
      "R_CONSTRAINT_NAME = ? AND CONSTRAINT_TYPE = 'R'",
      {Value::Text(owner), Value::Text(name)});
}

bool TableDdl::ConstraintOnTable(const std::string& owner, const std::string& table,
                                 const std::string& name) {
  return context_.catalog.Any(
      "SELECT 1 FROM \"SYS.ALL_CONSTRAINTS\" WHERE OWNER = ? AND CONSTRAINT_NAME = ? AND "
      "TABLE_NAME = ?",
      {Value::Text(owner), Value::Text(name), Value::Text(table)});
}

bool TableDdl::AlterConstraintState(const std::string& owner, const std::string& table, bool enable,
                                    OraError& error) {
  std::optional<bool> validate;
  if (in_.AcceptWord("VALIDATE"))
    validate = true;
  else if (in_.AcceptWord("NOVALIDATE"))
    validate = false;
  if (in_.AcceptWords("ROW", "MOVEMENT"))
    return SetRowMovement(owner, table, enable, error);
  if (in_.AcceptWord("ALL")) {
    if (!in_.ExpectWord("TRIGGERS", error))
      return false;
    return context_.catalog.Exec(
        "UPDATE \"SYS.ALL_TRIGGERS\" SET STATUS = ? WHERE TABLE_OWNER = ? AND TABLE_NAME = ?",
        {Value::Text(enable ? "ENABLED" : "DISABLED"), Value::Text(owner), Value::Text(table)},
        error);
  }
  if (in_.Peek().IsWord("TABLE")) {
    while (!in_.AtEnd())  // TABLE LOCK: nothing kept
      in_.Skip();
    return true;
  }
  std::string name;
  if (!FindConstraint(owner, table, name, error))
    return false;
  const bool cascade = in_.AcceptWord("CASCADE");
  if (in_.AcceptWords("KEEP", "INDEX") || in_.AcceptWords("DROP", "INDEX")) {
  }
  Catalog& catalog = context_.catalog;
  if (!ConstraintOnTable(owner, table, name)) {
    error = enable
                ? OraError{2430, "cannot enable constraint (" + name + ") - no such constraint"}
                : OraError{2431, "cannot disable constraint (" + name + ") - no such constraint"};
    return false;
  }
  if (!enable)
    for (const auto& dependent : Dependents(catalog, owner, name)) {
      if (dependent[2] != "ENABLED")
        continue;
      if (!cascade) {
        error = {2297,
                 "cannot disable constraint (" + owner + "." + name + ") - dependencies exist"};
        return false;
      }
      if (!SetConstraintState(dependent[0], dependent[1], false, std::nullopt, error))
        return false;
    }
  return SetConstraintState(owner, name, enable, validate, error) &&
         RefreshNullable(owner, table, error);
}

bool TableDdl::DropConstraint(const std::string& owner, const std::string& table, OraError& error) {
  if (!in_.Peek().IsWord("CONSTRAINT") && !in_.Peek().IsWord("PRIMARY") &&
      !in_.Peek().IsWord("UNIQUE")) {
    error = {922, "missing or invalid option"};
    return false;
  }
  std::string name;
  if (!FindConstraint(owner, table, name, error))
    return false;
  const bool cascade = in_.AcceptWord("CASCADE");
  const bool keepIndex = in_.AcceptWords("KEEP", "INDEX");
  in_.AcceptWords("DROP", "INDEX");
  Catalog& catalog = context_.catalog;
  if (!ConstraintOnTable(owner, table, name)) {
    error = {2443, "Cannot drop constraint  - nonexistent constraint"};
    return false;
  }
  const auto dependents = Dependents(catalog, owner, name);
  if (!dependents.empty() && !cascade) {
    error = {2273, "this unique/primary key is referenced by some foreign keys"};
    return false;
  }
  for (const auto& dependent : dependents)
    if (!RemoveConstraint(dependent[0], dependent[1], false, error))
      return false;
  return RemoveConstraint(owner, name, keepIndex, error) && RefreshNullable(owner, table, error);
}

// DROP COLUMN c | DROP (c, ...) [CASCADE CONSTRAINTS]: the columns go with
// their constraints, the indexes that hold them and their comments.
bool TableDdl::DropColumns(const std::string& owner, const std::string& table, OraError& error) {
  std::vector<std::string> columns;
  if (in_.AcceptWord("COLUMN")) {
    columns.emplace_back();
    if (!in_.ReadName(columns.back(), error, 904, "invalid identifier"))
      return false;
  } else if (!in_.ReadNameList(columns, error)) {
    return false;
  }
  const bool cascade = in_.AcceptWords("CASCADE", "CONSTRAINTS");
  Catalog& catalog = context_.catalog;
  if (!CheckColumnsExist(owner, table, columns, error))
    return false;
  const Key key{Value::Text(owner), Value::Text(table)};
  const auto count = catalog.Rows(
      "SELECT count(*) FROM \"SYS.ALL_TAB_COLUMNS\" WHERE OWNER = ? AND TABLE_NAME = ?", key);
  if (static_cast<std::size_t>(std::atoi(count[0][0].c_str())) <= columns.size()) {
    error = {12983, "cannot drop all columns in a table"};
    return false;
  }
  auto dropped = [&](const std::string& name) {
    return std::find(columns.begin(), columns.end(), name) != columns.end();
  };
  ConstraintRules rules(catalog.Database(), context_.session);
  for (const auto& constraint : catalog.Rows(
           "SELECT DISTINCT c.CONSTRAINT_NAME FROM \"SYS.ALL_CONSTRAINTS\" c JOIN "
           "\"SYS.ALL_CONS_COLUMNS\" k ON k.OWNER = c.OWNER AND k.CONSTRAINT_NAME = "
           "c.CONSTRAINT_NAME WHERE c.OWNER = ? AND c.TABLE_NAME = ? AND k.COLUMN_NAME IN (SELECT "
           "value FROM json_each(?))",
           {Value::Text(owner), Value::Text(table), Value::Text([&] {
              std::string list = "[";
              for (const std::string& column : columns)
                list += (list.size() > 1 ? ",\"" : "\"") + column + "\"";
              return list + "]";
            }())})) {
    const auto row = rules.Load(owner, constraint[0]);
    if (!row)
      continue;
    const bool others = std::any_of(row->columns.begin(), row->columns.end(),
                                    [&](const std::string& c) { return !dropped(c); });
    const auto dependents = Dependents(catalog, owner, row->name);
    if (!cascade && others) {
      error = {12991, "column is referenced in a multi-column constraint"};
      return false;
    }
    if (!cascade && !dependents.empty()) {
      error = {12992, "cannot drop parent key column"};
      return false;
    }
    for (const auto& dependent : dependents)
      if (!RemoveConstraint(dependent[0], dependent[1], false, error))
        return false;
    if (!RemoveConstraint(owner, row->name, false, error))
      return false;
  }
  for (const std::string& column : columns) {
    // Indexes over the column, by name or through an expression's hidden column.
    for (const auto& index : catalog.Rows(
             "SELECT DISTINCT i.INDEX_OWNER, i.INDEX_NAME FROM \"SYS.ALL_IND_COLUMNS\" i JOIN "
             "\"SYS.ALL_TAB_COLS\" t ON t.OWNER = i.TABLE_OWNER AND t.TABLE_NAME = i.TABLE_NAME "
             "AND t.COLUMN_NAME = i.COLUMN_NAME WHERE i.TABLE_OWNER = ?1 AND i.TABLE_NAME = ?2 AND "
             "(t.COLUMN_NAME = ?3 OR (t.HIDDEN_COLUMN = 'YES' AND instr(t.DATA_DEFAULT, '\"' || "
             "?3 || '\"') > 0))",
             {Value::Text(owner), Value::Text(table), Value::Text(column)}))
      if (!RemoveIndex(index[0], index[1], error))
        return false;
    const Key columnKey{Value::Text(owner), Value::Text(table), Value::Text(column)};
    if (!RemoveIdentity(owner, table, column, error) ||
        !catalog.Exec("DELETE FROM \"SYS.ALL_TAB_COLS\" WHERE OWNER = ? AND TABLE_NAME = ? AND "
                      "COLUMN_NAME = ?",
                      columnKey, error) ||
        !catalog.Exec("DELETE FROM \"SYS.COLDEF$\" WHERE OWNER = ? AND TABLE_NAME = ? AND "
                      "COLUMN_NAME = ?",
                      columnKey, error) ||
        !catalog.Exec("DELETE FROM \"SYS.COM$\" WHERE OWNER = ? AND TABLE_NAME = ? AND "
                      "COLUMN_NAME = ?",
                      columnKey, error))
      return false;
  }
  return catalog.Exec(
             "UPDATE \"SYS.ALL_TAB_COLS\" SET COLUMN_ID = (SELECT count(*) FROM "
             "\"SYS.ALL_TAB_COLS\" x WHERE x.OWNER = ?1 AND x.TABLE_NAME = ?2 AND x.HIDDEN_COLUMN "
             "= "
             "'NO' AND x.COLUMN_ID <= \"SYS.ALL_TAB_COLS\".COLUMN_ID) WHERE OWNER = ?1 AND "
             "TABLE_NAME = ?2 AND HIDDEN_COLUMN = 'NO'",
             key, error) &&
         TableStorage(catalog, owner, table).Rebuild(error);
}

bool TableDdl::RemoveConstraint(const std::string& owner, const std::string& name, bool keepIndex,
                                OraError& error) {
  Catalog& catalog = context_.catalog;
  ConstraintRules rules(catalog.Database(), context_.session);
  const auto row = rules.Load(owner, name);
  if (!row)
    return true;
  const Key key{Value::Text(owner), Value::Text(name)};
  const bool ownsIndex =
      catalog.Any("SELECT 1 FROM \"SYS.CONS_INDEX$\" WHERE OWNER = ? AND CONSTRAINT_NAME = ?", key);
  if (!catalog.Exec("DELETE FROM \"SYS.ALL_CONSTRAINTS\" WHERE OWNER = ? AND CONSTRAINT_NAME = ?",
                    key, error) ||
      !catalog.Exec("DELETE FROM \"SYS.ALL_CONS_COLUMNS\" WHERE OWNER = ? AND CONSTRAINT_NAME = ?",
                    key, error) ||
      !catalog.Exec("DELETE FROM \"SYS.CONS_INDEX$\" WHERE OWNER = ? AND CONSTRAINT_NAME = ?", key,
                    error))
    return false;
  if (ownsIndex && !keepIndex && !row->indexName.empty() &&
      !RemoveIndex(owner, row->indexName, error))
    return false;
  return RefreshNullable(owner, row->table, error);
}

// NULLABLE is 'N' while an enabled NOT NULL or primary key covers the column.
bool TableDdl::RefreshNullable(const std::string& owner, const std::string& table,
                               OraError& error) {
  return context_.catalog.Exec(
      "UPDATE \"SYS.ALL_TAB_COLS\" SET NULLABLE = CASE WHEN EXISTS (SELECT 1 FROM "
      "\"SYS.ALL_CONSTRAINTS\" c JOIN \"SYS.ALL_CONS_COLUMNS\" k ON k.OWNER = c.OWNER AND "
      "k.CONSTRAINT_NAME = c.CONSTRAINT_NAME WHERE c.OWNER = ?1 AND c.TABLE_NAME = ?2 AND "
      "k.COLUMN_NAME = \"SYS.ALL_TAB_COLS\".COLUMN_NAME AND c.STATUS = 'ENABLED' AND "
      "(c.CONSTRAINT_TYPE = 'P' OR (c.CONSTRAINT_TYPE = 'C' AND c.SEARCH_CONDITION = '\"' || "
      "k.COLUMN_NAME || '\" IS NOT NULL'))) THEN 'N' ELSE 'Y' END WHERE OWNER = ?1 AND "
      "TABLE_NAME = ?2 AND USER_GENERATED = 'YES'",
      {Value::Text(owner), Value::Text(table)}, error);
}

bool TableDdl::RenameConstraint(const std::string& owner, const std::string& table,
                                OraError& error) {
  std::string name, newName;
  if (!in_.ExpectWord("CONSTRAINT", error) ||
      !in_.ReadName(name, error, 904, "invalid identifier") || !in_.ExpectWord("TO", error) ||
      !in_.ReadName(newName, error, 904, "invalid identifier"))
    return false;
  Catalog& catalog = context_.catalog;
  if (!ConstraintOnTable(owner, table, name)) {
    error = {23292, "The constraint does not exist"};
    return false;
  }
  if (catalog.Any("SELECT 1 FROM \"SYS.ALL_CONSTRAINTS\" WHERE OWNER = ? AND CONSTRAINT_NAME = ?",
                  {Value::Text(owner), Value::Text(newName)})) {
    error = {2264, "name already used by an existing constraint"};
    return false;
  }
  const Key rename{Value::Text(newName), Value::Text(owner), Value::Text(name)};
  if (!catalog.Exec("UPDATE \"SYS.ALL_CONSTRAINTS\" SET CONSTRAINT_NAME = ?1, \"GENERATED\" = "
                    "'USER NAME', LAST_CHANGE = ora_sysdate() WHERE OWNER = ?2 AND "
                    "CONSTRAINT_NAME = ?3",
                    rename, error) ||
      !catalog.Exec("UPDATE \"SYS.ALL_CONSTRAINTS\" SET R_CONSTRAINT_NAME = ?1 WHERE R_OWNER = ?2 "
                    "AND R_CONSTRAINT_NAME = ?3",
                    rename, error) ||
      !catalog.Exec("UPDATE \"SYS.ALL_CONS_COLUMNS\" SET CONSTRAINT_NAME = ?1 WHERE OWNER = ?2 AND "
                    "CONSTRAINT_NAME = ?3",
                    rename, error) ||
      !catalog.Exec("UPDATE \"SYS.CONS_INDEX$\" SET CONSTRAINT_NAME = ?1 WHERE OWNER = ?2 AND "
                    "CONSTRAINT_NAME = ?3",
                    rename, error))
    return false;
  return true;
}

}  // namespace sandbox
