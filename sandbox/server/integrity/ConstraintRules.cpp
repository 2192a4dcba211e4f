// Triggers and validation queries of constraints.
#include "sandbox/server/integrity/ConstraintRules.h"

#include "sandbox/server/ErrorMapping.h"
#include "sandbox/server/ServerDatabase.h"
#include "sandbox/server/dictionary/Dictionary.h"
#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

namespace {

using Rows = std::vector<std::vector<std::string>>;

std::string Quoted(const std::string& owner, const std::string& table) {
  return QuoteSqliteName(StorageName(owner, table));
}

// "a.K1 = b.F1 AND a.K2 = b.F2" over two column lists.
std::string Pairs(const std::string& left, const std::vector<std::string>& leftColumns,
                  const std::string& right, const std::vector<std::string>& rightColumns,
                  const char* op = " = ") {
  std::string text;
  for (std::size_t i = 0; i < leftColumns.size() && i < rightColumns.size(); ++i)
    text += (i ? " AND " : "") + left + QuoteSqliteName(leftColumns[i]) + op + right +
            QuoteSqliteName(rightColumns[i]);
  return text;
}

std::string Each(const std::string& prefix, const std::vector<std::string>& columns,
                 const char* test, const char* joiner) {
  std::string text;
  for (std::size_t i = 0; i < columns.size(); ++i)
    text += (i ? joiner : "") + prefix + QuoteSqliteName(columns[i]) + test;
  return text;
}

std::string ColumnList(const std::vector<std::string>& columns) {
  std::string text;
  for (std::size_t i = 0; i < columns.size(); ++i)
    text += (i ? ", " : "") + QuoteSqliteName(columns[i]);
  return text;
}

}  // namespace

std::string ConstraintRow::NotNullColumn() const {
  if (type == 'C' && columns.size() == 1 && condition == "\"" + columns[0] + "\" IS NOT NULL")
    return columns[0];
  return {};
}

std::optional<ConstraintRow> ConstraintRules::Load(const std::string& owner,
                                                   const std::string& name) {
  SqliteRunner runner(database_.Handle());
  Rows rows;
  runner.Query(
      "SELECT CONSTRAINT_TYPE, TABLE_NAME, SEARCH_CONDITION, R_OWNER, R_CONSTRAINT_NAME, "
      "DELETE_RULE, STATUS, \"DEFERRABLE\", \"DEFERRED\", INDEX_NAME FROM \"SYS.ALL_CONSTRAINTS\" "
      "WHERE OWNER = ? AND CONSTRAINT_NAME = ?",
      {Value::Text(owner), Value::Text(name)}, rows);
  if (rows.empty())
    return std::nullopt;
  const auto& r = rows[0];
  ConstraintRow row;
  row.owner = owner;
  row.name = name;
  row.type = r[0].empty() ? 'C' : r[0][0];
  row.table = r[1];
  row.condition = r[2];
  row.deleteRule = r[5];
  row.enabled = r[6] == "ENABLED";
  row.deferrable = r[7] == "DEFERRABLE";
  row.initiallyDeferred = r[8] == "DEFERRED";
  row.indexName = r[9];
  auto columnsOf = [&](const std::string& keyOwner, const std::string& keyName) {
    Rows found;
    runner.Query(
        "SELECT COLUMN_NAME FROM \"SYS.ALL_CONS_COLUMNS\" WHERE OWNER = ? AND CONSTRAINT_NAME = ? "
        "ORDER BY POSITION, rowid",
        {Value::Text(keyOwner), Value::Text(keyName)}, found);
    std::vector<std::string> columns;
    for (const auto& f : found)
      columns.push_back(f[0]);
    return columns;
  };
  row.columns = columnsOf(owner, name);
  if (row.type == 'R') {
    Rows parent;
    runner.Query(
        "SELECT TABLE_NAME FROM \"SYS.ALL_CONSTRAINTS\" WHERE OWNER = ? AND CONSTRAINT_NAME = ?",
        {Value::Text(r[3]), Value::Text(r[4])}, parent);
    if (!parent.empty())
      row.parentTable = StorageName(r[3], parent[0][0]);
    row.parentColumns = columnsOf(r[3], r[4]);
  }
  return row;
}

bool ConstraintRules::Translate(const std::string& text, std::string& sql, OraError& error) {
  std::vector<SqlToken> tokens;
  std::size_t errorOffset = 0;
  if (!TokenizeSql(text, tokens, errorOffset)) {
    error = {920, "invalid relational operator"};
    return false;
  }
  SqlTranslator translator(tokens, text, resolver_);
  TranslatedStatement translated;
  if (!translator.Translate(translated, error))
    return false;
  sql = translated.sql;
  return true;
}

std::string ConstraintRules::Raise(const ConstraintRow& row, const std::string& message,
                                   bool atStatementEnd) const {
  return "ora_constraint_now(" + QuoteSqliteText(row.Key()) + ", " + QuoteSqliteText(message) +
         ", " + (row.deferrable ? "1" : "0") + ", " + (row.initiallyDeferred ? "1" : "0") + ", " +
         (atStatementEnd ? "1" : "0") + ")";
}

bool ConstraintRules::AddTrigger(const ConstraintRow& row, int& serial, const std::string& timing,
                                 const std::string& table, const std::string& when,
                                 const std::string& body, OraError& error) {
  const std::string name =
      "cons:" + StorageName(row.owner, row.name) + ":" + std::to_string(++serial);
  SqliteRunner runner(database_.Handle());
  if (runner.Exec("CREATE TRIGGER " + QuoteSqliteName(name) + " " + timing + " ON " + table +
                  (when.empty() ? "" : " WHEN " + when) + " BEGIN " + body + "; END"))
    return true;
  error = MapSqliteError(runner.LastError());
  return false;
}

bool ConstraintRules::Enforce(const ConstraintRow& row, OraError& error) {
  if (!Release(row.owner, row.name, error))
    return false;
  if (!row.enabled)
    return true;
  int serial = 0;
  const std::string table = Quoted(row.owner, row.table);
  const std::string where = "\"" + row.owner + "\".\"" + row.table + "\".\"";
  // NOT NULL, and the key columns of a primary key.
  std::vector<std::string> notNull;
  if (row.type == 'P')
    notNull = row.columns;
  else if (!row.NotNullColumn().empty())
    notNull = {row.NotNullColumn()};
  for (const std::string& column : notNull) {
    SqliteRunner runner(database_.Handle());
    Rows onNull;
    runner.Query(
        "SELECT 1 FROM \"SYS.ALL_TAB_COLS\" WHERE OWNER = ? AND TABLE_NAME = ? AND COLUMN_NAME = ? "
        "AND DEFAULT_ON_NULL = 'YES'",
        {Value::Text(row.owner), Value::Text(row.table), Value::Text(column)}, onNull);
    const std::string isNull = "NEW." + QuoteSqliteName(column) + " IS NULL";
    // A column filled on NULL gets its value after the row is in.
    if (onNull.empty()) {
      const std::string message = "ORA-01400: cannot insert NULL into (" + where + column + "\")";
      if (!AddTrigger(row, serial, "BEFORE INSERT", table, isNull,
                      "SELECT RAISE(ABORT, " + QuoteSqliteText(message) + ") WHERE " +
                          Raise(row, message, false),
                      error))
        return false;
    }
    const std::string message = "ORA-01407: cannot update (" + where + column + "\") to NULL";
    if (!AddTrigger(row, serial, "BEFORE UPDATE OF " + QuoteSqliteName(column), table, isNull,
                    "SELECT RAISE(ABORT, " + QuoteSqliteText(message) + ") WHERE " +
                        Raise(row, message, false),
                    error))
      return false;
  }
  if (row.type == 'C' && row.NotNullColumn().empty()) {
    std::string condition;
    if (!Translate(row.condition, condition, error))
      return false;
    const std::string message = "ORA-02290: check constraint (" + row.Key() + ") violated";
    for (const char* event : {"AFTER INSERT", "AFTER UPDATE"})
      if (!AddTrigger(row, serial, event, table, "",
                      "SELECT RAISE(ABORT, " + QuoteSqliteText(message) + ") FROM " + table +
                          " WHERE rowid = NEW.rowid AND CASE WHEN NOT (" + condition + ") THEN " +
                          Raise(row, message, false) + " ELSE 0 END",
                      error))
        return false;
  }
  if (row.type == 'P' || row.type == 'U') {
    SqliteRunner runner(database_.Handle());
    Rows unique;
    runner.Query(
        "SELECT 1 FROM \"SYS.ALL_INDEXES\" WHERE OWNER = ? AND INDEX_NAME = ? AND UNIQUENESS = "
        "'UNIQUE'",
        {Value::Text(row.owner), Value::Text(row.indexName)}, unique);
    if (unique.empty() || row.deferrable) {
      const std::string message = "ORA-00001: unique constraint (" + row.Key() + ") violated";
      const std::string body = "SELECT RAISE(ABORT, " + QuoteSqliteText(message) +
                               ") WHERE CASE WHEN EXISTS (SELECT 1 FROM " + table + " x WHERE " +
                               Pairs("x.", row.columns, "NEW.", row.columns, " IS ") +
                               " AND x.rowid <> NEW.rowid) THEN " + Raise(row, message, false) +
                               " ELSE 0 END";
      const std::string any = "(" + Each("NEW.", row.columns, " IS NOT NULL", " OR ") + ")";
      if (!AddTrigger(row, serial, "AFTER INSERT", table, any, body, error) ||
          !AddTrigger(row, serial, "AFTER UPDATE OF " + ColumnList(row.columns), table, any, body,
                      error))
        return false;
    }
  }
  if (row.type == 'R' && !row.parentTable.empty()) {
    const std::string parent = QuoteSqliteName(row.parentTable);
    const bool self = row.parentTable == StorageName(row.owner, row.table);
    const std::string missing =
        "ORA-02291: integrity constraint (" + row.Key() + ") violated - parent key not found";
    const std::string children =
        "ORA-02292: integrity constraint (" + row.Key() + ") violated - child record found";
    const std::string childSet = "(" + Each("NEW.", row.columns, " IS NOT NULL", " AND ") + ")";
    const std::string parentMissing = "SELECT RAISE(ABORT, " + QuoteSqliteText(missing) +
                                      ") WHERE CASE WHEN NOT EXISTS (SELECT 1 FROM " + parent +
                                      " p WHERE " +
                                      Pairs("p.", row.parentColumns, "NEW.", row.columns) +
                                      ") THEN " + Raise(row, missing, self) + " ELSE 0 END";
    const std::string oldChildren = "EXISTS (SELECT 1 FROM " + table + " c WHERE " +
                                    Pairs("c.", row.columns, "OLD.", row.parentColumns) + ")";
    const std::string childFound = "SELECT RAISE(ABORT, " + QuoteSqliteText(children) +
                                   ") WHERE CASE WHEN " + oldChildren + " THEN " +
                                   Raise(row, children, self) + " ELSE 0 END";
    std::string onDelete = childFound;
    if (row.deleteRule == "CASCADE") {
      onDelete =
          "DELETE FROM " + table + " WHERE " + Pairs("", row.columns, "OLD.", row.parentColumns);
    } else if (row.deleteRule == "SET NULL") {
      std::string assignments;
      for (std::size_t i = 0; i < row.columns.size(); ++i)
        assignments += (i ? ", " : "") + QuoteSqliteName(row.columns[i]) + " = NULL";
      onDelete = "UPDATE " + table + " SET " + assignments + " WHERE " +
                 Pairs("", row.columns, "OLD.", row.parentColumns);
    }
    std::string changed;
    for (std::size_t i = 0; i < row.parentColumns.size(); ++i)
      changed += (i ? " OR " : "") + std::string("OLD.") + QuoteSqliteName(row.parentColumns[i]) +
                 " IS NOT NEW." + QuoteSqliteName(row.parentColumns[i]);
    if (!AddTrigger(row, serial, "AFTER INSERT", table, childSet, parentMissing, error) ||
        !AddTrigger(row, serial, "AFTER UPDATE OF " + ColumnList(row.columns), table, childSet,
                    parentMissing, error) ||
        !AddTrigger(row, serial, "AFTER DELETE", parent, "", onDelete, error) ||
        !AddTrigger(row, serial, "AFTER UPDATE OF " + ColumnList(row.parentColumns), parent,
                    "(" + changed + ")", childFound, error))
      return false;
  }
  return true;
}

bool ConstraintRules::Release(const std::string& owner, const std::string& name, OraError& error) {
  // A constraint's triggers are numbered from 1 without gaps (Enforce makes
  // them all, and they go before any table they are on). Dropping them by
  // name until one is missing finds them in SQLite's in-memory schema; a
  // search of sqlite_master would read every object of the database and make
  // loading a schema quadratic in its size.
  SqliteRunner runner(database_.Handle());
  const std::string prefix = "cons:" + StorageName(owner, name) + ":";
  for (int serial = 1;; ++serial) {
    if (runner.Exec("DROP TRIGGER " + QuoteSqliteName(prefix + std::to_string(serial))))
      continue;
    if (runner.LastError().rfind("no such trigger", 0) == 0)
      return true;
    error = MapSqliteError(runner.LastError());
    return false;
  }
}

bool ConstraintRules::ReleaseAround(const std::string& owner, const std::string& table,
                                    std::vector<std::pair<std::string, std::string>>& released,
                                    OraError& error) {
  SqliteRunner runner(database_.Handle());
  Rows rows;
  runner.Query(
      "SELECT OWNER, CONSTRAINT_NAME FROM \"SYS.ALL_CONSTRAINTS\" WHERE OWNER = ?1 AND "
      "TABLE_NAME = ?2 UNION SELECT r.OWNER, r.CONSTRAINT_NAME FROM \"SYS.ALL_CONSTRAINTS\" r "
      "JOIN \"SYS.ALL_CONSTRAINTS\" p ON p.OWNER = r.R_OWNER AND p.CONSTRAINT_NAME = "
      "r.R_CONSTRAINT_NAME WHERE p.OWNER = ?1 AND p.TABLE_NAME = ?2",
      {Value::Text(owner), Value::Text(table)}, rows);
  released.clear();
  for (const auto& r : rows) {
    if (!Release(r[0], r[1], error))
      return false;
    released.emplace_back(r[0], r[1]);
  }
  return true;
}

bool ConstraintRules::EnforceAgain(const std::vector<std::pair<std::string, std::string>>& released,
                                   OraError& error) {
  for (const auto& [owner, name] : released) {
    const auto row = Load(owner, name);
    if (row && !Enforce(*row, error))
      return false;
  }
  return true;
}

bool ConstraintRules::Holds(const ConstraintRow& row, bool& holds, OraError& error) {
  const std::string table = Quoted(row.owner, row.table);
  std::string query;
  if (row.type == 'C') {
    std::string condition;
    if (!Translate(row.condition, condition, error))
      return false;
    query = "SELECT 1 FROM " + table + " WHERE NOT (" + condition + ")";
  } else if (row.type == 'P' || row.type == 'U') {
    const std::string list = ColumnList(row.columns);
    query = "SELECT 1 FROM " + table + " WHERE " +
            (row.type == 'P' ? "1" : "(" + Each("", row.columns, " IS NOT NULL", " OR ") + ")") +
            " GROUP BY " + list + " HAVING count(*) > 1";
    if (row.type == 'P')
      query += " UNION ALL SELECT 1 FROM " + table + " WHERE " +
               Each("", row.columns, " IS NULL", " OR ");
  } else if (row.type == 'R') {
    query = "SELECT 1 FROM " + table + " c WHERE " +
            Each("c.", row.columns, " IS NOT NULL", " AND ") + " AND NOT EXISTS (SELECT 1 FROM " +
            QuoteSqliteName(row.parentTable) + " p WHERE " +
            Pairs("p.", row.parentColumns, "c.", row.columns) + ")";
  } else {
    holds = true;
    return true;
  }
  SqliteRunner runner(database_.Handle());
  Rows rows;
  if (!runner.Query(query + " LIMIT 1", {}, rows)) {
    error = MapSqliteError(runner.LastError());
    return false;
  }
  holds = rows.empty();
  return true;
}

OraError ConstraintRules::CannotValidate(const ConstraintRow& row) {
  const std::string what = "cannot validate (" + row.Key() + ") - ";
  if (!row.NotNullColumn().empty())
    return {2296, "cannot enable (" + row.Key() + ") - null values found"};
  switch (row.type) {
    case 'P':
      return {2437, what + "primary key violated"};
    case 'U':
      return {2299, what + "duplicate keys found"};
    case 'R':
      return {2298, what + "parent keys not found"};
    default:
      return {2293, what + "check constraint violated"};
  }
}

bool ConstraintRules::CheckPut(std::map<std::string, std::string>& pending, OraError& error) {
  std::map<std::string, std::string> checks;
  checks.swap(pending);
  for (const auto& [key, message] : checks) {
    const std::size_t dot = key.find('.');
    const auto row = Load(key.substr(0, dot), key.substr(dot + 1));
    if (!row || !row->enabled)
      continue;
    bool holds = true;
    if (!Holds(*row, holds, error))
      return false;
    if (!holds) {
      error = ParseOraText(message);
      return false;
    }
  }
  return true;
}

}  // namespace sandbox
