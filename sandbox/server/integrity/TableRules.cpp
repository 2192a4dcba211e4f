// Reading a table's rules from the dictionary and writing them as SQL.
#include "sandbox/server/integrity/TableRules.h"

#include <algorithm>

#include "sandbox/server/ErrorMapping.h"
#include "sandbox/server/ServerDatabase.h"
#include "sandbox/server/dictionary/Dictionary.h"
#include "sandbox/server/integrity/ConstraintRules.h"
#include "sandbox/server/integrity/KeySql.h"
#include "sandbox/server/integrity/RowChanges.h"
#include "sandbox/server/values/OracleType.h"

namespace sandbox {

namespace {

using Rows = std::vector<std::vector<std::string>>;

std::string Name(const std::string& name) {
  return QuoteSqliteName(name);
}

// "F1 = ?1 AND F2 = ?2": the key's columns against parameters.
std::string KeyParameters(const std::string& prefix, const std::vector<std::string>& columns) {
  std::string text;
  for (std::size_t i = 0; i < columns.size(); ++i)
    text += (i ? " AND " : "") + prefix + Name(columns[i]) + " = ?" + std::to_string(i + 1);
  return text;
}

RuleConstraint RuleOf(const ConstraintRow& row, std::string message) {
  return {row.Key(), std::move(message), row.deferrable, row.initiallyDeferred};
}

class RulesReader {
 public:
  RulesReader(ServerDatabase& database, NameResolver& resolver, TableRules& rules)
      : database_(database), constraints_(database, resolver), rules_(rules) {}

  bool Read(OraError& error);

 private:
  int ColumnIndex(const std::string& name) const {
    const auto found = std::find(rules_.columns.begin(), rules_.columns.end(), name);
    return found == rules_.columns.end() ? -1 : static_cast<int>(found - rules_.columns.begin());
  }
  std::vector<int> ColumnIndexes(const std::vector<std::string>& names) const {
    std::vector<int> indexes;
    for (const std::string& name : names)
      if (const int index = ColumnIndex(name); index >= 0)
        indexes.push_back(index);
    return indexes;
  }
  void ReadColumns();
  bool AddConstraint(const ConstraintRow& row, OraError& error);
  void AddNotNull(const ConstraintRow& row, const std::string& column);
  void AddParentKey(const ConstraintRow& row);
  void WriteCheckSql();

  ServerDatabase& database_;
  ConstraintRules constraints_;
  TableRules& rules_;
  std::string owner_, table_;
  std::vector<std::string> filledOnNull_;
  std::vector<std::string> checkFlags_;  // SQL of each row check, as rowChecks
};

bool RulesReader::Read(OraError& error) {
  if (!SplitStorageName(rules_.storage, owner_, table_) || owner_ == "SYS")
    return true;
  SqliteRunner runner(database_.Handle());
  // The columns as the pre-update hook numbers them.
  Rows names;
  runner.Query("SELECT name, hidden FROM pragma_table_xinfo(?)", {Value::Text(rules_.storage)},
               names);
  for (const auto& name : names)
    if (name[1] != "2" || PreupdateCountsVirtualColumns())
      rules_.columns.push_back(name[0]);
  if (rules_.columns.empty())
    return true;
  ReadColumns();
  std::string list;
  for (const std::string& column : rules_.columns)
    list += (list.empty() ? "" : ", ") + Name(column);
  rules_.rowSql = "SELECT " + list + " FROM " + Name(rules_.storage) + " WHERE rowid = ?1";
  Rows constraints;
  runner.Query(
      "SELECT CONSTRAINT_NAME FROM \"SYS.ALL_CONSTRAINTS\" WHERE OWNER = ? AND TABLE_NAME = ? "
      "AND STATUS = 'ENABLED' ORDER BY rowid",
      {Value::Text(owner_), Value::Text(table_)}, constraints);
  for (const auto& name : constraints) {
    const auto row = constraints_.Load(owner_, name[0]);
    if (row && !AddConstraint(*row, error))
      return false;
  }
  // NOT NULL is checked in the order of the columns, as Oracle reports the first.
  std::stable_sort(rules_.notNull.begin(), rules_.notNull.end(),
                   [](const auto& a, const auto& b) { return a.column < b.column; });
  Rows children;
  runner.Query(
      "SELECT r.OWNER, r.CONSTRAINT_NAME FROM \"SYS.ALL_CONSTRAINTS\" p JOIN "
      "\"SYS.ALL_CONSTRAINTS\" r ON r.R_OWNER = p.OWNER AND r.R_CONSTRAINT_NAME = "
      "p.CONSTRAINT_NAME WHERE p.OWNER = ? AND p.TABLE_NAME = ? AND r.CONSTRAINT_TYPE = 'R' AND "
      "r.STATUS = 'ENABLED' ORDER BY r.rowid",
      {Value::Text(owner_), Value::Text(table_)}, children);
  for (const auto& child : children)
    if (const auto row = constraints_.Load(child[0], child[1]))
      AddParentKey(*row);
  WriteCheckSql();
  return true;
}

// DEFAULT ON NULL columns and columns of types with a stored form.
void RulesReader::ReadColumns() {
  SqliteRunner runner(database_.Handle());
  Rows columns;
  runner.Query(
      "SELECT c.COLUMN_NAME, c.DATA_TYPE, c.DATA_PRECISION, c.DATA_SCALE, c.DATA_TYPE_OWNER, "
      "c.DEFAULT_ON_NULL, c.VIRTUAL_COLUMN, d.DEFAULT_SQL FROM \"SYS.ALL_TAB_COLS\" c LEFT JOIN "
      "\"SYS.COLDEF$\" d ON d.OWNER = c.OWNER AND d.TABLE_NAME = c.TABLE_NAME AND d.COLUMN_NAME "
      "= c.COLUMN_NAME WHERE c.OWNER = ? AND c.TABLE_NAME = ? ORDER BY c.INTERNAL_COLUMN_ID",
      {Value::Text(owner_), Value::Text(table_)}, columns);
  std::string fills, nulls, conversions, unconverted;
  for (const auto& c : columns) {
    if (ColumnIndex(c[0]) < 0 || c[6] == "YES")
      continue;
    const std::string column = Name(c[0]);
    if (c[5] == "YES" && !c[7].empty()) {
      filledOnNull_.push_back(c[0]);
      fills += (fills.empty() ? "" : ", ") + column + " = CASE WHEN " + column + " IS NULL THEN (" +
               c[7] + ") ELSE " + column + " END";
      nulls += (nulls.empty() ? "" : " OR ") + column + " IS NULL";
    }
    OracleType type;
    type.name = c[1];
    type.typeOwner = c[4];
    if (!c[2].empty())
      type.precision = std::atoi(c[2].c_str());
    if (!c[3].empty())
      type.scale = std::atoi(c[3].c_str());
    const std::string stored = type.StoredForm(column);
    if (stored.empty())
      continue;
    conversions += (conversions.empty() ? "" : ", ") + column + " = " + stored;
    unconverted += (unconverted.empty() ? "" : " OR ") + column + " IS NOT " + stored;
  }
  const std::string table = Name(rules_.storage);
  if (!fills.empty())
    rules_.onNullSql =
        "UPDATE " + table + " SET " + fills + " WHERE rowid = ?1 AND (" + nulls + ")";
  if (!conversions.empty())
    rules_.conversionSql =
        "UPDATE " + table + " SET " + conversions + " WHERE rowid = ?1 AND (" + unconverted + ")";
}

void RulesReader::AddNotNull(const ConstraintRow& row, const std::string& column) {
  const int index = ColumnIndex(column);
  if (index < 0)
    return;
  const std::string path = "(\"" + owner_ + "\".\"" + table_ + "\".\"" + column + "\")";
  TableRules::NotNull rule;
  rule.column = index;
  rule.constraint = RuleOf(row, "ORA-01400: cannot insert NULL into " + path);
  rule.updateMessage = "ORA-01407: cannot update " + path + " to NULL";
  rule.filledOnNull =
      std::find(filledOnNull_.begin(), filledOnNull_.end(), column) != filledOnNull_.end();
  rules_.notNull.push_back(std::move(rule));
}

bool RulesReader::AddConstraint(const ConstraintRow& row, OraError& error) {
  const std::string table = Name(rules_.storage);
  if (row.type == 'P')
    for (const std::string& column : row.columns)
      AddNotNull(row, column);
  if (const std::string column = row.NotNullColumn(); !column.empty()) {
    AddNotNull(row, column);
    return true;
  }
  if (row.type == 'C') {
    std::string condition;
    if (!constraints_.Translate(row.condition, condition, error))
      return false;
    rules_.rowChecks.push_back(
        {RuleOf(row, "ORA-02290: check constraint (" + row.Key() + ") violated"), {}, false});
    checkFlags_.push_back("NOT (" + condition + ")");
    return true;
  }
  if (row.type == 'P' || row.type == 'U') {
    // A key kept by a unique index that is not deferrable needs nothing more.
    SqliteRunner runner(database_.Handle());
    Rows unique;
    runner.Query(
        "SELECT 1 FROM \"SYS.ALL_INDEXES\" WHERE OWNER = ? AND INDEX_NAME = ? AND UNIQUENESS = "
        "'UNIQUE'",
        {Value::Text(owner_), Value::Text(row.indexName)}, unique);
    if (!unique.empty() && !row.deferrable)
      return true;
    rules_.rowChecks.push_back(
        {RuleOf(row, "ORA-00001: unique constraint (" + row.Key() + ") violated"),
         ColumnIndexes(row.columns), false});
    checkFlags_.push_back("(" + KeyEach("n.", row.columns, " IS NOT NULL", " OR ") +
                          ") AND EXISTS (SELECT 1 FROM " + table + " x WHERE " +
                          KeyPairs("x.", row.columns, "n.", row.columns, " IS ") +
                          " AND x.rowid <> n.rowid)");
    return true;
  }
  if (row.type == 'R' && !row.parentTable.empty()) {
    rules_.rowChecks.push_back({RuleOf(row, "ORA-02291: integrity constraint (" + row.Key() +
                                                ") violated - parent key not found"),
                                ColumnIndexes(row.columns), row.parentTable == rules_.storage});
    checkFlags_.push_back(KeyEach("n.", row.columns, " IS NOT NULL", " AND ") +
                          " AND NOT EXISTS (SELECT 1 FROM " + Name(row.parentTable) + " p WHERE " +
                          KeyPairs("p.", row.parentColumns, "n.", row.columns) + ")");
  }
  return true;
}

void RulesReader::AddParentKey(const ConstraintRow& row) {
  TableRules::ParentKey key;
  key.constraint = RuleOf(
      row, "ORA-02292: integrity constraint (" + row.Key() + ") violated - child record found");
  key.columns = ColumnIndexes(row.parentColumns);
  if (key.columns.size() != row.parentColumns.size() || row.columns.empty())
    return;
  key.deleteRule = row.deleteRule;
  const std::string child = Name(StorageName(row.owner, row.table));
  key.selfReference = StorageName(row.owner, row.table) == rules_.storage;
  key.childrenSql =
      "SELECT 1 FROM " + child + " c WHERE " + KeyParameters("c.", row.columns) + " LIMIT 1";
  if (row.deleteRule == "CASCADE") {
    key.cascadeSql = "DELETE FROM " + child + " WHERE " + KeyParameters("", row.columns);
  } else if (row.deleteRule == "SET NULL") {
    key.cascadeSql = "UPDATE " + child + " SET " + KeyEach("", row.columns, " = NULL", ", ") +
                     " WHERE " + KeyParameters("", row.columns);
  }
  rules_.parentKeys.push_back(std::move(key));
}

void RulesReader::WriteCheckSql() {
  const std::string from = " FROM " + Name(rules_.storage) + " n WHERE n.rowid = ?1";
  std::string insertFlags, updateFlags;
  for (const auto& rule : rules_.notNull)
    if (!rule.filledOnNull)
      insertFlags += (insertFlags.empty() ? "" : ", ") +
                     ("n." + Name(rules_.columns[rule.column])) + " IS NULL";
  for (std::size_t i = 0; i < checkFlags_.size(); ++i) {
    const std::string flag = "(" + checkFlags_[i] + ")";
    insertFlags += (insertFlags.empty() ? "" : ", ") + flag;
    updateFlags += (updateFlags.empty() ? "" : ", ") +
                   (rules_.rowChecks[i].keyColumns.empty()
                        ? flag
                        : "CASE WHEN ?" + std::to_string(i + 2) + " THEN " + flag + " END");
  }
  if (!insertFlags.empty())
    rules_.insertCheckSql = "SELECT " + insertFlags + from;
  if (!updateFlags.empty())
    rules_.updateCheckSql = "SELECT " + updateFlags + from;
}

}  // namespace

sqlite3_stmt* TableRules::Statement(sqlite3* db, const std::string& sql, OraError& error) const {
  SqliteStatement& statement = prepared[&sql];
  if (statement) {
    sqlite3_reset(statement.get());
    sqlite3_clear_bindings(statement.get());
    return statement.get();
  }
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
    error = MapSqliteError(sqlite3_errmsg(db));
    return nullptr;
  }
  statement.reset(raw);
  return raw;
}

bool ReadTableRules(ServerDatabase& database, NameResolver& resolver, const std::string& storage,
                    TableRules& rules, OraError& error) {
  rules.storage = storage;
  return RulesReader(database, resolver, rules).Read(error);
}

}  // namespace sandbox
