// The demo schema's stored code is scripted, the script is run by the
// sandbox's runner into a fresh database that holds the demo tables, and that
// database is scripted again: both scripts must be the same.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "scripting/source/DictionarySourceText.h"
#include "tests/oracle/SandboxClient.h"
#include "tests/sandbox/oci/RunProgram.h"
#include "tests/scripting/source/SourceRig.h"

namespace {

const std::vector<std::string> AllKinds = {"TRIG",  "VIEW", "FUNC", "PKG",
                                           "PKGBD", "STP",  "TYPE", "TYPEB"};

// The stored code of DEMO in database, as report text.
std::string ScriptStoredCode(const std::string& database) {
  SandboxClient client;
  EXPECT_TRUE(client.session->Connect("DEMO", "demo", database, true, true));
  CatalogSourceLists lists(*client.session, "DEMO", "DEMO@DB");
  DictionarySourceText texts(*client.session, nullptr);
  SourceRig rig(lists, texts);
  const std::string report = rig.Script(AllKinds);
  EXPECT_TRUE(client.messages.texts.empty()) << client.messages.texts.front();
  return report;
}

// A demo script without its "connect" lines, which the runner does not know.
std::string DemoScript(const std::string& name) {
  std::ifstream file(std::string(QUILLMARK_DEMO_SCRIPTS) + "/" + name);
  std::string script;
  for (std::string line; std::getline(file, line);) {
    if (line.rfind("connect ", 0) != 0) {
      script += line + "\n";
    }
  }
  return script;
}

TEST(SourceRoundTripTest, TheDemoSchemasStoredCodeScriptsTheSameAfterItsScriptRan) {
  const std::string first = ScriptStoredCode("demo");
  for (const char* expected :
       {"*  4 triggers were found", "*  3 views were found", "\nwhen (new.hire_date is null)\r\n",
        "ALTER TRIGGER PRODUCTS_PRICE_BU DISABLE", "VIEW DEPARTMENT_BUDGET (\"dept_name\"",
        "CREATE OR REPLACE type body address_t as", "CREATE OR REPLACE package body hr_util"}) {
    EXPECT_NE(first.find(expected), std::string::npos) << expected;
  }

  const std::filesystem::path directory =
      std::filesystem::temp_directory_path() /
      ("quillmark-source-" +
       std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::filesystem::create_directories(directory);
  const std::string target = "file:" + (directory / "target.db").string();
  using sandbox::testing::RunScript;
  const sandbox::testing::RunResult users =
      RunScript("system/manager@" + target, DemoScript("01_users.sql"));
  ASSERT_EQ(users.status, 0) << users.output;
  const sandbox::testing::RunResult tables =
      RunScript("demo/demo@" + target, DemoScript("02_tables.sql"));
  ASSERT_EQ(tables.status, 0) << tables.output;
  const sandbox::testing::RunResult code = RunScript("demo/demo@" + target, first);
  EXPECT_EQ(code.status, 0) << code.output;

  EXPECT_EQ(ScriptStoredCode(target), first);
  std::filesystem::remove_all(directory);
}

}  // namespace
