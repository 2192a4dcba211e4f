// SQLite error messages mapped to Oracle's codes and texts.
#include "sandbox/server/ErrorMapping.h"

#include <cstdlib>

namespace sandbox {

namespace {

bool StartsWith(const std::string& text, const char* prefix) {
  return text.rfind(prefix, 0) == 0;
}

// "OWNER.TABLE.COLUMN" of SQLite's constraint messages as Oracle quotes it.
std::string QuotedColumnPath(const std::string& path) {
  std::string out = "\"";
  for (char c : path)
    out += c == '.' ? std::string("\".\"") : std::string(1, c);
  return out + "\"";
}

}  // namespace

OraError ParseOraText(const std::string& text) {
  if (text.size() < 11 || !StartsWith(text, "ORA-") || text[9] != ':')
    return {};
  return {std::atoi(text.c_str() + 4), text.substr(11)};
}

OraError MapSqliteError(const std::string& message) {
  if (const OraError passed = ParseOraText(message); passed.IsSet())
    return passed;
  if (message == "interrupted")
    return {1013, "user requested cancel of current operation"};
  if (StartsWith(message, "no such table"))
    return {942, "table or view does not exist"};
  if (StartsWith(message, "no such column: ")) {
    std::string name = message.substr(16);
    const std::size_t dot = name.rfind('.');
    return {904, "\"" + (dot == std::string::npos ? name : name.substr(dot + 1)) +
                     "\": invalid identifier"};
  }
  if (StartsWith(message, "no such function: "))
    return {904, "\"" + message.substr(18) + "\": invalid identifier"};
  if (StartsWith(message, "wrong number of arguments to function "))
    return {909, "invalid number of arguments"};
  if (StartsWith(message, "NOT NULL constraint failed: "))
    return {1400, "cannot insert NULL into (" + QuotedColumnPath(message.substr(28)) + ")"};
  if (StartsWith(message, "UNIQUE constraint failed: ") ||
      StartsWith(message, "PRIMARY KEY must be unique"))
    return {1, "unique constraint violated"};
  if (StartsWith(message, "CHECK constraint failed: "))
    return {2290, "check constraint (" + message.substr(25) + ") violated"};
  if (StartsWith(message, "FOREIGN KEY constraint failed"))
    return {2291, "integrity constraint violated - parent key not found"};
  if (message.find("syntax error") != std::string::npos || StartsWith(message, "incomplete input"))
    return {933, "SQL command not properly ended"};
  if (message.find(" values for ") != std::string::npos &&
      message.find(" columns") != std::string::npos) {
    const long values = std::atol(message.c_str());
    const long columns = std::atol(message.c_str() + message.find(" for ") + 5);
    return values > columns ? OraError{913, "too many values"} : OraError{947, "not enough values"};
  }
  if (StartsWith(message, "cannot INSERT into generated column"))
    return {54013, "INSERT operation disallowed on virtual columns"};
  if (StartsWith(message, "cannot UPDATE generated column"))
    return {54017, "UPDATE operation disallowed on virtual columns"};
  if (const std::size_t has = message.find(" columns but ");
      StartsWith(message, "table ") && has != std::string::npos &&
      message.find(" values were supplied") != std::string::npos) {
    const long columns = std::atol(message.c_str() + message.rfind(' ', has - 1) + 1);
    const long values = std::atol(message.c_str() + has + 13);
    return values > columns ? OraError{913, "too many values"} : OraError{947, "not enough values"};
  }
  if (StartsWith(message, "cannot modify ") &&
      message.find("because it is a view") != std::string::npos)
    return {1732, "data manipulation operation not legal on this view"};
  if (StartsWith(message, "ambiguous column name: "))
    return {918, "column ambiguously defined"};
  if (message.find("SELECTs to the left and right of") != std::string::npos)
    return {1789, "query block has incorrect number of result columns"};
  if (StartsWith(message, "misuse of aggregate"))
    return {934, "group function is not allowed here"};
  if (StartsWith(message, "database or disk is full"))
    return {1653, "unable to extend table"};
  return {600, "internal error code, arguments: [sqlite], [" + message + "]"};
}

}  // namespace sandbox
