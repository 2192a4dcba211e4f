// BindValues: text values bound to a statement's placeholders by name, copied
// into buffers that the client may write to (a block can assign to its bind
// variables) and that live as long as this object, which must outlive the
// statement's execution.
#pragma once

#include <string>
#include <vector>

#include "oracle/OracleStatement.h"

class BindValues {
 public:
  // Binds values[i] to names[i]; an empty value is never bound.
  void BindAll(OracleStatement& statement, const std::vector<std::string>& names,
               const std::vector<std::string>& values) {
    buffers_.assign(values.size(), {});
    for (std::size_t i = 0; i < values.size(); ++i) {
      if (values[i].empty()) {
        continue;
      }
      buffers_[i].assign(values[i].begin(), values[i].end());
      buffers_[i].push_back('\0');
      statement.BindString(names[i], buffers_[i].data(), static_cast<int>(values[i].size()));
    }
  }

 private:
  std::vector<std::vector<char>> buffers_;
};
