// ALTER TABLE ... RENAME COLUMN: the name changes in the table, its indexes
// and triggers, its constraints' conditions and every dictionary row that
// holds it.
#include "sandbox/server/ConstraintRules.h"
#include "sandbox/server/Dictionary.h"
#include "sandbox/server/ServerSession.h"
#include "sandbox/server/TableDdl.h"
#include "sandbox/server/TableStorage.h"

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
  // The triggers of the table's constraints and of foreign keys into it name
  // the column; they are made again from the dictionary afterwards.
  ConstraintRules rules(catalog.Database(), context_.session);
  const auto constraints = catalog.Rows(
      "SELECT OWNER, CONSTRAINT_NAME FROM \"SYS.ALL_CONSTRAINTS\" WHERE OWNER = ?1 AND "
      "TABLE_NAME = ?2 UNION SELECT r.OWNER, r.CONSTRAINT_NAME FROM \"SYS.ALL_CONSTRAINTS\" r "
      "JOIN \"SYS.ALL_CONSTRAINTS\" p ON p.OWNER = r.R_OWNER AND p.CONSTRAINT_NAME = "
      "r.R_CONSTRAINT_NAME WHERE p.OWNER = ?1 AND p.TABLE_NAME = ?2",
      {Value::Text(owner), Value::Text(table)});
  for (const auto& constraint : constraints)
    if (!rules.Release(constraint[0], constraint[1], error))
      return false;
  const std::string storage = StorageName(owner, table);
  if (!catalog.ExecMapped("ALTER TABLE " + QuoteSqliteName(storage) + " RENAME COLUMN " +
                              QuoteSqliteName(from) + " TO " + QuoteSqliteName(to),
                          error))
    return false;
  // Triggers named after the column take the new name.
  for (const std::string kind : {"datein:", "onnull:"}) {
    const std::string prefix = kind + storage + "." + from;
    for (const auto& trigger : catalog.Rows(
             "SELECT name, sql FROM sqlite_master WHERE type = 'trigger' AND "
             "substr(name, 1, ?) = ?",
             {Value::Integer(static_cast<long long>(prefix.size())), Value::Text(prefix)})) {
      const std::string suffix = trigger[0].substr(prefix.size());
      if (!suffix.empty() && suffix[0] != ':')
        continue;  // another column whose name starts alike
      std::string sql = trigger[1];
      const std::string oldName = QuoteSqliteName(trigger[0]);
      const std::string newName = QuoteSqliteName(kind + storage + "." + to + suffix);
      if (const std::size_t at = sql.find(oldName); at != std::string::npos)
        sql.replace(at, oldName.size(), newName);
      if (!catalog.Exec("DROP TRIGGER " + oldName, {}, error) || !catalog.ExecMapped(sql, error))
        return false;
    }
  }
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
  if (!TableStorage(catalog, owner, table).Rebuild(error))
    return false;
  for (const auto& constraint : constraints) {
    const auto row = rules.Load(constraint[0], constraint[1]);
    if (row && !rules.Enforce(*row, error))
      return false;
  }
  return true;
}

}  // namespace sandbox
