// The bundled demo database, run through qmsandbox-run as a user runs it: the
// dictionary queries that scripting a schema sends must all answer.
#include <gtest/gtest.h>

#include <sstream>

#include "OciTestClient.h"
#include "RunProgram.h"

namespace sandbox::testing {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  std::string line;
  while (std::getline(stream, line))
    lines.push_back(line);
  return lines;
}

TEST(SandboxDemoDatabase, CatalogListsEveryObjectKindOfTheDemoSchema) {
  RunResult result = RunScript("demo/demo@demo", "select global_name from sys.global_name;\n");
  ASSERT_EQ(result.status, 0) << result.output;
  EXPECT_EQ(result.output, "DEMO\n");
  for (const char* kind : {"TABLE", "VIEW", "SEQUENCE", "INDEX", "TRIGGER", "PROCEDURE", "FUNCTION",
                           "PACKAGE", "PACKAGE BODY", "TYPE", "TYPE BODY"}) {
    RunResult objects = RunScript(
        "demo/demo@demo", std::string("select object_name from all_objects where owner = 'DEMO' "
                                      "and object_type = '") +
                              kind + "' order by object_name;\n");
    EXPECT_EQ(objects.status, 0) << kind << "\n" << objects.output;
    EXPECT_FALSE(objects.output.empty()) << "no " << kind << " in the demo schema";
  }
}

TEST(SandboxDemoDatabase, ListingQueriesOfScriptingAnswer) {
  // Each query as the scripting sends it; every one must run, and the listings must not be empty.
  RunResult result = RunScript(
      "demo/demo@demo",
      "SELECT table_name from all_catalog where owner = 'DEMO' and table_type = 'TABLE';\n"
      "SELECT table_name from all_catalog where owner = 'DEMO' and table_type = 'VIEW';\n"
      "select upper(owner), upper(table_name), pct_free, pct_used, ini_trans, max_trans, "
      "tablespace_name, initial_extent, next_extent, min_extents, max_extents, freelists, "
      "freelist_groups, pct_increase from all_tables where owner != 'SYS' AND owner = 'DEMO' "
      "order by owner, table_name;\n"
      "select owner, upper(column_name), upper(data_type), data_length, data_precision, "
      "data_scale, nullable, default_length, data_default, column_id from all_tab_columns "
      "where owner = 'DEMO' order by table_name, column_id;\n"
      "select constraint_name, constraint_type, search_condition from all_constraints "
      "where owner = 'DEMO';\n"
      "select column_name from all_cons_columns where owner = 'DEMO' order by position;\n"
      "select index_name, uniqueness, compression, prefix_length from all_indexes "
      "where owner = 'DEMO';\n"
      "select column_name from all_ind_columns where index_owner = 'DEMO' "
      "order by column_position;\n"
      "select text from all_source where owner = 'DEMO' order by name, type, line asc;\n"
      "SELECT text FROM all_views WHERE owner = 'DEMO';\n"
      "select description, trigger_body from all_triggers where owner = 'DEMO';\n"
      "select 'CREATE SEQUENCE '||sequence_name||' INCREMENT BY '||increment_by from "
      "all_sequences where sequence_owner = 'DEMO' order by sequence_name;\n"
      "select substr(privilege||'                                        ',0,41) || ' ' || "
      "substr(admin_option||'            ',0,13) from user_sys_privs order by privilege;\n"
      "select substr(granted_role||'                                        ',0,41) || ' ' || "
      "substr(admin_option||'            ',0,13)  || ' ' || substr(default_role||'            "
      "',0,13) || ' ' || os_granted from user_role_privs order by granted_role;\n"
      "select privilege, table_name, grantee, grantor, grantable from all_tab_privs;\n"
      "select segment_name from user_segments;\n");
  EXPECT_EQ(result.status, 0) << result.output;
  EXPECT_GT(Lines(result.output).size(), 50u);
}

TEST(SandboxDemoDatabase, EveryDemoTableAnswersSelectStar) {
  RunResult tables = RunScript(
      "demo/demo@demo",
      "SELECT table_name from all_catalog where owner = 'DEMO' and table_type = 'TABLE';\n");
  ASSERT_EQ(tables.status, 0) << tables.output;
  std::string script;
  for (const std::string& table : Lines(tables.output))
    script += "select * from " + table + ";\n";
  ASSERT_FALSE(script.empty());
  RunResult rows = RunScript("demo/demo@demo", script);
  EXPECT_EQ(rows.status, 0) << rows.output;
  EXPECT_GE(Lines(rows.output).size(), 200u);  // a few hundred rows of data
}

}  // namespace
}  // namespace sandbox::testing
