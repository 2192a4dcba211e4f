// Sends the DDL generator blocks with their four binds.
#include "scripting/tables/DdlGenerator.h"

#include "config/SettingsStore.h"
#include "oracle/OracleSession.h"
#include "scripting/tables/ConstraintDdlBlock.h"
#include "scripting/tables/IndexDdlBlock.h"
#include "scripting/tables/TableDdlBlock.h"

std::string DdlGenerator::GenerateTableDdl(const std::string& owner, const std::string& table) {
  if (tableBlock_.empty()) {
    tableBlock_ = TableDdlBlock();
  }
  return Run(tableBlock_, owner, table);
}

std::string DdlGenerator::GenerateConstraintDdl(const std::string& owner,
                                                const std::string& table) {
  if (constraintBlock_.empty()) {
    constraintBlock_ = ConstraintDdlBlock();
  }
  return Run(constraintBlock_, owner, table);
}

std::string DdlGenerator::GenerateIndexDdl(const std::string& owner, const std::string& table,
                                           const std::vector<std::string>* indexNames) {
  if (indexNames != nullptr) {
    return Run(IndexDdlBlock(session_.VersionClass(), indexNames), owner, table);
  }
  return Run(AllIndexesBlock(), owner, table);
}

const std::string& DdlGenerator::AllIndexesBlock() {
  if (indexBlock_.empty() || indexBlockRelease_ != session_.VersionClass()) {
    indexBlockRelease_ = session_.VersionClass();
    indexBlock_ = IndexDdlBlock(indexBlockRelease_, nullptr);
  }
  return indexBlock_;
}

std::string DdlGenerator::Run(const std::string& block, const std::string& owner,
                              const std::string& table) {
  SettingsStore& store = session_.Settings();
  const std::string storage = store.GetString("Settings", "InclStorage", "Y");
  const std::string pct = store.GetString("Settings", "InclPct", "Y");
  return session_.RunPrintingBlock(block, owner, table, storage, pct);
}
