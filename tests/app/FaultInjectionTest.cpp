// Headless demo runs with the connection broken just before the n-th execute
// and, separately, the n-th fetch, for every n of an unbroken run: each run
// must give the complete report, or exit with status 5 naming every object
// whose script is missing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "app/BatchRun.h"
#include "tests/oracle/SandboxClient.h"

namespace {

constexpr const char* Demo = "demo";

struct BatchResult {
  int status = 0;
  std::string report;
  std::string errors;
};

BatchResult RunDemo(MemorySettingsStore& settings) {
  BatchOptions options;
  options.Batch = true;
  options.ConnectString = "DEMO/demo@demo";
  options.Kinds = BatchKindNames();
  const std::filesystem::path report =
      std::filesystem::temp_directory_path() /
      ("quillmark-fault-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
       ".sql");
  options.ReportFile = report.string();
  std::ostringstream output;
  std::ostringstream errors;
  BatchResult result;
  result.status = RunBatch(options, settings, output, errors);
  std::ifstream file(report, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf() << output.str();
  std::filesystem::remove(report);
  result.report = std::regex_replace(text.str(), std::regex("Date: [^\r]*|Time: [0-9:]+"), "");
  result.errors = errors.str();
  return result;
}

// "TABLE X", "INDEX X", "CONSTRAINT X" for every script section of a report.
std::set<std::string> ScriptedObjects(const std::string& report) {
  static const std::regex section(
      "(The following statement will create the table |"
      "The following statements will create the (indexes|constraints) for table )([^\r]+)");
  std::set<std::string> objects;
  for (std::sregex_iterator at(report.begin(), report.end(), section), end; at != end; ++at) {
    const std::string kind = (*at)[2] == "indexes"       ? "INDEX"
                             : (*at)[2] == "constraints" ? "CONSTRAINT"
                                                         : "TABLE";
    objects.insert(kind + " " + (*at)[3].str());
  }
  return objects;
}

void ExpectCompleteOrNamed(const BatchResult& reference, const BatchResult& run) {
  if (run.status == BatchFinished) {
    EXPECT_EQ(run.report, reference.report) << run.errors;
    return;
  }
  ASSERT_EQ(run.status, BatchReportIncomplete) << run.errors;
  EXPECT_NE(run.errors.find("could not be scripted:"), std::string::npos) << run.errors;
  EXPECT_NE(run.report.find("could not be scripted:"), std::string::npos);
  const std::set<std::string> scripted = ScriptedObjects(run.report);
  for (const std::string& object : ScriptedObjects(reference.report)) {
    if (scripted.count(object) == 0) {
      EXPECT_NE(run.errors.find("quillmark:   " + object + ":"), std::string::npos)
          << object << " is missing and not named:\n"
          << run.errors;
    }
  }
}

TEST(FaultInjectionTest, EveryBrokenCallGivesTheCompleteReportOrNamesWhatIsMissing) {
  std::unique_ptr<MemorySettingsStore> settings = SandboxSettings();
  BreakSandboxAtCall(Demo, 0, 0);
  BreakSandboxAtCall(Demo, 1, 0);
  const BatchResult reference = RunDemo(*settings);
  ASSERT_EQ(reference.status, BatchFinished) << reference.errors;
  ASSERT_GE(ScriptedObjects(reference.report).size(), 3u);
  const int executes = BreakSandboxAtCall(Demo, 0, 0);
  const int fetches = BreakSandboxAtCall(Demo, 1, 0);
  ASSERT_GT(executes, 10);
  ASSERT_GT(fetches, 0);

  int incomplete = 0;
  for (const int call : {0, 1}) {
    for (int n = 1; n <= (call == 0 ? executes : fetches); ++n) {
      SCOPED_TRACE((call == 0 ? "execute " : "fetch ") + std::to_string(n));
      BreakSandboxAtCall(Demo, call, n);
      const BatchResult run = RunDemo(*settings);
      BreakSandboxAtCall(Demo, call, 0);
      ExpectCompleteOrNamed(reference, run);
      incomplete += run.status == BatchFinished ? 0 : 1;
    }
  }
  // One lost connection is always restored: no run may lose anything.
  EXPECT_EQ(incomplete, 0);
}

}  // namespace
