// The scripted round trip of a sandbox schema.
#include "tests/scripting/tables/SchemaRoundTrip.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <regex>

#include "config/MemorySettingsStore.h"
#include "engine/ReportModel.h"
#include "engine/ReportOutput.h"
#include "engine/RunControl.h"
#include "engine/RunFlags.h"
#include "engine/RunSettings.h"
#include "engine/UnscriptedObjects.h"
#include "scripting/tables/ObjectCatalog.h"
#include "scripting/tables/TableListSource.h"
#include "scripting/tables/TablePhases.h"
#include "tests/engine/TestRunHost.h"
#include "tests/scripting/tables/SandboxSchema.h"

namespace {

// The schema's tables as the catalog lists them.
class CatalogTableList final : public TableListSource {
 public:
  CatalogTableList(ObjectCatalog catalog, std::string databaseName)
      : catalog_(std::move(catalog)), databaseName_(std::move(databaseName)) {}
  bool TableListLoaded() override { return false; }
  int ReloadTableList() override {
    list_.clear();
    return catalog_.ListTablesOrViews(true, list_, true);
  }
  const CatalogList& TableList() override { return list_; }
  std::string SchemaOwner() override { return "APP"; }
  std::string DatabaseName() override { return databaseName_; }

 private:
  ObjectCatalog catalog_;
  std::string databaseName_;
  CatalogList list_;
};

// The table, index and constraint phases of one schema, as report text.
std::string ScriptSchema(SandboxSchema& schema) {
  MemorySettingsStore store;
  TestRunHost host;
  RunSettings settings;
  settings.RunMode = ScriptingRunMode;
  settings.UpdateCommentPrefixes();
  RunFlags flags;
  flags.Running = 1;
  ReportModel model;
  ReportOutput output(model, settings, flags, host, store);
  RunControl control(settings, flags, output, host);
  CatalogNameMaxima maxima;
  CatalogTableList tables(
      ObjectCatalog(*schema.client.session, output, settings, "APP", "DB", maxima), "DB");
  UnscriptedObjects unscripted;
  TablePhases phases(settings, output, &host, control, tables, *schema.ddl, unscripted);
  phases.RunTablePhase();
  phases.RunIndexPhase();
  phases.RunConstraintPhase();
  return model.Text();
}

std::filesystem::path FreshDirectory() {
  static int made = 0;
  const std::filesystem::path directory =
      std::filesystem::temp_directory_path() /
      ("quillmark-tables-" + std::to_string(::getpid()) + "-" + std::to_string(++made) + "-" +
       std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::filesystem::create_directories(directory);
  return directory;
}

void Collect(SchemaRoundTrip& trip, const SandboxSchema& schema) {
  trip.messages.insert(trip.messages.end(), schema.client.messages.texts.begin(),
                       schema.client.messages.texts.end());
}

}  // namespace

SchemaRoundTrip RoundTripSchema(const std::vector<std::string>& statements,
                                const std::vector<DictionaryView>& views) {
  const std::filesystem::path directory = FreshDirectory();
  const std::string source = "file:" + (directory / "source.db").string();
  const std::string target = "file:" + (directory / "target.db").string();
  SchemaRoundTrip trip;
  {
    SandboxSchema schema(source);
    for (const std::string& statement : statements) {
      schema.Run(statement);
    }
    trip.sourceReport = ScriptSchema(schema);
    trip.source = TakeDictionarySnapshot(*schema.client.session, views);
    Collect(trip, schema);
  }
  {
    SandboxSchema schema(target);
    schema.client.session->Disconnect();
    trip.replay = sandbox::testing::RunScript("APP/app@" + target, trip.sourceReport);
    EXPECT_TRUE(schema.client.session->Connect("APP", "app", target, true, true));
    trip.targetReport = ScriptSchema(schema);
    trip.target = TakeDictionarySnapshot(*schema.client.session, views);
    Collect(trip, schema);
  }
  std::filesystem::remove_all(directory);
  return trip;
}

std::string WithoutGeneratedNumbers(const std::string& report) {
  return std::regex_replace(report, std::regex("SYS_C[0-9]+"), "SYS_C#");
}
