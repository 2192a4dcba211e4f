// Database links.
#include "sandbox/server/ddl/DatabaseLinkDdl.h"

#include "sandbox/server/ServerSession.h"

namespace sandbox {

bool DatabaseLinkDdl::ReadLinkName(bool& isPublic, std::string& name, OraError& error) {
  in_.AcceptWord("SHARED");
  isPublic = in_.AcceptWord("PUBLIC");
  if (!in_.ExpectWord("DATABASE", error) || !in_.ExpectWord("LINK", error))
    return false;
  if (!in_.ReadName(name, error, 2011, "duplicate database link name"))
    return false;
  while (in_.AcceptSymbol(".")) {
    std::string part;
    if (!in_.ReadName(part, error, 2011, "duplicate database link name"))
      return false;
    name += "." + part;
  }
  return true;
}

bool DatabaseLinkDdl::Create(OraError& error) {
  bool isPublic = false;
  std::string name;
  if (!ReadLinkName(isPublic, name, error))
    return false;
  std::string user;
  if (in_.AcceptWords("CONNECT", "TO")) {
    if (!in_.ReadName(user, error, 988, "missing or invalid password(s)"))
      return false;
    if (!in_.ExpectWord("IDENTIFIED", error) || !in_.ExpectWord("BY", error))
      return false;
    // The password: a name or a quoted name; it is not kept.
    const SqlToken& password = in_.Peek();
    if (in_.AtEnd() || password.type == SqlToken::Type::Symbol ||
        password.type == SqlToken::Type::String) {
      error = {988, "missing or invalid password(s)"};
      return false;
    }
    in_.Skip();
  }
  std::string host;
  if (in_.AcceptWord("USING")) {
    if (in_.Peek().type != SqlToken::Type::String) {
      error = {1780, "string literal required"};
      return false;
    }
    host = in_.Peek().text;
    in_.Skip();
  }
  if (!in_.AtEnd()) {
    error = {933, "SQL command not properly ended"};
    return false;
  }
  const std::string owner = isPublic ? "PUBLIC" : context_.User();
  if (!context_.Require(isPublic ? "CREATE PUBLIC DATABASE LINK" : "CREATE DATABASE LINK", error))
    return false;
  Catalog& catalog = context_.catalog;
  if (catalog.Any("SELECT 1 FROM \"SYS.LINK$\" WHERE OWNER = ? AND DB_LINK = ?",
                  {Value::Text(owner), Value::Text(name)})) {
    error = {2011, "duplicate database link name"};
    return false;
  }
  return catalog.Exec("INSERT INTO \"SYS.LINK$\" VALUES (?, ?, ?, ?, ora_sysdate())",
                      {Value::Text(owner), Value::Text(name),
                       user.empty() ? Value::Null() : Value::Text(user), Value::Text(host)},
                      error) &&
         catalog.AddObject(owner, name, "DATABASE LINK", error);
}

bool DatabaseLinkDdl::Drop(OraError& error) {
  bool isPublic = false;
  std::string name;
  if (!ReadLinkName(isPublic, name, error))
    return false;
  if (!in_.AtEnd()) {
    error = {933, "SQL command not properly ended"};
    return false;
  }
  const std::string owner = isPublic ? "PUBLIC" : context_.User();
  if (isPublic && !context_.Require("DROP PUBLIC DATABASE LINK", error))
    return false;
  Catalog& catalog = context_.catalog;
  const std::vector<Value> key{Value::Text(owner), Value::Text(name)};
  if (!catalog.Any("SELECT 1 FROM \"SYS.LINK$\" WHERE OWNER = ? AND DB_LINK = ?", key)) {
    error = {2024, "database link not found"};
    return false;
  }
  return catalog.Exec("DELETE FROM \"SYS.LINK$\" WHERE OWNER = ? AND DB_LINK = ?", key, error) &&
         catalog.RemoveObject(owner, name, "DATABASE LINK", error);
}

}  // namespace sandbox
