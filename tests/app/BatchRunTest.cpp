// Headless runs against the sandbox's demo database: each exit status, the
// report in a file or on the output stream, and the settings left as stored.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/BatchRun.h"
#include "app/HeadlessMain.h"
#include "config/ConfigurationFile.h"
#include "engine/RunSettings.h"
#include "tests/oracle/SandboxClient.h"

namespace {

constexpr const char* ClosingLine = "--- End of Quillmark for Oracle --- Elapsed Time: ";

// Standard output sent to a file while it lives: the report is streamed to
// the descriptor, not to the output stream given to the run.
class CapturedStandardOutput {
 public:
  explicit CapturedStandardOutput(const std::filesystem::path& file) : file_(file) {
    std::fflush(stdout);
    saved_ = ::dup(STDOUT_FILENO);
    const int descriptor = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ::dup2(descriptor, STDOUT_FILENO);
    ::close(descriptor);
  }
  ~CapturedStandardOutput() { Release(); }
  CapturedStandardOutput(const CapturedStandardOutput&) = delete;
  CapturedStandardOutput& operator=(const CapturedStandardOutput&) = delete;

  // Restores standard output and returns what was written to it.
  std::string Release() {
    if (saved_ >= 0) {
      std::fflush(stdout);
      ::dup2(saved_, STDOUT_FILENO);
      ::close(saved_);
      saved_ = -1;
    }
    std::ifstream in(file_, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

 private:
  std::filesystem::path file_;
  int saved_ = -1;
};

class BatchRunTest : public ::testing::Test {
 protected:
  int Run(const std::string& connect, const std::string& report = {},
          std::vector<std::string> kinds = BatchKindNames()) {
    BatchOptions options;
    options.Batch = true;
    options.ConnectString = connect;
    // Reports are kept out of the test's own standard output.
    options.ReportFile = report.empty() ? (directory / "report.sql").string() : report;
    options.Kinds = std::move(kinds);
    return RunBatch(options, *settings, output, errors);
  }

  // A run whose report goes to standard output, which is captured.
  int RunToStandardOutput(BatchOptions options, std::string& streamed) {
    options.Batch = true;
    CapturedStandardOutput captured(directory / "stdout.txt");
    const int status = RunBatch(options, *settings, output, errors);
    streamed = captured.Release();
    return status;
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
  EXPECT_EQ(text.rfind("SET DEFINE OFF\r\n/*****", 0), 0u) << text.substr(0, 200);
  EXPECT_NE(text.find("*  SOURCE DATABASE:  DEMO@demo\r\n"), std::string::npos);
  EXPECT_NE(text.find(ClosingLine), std::string::npos);
  EXPECT_EQ(std::filesystem::status(report).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
  EXPECT_EQ(output.str(), "");
  EXPECT_NE(errors.str().find("Quillmark for Oracle has finished scripting the database"),
            std::string::npos);
}

TEST_F(BatchRunTest, AnotherSchemasPrivilegesThatCannotBeReadAreReportedMissing) {
  ASSERT_EQ(Run("REPORT:DEMO/demo@demo"), BatchReportIncomplete) << errors.str();
  const std::string text = ReadFile(directory / "report.sql");
  EXPECT_NE(text.find("SOURCE DATABASE:  REPORT:DEMO@demo"), std::string::npos);
  EXPECT_NE(text.find(ClosingLine), std::string::npos);
  // DEMO may not read another user's privileges (dba_ views): the run says
  // that they are missing rather than write DEMO's own.
  EXPECT_NE(errors.str().find("LIST OF SYSTEM PRIVILEGES REPORT: ORA-00942"), std::string::npos)
      << errors.str();
  EXPECT_EQ(text.find("GRANT CREATE SESSION TO REPORT WITH ADMIN OPTION"), std::string::npos);
}

TEST_F(BatchRunTest, ViewsKindWritesTheDemoViewsAndNoOtherKind) {
  ASSERT_EQ(Run("DEMO/demo@demo", {}, {"views"}), BatchFinished) << errors.str();
  const std::string report = ReadFile(directory / "report.sql");
  EXPECT_NE(report.find("*  3 views were found in DEMO@demo"), std::string::npos);
  for (const char* view : {"DEPARTMENT_BUDGET", "EMPLOYEE_DIRECTORY", "OPEN_ORDERS"}) {
    EXPECT_NE(report.find(std::string("CREATE OR REPLACE VIEW ") + view + " ("), std::string::npos)
        << view;
  }
  const std::size_t summary = report.find("were found in");
  EXPECT_EQ(report.find("were found in", summary + 1), std::string::npos);
  EXPECT_EQ(report.find("TRIGGER"), std::string::npos);
}

TEST_F(BatchRunTest, WithoutReportFileOrWithDashTheReportIsStreamedToStandardOutput) {
  for (const std::string report : {"", "-"}) {
    BatchOptions options;
    options.ConnectString = "DEMO/demo@demo";
    options.ReportFile = report;
    options.Kinds = {"data"};
    std::string streamed;
    ASSERT_EQ(RunToStandardOutput(options, streamed), BatchFinished) << errors.str();
    EXPECT_NE(streamed.find("SOURCE DATABASE:  DEMO@demo"), std::string::npos);
    EXPECT_NE(streamed.find("INSERT INTO DEPARTMENTS ( \"DEPT_ID\", \"DEPT_NAME\""),
              std::string::npos)
        << streamed.substr(0, 2000);
    EXPECT_NE(streamed.find(ClosingLine), std::string::npos);
    EXPECT_EQ(output.str(), "");
  }
}

TEST_F(BatchRunTest, QueryAndQueryFileScriptTheRowsOfOneQuery) {
  BatchOptions options;
  options.ConnectString = "DEMO/demo@demo";
  options.Query = "select * from departments where dept_id = 50";
  std::string streamed;
  ASSERT_EQ(RunToStandardOutput(options, streamed), BatchFinished) << errors.str();
  EXPECT_NE(streamed.find("*  select * from departments where dept_id = 50\r\n"),
            std::string::npos);
  EXPECT_NE(streamed.find("INSERT INTO DEPARTMENTS ( \"DEPT_ID\", \"DEPT_NAME\", \"LOCATION\", "
                          "\"BUDGET\", \"CREATED\")\r\nVALUES ( 50, 'Customer''s Care', NULL, "),
            std::string::npos)
      << streamed;
  EXPECT_EQ(streamed.find("CREATE TABLE"), std::string::npos);

  const std::filesystem::path queryFile = directory / "query.sql";
  std::ofstream(queryFile) << "SELECT DEPT_NAME\nFROM DEPARTMENTS\nWHERE DEPT_ID = 10\n";
  options.Query.clear();
  options.QueryFile = queryFile.string();
  options.ReportFile = (directory / "query-report.sql").string();
  ASSERT_EQ(RunBatch(options, *settings, output, errors), BatchFinished) << errors.str();
  const std::string report = ReadFile(options.ReportFile);
  EXPECT_NE(report.find("*  SELECT DEPT_NAME\r\n*  FROM DEPARTMENTS\r\n"), std::string::npos);
  EXPECT_NE(report.find("INSERT INTO DEPARTMENTS ( \"DEPT_NAME\")\r\nVALUES ( 'Accounting');"),
            std::string::npos)
      << report;

  options.QueryFile = (directory / "missing.sql").string();
  EXPECT_EQ(RunBatch(options, *settings, output, errors), BatchBadArguments);
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

// Passwords with "@", "/" and ":" reach the server whole through the password
// file, the environment and a connect string that holds only a ":"; no
// message ever shows a password.
TEST_F(BatchRunTest, AnyPasswordWorksOutsideTheConnectStringAndNoneIsShown) {
  const std::string database = "file:" + (directory / "odd.db").string();
  SandboxClient system;
  system.ConnectAsSystem(database);
  ASSERT_TRUE(system.session->ExecuteSql("create user odd identified by \"p@ss/w:rd\""));
  ASSERT_TRUE(system.session->ExecuteSql("create user colon identified by \"a:b\""));
  ASSERT_TRUE(system.session->ExecuteSql("grant connect, resource to odd, colon"));

  const std::filesystem::path passwordFile = directory / "password";
  std::ofstream(passwordFile) << "p@ss/w:rd\r\nsecond line\n";
  auto run = [&](const std::string& connect, const std::string& file) {
    BatchOptions options;
    options.Batch = true;
    options.ConnectString = connect;
    options.PasswordFile = file;
    options.Kinds = {"tables"};
    return RunBatch(options, *settings, output, errors);
  };
  EXPECT_EQ(run("ODD@" + database, passwordFile.string()), BatchFinished) << errors.str();
  ::setenv("QUILLMARK_PASSWORD", "p@ss/w:rd", 1);
  EXPECT_EQ(run("ODD@" + database, ""), BatchFinished) << errors.str();
  ::unsetenv("QUILLMARK_PASSWORD");
  EXPECT_EQ(run("COLON/a:b@" + database, ""), BatchFinished) << errors.str();

  EXPECT_EQ(run("ODD/wrong:pw@" + database, ""), BatchNoConnection);
  EXPECT_EQ(run("DEMO/secret@dbhost:1521/orclpdb", ""), BatchNoConnection);
  EXPECT_NE(errors.str().find("database 'dbhost:1521/orclpdb'"), std::string::npos) << errors.str();
  EXPECT_EQ(run("ODD@" + database, directory.string()), BatchNoConnection);
  EXPECT_NE(errors.str().find("cannot read the password file"), std::string::npos);
  for (const char* secret : {"p@ss", "wrong:pw", "secret", "a:b"}) {
    EXPECT_EQ(errors.str().find(secret), std::string::npos) << secret << " in " << errors.str();
  }
}

// A password holding "@" splits at the last "@" (or is quoted); messages name
// only the database, never a piece of what stands before it.
TEST_F(BatchRunTest, ConnectStringPasswordWithAtSignsConnectsAndStaysHidden) {
  const std::string database = "file:" + (directory / "at.db").string();
  SandboxClient system;
  system.ConnectAsSystem(database);
  ASSERT_TRUE(system.session->ExecuteSql("create user atsign identified by \"Pa@ss@x\""));
  ASSERT_TRUE(system.session->ExecuteSql("grant connect, resource to atsign"));
  for (const std::string& connect :
       {"ATSIGN/Pa@ss@x@" + database, "ATSIGN/\"Pa@ss@x\"@" + database}) {
    EXPECT_EQ(Run(connect, {}, {"tables"}), BatchFinished) << connect << errors.str();
  }
  EXPECT_EQ(Run("ATSIGN/Pa@ss@wrong@" + database, {}, {"tables"}), BatchNoConnection);
  EXPECT_EQ(Run("USER/Pa@ss@nowhere", {}, {"tables"}), BatchNoConnection);
  EXPECT_NE(errors.str().find("database 'nowhere'"), std::string::npos) << errors.str();
  EXPECT_EQ(errors.str().find("ss@"), std::string::npos) << errors.str();
  EXPECT_EQ(errors.str().find("Pa@"), std::string::npos) << errors.str();
}

// Schema prefixes fold as Oracle folds names; one naming no schema the user
// can see ends the run before anything is written.
TEST_F(BatchRunTest, SchemaPrefixIsFoldedAndMustNameAVisibleSchema) {
  EXPECT_EQ(Run("report:demo/demo@demo", {}, {"sequences"}), BatchFinished) << errors.str();
  EXPECT_NE(ReadFile(directory / "report.sql").find("SOURCE DATABASE:  REPORT:DEMO@demo"),
            std::string::npos);
  EXPECT_EQ(Run("\"DEMO\":demo/demo@demo", {}, {"sequences"}), BatchFinished) << errors.str();

  const std::filesystem::path report = directory / "untouched.sql";
  std::ofstream(report) << "kept";
  for (const char* connect : {"NOSUCH:SYSTEM/manager@demo", "\"demo\":DEMO/demo@demo"}) {
    errors.str("");
    EXPECT_EQ(Run(connect, report.string(), {"tables"}), BatchNoConnection) << connect;
    EXPECT_EQ(ReadFile(report), "kept");
  }
  EXPECT_NE(errors.str().find("schema demo does not exist or cannot be seen"), std::string::npos)
      << errors.str();
  EXPECT_EQ(Run("nosuch:SYSTEM/manager@demo", report.string(), {"tables"}), BatchNoConnection);
  EXPECT_NE(errors.str().find("schema NOSUCH does not exist or cannot be seen"), std::string::npos)
      << errors.str();
}

// A report that is one of the run's own inputs, under any name (a link, a
// hard link, another spelling), is refused before anything is written.
TEST_F(BatchRunTest, ReportNamingAnInputOfTheRunIsRefusedAndTheInputKept) {
  const std::filesystem::path password = directory / "password";
  const std::filesystem::path query = directory / "query.sql";
  const std::filesystem::path settingsFile = directory / "settings.ini";
  std::ofstream(password) << "demo\n";
  std::ofstream(query) << "select * from departments\n";
  std::ofstream(settingsFile) << "[Settings]\n";
  RunSettings setup;
  const std::filesystem::path config = directory / "setup.qmo";
  ASSERT_FALSE(WriteConfigurationFile(config.string(), EncodeConfiguration("DEMO@demo", setup)));
  const std::string configBytes = ReadFile(config);
  std::filesystem::create_symlink(config, directory / "link.qmo");
  std::filesystem::create_hard_link(password, directory / "hard-password");

  struct Case {
    std::string report;
    bool useQuery;
  };
  const Case cases[] = {
      {(directory / "link.qmo").string(), false},
      {(directory / "." / "setup.qmo").string(), false},
      {(directory / "hard-password").string(), false},
      {query.string(), true},
      {settingsFile.string(), false},
  };
  for (const Case& c : cases) {
    BatchOptions options;
    options.Batch = true;
    options.ConfigFile = config.string();
    options.PasswordFile = password.string();
    options.SettingsFile = settingsFile.string();
    options.QueryFile = c.useQuery ? query.string() : std::string();
    options.ReportFile = c.report;
    errors.str("");
    EXPECT_EQ(RunBatch(options, *settings, output, errors), BatchBadArguments) << c.report;
    EXPECT_NE(errors.str().find("writing it would destroy it"), std::string::npos) << errors.str();
  }
  EXPECT_EQ(ReadFile(config), configBytes);
  EXPECT_EQ(ReadFile(password), "demo\n");
  EXPECT_EQ(ReadFile(query), "select * from departments\n");
  EXPECT_EQ(ReadFile(settingsFile), "[Settings]\n");

  // The configuration's own report file is checked as well.
  setup.ReportToFile = 1;
  setup.ReportFileName = password.string();
  ASSERT_FALSE(WriteConfigurationFile(config.string(), EncodeConfiguration("DEMO@demo", setup)));
  BatchOptions options;
  ASSERT_FALSE(ParseBatchArguments(
      {"--batch", "--config", config.string(), "--password-file", password.string()}, options));
  EXPECT_EQ(RunBatch(options, *settings, output, errors), BatchBadArguments);
  EXPECT_EQ(ReadFile(password), "demo\n");
}

TEST_F(BatchRunTest, UnwritableReportEndsWithStatusFourAndLosesNothing) {
  const std::filesystem::path report = directory / "no-such-folder" / "demo.sql";
  EXPECT_EQ(Run("DEMO/demo@demo", report.string()), BatchReportNotWritten);
  EXPECT_FALSE(std::filesystem::exists(report));
  EXPECT_NE(output.str().find("SOURCE DATABASE:  DEMO@demo"), std::string::npos);
  EXPECT_NE(output.str().find(ClosingLine), std::string::npos);
}

TEST_F(BatchRunTest, BadArgumentsEndWithStatusTwoAndHelpWithZero) {
  EXPECT_EQ(HeadlessMain({"--batch", "--kinds", "everything", "--connect", "u/p@d"}),
            BatchBadArguments);
  EXPECT_EQ(HeadlessMain({"--batch"}), BatchBadArguments);
  EXPECT_EQ(HeadlessMain({"--help"}), BatchFinished);
}

TEST_F(BatchRunTest, ConfigurationFileChoosesConnectionKindsExclusionsAndReportFile) {
  RunSettings setup;
  SelectKinds(setup, {"tables"});
  setup.ExcludedTables = {"EMPLOYEES"};
  setup.ReportToFile = 1;
  setup.ReportFileName = (directory / "from-config.sql").string();
  const std::string file = (directory / "setup.qmo").string();
  ASSERT_FALSE(WriteConfigurationFile(file, EncodeConfiguration("DEMO/demo@demo", setup)));

  BatchOptions options;
  ASSERT_FALSE(ParseBatchArguments({"--batch", "--config", file}, options));
  ASSERT_EQ(RunBatch(options, *settings, output, errors), BatchFinished) << errors.str();
  const std::string text = ReadFile(directory / "from-config.sql");
  EXPECT_NE(text.find("CREATE TABLE DEPARTMENTS"), std::string::npos) << text.substr(0, 2000);
  EXPECT_EQ(text.find("CREATE TABLE EMPLOYEES"), std::string::npos);
  EXPECT_EQ(text.find("CREATE INDEX"), std::string::npos);
  EXPECT_EQ(output.str(), "");

  // The command line overrides the file's connection, kinds and report.
  ASSERT_FALSE(
      ParseBatchArguments({"--batch", "--config", file, "--connect", "REPORT:DEMO/demo@demo",
                           "--kinds", "indexes", "--report", (directory / "override.sql").string()},
                          options));
  ASSERT_EQ(RunBatch(options, *settings, output, errors), BatchFinished) << errors.str();
  const std::string overridden = ReadFile(directory / "override.sql");
  EXPECT_NE(overridden.find("SOURCE DATABASE:  REPORT:DEMO@demo"), std::string::npos);
  EXPECT_EQ(overridden.find("CREATE TABLE"), std::string::npos);
}

TEST_F(BatchRunTest, DamagedOrMissingConfigurationEndsWithStatusTwoBeforeConnecting) {
  const std::string bytes = EncodeConfiguration("DEMO/demo@demo", RunSettings());
  const std::string file = (directory / "cut.qmo").string();
  ASSERT_FALSE(WriteConfigurationFile(file, bytes.substr(0, bytes.size() / 2)));
  BatchOptions options;
  ASSERT_FALSE(ParseBatchArguments({"--batch", "--config", file}, options));
  EXPECT_EQ(RunBatch(options, *settings, output, errors), BatchBadArguments);
  EXPECT_NE(errors.str().find("could not be read"), std::string::npos) << errors.str();
  EXPECT_EQ(errors.str().find("SOURCE DATABASE"), std::string::npos);

  ASSERT_FALSE(ParseBatchArguments({"--batch", "--config", file + ".missing"}, options));
  EXPECT_EQ(RunBatch(options, *settings, output, errors), BatchBadArguments);
  EXPECT_NE(errors.str().find("Could not open config file: No such file or directory."),
            std::string::npos);

  const std::string noDatabase = (directory / "nodb.qmo").string();
  ASSERT_FALSE(WriteConfigurationFile(noDatabase, EncodeConfiguration("", RunSettings())));
  ASSERT_FALSE(ParseBatchArguments({"--batch", "--config", noDatabase}, options));
  EXPECT_EQ(RunBatch(options, *settings, output, errors), BatchBadArguments);
  EXPECT_NE(errors.str().find("names no database"), std::string::npos);
}

}  // namespace

namespace {

class StableReportTest : public BatchRunTest {
 protected:
  std::string Report(bool stable, bool crlf, std::vector<std::string> kinds = BatchKindNames()) {
    BatchOptions options;
    options.Batch = true;
    options.ConnectString = "DEMO/demo@demo";
    options.Kinds = std::move(kinds);
    options.Stable = stable;
    options.CrLf = crlf;
    options.ReportFile = (directory / ("stable-" + std::to_string(++runs_) + ".sql")).string();
    EXPECT_EQ(RunBatch(options, *settings, output, errors), BatchFinished) << errors.str();
    return ReadFile(options.ReportFile);
  }

  // How many line feeds of text follow a carriage return.
  static std::size_t CrLfCount(const std::string& text) {
    std::size_t count = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 1)) {
      ++count;
    }
    return count;
  }

  int runs_ = 0;
};

TEST_F(StableReportTest, StableReportIsTheSameTwiceWithoutDateOrTimeAndEndsLinesInLf) {
  const std::string first = Report(true, false);
  const std::string second = Report(true, false);
  EXPECT_EQ(first, second);
  EXPECT_EQ(first.find('\r'), std::string::npos);
  EXPECT_EQ(first.find("Date: "), std::string::npos);
  EXPECT_EQ(first.find("Elapsed Time"), std::string::npos);
  EXPECT_EQ(first.rfind("SET DEFINE OFF\n/*****", 0), 0u);
  // Stored code stands as the server holds it, under its CREATE OR REPLACE.
  EXPECT_NE(first.find("CREATE OR REPLACE package hr_util as\n"), std::string::npos);
  EXPECT_EQ(first.substr(first.size() - 36), "--- End of Quillmark for Oracle ---\n");
}

TEST_F(StableReportTest, EveryLineOfAReportEndsInCrLfWithoutStableOrWithCrlf) {
  // Table data keeps the line breaks inside its values as they are.
  std::vector<std::string> kinds = BatchKindNames();
  kinds.erase(std::find(kinds.begin(), kinds.end(), "data"));
  for (const bool stable : {false, true}) {
    const std::string report = Report(stable, true, kinds);
    const std::size_t lineFeeds =
        static_cast<std::size_t>(std::count(report.begin(), report.end(), '\n'));
    EXPECT_EQ(CrLfCount(report), lineFeeds) << "stable " << stable;
    EXPECT_EQ(report.find("Date: ") == std::string::npos, stable);
  }
}

}  // namespace

namespace {

TEST_F(BatchRunTest, SeveralSchemasGoIntoOneReportOrAFolderEach) {
  BatchOptions options;
  options.Batch = true;
  options.ConnectString = "SYSTEM/manager@demo";
  options.Kinds = BatchKindNames();
  options.Schemas = {"demo", "REPORT"};
  options.ReportFile = (directory / "both.sql").string();
  ASSERT_EQ(RunBatch(options, *settings, output, errors), BatchFinished) << errors.str();
  const std::string report = ReadFile(options.ReportFile);
  const std::size_t demo = report.find("SOURCE DATABASE:  DEMO:SYSTEM@demo");
  const std::size_t other = report.find("SOURCE DATABASE:  REPORT:SYSTEM@demo");
  ASSERT_NE(demo, std::string::npos) << report.substr(0, 600);
  ASSERT_NE(other, std::string::npos);
  EXPECT_LT(demo, other);
  EXPECT_NE(report.find("CREATE TABLE DEPARTMENTS"), std::string::npos);
  EXPECT_EQ(std::filesystem::status(options.ReportFile).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

  options.ReportFile.clear();
  options.SplitDirectory = (directory / "split").string();
  ASSERT_EQ(RunBatch(options, *settings, output, errors), BatchFinished) << errors.str();
  EXPECT_TRUE(std::filesystem::exists(directory / "split/DEMO/tables/DEPARTMENTS.sql"));
  EXPECT_TRUE(std::filesystem::exists(directory / "split/REPORT/install.sql"));

  // The schemas are named by --schemas alone.
  options.ConnectString = "DEMO:SYSTEM/manager@demo";
  EXPECT_EQ(RunBatch(options, *settings, output, errors), BatchBadArguments);
}

}  // namespace
