// The demo schema's grants and sequences, after some values were handed
// out, are scripted headless; the script is run into a fresh database as
// SYSTEM, which then scripts DEMO there: both reports must be the same.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/BatchOptions.h"
#include "app/BatchRun.h"
#include "tests/oracle/SandboxClient.h"
#include "tests/sandbox/oci/RunProgram.h"

namespace {

// What the demo database is given beyond its own scripts: sequence values
// handed out from SQL and PL/SQL, and object privileges DEMO holds on a
// table of another schema.
const char* const UseOfTheDemo = R"(create table system.codes (code varchar2(10));
grant select on system.codes to demo with grant option;
grant references on system.codes to demo;
grant update (code) on system.codes to demo;
connect demo/demo
select employees_seq.nextval from dual;
select employees_seq.nextval from dual;
select invoice_seq.nextval from dual;
declare
  n number;
begin
  n := departments_seq.nextval;
  n := orders_seq.nextval;
end;
/
)";

// The report between its header and its closing line.
std::string Body(const std::string& report) {
  const std::size_t begin = report.find("\r\n\r\n\r\n/");
  const std::size_t end = report.find("\r\n\r\n--- End of Quillmark for Oracle");
  if (begin == std::string::npos || end == std::string::npos || end < begin) {
    ADD_FAILURE() << report;
    return {};
  }
  return report.substr(begin, end - begin);
}

std::string ScriptPrivilegesAndSequences(const std::string& connect) {
  auto settings = SandboxSettings();
  BatchOptions options;
  options.Batch = true;
  options.ConnectString = connect;
  options.Kinds = {"privileges", "sequences"};
  // The report is streamed to its file as the run writes it.
  const std::filesystem::path report =
      std::filesystem::temp_directory_path() /
      ("quillmark-grants-" +
       std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()) + ".sql");
  options.ReportFile = report.string();
  std::ostringstream output;
  std::ostringstream errors;
  EXPECT_EQ(RunBatch(options, *settings, output, errors), BatchFinished) << errors.str();
  std::ifstream file(report, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  std::filesystem::remove(report);
  return Body(text.str());
}

TEST(GrantSequenceRoundTripTest, DemoScriptRunIntoAFreshDatabaseScriptsTheSame) {
  const std::filesystem::path directory =
      std::filesystem::temp_directory_path() /
      ("quillmark-grants-" +
       std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  const std::filesystem::path scripts = directory / "demo";
  std::filesystem::create_directories(scripts);
  for (const auto& entry : std::filesystem::directory_iterator(QUILLMARK_DEMO_SCRIPTS)) {
    if (entry.path().extension() == ".sql") {
      std::filesystem::copy_file(entry.path(), scripts / entry.path().filename());
    }
  }
  std::ofstream(scripts / "99_use.sql") << UseOfTheDemo;

  // The schema prefix keeps the ":" of the connect identifier out of it.
  const std::string first = ScriptPrivilegesAndSequences("DEMO:DEMO/demo@dir:" + scripts.string());
  EXPECT_NE(first.find("GRANT CREATE SESSION TO DEMO WITH ADMIN OPTION;\r\n"), std::string::npos);
  EXPECT_NE(first.find("GRANT RESOURCE TO DEMO;\r\n"), std::string::npos);
  EXPECT_NE(first.find("GRANT SELECT ON SYSTEM.CODES TO DEMO WITH GRANT OPTION;\r\n"),
            std::string::npos);
  EXPECT_NE(first.find("GRANT UPDATE (CODE) ON SYSTEM.CODES TO DEMO;\r\n"), std::string::npos);
  EXPECT_NE(first.find("CREATE SEQUENCE EMPLOYEES_SEQ INCREMENT BY 1 START WITH 1050 "),
            std::string::npos);
  EXPECT_NE(first.find("CREATE SEQUENCE INVOICE_SEQ INCREMENT BY -1 START WITH -10 "),
            std::string::npos);

  std::string script =
      "create user DEMO identified by demo;\n"
      "create table system.codes (code varchar2(10));\n"
      "alter session set current_schema = DEMO;\n";
  std::istringstream lines(first);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("GRANT ", 0) == 0 || line.rfind("CREATE SEQUENCE ", 0) == 0) {
      script += line.substr(0, line.find('\r')) + "\n";
    }
  }
  const std::string target = "file:" + (directory / "target.db").string();
  const sandbox::testing::RunResult run =
      sandbox::testing::RunScript("SYSTEM/manager@" + target, script);
  ASSERT_EQ(run.status, 0) << run.output;

  EXPECT_EQ(ScriptPrivilegesAndSequences("DEMO:SYSTEM/manager@" + target), first);
  std::filesystem::remove_all(directory);
}

}  // namespace
