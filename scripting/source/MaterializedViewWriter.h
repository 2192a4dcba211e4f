// MaterializedViewWriter: the schema's materialized views written one at a
// time, so that they stand among the views and code they need and that need
// them, in one dependency order.
#pragma once

#include <string>
#include <vector>

class MaterializedViewWriter {
 public:
  virtual ~MaterializedViewWriter() = default;

  // The schema's materialized views in name order. A list that cannot be
  // read is reported by the writer itself and answers none.
  virtual std::vector<std::string> Names() = 0;
  // The statements that make the materialized view name (and its comment).
  virtual void Write(const std::string& name) = 0;
};
