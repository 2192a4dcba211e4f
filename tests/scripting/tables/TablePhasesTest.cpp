// The table, index and constraint phases: their banners, counts, exclusions,
// order and run control, over a scripted table list and the sandbox's blocks.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "config/MemorySettingsStore.h"
#include "engine/ReportModel.h"
#include "engine/ReportOutput.h"
#include "engine/ReportText.h"
#include "engine/RunControl.h"
#include "engine/RunFlags.h"
#include "engine/RunSettings.h"
#include "engine/UnscriptedObjects.h"
#include "scripting/tables/TableListSource.h"
#include "scripting/tables/TablePhases.h"
#include "tests/engine/TestRunHost.h"
#include "tests/scripting/tables/SandboxSchema.h"

namespace {

class FixedTableList final : public TableListSource {
 public:
  explicit FixedTableList(std::vector<std::string> names) {
    for (std::string& name : names) {
      CatalogItem item;
      item.Names[0] = std::move(name);
      list_.push_back(std::move(item));
    }
  }
  bool TableListLoaded() override { return false; }
  int ReloadTableList() override {
    ++reloads;
    return static_cast<int>(list_.size());
  }
  const CatalogList& TableList() override { return list_; }
  std::string SchemaOwner() override { return "APP"; }
  std::string DatabaseName() override { return "APP@TEST"; }

  int reloads = 0;

 private:
  CatalogList list_;
};

// Records the tables asked for and answers each with its name; the first
// request waits until released, so that a test can pause or stop meanwhile.
class RecordingDdl final : public TableDdlSource {
 public:
  std::string GenerateTableDdl(const std::string&, const std::string& table) override {
    return Answer("table " + table);
  }
  std::string GenerateConstraintDdl(const std::string&, const std::string& table) override {
    return Answer("constraint " + table);
  }
  std::string GenerateForeignKeyDdl(const std::string&, const std::string& table) override {
    return Answer("foreign key " + table);
  }
  std::string GenerateIndexDdl(const std::string&, const std::string& table,
                               const std::vector<std::string>*) override {
    return Answer("index " + table);
  }

  std::vector<std::string> asked;

 private:
  std::string Answer(const std::string& request) {
    asked.push_back(request);
    return request + "\r\n\r\n";
  }
};

struct PhaseRig {
  explicit PhaseRig(std::vector<std::string> names, TableDdlSource* ddlSource = nullptr)
      : tables(std::move(names)),
        output(model, settings, flags, host, store),
        control(settings, flags, output, host),
        phases(settings, output, &host, control, tables, ddlSource ? *ddlSource : recording,
               unscripted) {
    settings.RunMode = ScriptingRunMode;
    settings.UpdateCommentPrefixes();
    flags.Running = 1;
  }

  std::string Report() const { return model.Text(); }
  int Count(const std::string& text) const {
    int count = 0;
    const std::string report = Report();
    for (std::size_t at = report.find(text); at != std::string::npos;
         at = report.find(text, at + 1)) {
      ++count;
    }
    return count;
  }

  MemorySettingsStore store;
  TestRunHost host;
  RunSettings settings;
  RunFlags flags;
  ReportModel model;
  FixedTableList tables;
  RecordingDdl recording;
  UnscriptedObjects unscripted;
  ReportOutput output;
  RunControl control;
  TablePhases phases;
};

TEST(TablePhaseTest, SummaryCountsTablesAndExcludedOnesAreListed) {
  PhaseRig one({"ONLY"});
  one.phases.RunTablePhase();
  EXPECT_NE(one.Report().find("*  tables\r\n*\r\n*  1 table was found in APP@TEST"),
            std::string::npos);
  EXPECT_EQ(one.Report().find("not processed"), std::string::npos);

  PhaseRig three({"A", "B", "C"});
  three.settings.ExcludedTables = {"b", "C"};
  three.phases.RunTablePhase();
  const std::string report = three.Report();
  EXPECT_NE(report.find("*  3 tables were found in APP@TEST"), std::string::npos);
  EXPECT_EQ(three.recording.asked, (std::vector<std::string>{"table A"}));
  EXPECT_NE(report.find("*  The following statement will create the table A" + BannerClose +
                        "table A\r\n\r\n"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("*  The following tables were not processed in APP@TEST\r\n*"
                        "\r\n*  \t\tB\r\n*  \t\tC" +
                        BannerClose),
            std::string::npos)
      << report;
  EXPECT_EQ(three.Count(BannerClose), 3);
  EXPECT_EQ(three.host.EventsStartingWith("position").back(), "position 9");
}

TEST(TablePhaseTest, NothingListedWithoutExclusionsAndNoScriptsWithoutTables) {
  PhaseRig all({"A", "B"});
  all.phases.RunTablePhase();
  EXPECT_EQ(all.Report().find("not processed"), std::string::npos);
  EXPECT_EQ(all.Count(BannerClose), 3);

  PhaseRig indexesOnly({"A", "B"});
  indexesOnly.settings.DoTable = 0;
  indexesOnly.settings.ExcludedTables = {"A"};
  indexesOnly.phases.RunTablePhase();
  EXPECT_TRUE(indexesOnly.recording.asked.empty());
  EXPECT_EQ(indexesOnly.Count(BannerClose), 1);
  indexesOnly.phases.RunIndexPhase();
  EXPECT_EQ(indexesOnly.recording.asked, (std::vector<std::string>{"index B"}));
}

TEST(KeyPhaseTest, SameOrderAndExclusionsAndOneBannerWhenNothingIsFound) {
  PhaseRig rig({"Z", "A", "M"});
  rig.settings.ExcludedTables = {"A"};
  rig.phases.RunTablePhase();
  rig.recording.asked.clear();
  rig.phases.RunIndexPhase();
  rig.phases.RunConstraintPhase();
  // Every table's keys come before the first foreign key.
  EXPECT_EQ(rig.recording.asked,
            (std::vector<std::string>{"index Z", "index M", "constraint Z", "constraint M",
                                      "foreign key Z", "foreign key M"}));
  EXPECT_NE(rig.Report().find("*  The following statements will create the foreign keys for "
                              "table M" +
                              BannerClose + "foreign key M\r\n"),
            std::string::npos);
  EXPECT_NE(rig.Report().find("*  The following statements will create the indexes for table Z" +
                              BannerClose + "index Z\r\n"),
            std::string::npos);
  EXPECT_EQ(rig.Count("No indexes were found."), 0);
  EXPECT_EQ(rig.host.EventsStartingWith("status Skipping constraint").size(), 1u);

  PhaseRig empty({});
  empty.phases.RunTablePhase();
  empty.phases.RunIndexPhase();
  empty.phases.RunConstraintPhase();
  EXPECT_EQ(empty.Count("*  0 tables were found in "), 1);
  EXPECT_EQ(empty.Count("\r\n\r\n\r\n" + BannerOpen + "*  No indexes were found." + BannerClose),
            1);
  EXPECT_EQ(
      empty.Count("\r\n\r\n\r\n" + BannerOpen + "*  No constraints were found." + BannerClose), 1);
}

TEST(TablePhaseTest, PauseHoldsTheLoopAndStopEndsIt) {
  PhaseRig rig({"A", "B", "C"});
  rig.flags.Paused = 1;
  bool stopped = false;
  std::thread worker([&] {
    try {
      rig.phases.RunTablePhase();
    } catch (...) {
      stopped = true;
    }
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(250));
  EXPECT_TRUE(rig.recording.asked.empty());
  rig.flags.Running = 0;
  worker.join();
  EXPECT_TRUE(stopped);
  EXPECT_TRUE(rig.recording.asked.empty());
  EXPECT_NE(rig.Report().find("Quillmark Stopped ..."), std::string::npos);
  EXPECT_EQ(rig.Report().find("The following statement will create"), std::string::npos);
}

TEST(TablePhaseTest, ScriptsOfTheSandboxSchemaUnderTheirBanners) {
  SandboxSchema schema;
  schema.Run("create table K (ID number primary key, NAME varchar2(9))");
  schema.Run("create index K_NAME on K (NAME)");
  schema.Run("create table E (X date)");
  schema.client.settings->SetString("Settings", "InclPct", "N");
  schema.client.settings->SetString("Settings", "InclStorage", "N");
  PhaseRig rig({"K", "E"}, schema.ddl.get());
  rig.phases.RunTablePhase();
  rig.phases.RunIndexPhase();
  rig.phases.RunConstraintPhase();
  const std::string report = rig.Report();
  EXPECT_NE(report.find("table K" + BannerClose + "CREATE TABLE K (\r\n"), std::string::npos)
      << report;
  EXPECT_NE(report.find("indexes for table K" + BannerClose +
                        "CREATE INDEX K_NAME ON K\r\n\t(\r\n\t NAME\r\n\t)\r\n/\r\n"),
            std::string::npos)
      << report;
  EXPECT_EQ(report.find("indexes for table E"), std::string::npos);
  EXPECT_NE(report.find("constraints for table K" + BannerClose + "ALTER TABLE K ADD (\r\n"),
            std::string::npos);
  EXPECT_EQ(report.find("constraints for table E"), std::string::npos);
}

// Scripts lost to a dead connection or a generator that printed nothing are
// named in the report and in the run's record, never silently left out.
TEST(TablePhaseTest, ScriptsThatCannotBeGeneratedAreRecorded) {
  SandboxSchema schema;
  schema.Run("create table K (ID number primary key)");
  schema.Run("create table E (X date)");
  PhaseRig rig({"K", "E"}, schema.ddl.get());
  // Broken now and at every logon that tries to restore it.
  ASSERT_EQ(BreakSandboxConnections(schema.database, 1000), 1);
  rig.phases.RunTablePhase();
  rig.phases.RunIndexPhase();
  const std::vector<UnscriptedObject> missing = rig.unscripted.Objects();
  ASSERT_EQ(missing.size(), 4u);
  EXPECT_EQ(missing[0].Kind + " " + missing[0].Name, "TABLE K");
  // End of file on the channel, or not connected when the server's release
  // was asked first: either way the connection is named as the reason.
  EXPECT_EQ(missing[0].Reason.rfind("ORA-0311", 0), 0u) << missing[0].Reason;
  EXPECT_EQ(missing[1].Kind + " " + missing[1].Name, "TABLE E");
  EXPECT_EQ(missing[3].Kind + " " + missing[3].Name, "INDEX E");
  const std::string report = rig.Report();
  EXPECT_NE(report.find("-- TABLE script of K could not be generated: ORA-0311"),
            std::string::npos)
      << report;
  EXPECT_EQ(report.find("CREATE TABLE"), std::string::npos);
  EXPECT_EQ(report.find("No indexes were found."), std::string::npos);

  class SilentDdl final : public TableDdlSource {
   public:
    std::string GenerateTableDdl(const std::string&, const std::string&) override { return "\r\n"; }
    std::string GenerateConstraintDdl(const std::string&, const std::string&) override {
      return "\r\n";
    }
    std::string GenerateForeignKeyDdl(const std::string&, const std::string&) override {
      return "\r\n";
    }
    std::string GenerateIndexDdl(const std::string&, const std::string&,
                                 const std::vector<std::string>*) override {
      return "\r\n";
    }
  } silent;
  PhaseRig quiet({"Q"}, &silent);
  quiet.phases.RunTablePhase();
  quiet.phases.RunConstraintPhase();
  ASSERT_EQ(quiet.unscripted.Count(), 1u);  // no constraints is no loss
  EXPECT_EQ(quiet.unscripted.Objects()[0].Reason, "the generator printed no statement");
}

}  // namespace
