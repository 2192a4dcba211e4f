// Test support for the stored source phase: the run pieces it writes through
// (settings, flags, report, control, a recording host) around one SourcePhase,
// and object lists read through the object catalog of a sandbox session.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "config/MemorySettingsStore.h"
#include "engine/ReportModel.h"
#include "engine/ReportOutput.h"
#include "engine/RunControl.h"
#include "engine/RunFlags.h"
#include "engine/RunSettings.h"
#include "engine/UnscriptedObjects.h"
#include "scripting/source/SourceListSource.h"
#include "scripting/source/SourcePhase.h"
#include "scripting/tables/ObjectCatalog.h"
#include "tests/engine/TestRunHost.h"

struct SourceRig {
  // Without dependencies the phase keeps the order of kinds and lists.
  SourceRig(SourceListSource& lists, SourceTextSource& texts,
            DependencySource* dependencies = nullptr);

  // Runs the kinds of codes in their order and answers the whole report.
  std::string Script(const std::vector<std::string>& codes);
  std::string Report() const { return model.Text(); }
  // How often text occurs in the report.
  int Count(const std::string& text) const;

  MemorySettingsStore store;
  TestRunHost host;
  RunSettings settings;
  RunFlags flags;
  ReportModel model;
  ReportOutput output;
  RunControl control;
  UnscriptedObjects unscripted;
  SourcePhase phase;
};

// The schema's objects of each kind as the catalog lists them.
class CatalogSourceLists final : public SourceListSource {
 public:
  CatalogSourceLists(OracleSession& session, const std::string& owner,
                     const std::string& databaseName);

  bool ListLoaded(const SourceKind&) override { return false; }
  int ReloadList(const SourceKind& kind) override;
  const CatalogList& List(const SourceKind& kind) override;
  std::string SchemaOwner() override { return owner_; }
  std::string DatabaseName() override { return databaseName_; }

 private:
  RunSettings settings_;
  ReportModel model_;
  RunFlags flags_;
  TestRunHost host_;
  MemorySettingsStore store_;
  ReportOutput output_;
  CatalogNameMaxima maxima_;
  ObjectCatalog catalog_;
  std::string owner_;
  std::string databaseName_;
  std::map<std::string, CatalogList> lists_;
};
