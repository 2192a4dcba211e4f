// Sends the DDL generator blocks with their four binds.
#include "scripting/tables/DdlGenerator.h"

#include "config/SettingsStore.h"
#include "oracle/OracleSession.h"
#include "scripting/tables/ConstraintDdlBlock.h"
#include "scripting/tables/IndexDdlBlock.h"
#include "scripting/tables/ServerRelease.h"
#include "scripting/tables/TableDdlBlock.h"

template <typename Build>
const std::string& DdlGenerator::Block(std::string& text, int& builtFor, Build build) {
  const int release = Release();
  if (text.empty() || builtFor != release) {
    text = build(release);
    builtFor = release;
  }
  return text;
}

std::string DdlGenerator::GenerateTableDdl(const std::string& owner, const std::string& table) {
  return Run(Block(tableBlock_, tableBlockRelease_, TableDdlBlock), owner, table);
}

std::string DdlGenerator::GenerateConstraintDdl(const std::string& owner,
                                                const std::string& table) {
  return Run(Block(keyBlock_, keyBlockRelease_,
                   [](int release) {
                     return ConstraintDdlBlock(ConstraintKinds::KeysAndChecks, release);
                   }),
             owner, table);
}

std::string DdlGenerator::GenerateForeignKeyDdl(const std::string& owner,
                                                const std::string& table) {
  return Run(
      Block(foreignKeyBlock_, foreignKeyBlockRelease_,
            [](int release) { return ConstraintDdlBlock(ConstraintKinds::ForeignKeys, release); }),
      owner, table);
}

std::string DdlGenerator::GenerateIndexDdl(const std::string& owner, const std::string& table,
                                           const std::vector<std::string>* indexNames) {
  const std::string version = session_.VersionClass();
  const int release = Release();
  if (indexNames != nullptr) {
    return Run(IndexDdlBlock(version, release, indexNames), owner, table);
  }
  if (indexBlock_.empty() || indexBlockVersion_ != version || indexBlockRelease_ != release) {
    indexBlock_ = IndexDdlBlock(version, release, nullptr);
    indexBlockVersion_ = version;
    indexBlockRelease_ = release;
  }
  return Run(indexBlock_, owner, table);
}

int DdlGenerator::Release() {
  // A reconnect may have reached another server.
  if (releaseGeneration_ != session_.HandleGeneration() || release_ < 0) {
    release_ = ServerRelease(session_);
    releaseGeneration_ = session_.HandleGeneration();
  }
  return release_;
}

std::string DdlGenerator::Run(const std::string& block, const std::string& owner,
                              const std::string& table) {
  SettingsStore& store = session_.Settings();
  const std::string storage = store.GetString("Settings", "InclStorage", "Y");
  const std::string pct = store.GetString("Settings", "InclPct", "Y");
  failure_.clear();
  return session_.RunPrintingBlock(block, owner, table, storage, pct, &failure_);
}
