// SQL text over the column lists of keys.
#include "sandbox/server/integrity/KeySql.h"

#include "sandbox/server/SqliteHandle.h"

namespace sandbox {

std::string KeyPairs(const std::string& left, const std::vector<std::string>& leftColumns,
                     const std::string& right, const std::vector<std::string>& rightColumns,
                     const char* op) {
  std::string text;
  for (std::size_t i = 0; i < leftColumns.size() && i < rightColumns.size(); ++i)
    text += (i ? " AND " : "") + left + QuoteSqliteName(leftColumns[i]) + op + right +
            QuoteSqliteName(rightColumns[i]);
  return text;
}

std::string KeyEach(const std::string& prefix, const std::vector<std::string>& columns,
                    const char* test, const char* joiner) {
  std::string text;
  for (std::size_t i = 0; i < columns.size(); ++i)
    text += (i ? joiner : "") + prefix + QuoteSqliteName(columns[i]) + test;
  return text;
}

std::string KeyColumnList(const std::vector<std::string>& columns) {
  return KeyEach("", columns, "", ", ");
}

}  // namespace sandbox
