// Owning wrappers of SQLite connections and prepared statements, with the
// conversions between sandbox values and SQLite values.
#pragma once

#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

#include "sandbox/server/Server.h"

namespace sandbox {

struct SqliteCloser {
  void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct SqliteFinalizer {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using SqliteConnection = std::unique_ptr<sqlite3, SqliteCloser>;
using SqliteStatement = std::unique_ptr<sqlite3_stmt, SqliteFinalizer>;

// Binds value to parameter index (1-based) of statement.
void BindValue(sqlite3_stmt* statement, int index, const Value& value);

// A short-lived helper for the server's own catalog statements: prepare, bind
// positional values, run to the end. Failures are programming errors of the
// catalog or constraint violations, reported as text.
class SqliteRunner {
 public:
  explicit SqliteRunner(sqlite3* db) : db_(db) {}
  bool Exec(const std::string& sql, const std::vector<Value>& params = {});
  // Rows of a query as text (NULL as empty), first column first.
  bool Query(const std::string& sql, const std::vector<Value>& params,
             std::vector<std::vector<std::string>>& rows);
  const std::string& LastError() const { return lastError_; }

 private:
  sqlite3* db_;
  std::string lastError_;
};

// SQL text of an identifier quoted for SQLite.
std::string QuoteSqliteName(const std::string& name);
std::string QuoteSqliteText(const std::string& text);

}  // namespace sandbox
