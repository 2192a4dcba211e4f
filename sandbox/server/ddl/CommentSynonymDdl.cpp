// Comments and synonyms.
#include "sandbox/server/ddl/CommentSynonymDdl.h"

#include "sandbox/server/ServerSession.h"

namespace sandbox {

bool CommentSynonymDdl::Comment(OraError& error) {
  if (!in_.ExpectWord("ON", error))
    return false;
  const bool column = in_.AcceptWord("COLUMN");
  const bool mview = !column && in_.AcceptWords("MATERIALIZED", "VIEW");
  if (!column && !mview && !in_.AcceptWord("TABLE")) {
    error = {905, "missing keyword"};
    return false;
  }
  // [owner.]table, or [owner.]table.column
  std::vector<std::string> parts;
  do {
    std::string part;
    if (!in_.ReadName(part, error))
      return false;
    parts.push_back(part);
  } while (in_.AcceptSymbol("."));
  const std::size_t wanted = column ? 2 : 1;
  if (parts.size() < wanted || parts.size() > wanted + 1) {
    error = column ? OraError{904, "invalid identifier"} : OraError{903, "invalid table name"};
    return false;
  }
  const std::string owner = parts.size() > wanted ? parts[0] : context_.session.CurrentSchema();
  const std::string& table = parts[parts.size() - wanted];
  const std::string columnName = column ? parts.back() : std::string();
  if (!in_.ExpectWord("IS", error))
    return false;
  if (in_.Peek().type != SqlToken::Type::String) {
    error = {1780, "string literal required"};
    return false;
  }
  const std::string text = in_.Peek().text;
  in_.Skip();
  if (!in_.AtEnd()) {
    error = {933, "SQL command not properly ended"};
    return false;
  }
  Catalog& catalog = context_.catalog;
  // A materialized view's comment is kept under its name, as a table's is.
  if (mview && !catalog.Any("SELECT 1 FROM \"SYS.MVIEW$\" WHERE OWNER = ? AND MVIEW_NAME = ?",
                            {Value::Text(owner), Value::Text(table)})) {
    error = {12003, "materialized view \"" + owner + "\".\"" + table + "\" does not exist"};
    return false;
  }
  const std::string type = catalog.ObjectType(owner, table).value_or("");
  if (type != "TABLE" && type != "VIEW") {
    error = {942, "table or view does not exist"};
    return false;
  }
  if (owner != context_.User() && !context_.Require("COMMENT ANY TABLE", error))
    return false;
  if (column && !catalog.Any("SELECT 1 FROM \"SYS.ALL_TAB_COLUMNS\" WHERE OWNER = ? AND "
                             "TABLE_NAME = ? AND COLUMN_NAME = ?",
                             {Value::Text(owner), Value::Text(table), Value::Text(columnName)})) {
    error = {904, "\"" + columnName + "\": invalid identifier"};
    return false;
  }
  const Value columnValue = column ? Value::Text(columnName) : Value::Null();
  return catalog.Exec(
             "DELETE FROM \"SYS.COM$\" WHERE OWNER = ? AND TABLE_NAME = ? AND "
             "COLUMN_NAME IS ?",
             {Value::Text(owner), Value::Text(table), columnValue}, error) &&
         catalog.Exec("INSERT INTO \"SYS.COM$\" VALUES (?, ?, ?, ?)",
                      {Value::Text(owner), Value::Text(table), columnValue, Value::Text(text)},
                      error);
}

bool CommentSynonymDdl::CreateSynonym(OraError& error) {
  const bool replace = in_.AcceptWords("OR", "REPLACE");
  const bool isPublic = in_.AcceptWord("PUBLIC");
  if (!in_.ExpectWord("SYNONYM", error))
    return false;
  std::string owner, name, targetOwner, target;
  if (!in_.ReadQualifiedName(owner, name, context_.session.CurrentSchema(), error, 904,
                             "invalid identifier"))
    return false;
  if (isPublic)
    owner = "PUBLIC";
  if (!in_.ExpectWord("FOR", error) ||
      !in_.ReadQualifiedName(targetOwner, target, context_.session.CurrentSchema(), error))
    return false;
  std::string link;
  if (in_.AcceptSymbol("@") && !in_.ReadName(link, error))
    return false;
  if (!in_.AtEnd()) {
    error = {933, "SQL command not properly ended"};
    return false;
  }
  if (isPublic ? !context_.Require("CREATE PUBLIC SYNONYM", error)
               : !context_.RequireFor(owner, "CREATE SYNONYM", error))
    return false;
  if (!isPublic && owner == targetOwner && name == target) {
    error = {1471, "cannot create a synonym with same name as object"};
    return false;
  }
  Catalog& catalog = context_.catalog;
  const auto existing = catalog.ObjectType(owner, name);
  if (existing && (*existing != "SYNONYM" || !replace)) {
    error = {955, "name is already used by an existing object"};
    return false;
  }
  const std::vector<Value> key{Value::Text(owner), Value::Text(name)};
  if (existing &&
      !catalog.Exec("DELETE FROM \"SYS.ALL_SYNONYMS\" WHERE OWNER = ? AND SYNONYM_NAME = ?", key,
                    error))
    return false;
  return catalog.Exec("INSERT INTO \"SYS.ALL_SYNONYMS\" VALUES (?, ?, ?, ?, ?)",
                      {Value::Text(owner), Value::Text(name), Value::Text(targetOwner),
                       Value::Text(target), Value::Text(link)},
                      error) &&
         (existing ? catalog.TouchObject(owner, name, "SYNONYM", "VALID", error)
                   : catalog.AddObject(owner, name, "SYNONYM", error));
}

bool CommentSynonymDdl::DropSynonym(OraError& error) {
  const bool isPublic = in_.AcceptWord("PUBLIC");
  if (!in_.ExpectWord("SYNONYM", error))
    return false;
  std::string owner, name;
  if (!in_.ReadQualifiedName(owner, name, context_.session.CurrentSchema(), error, 904,
                             "invalid identifier"))
    return false;
  in_.AcceptWord("FORCE");
  if (!in_.AtEnd()) {
    error = {933, "SQL command not properly ended"};
    return false;
  }
  if (isPublic)
    owner = "PUBLIC";
  Catalog& catalog = context_.catalog;
  const std::vector<Value> key{Value::Text(owner), Value::Text(name)};
  if (!catalog.Any("SELECT 1 FROM \"SYS.ALL_SYNONYMS\" WHERE OWNER = ? AND SYNONYM_NAME = ?",
                   key)) {
    error = isPublic ? OraError{1432, "public synonym to be dropped does not exist"}
                     : OraError{1434, "private synonym to be dropped does not exist"};
    return false;
  }
  if (isPublic ? !context_.Require("DROP PUBLIC SYNONYM", error)
               : (owner != context_.User() && !context_.Require("DROP ANY SYNONYM", error)))
    return false;
  return catalog.Exec("DELETE FROM \"SYS.ALL_SYNONYMS\" WHERE OWNER = ? AND SYNONYM_NAME = ?", key,
                      error) &&
         catalog.RemoveObject(owner, name, "SYNONYM", error);
}

}  // namespace sandbox
