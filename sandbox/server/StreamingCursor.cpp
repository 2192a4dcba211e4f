// Reading a query's rows from SQLite as they are fetched.
#include "sandbox/server/StreamingCursor.h"

#include "sandbox/server/ColumnValues.h"
#include "sandbox/server/ErrorMapping.h"
#include "sandbox/server/ServerDatabase.h"

namespace sandbox {

StreamingCursor::StreamingCursor(ServerDatabase& database, std::atomic<bool>& interrupt,
                                 SqliteStatement statement, std::vector<ColumnInfo> columns,
                                 std::vector<bool> typedByValue)
    : database_(database),
      interrupt_(interrupt),
      statement_(std::move(statement)),
      columns_(std::move(columns)),
      typedByValue_(std::move(typedByValue)) {
  std::lock_guard lock(database_.Mutex());
  database_.AddCursor(this);
}

StreamingCursor::~StreamingCursor() {
  std::lock_guard lock(database_.Mutex());
  database_.RemoveCursor(this);
  statement_.reset();
}

bool StreamingCursor::Next(std::vector<Value>& row, OraError& error) {
  error = {};
  std::lock_guard lock(database_.Mutex());
  if (!settled_.empty()) {
    row = std::move(settled_.front());
    settled_.pop_front();
    return true;
  }
  if (statement_)
    return Step(row, error);
  error = settledError_;
  settledError_ = {};
  return false;
}

bool StreamingCursor::Start(OraError& error) {
  error = {};
  std::lock_guard lock(database_.Mutex());
  std::vector<Value> row;
  if (Step(row, error))
    settled_.push_back(std::move(row));
  return !error.IsSet();
}

void StreamingCursor::Settle() {
  if (!statement_ || stepping_)
    return;
  std::vector<Value> row;
  OraError error;
  while (Step(row, error))
    settled_.push_back(std::move(row));
  settledError_ = error;
}

bool StreamingCursor::Step(std::vector<Value>& row, OraError& error) {
  sqlite3_stmt* raw = statement_.get();
  database_.SetRunning(&interrupt_);
  stepping_ = true;
  const int rc = sqlite3_step(raw);
  stepping_ = false;
  if (rc == SQLITE_ROW) {
    row.resize(columns_.size());
    for (std::size_t c = 0; c < columns_.size(); ++c)
      row[c] = ColumnValue(raw, static_cast<int>(c), columns_[c], typedByValue_[c],
                           database_.Functions());
    return true;
  }
  if (rc != SQLITE_DONE) {
    error = MapSqliteError(sqlite3_errmsg(database_.Handle()));
    // The request is answered by this failure.
    if (error.code == kCancelledCode)
      interrupt_.store(false);
  }
  // Finished: SQLite holds nothing of this query any more.
  statement_.reset();
  return false;
}

}  // namespace sandbox
