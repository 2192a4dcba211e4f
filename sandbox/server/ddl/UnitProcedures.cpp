// ALL_PROCEDURES rows from a unit's tokens.
#include "sandbox/server/ddl/UnitProcedures.h"

#include <map>

namespace sandbox {

namespace {

struct Subprogram {
  std::string name;
  bool deterministic = false;
  bool pipelined = false;
};

std::string NameOf(const SqlToken& token) {
  return token.type == SqlToken::Type::QuotedName ? token.text : token.Upper();
}

// The declaration's attributes, read up to its end (";" of a package
// member, IS or AS of a standalone unit) outside parentheses.
Subprogram ReadSubprogram(const std::vector<SqlToken>& tokens, std::size_t& at) {
  Subprogram sub;
  sub.name = at < tokens.size() ? NameOf(tokens[at]) : std::string();
  int depth = 0;
  for (++at; at < tokens.size(); ++at) {
    const SqlToken& t = tokens[at];
    depth += t.IsSymbol("(") ? 1 : t.IsSymbol(")") ? -1 : 0;
    if (depth > 0)
      continue;
    if (t.IsSymbol(";") || t.IsWord("IS") || t.IsWord("AS"))
      break;
    sub.deterministic = sub.deterministic || t.IsWord("DETERMINISTIC");
    sub.pipelined = sub.pipelined || t.IsWord("PIPELINED");
  }
  return sub;
}

}  // namespace

bool ForgetProcedures(Catalog& catalog, const std::string& owner, const std::string& name,
                      OraError& error) {
  return catalog.Exec("DELETE FROM \"SYS.PROCEDURES$\" WHERE OWNER = ? AND OBJECT_NAME = ?",
                      {Value::Text(owner), Value::Text(name)}, error);
}

bool RecordProcedures(Catalog& catalog, const std::vector<SqlToken>& tokens, std::size_t begin,
                      const std::string& owner, const std::string& name, const std::string& type,
                      OraError& error) {
  if (!ForgetProcedures(catalog, owner, name, error))
    return false;
  // The rights are named before the first IS or AS outside parentheses.
  std::string authid = "DEFINER";
  int depth = 0;
  std::size_t body = begin;
  for (; body < tokens.size(); ++body) {
    const SqlToken& t = tokens[body];
    depth += t.IsSymbol("(") ? 1 : t.IsSymbol(")") ? -1 : 0;
    if (depth > 0)
      continue;
    if (t.IsWord("IS") || t.IsWord("AS"))
      break;
    if (t.IsWord("AUTHID") && body + 1 < tokens.size() && tokens[body + 1].IsWord("CURRENT_USER"))
      authid = "CURRENT_USER";
  }
  auto insert = [&](const std::string& procedure, int id, const std::string& overload,
                    const Subprogram& sub) {
    return catalog.Exec(
        "INSERT INTO \"SYS.PROCEDURES$\" (OWNER, OBJECT_NAME, PROCEDURE_NAME, SUBPROGRAM_ID, "
        "OVERLOAD, OBJECT_TYPE, DETERMINISTIC, PIPELINED, AUTHID) VALUES (?, ?, ?, ?, ?, ?, ?, ?, "
        "?)",
        {Value::Text(owner), Value::Text(name), Value::Text(procedure), Value::Integer(id),
         Value::Text(overload), Value::Text(type), Value::Text(sub.deterministic ? "YES" : "NO"),
         Value::Text(sub.pipelined ? "YES" : "NO"), Value::Text(authid)},
        error);
  };
  if (type != "PACKAGE") {
    std::size_t at = begin + 1;
    while (at + 1 < tokens.size() && tokens[at + 1].IsSymbol("."))
      at += 2;  // owner.
    return insert("", 1, "", ReadSubprogram(tokens, at));
  }
  std::vector<Subprogram> members;
  depth = 0;
  for (std::size_t at = body + 1; at < tokens.size(); ++at) {
    const SqlToken& t = tokens[at];
    depth += t.IsSymbol("(") ? 1 : t.IsSymbol(")") ? -1 : 0;
    if (depth == 0 && (t.IsWord("PROCEDURE") || t.IsWord("FUNCTION"))) {
      ++at;
      members.push_back(ReadSubprogram(tokens, at));
    }
  }
  std::map<std::string, int> declared;
  for (const Subprogram& sub : members)
    ++declared[sub.name];
  if (!insert("", 0, "", Subprogram{}))
    return false;
  std::map<std::string, int> seen;
  for (std::size_t i = 0; i < members.size(); ++i) {
    const Subprogram& sub = members[i];
    const std::string overload =
        declared[sub.name] > 1 ? std::to_string(++seen[sub.name]) : std::string();
    if (!insert(sub.name, static_cast<int>(i) + 1, overload, sub))
      return false;
  }
  return true;
}

}  // namespace sandbox
