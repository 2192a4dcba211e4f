// Test support: the data phase over a sandbox schema owned by APP, with a
// table list the test names and the report kept in a model.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/ReportModel.h"
#include "engine/ReportOutput.h"
#include "engine/RunControl.h"
#include "engine/RunFlags.h"
#include "engine/RunSettings.h"
#include "engine/UnscriptedObjects.h"
#include "scripting/data/DataScripting.h"
#include "scripting/tables/TableListSource.h"
#include "tests/engine/TestRunHost.h"
#include "tests/scripting/tables/SandboxSchema.h"

class NamedTableList final : public TableListSource {
 public:
  std::vector<std::string> names;

  bool TableListLoaded() override { return false; }
  int ReloadTableList() override;
  const CatalogList& TableList() override { return list_; }
  std::string SchemaOwner() override { return "APP"; }
  std::string DatabaseName() override { return "APP@TEST"; }

 private:
  CatalogList list_;
};

struct DataRig {
  // database: as for SandboxSchema (empty: a fresh in-memory one).
  explicit DataRig(const std::string& database = {});

  std::string Report() const { return model.Text(); }
  int Count(const std::string& text) const;
  // The report's INSERT statements, each from "INSERT" to its ";".
  std::vector<std::string> Inserts() const;
  // Runs the statement variant of ScriptRows with statement as StatementText.
  void ScriptStatement(const std::string& statement);

  SandboxSchema schema;
  TestRunHost host;
  RunSettings settings;
  RunFlags flags;
  ReportModel model;
  NamedTableList tables;
  UnscriptedObjects unscripted;
  ReportOutput output;
  RunControl control;
  DataScripting data;
};
