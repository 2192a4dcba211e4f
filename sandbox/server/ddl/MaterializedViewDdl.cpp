// Materialized views and their logs.
#include "sandbox/server/ddl/MaterializedViewDdl.h"

#include <algorithm>

#include "sandbox/server/ServerSession.h"
#include "sandbox/server/ddl/TableDdl.h"
#include "sandbox/server/ddl/UnitReferences.h"
#include "sandbox/server/dictionary/Dependencies.h"
#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

namespace {

// "OWNER"."NAME" as a statement names it.
std::string QuotedObject(const std::string& owner, const std::string& name) {
  return "\"" + owner + "\".\"" + name + "\"";
}

// The declaration of a master table's column in its log table, as the
// dictionary describes the column; empty when the master has no such column.
std::string LoggedColumn(Catalog& catalog, const std::string& owner, const std::string& table,
                         const std::string& column) {
  const auto rows = catalog.Rows(
      "SELECT DATA_TYPE, DATA_LENGTH, DATA_PRECISION, DATA_SCALE, CHAR_LENGTH, CHAR_USED FROM "
      "\"SYS.ALL_TAB_COLUMNS\" WHERE OWNER = ? AND TABLE_NAME = ? AND COLUMN_NAME = ?",
      {Value::Text(owner), Value::Text(table), Value::Text(column)});
  if (rows.empty())
    return {};
  const auto& r = rows[0];
  std::string type = r[0];
  if (type == "NUMBER" && !r[2].empty())
    type += "(" + r[2] + (r[3].empty() ? "" : "," + r[3]) + ")";
  else if (type == "NUMBER" && r[3] == "0")
    type += "(*,0)";
  else if (type.find("CHAR") != std::string::npos)
    type += "(" + r[4] + (r[5] == "C" && type.rfind("N", 0) != 0 ? " CHAR" : "") + ")";
  else if (type == "RAW")
    type += "(" + r[1] + ")";
  return "\"" + column + "\" " + type;
}

std::string YesNo(bool value) {
  return value ? "YES" : "NO";
}

}  // namespace

bool MaterializedViewDdl::IsContainerTable(Catalog& catalog, const std::string& owner,
                                           const std::string& name) {
  return catalog.Any("SELECT 1 FROM \"SYS.MVIEW$\" WHERE OWNER = ? AND CONTAINER_NAME = ?",
                     {Value::Text(owner), Value::Text(name)});
}

bool MaterializedViewDdl::RunTableStatement(const std::string& sql, OraError& error) {
  std::vector<SqlToken> tokens;
  std::size_t errorOffset = 0;
  if (!TokenizeSql(sql, tokens, errorOffset)) {
    error = {911, "invalid character"};
    return false;
  }
  DdlContext context{context_.session, sql, tokens, context_.catalog, context_.compileSchema};
  TableDdl table(context);
  return tokens[0].IsWord("DROP") ? table.DropTable(error) : table.CreateTable(error);
}

bool MaterializedViewDdl::Create(OraError& error) {
  if (!in_.ExpectWord("MATERIALIZED", error) || !in_.ExpectWord("VIEW", error))
    return false;
  return in_.AcceptWord("LOG") ? CreateLog(error) : CreateView(error);
}

bool MaterializedViewDdl::ReadTableAttribute(std::string& attributes) {
  const std::size_t start = in_.Position();
  static const char* const withNumber[] = {"PCTFREE", "PCTUSED", "INITRANS", "MAXTRANS"};
  static const char* const alone[] = {"LOGGING",    "NOLOGGING", "NOCOMPRESS",
                                      "NOPARALLEL", "CACHE",     "NOCACHE"};
  bool read = false;
  for (const char* word : withNumber)
    if (!read && in_.AcceptWord(word)) {
      read = true;
      in_.Skip();
    }
  for (const char* word : alone)
    read = read || in_.AcceptWord(word);
  if (!read && in_.AcceptWord("TABLESPACE")) {
    read = true;
    in_.Skip();
  } else if (!read && (in_.AcceptWord("COMPRESS") || in_.AcceptWord("PARALLEL"))) {
    read = true;
    if (in_.Peek().type == SqlToken::Type::Number || in_.Peek().IsWord("BASIC"))
      in_.Skip();
    else
      in_.AcceptWords("FOR", "OLTP");
  } else if (!read && in_.AcceptWord("STORAGE") && in_.Peek().IsSymbol("(")) {
    read = true;
    in_.Seek(in_.MatchingParen() + 1);
  }
  if (read)
    attributes +=
        " " + context_.SourceText(start, std::min(in_.Position(), context_.tokens.size()));
  return read;
}

bool MaterializedViewDdl::CreateView(OraError& error) {
  std::string owner, name;
  if (!in_.ReadQualifiedName(owner, name, context_.session.CurrentSchema(), error))
    return false;
  std::string build = "IMMEDIATE", method = "FORCE", mode = "DEMAND";
  bool rewrite = false;
  std::string attributes;  // of the container table
  while (!in_.AtEnd() && !in_.Peek().IsWord("AS")) {
    if (ReadTableAttribute(attributes)) {
      continue;
    } else if (in_.AcceptWord("BUILD")) {
      if (!in_.AcceptWord("IMMEDIATE") && !in_.AcceptWord("DEFERRED")) {
        error = {905, "missing keyword"};
        return false;
      }
      build = context_.tokens[in_.Position() - 1].Upper();
    } else if (in_.AcceptWords("NEVER", "REFRESH")) {
      method = mode = "NEVER";
    } else if (in_.AcceptWord("REFRESH")) {
      if (in_.AcceptWord("FAST") || in_.AcceptWord("COMPLETE") || in_.AcceptWord("FORCE"))
        method = context_.tokens[in_.Position() - 1].Upper();
      if (in_.AcceptWord("ON")) {
        if (!in_.AcceptWord("DEMAND") && !in_.AcceptWord("COMMIT")) {
          error = {905, "missing keyword"};
          return false;
        }
        mode = context_.tokens[in_.Position() - 1].Upper();
      }
      if (in_.AcceptWords("WITH", "PRIMARY") || in_.AcceptWords("WITH", "ROWID"))
        in_.AcceptWord("KEY");
    } else if (in_.AcceptWord("ENABLE") || in_.AcceptWord("DISABLE")) {
      rewrite = context_.tokens[in_.Position() - 1].IsWord("ENABLE");
      if (!in_.ExpectWord("QUERY", error) || !in_.ExpectWord("REWRITE", error))
        return false;
    } else {
      error = {922, "missing or invalid option"};
      return false;
    }
  }
  if (!in_.ExpectWord("AS", error))
    return false;
  if (in_.AtEnd()) {
    error = {928, "missing SELECT keyword"};
    return false;
  }
  if (!context_.RequireFor(owner, "CREATE MATERIALIZED VIEW", error))
    return false;
  Catalog& catalog = context_.catalog;
  if (catalog.ObjectType(owner, name)) {
    error = {955, "name is already used by an existing object"};
    return false;
  }
  // Oracle keeps the query's text as written, up to the end of the statement.
  const std::size_t queryBegin = in_.Position();
  const std::string query = context_.sql.substr(context_.tokens[queryBegin].offset);
  const bool deferred = build == "DEFERRED";
  const std::string rows = deferred ? "SELECT * FROM (" + query + ") WHERE 1 = 0" : query;
  if (!RunTableStatement("CREATE TABLE " + QuotedObject(owner, name) + attributes + " AS " + rows,
                         error))
    return false;
  return catalog.Exec(
             "INSERT INTO \"SYS.MVIEW$\" VALUES (?, ?, ?2, ?, ?, 'N', ?, ?, ?, ?, "
             "CASE WHEN ?8 = 'IMMEDIATE' THEN ora_sysdate() END, "
             "CASE WHEN ?8 = 'IMMEDIATE' THEN 'FRESH' ELSE 'UNUSABLE' END, 'VALID')",
             {Value::Text(owner), Value::Text(name), Value::Text(query),
              Value::Integer(static_cast<long long>(query.size())),
              Value::Text(rewrite ? "Y" : "N"), Value::Text(mode), Value::Text(method),
              Value::Text(build)},
             error) &&
         catalog.AddObject(owner, name, "MATERIALIZED VIEW", error) &&
         RecordQueryDependencies(owner, name, queryBegin, error);
}

// The objects the query reads, as a view's: what creates the materialized
// view again must create them first.
bool MaterializedViewDdl::RecordQueryDependencies(const std::string& owner, const std::string& name,
                                                  std::size_t queryBegin, OraError& error) {
  const UnitText text{context_.sql, context_.tokens, queryBegin, context_.tokens.size(),
                      context_.tokens[queryBegin].offset};
  const UnitReferences references = FindReferences(context_.catalog, owner, text, false, {});
  return RecordDependencies(context_.catalog, {owner, name, "MATERIALIZED VIEW"},
                            references.objects, error);
}

bool MaterializedViewDdl::CreateLog(OraError& error) {
  if (!in_.ExpectWord("ON", error))
    return false;
  std::string owner, master;
  if (!in_.ReadQualifiedName(owner, master, context_.session.CurrentSchema(), error))
    return false;
  bool rowids = false, primaryKey = false, objectId = false, sequence = false, filter = false;
  bool newValues = false;
  std::vector<std::string> filterColumns;
  while (!in_.AtEnd()) {
    if (in_.AcceptWord("WITH") || in_.AcceptSymbol(",")) {
      continue;
    }
    if (in_.AcceptWords("PRIMARY", "KEY")) {
      primaryKey = true;
    } else if (in_.AcceptWord("ROWID")) {
      rowids = true;
    } else if (in_.AcceptWords("OBJECT", "ID")) {
      objectId = true;
    } else if (in_.AcceptWord("SEQUENCE")) {
      sequence = true;
    } else if (in_.Peek().IsSymbol("(")) {
      std::vector<std::string> columns;
      if (!in_.ReadNameList(columns, error))
        return false;
      filterColumns.insert(filterColumns.end(), columns.begin(), columns.end());
      filter = true;
    } else if ((in_.AcceptWord("INCLUDING") || in_.AcceptWord("EXCLUDING"))) {
      newValues = context_.tokens[in_.Position() - 1].IsWord("INCLUDING");
      if (!in_.ExpectWord("NEW", error) || !in_.ExpectWord("VALUES", error))
        return false;
    } else {
      error = {922, "missing or invalid option"};
      return false;
    }
  }
  // Without a WITH clause the log records primary keys.
  primaryKey = primaryKey || !(rowids || objectId || sequence || filter);
  Catalog& catalog = context_.catalog;
  if (catalog.ObjectType(owner, master).value_or("") != "TABLE" ||
      IsContainerTable(catalog, owner, master)) {
    error = {942, "table or view does not exist"};
    return false;
  }
  if (catalog.Any("SELECT 1 FROM \"SYS.MLOG$\" WHERE LOG_OWNER = ? AND MASTER = ?",
                  {Value::Text(owner), Value::Text(master)})) {
    error = {12000, "a materialized view log already exists on table '" + master + "'"};
    return false;
  }
  // The log table holds the master's key columns (when it logs them), its
  // filter columns, then Oracle's own.
  std::vector<std::string> logged;
  if (primaryKey) {
    for (const auto& key : catalog.Rows(
             "SELECT k.COLUMN_NAME FROM \"SYS.ALL_CONSTRAINTS\" c, \"SYS.ALL_CONS_COLUMNS\" k "
             "WHERE c.OWNER = ? AND c.TABLE_NAME = ? AND c.CONSTRAINT_TYPE = 'P' AND "
             "k.OWNER = c.OWNER AND k.CONSTRAINT_NAME = c.CONSTRAINT_NAME ORDER BY k.POSITION",
             {Value::Text(owner), Value::Text(master)}))
      logged.push_back(key[0]);
    if (logged.empty()) {
      error = {12014, "table '" + master + "' does not contain a primary key constraint"};
      return false;
    }
  }
  for (const std::string& column : filterColumns) {
    if (std::find(logged.begin(), logged.end(), column) != logged.end()) {
      error = {12026, "invalid filter column detected"};
      return false;
    }
    logged.push_back(column);
  }
  std::string columns;
  for (std::size_t k = 0; k < logged.size(); ++k) {
    const std::string declaration = LoggedColumn(catalog, owner, master, logged[k]);
    if (declaration.empty()) {
      error = {904, "\"" + logged[k] + "\": invalid identifier"};
      return false;
    }
    columns += declaration + ", ";
  }
  const std::string logTable = "MLOG$_" + master;
  if (!RunTableStatement("CREATE TABLE " + QuotedObject(owner, logTable) + " (" + columns +
                             (rowids ? "M_ROW$$ VARCHAR2(255), " : "") +
                             (sequence ? "SEQUENCE$$ NUMBER, " : "") +
                             "SNAPTIME$$ DATE, DMLTYPE$$ VARCHAR2(1), OLD_NEW$$ VARCHAR2(1), "
                             "CHANGE_VECTOR$$ RAW(255), XID$$ NUMBER)",
                         error))
    return false;
  return catalog.Exec(
      "INSERT INTO \"SYS.MLOG$\" VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)",
      {Value::Text(owner), Value::Text(master), Value::Text(logTable), Value::Text(YesNo(rowids)),
       Value::Text(YesNo(primaryKey)), Value::Text(YesNo(objectId)), Value::Text(YesNo(filter)),
       Value::Text(YesNo(sequence)), Value::Text(YesNo(newValues))},
      error);
}

bool MaterializedViewDdl::Drop(OraError& error) {
  if (!in_.ExpectWord("MATERIALIZED", error) || !in_.ExpectWord("VIEW", error))
    return false;
  if (in_.AcceptWord("LOG"))
    return DropLog(error);
  std::string owner, name;
  if (!in_.ReadQualifiedName(owner, name, context_.session.CurrentSchema(), error))
    return false;
  const bool preserveTable = in_.AcceptWords("PRESERVE", "TABLE");
  if (!in_.AtEnd()) {
    error = {933, "SQL command not properly ended"};
    return false;
  }
  Catalog& catalog = context_.catalog;
  const std::vector<Value> key{Value::Text(owner), Value::Text(name)};
  if (!catalog.Any("SELECT 1 FROM \"SYS.MVIEW$\" WHERE OWNER = ? AND MVIEW_NAME = ?", key)) {
    error = {12003, "materialized view \"" + owner + "\".\"" + name + "\" does not exist"};
    return false;
  }
  if (owner != context_.User() && !context_.Require("DROP ANY MATERIALIZED VIEW", error))
    return false;
  return catalog.Exec("DELETE FROM \"SYS.MVIEW$\" WHERE OWNER = ? AND MVIEW_NAME = ?", key,
                      error) &&
         catalog.RemoveObject(owner, name, "MATERIALIZED VIEW", error) &&
         (preserveTable || RunTableStatement("DROP TABLE " + QuotedObject(owner, name), error));
}

bool MaterializedViewDdl::DropLog(OraError& error) {
  if (!in_.ExpectWord("ON", error))
    return false;
  std::string owner, master;
  if (!in_.ReadQualifiedName(owner, master, context_.session.CurrentSchema(), error))
    return false;
  if (!in_.AtEnd()) {
    error = {933, "SQL command not properly ended"};
    return false;
  }
  Catalog& catalog = context_.catalog;
  const std::vector<Value> key{Value::Text(owner), Value::Text(master)};
  const auto rows =
      catalog.Rows("SELECT LOG_TABLE FROM \"SYS.MLOG$\" WHERE LOG_OWNER = ? AND MASTER = ?", key);
  if (rows.empty()) {
    error = {12002,
             "there is no materialized view log on table \"" + owner + "\".\"" + master + "\""};
    return false;
  }
  return catalog.Exec("DELETE FROM \"SYS.MLOG$\" WHERE LOG_OWNER = ? AND MASTER = ?", key, error) &&
         RunTableStatement("DROP TABLE " + QuotedObject(owner, rows[0][0]), error);
}

}  // namespace sandbox
