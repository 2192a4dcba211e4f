// Names in generated statements.
#include "scripting/source/OracleNames.h"

#include <algorithm>
#include <iterator>

namespace {

// The words Oracle reserves: as names they must be quoted.
constexpr std::string_view ReservedWords[] = {
    "ACCESS",    "ADD",     "ALL",        "ALTER",      "AND",        "ANY",       "AS",
    "ASC",       "AUDIT",   "BETWEEN",    "BY",         "CHAR",       "CHECK",     "CLUSTER",
    "COLUMN",    "COMMENT", "COMPRESS",   "CONNECT",    "CREATE",     "CURRENT",   "DATE",
    "DECIMAL",   "DEFAULT", "DELETE",     "DESC",       "DISTINCT",   "DROP",      "ELSE",
    "EXCLUSIVE", "EXISTS",  "FILE",       "FLOAT",      "FOR",        "FROM",      "GRANT",
    "GROUP",     "HAVING",  "IDENTIFIED", "IMMEDIATE",  "IN",         "INCREMENT", "INDEX",
    "INITIAL",   "INSERT",  "INTEGER",    "INTERSECT",  "INTO",       "IS",        "LEVEL",
    "LIKE",      "LOCK",    "LONG",       "MAXEXTENTS", "MINUS",      "MLSLABEL",  "MODE",
    "MODIFY",    "NOAUDIT", "NOCOMPRESS", "NOT",        "NOWAIT",     "NULL",      "NUMBER",
    "OF",        "OFFLINE", "ON",         "ONLINE",     "OPTION",     "OR",        "ORDER",
    "PCTFREE",   "PRIOR",   "PUBLIC",     "RAW",        "RENAME",     "RESOURCE",  "REVOKE",
    "ROW",       "ROWID",   "ROWNUM",     "ROWS",       "SELECT",     "SESSION",   "SET",
    "SHARE",     "SIZE",    "SMALLINT",   "START",      "SUCCESSFUL", "SYNONYM",   "SYSDATE",
    "TABLE",     "THEN",    "TO",         "TRIGGER",    "UID",        "UNION",     "UNIQUE",
    "UPDATE",    "USER",    "VALIDATE",   "VALUES",     "VARCHAR",    "VARCHAR2",  "VIEW",
    "WHENEVER",  "WHERE",   "WITH",
};

bool IsUpperLetter(char c) {
  return c >= 'A' && c <= 'Z';
}

bool IsPlainNameCharacter(char c) {
  return IsUpperLetter(c) || (c >= '0' && c <= '9') || c == '_' || c == '$' || c == '#';
}

}  // namespace

bool IsPlainName(std::string_view name) {
  return !name.empty() && IsUpperLetter(name.front()) &&
         std::all_of(name.begin(), name.end(), IsPlainNameCharacter) &&
         std::find(std::begin(ReservedWords), std::end(ReservedWords), name) ==
             std::end(ReservedWords);
}

std::string StatementName(const std::string& name) {
  return IsPlainName(name) ? name : "\"" + name + "\"";
}

std::string RoleName(const std::string& name) {
  return name == "CONNECT" || name == "RESOURCE" ? name : StatementName(name);
}
