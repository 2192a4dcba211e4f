// TableDdlSource: where the table phases get the DDL text of one table.
// DdlGenerator answers from the server's generator blocks; each text carries
// its own line ends.
#pragma once

#include <string>
#include <vector>

class TableDdlSource {
 public:
  virtual ~TableDdlSource() = default;

  virtual std::string GenerateTableDdl(const std::string& owner, const std::string& table) = 0;
  virtual std::string GenerateConstraintDdl(const std::string& owner, const std::string& table) = 0;
  virtual std::string GenerateIndexDdl(const std::string& owner, const std::string& table,
                                       const std::vector<std::string>* indexNames) = 0;
  // Why the last Generate call gave no script ("" when its block ran to the
  // end, even if it printed nothing): the error text of the block or of the
  // connection.
  virtual std::string LastFailure() const { return {}; }
};
