// A query's result read completely when the query opens, so that DML and
// DDL of the same or other sessions never meet a half-read SQLite statement.
#pragma once

#include <cstddef>
#include <vector>

#include "sandbox/server/Server.h"

namespace sandbox {

class MaterializedCursor : public Cursor {
 public:
  MaterializedCursor(std::vector<ColumnInfo> columns, std::vector<std::vector<Value>> rows)
      : columns_(std::move(columns)), rows_(std::move(rows)) {}
  const std::vector<ColumnInfo>& Columns() const override { return columns_; }
  bool Next(std::vector<Value>& row, OraError& error) override;

 private:
  std::vector<ColumnInfo> columns_;
  std::vector<std::vector<Value>> rows_;
  std::size_t next_ = 0;
};

}  // namespace sandbox
