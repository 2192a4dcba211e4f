// Test support for replay tests.
#include "tests/scripting/restore/ReplayFixture.h"

#include <fstream>
#include <sstream>

#include "app/BatchRun.h"
#include "tests/oracle/SandboxClient.h"

namespace fs = std::filesystem;

std::string ReadWholeFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

void ReplayFixture::SetUp() {
  fs::create_directories(directory);
}

void ReplayFixture::TearDown() {
  fs::remove_all(directory);
}

BatchOptions ReplayFixture::RunOptions(const std::string& schema, const std::string& password,
                                       const std::string& database,
                                       std::vector<std::string> kinds) {
  BatchOptions options;
  options.Batch = true;
  // The schema prefix keeps the ":" of the connect identifier out of it.
  options.ConnectString = schema + ":" + schema + "/" + password + "@" + database;
  options.Kinds = std::move(kinds);
  return options;
}

std::string ReplayFixture::ScriptEverything(const std::string& schema, const std::string& password,
                                            const std::string& database,
                                            std::vector<std::string> kinds, std::string* errorText,
                                            int status) {
  auto settings = SandboxSettings();
  BatchOptions options = RunOptions(schema, password, database, std::move(kinds));
  const fs::path report = directory / ("report-" + std::to_string(++reports) + ".sql");
  options.ReportFile = report.string();
  std::ostringstream output;
  std::ostringstream errors;
  EXPECT_EQ(RunBatch(options, *settings, output, errors), status) << errors.str();
  if (errorText != nullptr) {
    *errorText = errors.str();
  }
  return ReadWholeFile(report);
}

sandbox::testing::RunResult ReplayFixture::Replay(
    const std::string& schema, const std::string& password, const std::string& report,
    const std::string& database, const std::string& setup, const std::string& received) {
  sandbox::testing::RunResult result = sandbox::testing::RunScript(
      "SYSTEM/manager@" + database,
      setup + "create user " + schema + " identified by " + password + ";\n" + received +
          "alter session set current_schema = " + schema + ";\n" + report);
  std::istringstream lines(result.output);
  result.output.clear();
  for (std::string line; std::getline(lines, line);) {
    if (line.find(": skipped, a command of the SQL tool") == std::string::npos) {
      result.output += line + "\n";
    }
  }
  return result;
}

DictionarySnapshot ReplayFixture::Snapshot(const std::string& schema, const std::string& password,
                                           const std::string& database,
                                           const std::vector<DictionaryView>& views) {
  SandboxClient client;
  EXPECT_TRUE(client.session->Connect(schema, password, database, true, true));
  return TakeDictionarySnapshot(*client.session, views);
}
