// The quillmark program itself, headless: its progress line on a terminal,
// nothing of it in a pipe, --quiet and --version, and Ctrl+C during a run.
#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

// A started program: its pid and the descriptor its standard error is read from.
struct Child {
  pid_t pid = -1;
  int errors = -1;
};

[[noreturn]] void Exec(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) {
    argv.push_back(const_cast<char*>(argument.c_str()));
  }
  argv.push_back(nullptr);
  ::execv(argv[0], argv.data());
  ::_exit(127);
}

// Standard error on a pseudo-terminal of 100 columns, standard output to /dev/null.
Child StartOnTerminal(const std::vector<std::string>& arguments) {
  Child child;
  winsize size{};
  size.ws_col = 100;
  size.ws_row = 24;
  child.pid = ::forkpty(&child.errors, nullptr, nullptr, &size);
  if (child.pid == 0) {
    std::freopen("/dev/null", "w", stdout);
    Exec(arguments);
  }
  return child;
}

// Standard error into a pipe, standard output to /dev/null.
Child StartOnPipe(const std::vector<std::string>& arguments) {
  Child child;
  int ends[2];
  if (::pipe(ends) != 0) {
    return child;
  }
  child.pid = ::fork();
  if (child.pid == 0) {
    ::dup2(ends[1], STDERR_FILENO);
    ::close(ends[0]);
    ::close(ends[1]);
    std::freopen("/dev/null", "w", stdout);
    Exec(arguments);
  }
  ::close(ends[1]);
  child.errors = ends[0];
  return child;
}

// Reads standard error to its end and returns it with the exit status.
std::pair<std::string, int> Finish(const Child& child) {
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(child.errors, buffer, sizeof buffer);
    if (got <= 0) {
      break;  // end of the pipe, or EIO once the terminal's last user left
    }
    text.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(child.errors);
  int status = 0;
  ::waitpid(child.pid, &status, 0);
  return {text, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

std::string ReadFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

class HeadlessTerminalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(directory);
    std::ofstream(directory / "Quillmark for Oracle.ini")
        << "[Settings]\nOCIVER=99\nOCIDLL=" << QUILLMARK_SANDBOX_LIBRARY << "\n";
  }
  void TearDown() override { fs::remove_all(directory); }

  std::vector<std::string> DemoRun(std::vector<std::string> extra = {}) {
    std::vector<std::string> arguments = {QUILLMARK_PROGRAM, "--batch",
                                          "--settings",      directory.string(),
                                          "--connect",       "DEMO/demo@demo",
                                          "--report",        (directory / "report.sql").string(),
                                          "--kinds",         "tables,indexes,constraints"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return arguments;
  }

  fs::path directory =
      fs::temp_directory_path() / ("quillmark-terminal-" + std::to_string(::getpid()) + "-" +
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

const std::string Finished = "Quillmark for Oracle has finished scripting the database";

TEST_F(HeadlessTerminalTest, TerminalShowsTheProgressLineThenTheFinishMessageOnItsOwnLine) {
  const auto [errors, status] = Finish(StartOnTerminal(DemoRun()));
  EXPECT_EQ(status, 0) << errors;
  EXPECT_NE(errors.find("\r\033[K"), std::string::npos) << errors;
  EXPECT_NE(errors.find("Analyzing"), std::string::npos) << errors;
  // The line is erased before the message, which the terminal ends with CR LF.
  EXPECT_NE(errors.find("\r\033[K" + Finished + "\r\n"), std::string::npos) << errors;

  const auto [quietErrors, quietStatus] = Finish(StartOnTerminal(DemoRun({"--quiet"})));
  EXPECT_EQ(quietStatus, 0);
  EXPECT_EQ(quietErrors, "");
}

TEST_F(HeadlessTerminalTest, PipeGetsMessagesOnlyAndQuietNothing) {
  const auto [errors, status] = Finish(StartOnPipe(DemoRun()));
  EXPECT_EQ(status, 0) << errors;
  EXPECT_EQ(errors, Finished + "\n");

  const auto [quietErrors, quietStatus] = Finish(StartOnPipe(DemoRun({"-q"})));
  EXPECT_EQ(quietStatus, 0);
  EXPECT_EQ(quietErrors, "");
  // Errors still reach standard error in a quiet run.
  std::vector<std::string> wrong = DemoRun({"--quiet"});
  wrong[5] = "DEMO/wrong@demo";
  const auto [wrongErrors, wrongStatus] = Finish(StartOnPipe(wrong));
  EXPECT_EQ(wrongStatus, 3);
  EXPECT_NE(wrongErrors.find("ORA-01017"), std::string::npos);
}

TEST_F(HeadlessTerminalTest, VersionNamesTheProgram) {
  Child child;
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  child.pid = ::fork();
  if (child.pid == 0) {
    ::dup2(ends[1], STDOUT_FILENO);
    ::close(ends[0]);
    ::close(ends[1]);
    Exec({QUILLMARK_PROGRAM, "--version"});
  }
  ::close(ends[1]);
  child.errors = ends[0];
  const auto [output, status] = Finish(child);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(output.rfind("Quillmark for Oracle ", 0), 0u) << output;
}

TEST_F(HeadlessTerminalTest, InterruptStopsTheRunKeepsTheReportAndSaysSoInTheStatus) {
  // A schema big enough that the run is still going when the signal comes.
  std::ofstream load(directory / "load.sql");
  for (int i = 0; i < 600; ++i) {
    load << "create table big_t" << i << " (id number(9) constraint big_t" << i
         << "_pk primary key, name varchar2(30) not null);\n";
  }
  load.close();
  const fs::path database = directory / "big.db";
  const auto [loadErrors, loadStatus] = Finish(
      StartOnPipe({QMSANDBOX_RUNNER, "-l", QUILLMARK_SANDBOX_LIBRARY,
                   "SYSTEM/manager@file:" + database.string(), (directory / "load.sql").string()}));
  ASSERT_EQ(loadStatus, 0) << loadErrors;

  ::setenv("QUILLMARK_SANDBOX_HOME", directory.c_str(), 1);
  std::vector<std::string> arguments = DemoRun();
  arguments[5] = "SYSTEM/manager@big";
  const Child child = StartOnPipe(arguments);
  ::unsetenv("QUILLMARK_SANDBOX_HOME");
  const fs::path report = directory / "report.sql";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (ReadFile(report).find("CREATE TABLE") == std::string::npos &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ::kill(child.pid, SIGINT);
  const auto [errors, status] = Finish(child);
  EXPECT_EQ(status, 130) << errors;
  EXPECT_NE(errors.find("Quillmark for Oracle has been stopped."), std::string::npos) << errors;
  const std::string text = ReadFile(report);
  const std::string stopLine = "-- Quillmark Stopped ...";
  ASSERT_GE(text.size(), stopLine.size());
  EXPECT_EQ(text.substr(text.size() - stopLine.size()), stopLine);
  EXPECT_EQ(text.find("End of Quillmark for Oracle"), std::string::npos);
}

// Threads of a running process, from /proc.
int ThreadCount(pid_t pid) {
  int count = 0;
  std::error_code error;
  for ([[maybe_unused]] const auto& entry :
       fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
    ++count;
  }
  return count;
}

// A report on a FIFO that nobody reads blocks the worker in open(); one
// SIGTERM still ends the program within about a second, with 143.
TEST_F(HeadlessTerminalTest, OneTerminateEndsARunBlockedOnItsReport) {
  const fs::path fifo = directory / "fifo.sql";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::vector<std::string> arguments = DemoRun();
  arguments[7] = fifo.string();
  const Child child = StartOnPipe(arguments);
  // The worker thread exists once the run has started.
  const auto ready = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (ThreadCount(child.pid) < 2 && std::chrono::steady_clock::now() < ready) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const auto sent = std::chrono::steady_clock::now();
  ::kill(child.pid, SIGTERM);
  const auto [errors, status] = Finish(child);
  EXPECT_EQ(status, 143) << errors;
  EXPECT_LT(std::chrono::steady_clock::now() - sent, std::chrono::seconds(3));
  EXPECT_NE(errors.find("did not stop within a second"), std::string::npos) << errors;
}

}  // namespace

namespace {

TEST_F(HeadlessTerminalTest, InterruptEndsAQueryThatIsStillRunningOnTheServerWithinASecond) {
  // 1,000 rows, so that counting the rows of three joined copies takes hours.
  std::ofstream load(directory / "load.sql");
  load << "create table N (N number);\ninsert into N values (1);\n";
  for (int rows = 1; rows < 1000; rows *= 2) {
    load << "insert into N select N + " << rows << " from N where N + " << rows << " <= 1000;\n";
  }
  load << "commit;\n";
  load.close();
  const auto [loadErrors, loadStatus] =
      Finish(StartOnPipe({QMSANDBOX_RUNNER, "-l", QUILLMARK_SANDBOX_LIBRARY,
                          "SYSTEM/manager@file:" + (directory / "slow.db").string(),
                          (directory / "load.sql").string()}));
  ASSERT_EQ(loadStatus, 0) << loadErrors;

  ::setenv("QUILLMARK_SANDBOX_HOME", directory.c_str(), 1);
  const fs::path report = directory / "report.sql";
  const Child child = StartOnPipe({QUILLMARK_PROGRAM, "--batch", "--settings", directory.string(),
                                   "--connect", "SYSTEM/manager@slow", "--report", report.string(),
                                   "--query", "select count(*) from N a, N b, N c"});
  ::unsetenv("QUILLMARK_SANDBOX_HOME");
  // The report file holds nothing before its first flush: the query is on
  // the server well before this.
  std::this_thread::sleep_for(std::chrono::seconds(2));
  const auto interrupted = std::chrono::steady_clock::now();
  ::kill(child.pid, SIGINT);
  const auto [errors, status] = Finish(child);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - interrupted).count();
  EXPECT_EQ(status, 130) << errors;
  // A second, and some room for a machine busy with other tests.
  EXPECT_LT(seconds, 1.5);
  const std::string text = ReadFile(report);
  const std::string stopLine = "-- Quillmark Stopped ...";
  ASSERT_GE(text.size(), stopLine.size());
  EXPECT_EQ(text.substr(text.size() - stopLine.size()), stopLine);
  // The break ends the statement; it is no failure of the query.
  EXPECT_EQ(text.find("ORA-01013"), std::string::npos) << text;
  EXPECT_EQ(errors.find("ORA-01013"), std::string::npos) << errors;
}

}  // namespace
