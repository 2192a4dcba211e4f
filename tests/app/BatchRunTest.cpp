// Headless runs against the sandbox's demo database: each exit status, the
// report in a file or on the output stream, and the settings left as stored.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/BatchRun.h"
#include "app/HeadlessMain.h"
#include "engine/RunSettings.h"
#include "tests/oracle/SandboxClient.h"

namespace {

constexpr const char* ClosingLine = "--- End of Quillmark for Oracle --- Elapsed Time: ";

class BatchRunTest : public ::testing::Test {
 protected:
  int Run(const std::string& connect, const std::string& report = {},
          std::vector<std::string> kinds = BatchKindNames()) {
    BatchOptions options;
    options.Batch = true;
    options.ConnectString = connect;
    options.ReportFile = report;
    options.Kinds = std::move(kinds);
    return RunBatch(options, *settings, output, errors);
  }

  static std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }

  std::unique_ptr<MemorySettingsStore> settings = SandboxSettings();
  std::ostringstream output;
  std::ostringstream errors;
  std::filesystem::path directory =
      std::filesystem::temp_directory_path() /
      ("quillmark-batch-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());

  void SetUp() override { std::filesystem::create_directories(directory); }
  void TearDown() override { std::filesystem::remove_all(directory); }
};

TEST_F(BatchRunTest, DemoRunWritesHeaderAndClosingLineToTheReportFile) {
  const std::filesystem::path report = directory / "demo.sql";
  ASSERT_EQ(Run("DEMO/demo@demo", report.string()), BatchFinished) << errors.str();
  const std::string text = ReadFile(report);
  EXPECT_EQ(text.rfind("/*****", 0), 0u) << text.substr(0, 200);
  EXPECT_NE(text.find("*  SOURCE DATABASE:  DEMO@DEMO\r\n"), std::string::npos);
  EXPECT_NE(text.find(ClosingLine), std::string::npos);
  EXPECT_EQ(output.str(), "");
  EXPECT_NE(errors.str().find("Quillmark for Oracle has finished scripting the database"),
            std::string::npos);
}

TEST_F(BatchRunTest, WithoutReportFileTheReportGoesToTheOutput) {
  ASSERT_EQ(Run("REPORT:DEMO/demo@demo"), BatchReportIncomplete) << errors.str();
  EXPECT_NE(output.str().find("SOURCE DATABASE:  REPORT:DEMO@DEMO"), std::string::npos);
  EXPECT_NE(output.str().find(ClosingLine), std::string::npos);
  // DEMO may not read another user's privileges (dba_ views): the run says
  // that they are missing rather than write DEMO's own.
  EXPECT_NE(errors.str().find("LIST OF SYSTEM PRIVILEGES REPORT: ORA-00942"), std::string::npos)
      << errors.str();
  EXPECT_EQ(output.str().find("GRANT CREATE SESSION TO REPORT WITH ADMIN OPTION"),
            std::string::npos);
}

TEST_F(BatchRunTest, KindsAreForTheRunOnlyNotWrittenBack) {
  settings->SetInt(SettingsSection, "dst", 1);
  settings->SetInt(SettingsSection, "dda", 1);
  ASSERT_EQ(Run("DEMO/demo@demo", {}, {"sequences"}), BatchFinished) << errors.str();
  EXPECT_EQ(settings->GetInt(SettingsSection, "dst", -1), 1);
  EXPECT_EQ(settings->GetInt(SettingsSection, "dda", -1), 1);
}

TEST_F(BatchRunTest, NoConnectionEndsWithStatusThree) {
  EXPECT_EQ(Run("DEMO/wrong@demo"), BatchNoConnection);
  EXPECT_NE(errors.str().find("ORA-01017"), std::string::npos) << errors.str();
  EXPECT_EQ(Run("DEMO/demo@nowhere"), BatchNoConnection);
  EXPECT_EQ(output.str(), "");

  // No usable client library at all: still a plain "no connection".
  settings->SetString(SettingsSection, "OCIDLL", (directory / "missing.so").string());
  EXPECT_EQ(Run("DEMO/demo@demo"), BatchNoConnection);
}

TEST_F(BatchRunTest, PasswordComesFromTheEnvironment) {
  ::setenv("QUILLMARK_PASSWORD", "demo", 1);
  EXPECT_EQ(Run("DEMO@demo"), BatchFinished) << errors.str();
  ::setenv("QUILLMARK_PASSWORD", "  ", 1);
  EXPECT_EQ(Run("DEMO@demo"), BatchNoConnection);
  EXPECT_NE(errors.str().find("Please enter a password."), std::string::npos);
  ::unsetenv("QUILLMARK_PASSWORD");
}

TEST_F(BatchRunTest, UnwritableReportEndsWithStatusFourAndLosesNothing) {
  const std::filesystem::path report = directory / "no-such-folder" / "demo.sql";
  EXPECT_EQ(Run("DEMO/demo@demo", report.string()), BatchReportNotWritten);
  EXPECT_FALSE(std::filesystem::exists(report));
  EXPECT_NE(output.str().find("SOURCE DATABASE:  DEMO@DEMO"), std::string::npos);
  EXPECT_NE(output.str().find(ClosingLine), std::string::npos);
}

TEST_F(BatchRunTest, BadArgumentsEndWithStatusTwoAndHelpWithZero) {
  EXPECT_EQ(HeadlessMain({"--batch", "--kinds", "everything", "--connect", "u/p@d"}),
            BatchBadArguments);
  EXPECT_EQ(HeadlessMain({"--batch"}), BatchBadArguments);
  EXPECT_EQ(HeadlessMain({"--help"}), BatchFinished);
}

}  // namespace
