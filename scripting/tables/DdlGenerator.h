// DdlGenerator asks the server for the DDL of one table: it sends the table,
// constraint or index generator block through the session and returns what
// the block printed, each line followed by "\r\n", plus one more "\r\n".
// The "InclStorage" and "InclPct" settings are read at every call, so a
// change in the options dialog applies to the next table. The block texts
// are built once per server release and sent unchanged for every table, so
// that the server can reuse what it compiled.
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
  std::string GenerateForeignKeyDdl(const std::string& owner, const std::string& table) override;
  // indexNames null: every index of the table that is not a key's index.
  std::string GenerateIndexDdl(const std::string& owner, const std::string& table,
                               const std::vector<std::string>* indexNames) override;
  std::string LastFailure() const override { return failure_; }

 private:
  std::string Run(const std::string& block, const std::string& owner, const std::string& table);
  // The server's release (ServerRelease.h), read once per logon.
  int Release();
  // text, rebuilt by build when the release changed since it was built.
  template <typename Build>
  const std::string& Block(std::string& text, int& builtFor, Build build);

  OracleSession& session_;
  std::string failure_;
  int release_ = -1;
  unsigned releaseGeneration_ = 0;
  std::string tableBlock_, keyBlock_, foreignKeyBlock_, indexBlock_;
  int tableBlockRelease_ = -1, keyBlockRelease_ = -1, foreignKeyBlockRelease_ = -1,
      indexBlockRelease_ = -1;
  std::string indexBlockVersion_;
};
