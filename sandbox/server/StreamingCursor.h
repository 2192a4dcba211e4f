// A query's cursor that steps its SQLite statement as rows are fetched, so
// that a result of any size costs the memory of one row. Before any other
// statement runs on the database, the database has every open cursor read its
// remaining rows into memory (Settle), so that DML and DDL of the same or
// other sessions, COMMIT and ROLLBACK never meet a half-read SQLite statement.
#pragma once

#include <atomic>
#include <deque>
#include <vector>

#include "sandbox/server/Server.h"
#include "sandbox/server/SqliteHandle.h"

namespace sandbox {

class ServerDatabase;

class StreamingCursor : public Cursor {
 public:
  // statement is prepared and bound, not yet stepped; typedByValue tells per
  // column whether its type follows each value. interrupt is the flag of the
  // session that reads the cursor (see ServerDatabase::Step).
  StreamingCursor(ServerDatabase& database, std::atomic<bool>& interrupt, SqliteStatement statement,
                  std::vector<ColumnInfo> columns, std::vector<bool> typedByValue);
  ~StreamingCursor() override;
  StreamingCursor(const StreamingCursor&) = delete;
  StreamingCursor& operator=(const StreamingCursor&) = delete;

  const std::vector<ColumnInfo>& Columns() const override { return columns_; }
  bool Next(std::vector<Value>& row, OraError& error) override;

  // Runs the query to its first row, as an execution does (a sort or a
  // grouping does all its work here); false with error set when that fails.
  bool Start(OraError& error);

  // Reads every remaining row into memory and finishes the SQLite statement;
  // an error met on the way is reported after the rows before it. Call under
  // the database lock.
  void Settle();

 private:
  // Steps once under the database lock: true with row filled, false at the
  // end or with error set.
  bool Step(std::vector<Value>& row, OraError& error);

  ServerDatabase& database_;
  std::atomic<bool>& interrupt_;
  SqliteStatement statement_;
  std::vector<ColumnInfo> columns_;
  std::vector<bool> typedByValue_;
  std::deque<std::vector<Value>> settled_;
  OraError settledError_;
  bool stepping_ = false;
};

}  // namespace sandbox
