// ClassifyStatement: the statement type and SQL function code that OCI
// reports for a statement, taken from its first words as the server parses
// them. Function codes are those of OCI_ATTR_SQLFNCODE (OCI function codes).
#include <string_view>

#include "sandbox/server/Server.h"
#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

namespace {

constexpr std::uint16_t kSelect = 1, kUpdate = 2, kDelete = 3, kInsert = 4, kCreate = 5, kDrop = 6,
                        kAlter = 7, kBegin = 8, kDeclare = 9, kMerge = 16, kRollback = 17,
                        kCommit = 21;

struct ObjectCode {
  std::string_view object;  // object keyword(s) after CREATE/DROP/ALTER
  std::uint16_t create, drop, alter;
};

// OCI's SQL function codes (OCI_ATTR_SQLFNCODE) for CREATE, DROP and ALTER
// of each object kind.
constexpr ObjectCode kObjectCodes[] = {
    {"TABLE", 1, 8, 26},       {"VIEW", 10, 7, 88},      {"INDEX", 20, 21, 41},
    {"SEQUENCE", 13, 16, 14},  {"USER", 19, 11, 53},     {"ROLE", 12, 6, 79},
    {"PROCEDURE", 24, 68, 25}, {"FUNCTION", 91, 93, 92}, {"PACKAGE BODY", 97, 99, 98},
    {"PACKAGE", 94, 96, 95},   {"TRIGGER", 59, 61, 60},  {"TYPE BODY", 81, 83, 82},
    {"TYPE", 77, 78, 80},      {"SYNONYM", 30, 31, 0},   {"TABLESPACE", 49, 51, 50},
    {"SESSION", 0, 0, 52},     {"SYSTEM", 0, 0, 32},
};

// Skips OR REPLACE, UNIQUE, BITMAP, PUBLIC and similar words between the verb
// and the object kind.
bool IsCreateModifier(const SqlToken& t) {
  return t.IsWord("OR") || t.IsWord("REPLACE") || t.IsWord("UNIQUE") || t.IsWord("BITMAP") ||
         t.IsWord("PUBLIC") || t.IsWord("GLOBAL") || t.IsWord("TEMPORARY") || t.IsWord("FORCE") ||
         t.IsWord("NOFORCE") || t.IsWord("EDITIONABLE") || t.IsWord("NONEDITIONABLE");
}

std::uint16_t ObjectFunctionCode(const std::vector<SqlToken>& tokens, std::size_t at,
                                 std::uint16_t ObjectCode::*which) {
  while (at < tokens.size() && IsCreateModifier(tokens[at]))
    ++at;
  if (at >= tokens.size())
    return 0;
  const std::string first = tokens[at].Upper();
  const std::string second = at + 1 < tokens.size() ? tokens[at + 1].Upper() : std::string();
  for (const ObjectCode& code : kObjectCodes) {
    const std::string_view object = code.object;
    const std::size_t space = object.find(' ');
    if (space == std::string_view::npos
            ? object == first
            : object.substr(0, space) == first && object.substr(space + 1) == second)
      return code.*which;
  }
  return 0;
}

}  // namespace

StatementKind ClassifyStatement(const std::string& sql) {
  std::vector<SqlToken> tokens;
  std::size_t errorOffset = 0;
  if (!TokenizeSql(sql, tokens, errorOffset) || tokens.empty())
    return {};
  std::size_t first = 0;
  while (first < tokens.size() && tokens[first].IsSymbol("("))
    ++first;
  if (first >= tokens.size())
    return {};
  const SqlToken& verb = tokens[first];
  if (verb.IsWord("SELECT") || verb.IsWord("WITH"))
    return {kSelect, 4};
  if (verb.IsWord("INSERT"))
    return {kInsert, 3};
  if (verb.IsWord("UPDATE"))
    return {kUpdate, 5};
  if (verb.IsWord("DELETE"))
    return {kDelete, 9};
  if (verb.IsWord("MERGE"))
    return {kMerge, 0};
  if (verb.IsWord("BEGIN"))
    return {kBegin, 34};
  if (verb.IsWord("DECLARE"))
    return {kDeclare, 34};
  if (verb.IsWord("COMMIT"))
    return {kCommit, 54};
  if (verb.IsWord("ROLLBACK"))
    return {kRollback, 55};
  if (verb.IsWord("SAVEPOINT"))
    return {0, 56};
  if (verb.IsWord("GRANT"))
    return {0, 28};
  if (verb.IsWord("REVOKE"))
    return {0, 29};
  if (verb.IsWord("TRUNCATE"))
    return {0, 85};
  if (verb.IsWord("RENAME"))
    return {0, 37};
  if (verb.IsWord("COMMENT"))
    return {0, 38};
  if (verb.IsWord("CALL"))
    return {10, 0};
  if (verb.IsWord("CREATE"))
    return {kCreate, ObjectFunctionCode(tokens, first + 1, &ObjectCode::create)};
  if (verb.IsWord("DROP"))
    return {kDrop, ObjectFunctionCode(tokens, first + 1, &ObjectCode::drop)};
  if (verb.IsWord("ALTER"))
    return {kAlter, ObjectFunctionCode(tokens, first + 1, &ObjectCode::alter)};
  return {};
}

}  // namespace sandbox
