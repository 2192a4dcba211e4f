// DdlGenerator asks the server for the DDL of one table: it sends the table,
// constraint or index generator block through the session and returns what
// the block printed, each line followed by "\r\n", plus one more "\r\n".
// The "InclStorage" and "InclPct" settings are read at every call, so a
// change in the options dialog applies to the next table. The block texts
// are built once per generator (one per run) and sent unchanged for every
// table, so the server can reuse what it prepared from them.
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

 private:
  std::string Run(const std::string& block, const std::string& owner, const std::string& table);
  // The index block of every index of a table, for the server's release.
  const std::string& AllIndexesBlock();

  OracleSession& session_;
  std::string tableBlock_;
  std::string constraintBlock_;
  std::string indexBlock_;
  std::string indexBlockRelease_;  // the release class indexBlock_ was built for
};
