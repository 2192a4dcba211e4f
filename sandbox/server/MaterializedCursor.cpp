// Reading the rows of a materialized query.
#include "sandbox/server/MaterializedCursor.h"

namespace sandbox {

bool MaterializedCursor::Next(std::vector<Value>& row, OraError& error) {
  error = {};
  if (next_ >= rows_.size())
    return false;
  row = std::move(rows_[next_++]);
  return true;
}

}  // namespace sandbox
