// Sends the DDL generator blocks with their four binds.
#include "scripting/tables/DdlGenerator.h"

#include "config/SettingsStore.h"
#include "oracle/OracleSession.h"
#include "scripting/tables/ConstraintDdlBlock.h"
#include "scripting/tables/IndexDdlBlock.h"
#include "scripting/tables/TableDdlBlock.h"

std::string DdlGenerator::GenerateTableDdl(const std::string& owner, const std::string& table) {
  return Run(TableDdlBlock(), owner, table);
}

std::string DdlGenerator::GenerateConstraintDdl(const std::string& owner,
                                                const std::string& table) {
  return Run(ConstraintDdlBlock(), owner, table);
}

std::string DdlGenerator::GenerateIndexDdl(const std::string& owner, const std::string& table,
                                           const std::vector<std::string>* indexNames) {
  return Run(IndexDdlBlock(session_.VersionClass(), indexNames), owner, table);
}

std::string DdlGenerator::Run(const std::string& block, const std::string& owner,
                              const std::string& table) {
  SettingsStore& store = session_.Settings();
  const std::string storage = store.GetString("Settings", "InclStorage", "Y");
  const std::string pct = store.GetString("Settings", "InclPct", "Y");
  failure_.clear();
  return session_.RunPrintingBlock(block, owner, table, storage, pct, &failure_);
}
