// DBMS_ASSERT: checks that a text is a literal, a name or an existing schema
// or object before code pastes it into dynamic SQL. Each returns its input
// (or the input enquoted) and raises Oracle's ORA-44001 .. ORA-44004 or
// ORA-06502 otherwise.
#include <cctype>
#include <optional>

#include "sandbox/plsql/Ast.h"
#include "sandbox/plsql/DynamicSql.h"
#include "sandbox/plsql/PlError.h"
#include "sandbox/plsql/supplied/SuppliedPackages.h"

namespace sandbox::plsql {

namespace {

bool IsNameStart(unsigned char c) {
  return std::isalpha(c) || c >= 0x80;
}
bool IsNamePart(unsigned char c) {
  return std::isalnum(c) || c == '_' || c == '$' || c == '#' || c >= 0x80;
}

// Reads one simple name at text[at], unquoted or quoted ("" inside a quoted
// one stands for a quote); answers its dictionary form (upper case when
// unquoted) and moves at past it, or nullopt when none is there.
std::optional<std::string> ReadSimpleName(const std::string& text, size_t& at) {
  if (at < text.size() && text[at] == '"') {
    std::string name;
    for (size_t i = at + 1; i < text.size(); ++i) {
      if (text[i] != '"') {
        name += text[i];
        continue;
      }
      if (i + 1 < text.size() && text[i + 1] == '"') {
        name += '"';
        ++i;
        continue;
      }
      at = i + 1;
      return name.empty() ? std::nullopt : std::optional<std::string>(name);
    }
    return std::nullopt;
  }
  if (at >= text.size() || !IsNameStart(static_cast<unsigned char>(text[at])))
    return std::nullopt;
  std::string name;
  while (at < text.size() && IsNamePart(static_cast<unsigned char>(text[at])))
    name += static_cast<char>(std::toupper(static_cast<unsigned char>(text[at++])));
  return name;
}

std::string Trimmed(const std::string& text) {
  const size_t begin = text.find_first_not_of(" \t\r\n");
  if (begin == std::string::npos)
    return {};
  return text.substr(begin, text.find_last_not_of(" \t\r\n") - begin + 1);
}

// name[.name ...][@name[.name ...]]: the names before the link, or nullopt.
std::optional<std::vector<std::string>> ReadQualifiedName(const std::string& input) {
  const std::string text = Trimmed(input);
  std::vector<std::string> parts;
  size_t at = 0;
  bool link = false;
  for (;;) {
    const auto name = ReadSimpleName(text, at);
    if (!name)
      return std::nullopt;
    if (!link)
      parts.push_back(*name);
    if (at == text.size())
      return parts;
    if (text[at] == '@' && !link)
      link = true;
    else if (text[at] != '.')
      return std::nullopt;
    ++at;
  }
}

PlValue Noop(SuppliedCall& call) {
  return call.args[0];
}

PlValue SimpleSqlName(SuppliedCall& call) {
  const std::string text = Trimmed(SuppliedText(call, 0));
  size_t at = 0;
  if (!ReadSimpleName(text, at) || at != text.size())
    throw MakeError(44003, "invalid SQL name");
  return call.args[0];
}

PlValue QualifiedSqlName(SuppliedCall& call) {
  if (!ReadQualifiedName(SuppliedText(call, 0)))
    throw MakeError(44004, "invalid qualified SQL name");
  return call.args[0];
}

// Whether the query over one bind finds a row.
bool Exists(Session& session, const std::string& sql, const std::vector<std::string>& values) {
  DynamicBinds binds;
  for (size_t i = 0; i < values.size(); ++i)
    binds.values[PlaceholderName(i)] = Value::Text(values[i]);
  OraError error;
  std::vector<Value> row;
  const auto cursor = session.OpenQuery(sql, binds, error);
  return cursor && cursor->Next(row, error);
}

PlValue SchemaName(SuppliedCall& call) {
  const std::string name = SuppliedText(call, 0);
  if (name.empty() ||
      !Exists(call.session, "SELECT 1 FROM ALL_USERS WHERE USERNAME = :PLSQL_B1", {name}))
    throw MakeError(44001, "invalid schema");
  return call.args[0];
}

PlValue SqlObjectName(SuppliedCall& call) {
  const auto parts = ReadQualifiedName(SuppliedText(call, 0));
  bool found = false;
  if (parts && parts->size() == 2) {
    found = Exists(call.session,
                   "SELECT 1 FROM ALL_OBJECTS WHERE OWNER = :PLSQL_B1 AND OBJECT_NAME = :PLSQL_B2",
                   *parts);
  } else if (parts && parts->size() == 1) {
    found = Exists(call.session,
                   "SELECT 1 FROM ALL_OBJECTS WHERE OBJECT_NAME = :PLSQL_B2 AND OWNER IN "
                   "(:PLSQL_B1, 'PUBLIC')",
                   {call.session.CurrentSchema(), parts->front()});
  }
  if (!found)
    throw MakeError(44002, "invalid object name");
  return call.args[0];
}

PlValue EnquoteLiteral(SuppliedCall& call) {
  std::string text = SuppliedText(call, 0);
  const bool quoted = text.size() >= 2 && text.front() == '\'' && text.back() == '\'';
  const std::string inner = quoted ? text.substr(1, text.size() - 2) : text;
  for (size_t i = 0; i < inner.size(); ++i) {
    if (inner[i] != '\'')
      continue;
    if (i + 1 >= inner.size() || inner[i + 1] != '\'')
      throw MakeError(6502, "PL/SQL: numeric or value error");
    ++i;
  }
  return PlValue::Text("'" + inner + "'");
}

// A quoted name is checked and kept; another is upper-cased (unless
// CAPITALIZE is FALSE) and quoted.
PlValue EnquoteName(SuppliedCall& call) {
  const std::string text = SuppliedText(call, 0);
  if (!text.empty() && text.front() == '"') {
    size_t at = 0;
    if (!ReadSimpleName(text, at) || at != text.size())
      throw MakeError(44003, "invalid SQL name");
    return PlValue::Text(text);
  }
  if (text.find('"') != std::string::npos)
    throw MakeError(44003, "invalid SQL name");
  const bool capitalize = !call.given[1] || call.args[1].IsNull() ||
                          (call.args[1].kind() == PlValue::Kind::Boolean && call.args[1].boolean());
  std::string name = text;
  if (capitalize)
    for (char& c : name)
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return PlValue::Text("\"" + name + "\"");
}

}  // namespace

const std::vector<SuppliedRoutine>& DbmsAssertRoutines() {
  static const std::vector<SuppliedRoutine> routines = {
      {"DBMS_ASSERT", "NOOP", true, {{"STR"}}, Noop},
      {"DBMS_ASSERT", "SIMPLE_SQL_NAME", true, {{"STR"}}, SimpleSqlName},
      {"DBMS_ASSERT", "QUALIFIED_SQL_NAME", true, {{"STR"}}, QualifiedSqlName},
      {"DBMS_ASSERT", "SCHEMA_NAME", true, {{"STR"}}, SchemaName},
      {"DBMS_ASSERT", "SQL_OBJECT_NAME", true, {{"STR"}}, SqlObjectName},
      {"DBMS_ASSERT", "ENQUOTE_LITERAL", true, {{"STR"}}, EnquoteLiteral},
      {"DBMS_ASSERT", "ENQUOTE_NAME", true, {{"STR"}, {"CAPITALIZE", false, true}}, EnquoteName},
  };
  return routines;
}

}  // namespace sandbox::plsql
