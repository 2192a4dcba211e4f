// Constraints read from the dictionary, and their validation queries.
#include "sandbox/server/integrity/ConstraintRules.h"

#include "sandbox/server/ErrorMapping.h"
#include "sandbox/server/ServerDatabase.h"
#include "sandbox/server/dictionary/Dictionary.h"
#include "sandbox/server/integrity/KeySql.h"
#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

namespace {

using Rows = std::vector<std::vector<std::string>>;

std::string Quoted(const std::string& owner, const std::string& table) {
  return QuoteSqliteName(StorageName(owner, table));
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

bool ConstraintRules::Holds(const ConstraintRow& row, bool& holds, OraError& error) {
  const std::string table = Quoted(row.owner, row.table);
  std::string query;
  if (row.type == 'C') {
    std::string condition;
    if (!Translate(row.condition, condition, error))
      return false;
    query = "SELECT 1 FROM " + table + " WHERE NOT (" + condition + ")";
  } else if (row.type == 'P' || row.type == 'U') {
    const std::string list = KeyColumnList(row.columns);
    query = "SELECT 1 FROM " + table + " WHERE " +
            (row.type == 'P' ? "1" : "(" + KeyEach("", row.columns, " IS NOT NULL", " OR ") + ")") +
            " GROUP BY " + list + " HAVING count(*) > 1";
    if (row.type == 'P')
      query += " UNION ALL SELECT 1 FROM " + table + " WHERE " +
               KeyEach("", row.columns, " IS NULL", " OR ");
  } else if (row.type == 'R') {
    query = "SELECT 1 FROM " + table + " c WHERE " +
            KeyEach("c.", row.columns, " IS NOT NULL", " AND ") +
            " AND NOT EXISTS (SELECT 1 FROM " + QuoteSqliteName(row.parentTable) + " p WHERE " +
            KeyPairs("p.", row.parentColumns, "c.", row.columns) + ")";
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
