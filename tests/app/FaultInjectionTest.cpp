// Headless demo runs with the connection broken just before the n-th execute
// and, separately, the n-th fetch: each run must give the complete report, or
// exit with status 5 naming every object whose script is missing.
//
// The default build breaks every call of a run of all kinds. Under the
// sanitizers a run costs many times more, so there the test breaks a fixed
// sample instead: each kind is run alone, and its first, middle and last
// execute and fetch are broken. Every phase and every kind is still visited,
// at its start, in its stride and at its end.
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

BatchResult RunDemo(MemorySettingsStore& settings, const std::vector<std::string>& kinds) {
  BatchOptions options;
  options.Batch = true;
  options.ConnectString = "DEMO/demo@demo";
  options.Kinds = kinds;
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

// The call numbers to break, of count calls of one kind: all of them, or the
// first, the middle and the last.
std::vector<int> CallsToBreak(int count, bool sample) {
  std::vector<int> calls;
  for (int n = 1; n <= count; ++n) {
    if (!sample || n == 1 || n == (count + 1) / 2 || n == count) {
      calls.push_back(n);
    }
  }
  return calls;
}

// Breaks each chosen execute and fetch of a run of kinds in turn, comparing
// every run with an unbroken one.
void SweepBrokenCalls(MemorySettingsStore& settings, const std::vector<std::string>& kinds,
                      bool sample) {
  BreakSandboxAtCall(Demo, 0, 0);
  BreakSandboxAtCall(Demo, 1, 0);
  const BatchResult reference = RunDemo(settings, kinds);
  ASSERT_EQ(reference.status, BatchFinished) << reference.errors;
  const int executes = BreakSandboxAtCall(Demo, 0, 0);
  const int fetches = BreakSandboxAtCall(Demo, 1, 0);
  ASSERT_GT(executes, 0);
  ASSERT_GT(fetches, 0);

  int incomplete = 0;
  for (const int call : {0, 1}) {
    for (const int n : CallsToBreak(call == 0 ? executes : fetches, sample)) {
      SCOPED_TRACE((call == 0 ? "execute " : "fetch ") + std::to_string(n));
      BreakSandboxAtCall(Demo, call, n);
      const BatchResult run = RunDemo(settings, kinds);
      BreakSandboxAtCall(Demo, call, 0);
      ExpectCompleteOrNamed(reference, run);
      incomplete += run.status == BatchFinished ? 0 : 1;
    }
  }
  // One lost connection is always restored: no run may lose anything.
  EXPECT_EQ(incomplete, 0);
}

#ifndef QUILLMARK_SANITIZED
TEST(FaultInjectionTest, EveryBrokenCallGivesTheCompleteReportOrNamesWhatIsMissing) {
  std::unique_ptr<MemorySettingsStore> settings = SandboxSettings();
  SweepBrokenCalls(*settings, BatchKindNames(), false);
}
#else
TEST(FaultInjectionTest, SampledBrokenCallsOfEveryKindGiveTheCompleteReportOrNameWhatIsMissing) {
  std::unique_ptr<MemorySettingsStore> settings = SandboxSettings();
  for (const std::string& kind : BatchKindNames()) {
    SCOPED_TRACE(kind);
    SweepBrokenCalls(*settings, {kind}, true);
  }
}
#endif

}  // namespace
