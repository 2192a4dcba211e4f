// Test support for replay tests: headless runs of a schema in the sandbox,
// their reports run into a fresh database as a DBA would, and the
// dictionaries of both compared.
#pragma once

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "app/BatchOptions.h"
#include "tests/sandbox/oci/RunProgram.h"
#include "tests/scripting/DictionarySnapshot.h"

std::string ReadWholeFile(const std::filesystem::path& path);

class ReplayFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Options of a headless run of kinds as schema on database.
  static BatchOptions RunOptions(const std::string& schema, const std::string& password,
                                 const std::string& database, std::vector<std::string> kinds);

  // The report of a headless run of every kind as schema on database; what
  // the run wrote to standard error goes to errorText when one is given.
  // The run must end with status.
  std::string ScriptEverything(const std::string& schema, const std::string& password,
                               const std::string& database,
                               std::vector<std::string> kinds = BatchKindNames(),
                               std::string* errorText = nullptr, int status = BatchFinished);

  // Runs report into a fresh database as a DBA would: the schema and the
  // users and roles its grants name (setup) are created first, then what
  // other schemas grant it (received), and the schema becomes the current
  // one. Returns the runner's result without its notes on the SQL tool's
  // commands it skipped.
  sandbox::testing::RunResult Replay(const std::string& schema, const std::string& password,
                                     const std::string& report, const std::string& database,
                                     const std::string& setup = "",
                                     const std::string& received = "");

  static DictionarySnapshot Snapshot(const std::string& schema, const std::string& password,
                                     const std::string& database,
                                     const std::vector<DictionaryView>& views);

  std::filesystem::path directory =
      std::filesystem::temp_directory_path() /
      ("quillmark-restore-" + std::to_string(::getpid()) + "-" +
       std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  int reports = 0;
};
