// The stored source phase over fixed object lists and recorded definitions:
// banners and counts, exclusions and the not-processed lists, unreadable
// objects, pause and stop between objects, and sections of several kinds in
// dependency order.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "engine/ReportText.h"
#include "scripting/source/DependencySource.h"
#include "scripting/source/MaterializedViewWriter.h"
#include "scripting/source/SourceKinds.h"
#include "scripting/source/SourceTextSource.h"
#include "tests/scripting/source/SourceRig.h"

namespace {

class FixedSourceLists final : public SourceListSource {
 public:
  explicit FixedSourceLists(const std::map<std::string, std::vector<std::string>>& names) {
    for (const auto& [code, objects] : names) {
      for (const std::string& object : objects) {
        CatalogItem item;
        item.Names[0] = object;
        lists_[code].push_back(item);
      }
    }
  }
  bool ListLoaded(const SourceKind&) override { return false; }
  int ReloadList(const SourceKind& kind) override {
    return static_cast<int>(lists_[kind.code].size());
  }
  const CatalogList& List(const SourceKind& kind) override { return lists_[kind.code]; }
  std::string SchemaOwner() override { return "APP"; }
  std::string DatabaseName() override { return "APP@TEST"; }

 private:
  std::map<std::string, CatalogList> lists_;
};

// Answers every object with "<TYPE> <name>" on two lines; the names in
// failing get an error, those in missing nothing. onFetch runs before each
// answer.
class RecordedTexts final : public SourceTextSource {
 public:
  std::string FetchSourceText(const std::string& owner, const std::string& name,
                              const std::string& type, SourceDefinition& definition) override {
    asked.push_back(owner + "." + name + " " + type);
    if (onFetch) {
      onFetch(name);
    }
    if (failing.count(name) != 0) {
      definition.text = "PARTIAL " + name + "\r\n";
      return "ORA-00604: error occurred at recursive SQL level 1\nORA-01555: snapshot too old";
    }
    if (missing.count(name) == 0) {
      definition.text = type + " " + name + "\r\nbody";
    }
    return {};
  }

  std::vector<std::string> asked;
  std::set<std::string> failing;
  std::set<std::string> missing;
  std::function<void(const std::string&)> onFetch;
};

using Lists = std::map<std::string, std::vector<std::string>>;

// Answers fixed dependencies, and failure as what could not be read.
class FixedDependencies final : public DependencySource {
 public:
  std::string ReadDependencies(const std::string& owner, const DependencyKinds& kinds,
                               std::vector<ObjectDependency>& read) override {
    owners.push_back(owner + (kinds.supertypes ? " with supertypes" : "") +
                     (kinds.triggerFiring ? " with trigger firing" : ""));
    read = dependencies;
    return failure;
  }

  std::vector<ObjectDependency> dependencies;
  std::string failure;
  std::vector<std::string> owners;
};

std::string Banner(const std::string& sentence, const std::string& name) {
  return "\r\n\r\n" + BannerOpen + "*  " + sentence + " " + name + BannerClose;
}

TEST(SourcePhaseTest, EachObjectUnderItsBannerAfterTheKindsSummary) {
  FixedSourceLists lists({{"STP", {"ADD_ONE", "LOG_IT"}}, {"TYPEB", {"POINT_T"}}});
  RecordedTexts texts;
  SourceRig rig(lists, texts);
  const std::string report = rig.Script({"STP", "TYPEB"});
  EXPECT_NE(report.find("\r\n\r\n\r\n" + BannerOpen +
                        "*  stored procedures\r\n*\r\n*  2 stored procedures were found in "
                        "APP@TEST" +
                        BannerClose +
                        Banner("The following statement will create the procedure", "ADD_ONE") +
                        "CREATE OR REPLACE PROCEDURE ADD_ONE\r\nbody\r\n/\r\n" +
                        Banner("The following statement will create the procedure", "LOG_IT") +
                        "CREATE OR REPLACE PROCEDURE LOG_IT\r\nbody\r\n/\r\n"),
            std::string::npos)
      << report;
  // The count keeps the plural label for one object too.
  EXPECT_NE(report.find("*  types body\r\n*\r\n*  1 type body was found in APP@TEST" + BannerClose +
                        Banner("The following statement will create the type body", "POINT_T") +
                        "CREATE OR REPLACE TYPE BODY POINT_T\r\nbody\r\n/\r\n"),
            std::string::npos)
      << report;
  EXPECT_EQ(rig.host.Caption(), "Analyzing Types Body - Quillmark for Oracle");
  // Three steps per object: the listing range is replaced by the kind's.
  EXPECT_EQ(rig.host.EventsStartingWith("range").back(), "range 0..3");
  EXPECT_EQ(rig.host.EventsStartingWith("position").back(), "position 3");
}

TEST(SourcePhaseTest, AKindWithoutObjectsWritesItsBannerWithCountZero) {
  FixedSourceLists lists({});
  RecordedTexts texts;
  SourceRig rig(lists, texts);
  rig.phase.ScriptSourceKind("TRIG");
  EXPECT_EQ(rig.Report(), "\r\n\r\n\r\n" + BannerOpen +
                              "*  triggers\r\n*\r\n*  0 triggers were found in APP@TEST" +
                              BannerClose);
  EXPECT_TRUE(texts.asked.empty());
  // A code outside the table writes nothing.
  rig.phase.ScriptSourceKind("SEQ");
  EXPECT_EQ(rig.Count(BannerOpen), 1);
}

TEST(SourcePhaseTest, ExcludedObjectsAreListedOncePerKindInNameOrder) {
  FixedSourceLists lists({{"FUNC", {"ALPHA", "BETA", "GAMMA", "DELTA"}},
                          {"VIEW", {"V_ONE", "V_TWO"}},
                          {"PKG", {"P1", "P2"}}});
  RecordedTexts texts;
  SourceRig rig(lists, texts);
  rig.settings.ExcludedFunctions = {"gamma", "Beta"};
  rig.settings.ExcludedViewSources = {"V_TWO"};
  rig.settings.ExcludedPackages = {"P2"};
  rig.settings.DoPackageSkipped = 0;
  const std::string report = rig.Script({"FUNC", "VIEW", "PKG"});
  EXPECT_EQ(texts.asked, (std::vector<std::string>{"APP.ALPHA FUNCTION", "APP.DELTA FUNCTION",
                                                   "APP.V_ONE VIEW", "APP.P1 PACKAGE"}));
  EXPECT_NE(report.find("\r\n\r\n\r\n" + BannerOpen +
                        "*  The following functions were not processed in APP@TEST\r\n*"
                        "\r\n*  \t\tBETA\r\n*  \t\tGAMMA" +
                        BannerClose),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("*  The following views were not processed in APP@TEST\r\n*"
                        "\r\n*  \t\tV_TWO" +
                        BannerClose),
            std::string::npos);
  EXPECT_EQ(rig.Count("not processed"), 2);  // none for packages: their list is off
  EXPECT_EQ(rig.Count("GAMMA"), 1);
  EXPECT_EQ(rig.host.Caption(), "Analyzing Packages - Quillmark for Oracle");
}

TEST(SourcePhaseTest, UnreadableSourceIsRemarkedAndNeverScriptedHalfOrEmpty) {
  FixedSourceLists lists({{"PKGBD", {"BROKEN", "GONE", "GOOD"}}});
  RecordedTexts texts;
  texts.failing = {"BROKEN"};
  texts.missing = {"GONE"};
  SourceRig rig(lists, texts);
  const std::string report = rig.Script({"PKGBD"});
  EXPECT_NE(report.find(Banner("The following statement will create the package body", "BROKEN") +
                        "-- The source of the package body BROKEN could not be read: ORA-00604: "
                        "error occurred at recursive SQL level 1\r\n-- ORA-01555: snapshot too "
                        "old\r\n"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find(Banner("The following statement will create the package body", "GONE") +
                        "-- The dictionary holds no source for the package body GONE\r\n"),
            std::string::npos)
      << report;
  EXPECT_EQ(report.find("PARTIAL"), std::string::npos);
  const std::vector<UnscriptedObject> unscripted = rig.unscripted.Objects();
  ASSERT_EQ(unscripted.size(), 2u);
  EXPECT_EQ(unscripted[0].Kind + " " + unscripted[0].Name, "PACKAGE BODY BROKEN");
  EXPECT_EQ(unscripted[1].Kind + " " + unscripted[1].Name, "PACKAGE BODY GONE");
  EXPECT_EQ(rig.Count("CREATE OR REPLACE"), 1);
  EXPECT_NE(report.find("CREATE OR REPLACE PACKAGE BODY GOOD\r\nbody\r\n/\r\n"), std::string::npos);
}

TEST(SourcePhaseTest, PauseHoldsTheKindBetweenObjectsAndStopEndsIt) {
  FixedSourceLists lists({{"FUNC", {"F1", "F2", "F3"}}});
  RecordedTexts texts;
  SourceRig rig(lists, texts);
  // The user pauses while the first and the second object's source is read.
  texts.onFetch = [&](const std::string& name) {
    if (name != "F3") {
      rig.flags.Paused = 1;
    }
  };
  bool stopped = false;
  std::thread worker([&] {
    try {
      rig.phase.ScriptSourceKind("FUNC");
    } catch (...) {
      stopped = true;
    }
  });
  ASSERT_TRUE(rig.host.WaitForEvent("status Creating script for function: F1"));
  std::this_thread::sleep_for(std::chrono::milliseconds(250));
  EXPECT_EQ(rig.host.EventsStartingWith("status Creating").size(), 1u);
  rig.flags.Paused = 0;
  ASSERT_TRUE(rig.host.WaitForEvent("status Creating script for function: F2"));
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  rig.flags.Running = 0;
  worker.join();
  EXPECT_TRUE(stopped);
  EXPECT_EQ(texts.asked.back(), "APP.F2 FUNCTION");
  EXPECT_NE(rig.Report().find("CREATE OR REPLACE FUNCTION F1"), std::string::npos);
  EXPECT_NE(rig.Report().find("Quillmark Stopped ..."), std::string::npos);
}

TEST(SourcePhaseTest, ASectionWritesItsKindsTogetherInDependencyOrder) {
  FixedSourceLists lists({{"FUNC", {"ZED_RATE"}},
                          {"STP", {"ADD_ORDER", "AUDIT_IT"}},
                          {"PKG", {"BILLING", "EXCLUDED_PKG"}}});
  RecordedTexts texts;
  FixedDependencies dependencies;
  // ADD_ORDER calls the package, which calls the function.
  dependencies.dependencies = {{{"PROCEDURE", "ADD_ORDER"}, {"PACKAGE", "BILLING"}},
                               {{"PACKAGE", "BILLING"}, {"FUNCTION", "ZED_RATE"}},
                               {{"PACKAGE BODY", "BILLING"}, {"PROCEDURE", "AUDIT_IT"}}};
  SourceRig rig(lists, texts, &dependencies);
  rig.settings.ExcludedPackages = {"EXCLUDED_PKG"};
  rig.phase.ScriptSourceSection({"FUNC", "STP", "PKG"});
  EXPECT_EQ(texts.asked,
            (std::vector<std::string>{"APP.ZED_RATE FUNCTION", "APP.AUDIT_IT PROCEDURE",
                                      "APP.BILLING PACKAGE", "APP.ADD_ORDER PROCEDURE"}));
  EXPECT_EQ(dependencies.owners, std::vector<std::string>{"APP"});
  const std::string report = rig.Report();
  // Every kind keeps its summary banner, all of them ahead of the objects,
  // and the excluded package is still listed.
  const std::size_t lastSummary = report.find("2 packages were found in APP@TEST");
  ASSERT_NE(lastSummary, std::string::npos) << report;
  EXPECT_LT(report.find("1 function was found in"), lastSummary);
  EXPECT_LT(report.find("2 stored procedures were found in"), lastSummary);
  EXPECT_LT(lastSummary, report.find("CREATE OR REPLACE FUNCTION ZED_RATE"));
  EXPECT_NE(report.find("were not processed in APP@TEST\r\n*\r\n*  \t\tEXCLUDED_PKG"),
            std::string::npos);
  EXPECT_EQ(report.find("-- "), std::string::npos) << "no remark expected: " << report;
  EXPECT_EQ(rig.host.EventsStartingWith("range").back(), "range 0..15");
}

TEST(SourcePhaseTest, WhatUsesAMaterializedViewWaitsForTheSecondPass) {
  FixedSourceLists lists({{"FUNC", {"TOP_AMOUNT"}}, {"VIEW", {"PLAIN_V", "TOTALS_V", "TOP_V"}}});
  RecordedTexts texts;
  FixedDependencies dependencies;
  // TOTALS_V reads a materialized view, TOP_AMOUNT reads TOTALS_V and
  // TOP_V calls TOP_AMOUNT; PLAIN_V needs nothing.
  dependencies.dependencies = {{{"VIEW", "TOTALS_V"}, {"MATERIALIZED VIEW", "TOTALS_MV"}},
                               {{"FUNCTION", "TOP_AMOUNT"}, {"VIEW", "TOTALS_V"}},
                               {{"VIEW", "TOP_V"}, {"FUNCTION", "TOP_AMOUNT"}}};
  SourceRig rig(lists, texts, &dependencies);
  rig.phase.ScriptSourceSection({"FUNC", "VIEW"}, SourcePass::BeforeMaterializedViews);
  EXPECT_EQ(texts.asked, std::vector<std::string>{"APP.PLAIN_V VIEW"});
  const std::string before = rig.Report();
  EXPECT_NE(before.find("3 views were found in"), std::string::npos) << before;
  rig.phase.ScriptSourceSection({"FUNC", "VIEW"}, SourcePass::OnMaterializedViews);
  EXPECT_EQ(texts.asked, (std::vector<std::string>{"APP.PLAIN_V VIEW", "APP.TOTALS_V VIEW",
                                                   "APP.TOP_AMOUNT FUNCTION", "APP.TOP_V VIEW"}));
  // The second pass writes no summary of its own.
  EXPECT_EQ(rig.Count(" found in "), 2);
}

// Materialized views by name; what is written goes to the same list of
// requests as the definitions, so that the test sees one order.
class RecordedMaterializedViews final : public MaterializedViewWriter {
 public:
  RecordedMaterializedViews(std::vector<std::string> names, std::vector<std::string>& written)
      : names_(std::move(names)), written_(written) {}

  std::vector<std::string> Names() override { return names_; }
  void Write(const std::string& name) override { written_.push_back(name + " MVIEW"); }

 private:
  std::vector<std::string> names_;
  std::vector<std::string>& written_;
};

TEST(SourcePhaseTest, MaterializedViewsStandAmongWhatTheyNeedAndWhatNeedsThem) {
  // A_TOP_MV reads TOP_V, which reads COUNTS_MV, which calls COUNT_OF, which
  // reads BASE_V; LONE_MV needs nothing of the schema's code.
  FixedSourceLists lists({{"FUNC", {"COUNT_OF"}}, {"VIEW", {"BASE_V", "TOP_V"}}});
  RecordedTexts texts;
  FixedDependencies dependencies;
  dependencies.dependencies = {{{"MATERIALIZED VIEW", "A_TOP_MV"}, {"VIEW", "TOP_V"}},
                               {{"VIEW", "TOP_V"}, {"MATERIALIZED VIEW", "COUNTS_MV"}},
                               {{"MATERIALIZED VIEW", "COUNTS_MV"}, {"FUNCTION", "COUNT_OF"}},
                               {{"FUNCTION", "COUNT_OF"}, {"VIEW", "BASE_V"}}};
  RecordedMaterializedViews views({"A_TOP_MV", "COUNTS_MV", "LONE_MV"}, texts.asked);
  SourceRig rig(lists, texts, &dependencies);
  rig.phase.WriteMaterializedViewsWith(&views);
  rig.phase.ScriptSourceSection({"FUNC", "VIEW"}, SourcePass::BeforeMaterializedViews);
  EXPECT_EQ(texts.asked, (std::vector<std::string>{"APP.BASE_V VIEW", "APP.COUNT_OF FUNCTION"}));
  rig.phase.ScriptSourceSection({"FUNC", "VIEW"}, SourcePass::OnMaterializedViews);
  EXPECT_EQ(texts.asked,
            (std::vector<std::string>{"APP.BASE_V VIEW", "APP.COUNT_OF FUNCTION", "COUNTS_MV MVIEW",
                                      "APP.TOP_V VIEW", "A_TOP_MV MVIEW", "LONE_MV MVIEW"}));
  // Without dependencies the second pass still writes every materialized view.
  RecordedTexts plainTexts;
  RecordedMaterializedViews plainViews({"A_TOP_MV", "LONE_MV"}, plainTexts.asked);
  SourceRig plain(lists, plainTexts);
  plain.phase.WriteMaterializedViewsWith(&plainViews);
  plain.phase.ScriptSourceSection({"FUNC", "VIEW"}, SourcePass::OnMaterializedViews);
  EXPECT_EQ(plainTexts.asked, (std::vector<std::string>{"A_TOP_MV MVIEW", "LONE_MV MVIEW"}));
}

TEST(SourcePhaseTest, TypesThatNeedEachOtherAreDeclaredFirstAndTheCycleRemarked) {
  FixedSourceLists lists(Lists{{"TYPE", {"DEPT_T", "EMP_T", "MANAGER_T", "ADDRESS_T"}}});
  RecordedTexts texts;
  FixedDependencies dependencies;
  dependencies.dependencies = {{{"TYPE", "MANAGER_T"}, {"TYPE", "EMP_T"}},
                               {{"TYPE", "EMP_T"}, {"TYPE", "DEPT_T"}},
                               {{"TYPE", "DEPT_T"}, {"TYPE", "EMP_T"}},
                               {{"TYPE", "EMP_T"}, {"TYPE", "ADDRESS_T"}}};
  SourceRig rig(lists, texts, &dependencies);
  const std::string report = rig.Script({"TYPE"});
  EXPECT_EQ(texts.asked, (std::vector<std::string>{"APP.ADDRESS_T TYPE", "APP.DEPT_T TYPE",
                                                   "APP.EMP_T TYPE", "APP.MANAGER_T TYPE"}));
  const std::size_t remark = report.find(
      "-- These objects depend on each other in a cycle: type EMP_T -> type DEPT_T -> type "
      "EMP_T. ");
  const std::size_t declaration = report.find("types that other types need before them" +
                                              BannerClose + "CREATE TYPE EMP_T;\r\n/\r\n");
  ASSERT_NE(remark, std::string::npos) << report;
  ASSERT_NE(declaration, std::string::npos) << report;
  EXPECT_LT(remark, declaration);
  EXPECT_LT(declaration, report.find("CREATE OR REPLACE TYPE ADDRESS_T"));
  EXPECT_EQ(rig.Count("CREATE TYPE "), 1);
  // A remark is not an object that could not be scripted.
  EXPECT_EQ(rig.unscripted.Count(), 0u);
  EXPECT_EQ(dependencies.owners, std::vector<std::string>{"APP with supertypes"});
}

TEST(SourcePhaseTest, DependenciesThatCannotBeReadLeaveNameOrderWithARemark) {
  FixedSourceLists lists(Lists{{"VIEW", {"V_TOP", "V_BASE"}}});
  RecordedTexts texts;
  FixedDependencies dependencies;
  dependencies.failure = "ORA-00942: table or view does not exist";
  SourceRig rig(lists, texts, &dependencies);
  const std::string report = rig.Script({"VIEW"});
  EXPECT_NE(report.find("-- The dependencies between these objects could not all be read "
                        "(ORA-00942: table or view does not exist); objects without them stand "
                        "in the order of their kinds and names.\r\n"),
            std::string::npos)
      << report;
  EXPECT_EQ(texts.asked, (std::vector<std::string>{"APP.V_TOP VIEW", "APP.V_BASE VIEW"}));

  // One object needs no order: the dependencies are not even read.
  FixedSourceLists single(Lists{{"VIEW", {"V_ONLY"}}});
  SourceRig alone(single, texts, &dependencies);
  alone.Script({"VIEW"});
  EXPECT_EQ(dependencies.owners.size(), 1u);
  EXPECT_EQ(alone.Report().find("-- "), std::string::npos);
}

}  // namespace
