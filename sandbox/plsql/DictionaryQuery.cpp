#include "sandbox/plsql/DictionaryQuery.h"

#include "sandbox/server/EmptyBindSet.h"

namespace sandbox::plsql {

std::string SqlLiteral(const std::string& text) {
  std::string quoted = "'";
  for (char c : text)
    quoted += c == '\'' ? std::string("''") : std::string(1, c);
  return quoted + "'";
}

std::vector<std::vector<Value>> DictionaryRows(Session& session, const std::string& sql) {
  EmptyBindSet noBinds;
  OraError error;
  std::vector<std::vector<Value>> rows;
  const auto cursor = session.OpenQuery(sql, noBinds, error);
  if (!cursor)
    return rows;
  std::vector<Value> row;
  while (cursor->Next(row, error))
    rows.push_back(row);
  return rows;
}

}  // namespace sandbox::plsql
