// DdlGenerator asks the server for the DDL of one table: it sends the table,
// constraint or index generator block through the session and returns what
// the block printed, each line followed by "\r\n", plus one more "\r\n".
// The "InclStorage" and "InclPct" settings are read at every call, so a
// change in the options dialog applies to the next table.
#pragma once

#include <string>
#include <vector>

#include "scripting/tables/TableDdlSource.h"

class OracleSession;

class DdlGenerator final : public TableDdlSource {
 public:
  explicit DdlGenerator(OracleSession& session) : session_(session) {}

  std::string GenerateTableDdl(const std::string& owner, const std::string& table) override;
  std::string GenerateConstraintDdl(const std::string& owner, const std::string& table) override;
  // indexNames null: every index of the table that is not a key's index.
  std::string GenerateIndexDdl(const std::string& owner, const std::string& table,
                               const std::vector<std::string>* indexNames) override;
  std::string LastFailure() const override { return failure_; }

 private:
  std::string Run(const std::string& block, const std::string& owner, const std::string& table);

  OracleSession& session_;
  std::string failure_;
};
