// The connect procedure against the sandbox's demo database: connect-string
// forms, the names a connection is shown and stored under, schema selection
// and the run's hold on a connection that the Connect command replaces.
#include <gtest/gtest.h>

#include <algorithm>

#include "ScriptedLogonPrompts.h"
#include "scripting/connection/ConnectStringParts.h"
#include "scripting/connection/ConnectionViewState.h"
#include "scripting/connection/DatabaseConnection.h"
#include "scripting/connection/ScriptingPhases.h"
#include "tests/oracle/SandboxClient.h"

namespace {

class ConnectProcedure : public ::testing::Test {
 protected:
  std::unique_ptr<DatabaseConnection> Connect(const std::string& connectString) {
    return std::make_unique<DatabaseConnection>(*settings, messages, prompts, connectString);
  }

  std::unique_ptr<MemorySettingsStore> settings = SandboxSettings();
  RecordingMessages messages;
  ScriptedLogonPrompts prompts;
};

TEST(ConnectStringPartsTest, SplitsSchemaUserPasswordAndDatabase) {
  const ConnectStringParts full = ParseConnectString("REPORT:demo/pw@demo?release=8.1.7");
  EXPECT_EQ(full.Schema, "REPORT");
  EXPECT_EQ(full.User, "demo");
  EXPECT_EQ(full.Password, "pw");
  EXPECT_EQ(full.Database, "demo?release=8.1.7");

  // ":" and "@" count only after the first character, "/" anywhere.
  const ConnectStringParts leading = ParseConnectString(":/pw@db");
  EXPECT_EQ(leading.Schema, "");
  EXPECT_EQ(leading.User, ":");
  EXPECT_EQ(leading.Password, "pw");
  EXPECT_EQ(leading.Database, "db");

  const ConnectStringParts atFirst = SplitLogonText("@db");
  EXPECT_EQ(atFirst.User, "@db");
  EXPECT_EQ(atFirst.Database, "");

  // The first "/" and the last "@" split.
  const ConnectStringParts repeated = SplitLogonText("u/p/q@d@e");
  EXPECT_EQ(repeated.User, "u");
  EXPECT_EQ(repeated.Password, "p/q@d");
  EXPECT_EQ(repeated.Database, "e");

  // A ":" after the first "@" or "/" belongs to the database or the password.
  struct Case {
    const char* text;
    ConnectStringParts parts;
  };
  const Case cases[] = {
      {"scott/tiger@dbhost:1521/orclpdb", {"", "scott", "tiger", "dbhost:1521/orclpdb"}},
      {"S:scott/tiger@dbhost:1521/orclpdb", {"S", "scott", "tiger", "dbhost:1521/orclpdb"}},
      {"scott@file:/var/db/x.db", {"", "scott", "", "file:/var/db/x.db"}},
      {"scott/ti:ger@db", {"", "scott", "ti:ger", "db"}},
      {"S:scott/ti:ger@host:1/s", {"S", "scott", "ti:ger", "host:1/s"}},
      {"scott@[::1]:1521/svc", {"", "scott", "", "[::1]:1521/svc"}},
  };
  for (const Case& c : cases) {
    const ConnectStringParts parsed = ParseConnectString(c.text);
    EXPECT_EQ(parsed.Schema, c.parts.Schema) << c.text;
    EXPECT_EQ(parsed.User, c.parts.User) << c.text;
    EXPECT_EQ(parsed.Password, c.parts.Password) << c.text;
    EXPECT_EQ(parsed.Database, c.parts.Database) << c.text;
  }

  // The database follows the last "@" outside double quotes.
  const Case atSigns[] = {
      {"USER/Pa@ss@db", {"", "USER", "Pa@ss", "db"}},
      {"USER/\"Pa@ss\"@db", {"", "USER", "Pa@ss", "db"}},
      {"S:USER/\"P@:/s\"@h:1/s", {"S", "USER", "P@:/s", "h:1/s"}},
      {"\"Mixed\":u/p@db", {"\"Mixed\"", "u", "p", "db"}},
      {"\"a:b\":u/p@db", {"\"a:b\"", "u", "p", "db"}},
      {"USER/\"Pa@ss", {"", "USER", "\"Pa@ss", ""}},
  };
  for (const Case& c : atSigns) {
    const ConnectStringParts parsed = ParseConnectString(c.text);
    EXPECT_EQ(parsed.Schema, c.parts.Schema) << c.text;
    EXPECT_EQ(parsed.User, c.parts.User) << c.text;
    EXPECT_EQ(parsed.Password, c.parts.Password) << c.text;
    EXPECT_EQ(parsed.Database, c.parts.Database) << c.text;
  }
  EXPECT_EQ(SchemaNameOfPrefix("demo"), "DEMO");
  EXPECT_EQ(SchemaNameOfPrefix("\"demo\""), "demo");

  EXPECT_EQ(BuildConnectString("", "u", "p", true, "d"), "u/p@d");
  EXPECT_EQ(BuildConnectString("S", "u", "p", false, "d"), "S:u@d");
  EXPECT_EQ(BuildConnectString("Mixed", "u", "p@q", true, "d"), "\"Mixed\":u/p@q@d");
}

TEST_F(ConnectProcedure, PlainConnectStringLogsOnAndNamesTheConnection) {
  const auto connection = Connect("DEMO/demo@demo");
  ASSERT_FALSE(connection->NotConnected());
  ASSERT_NE(connection->Session(), nullptr);
  EXPECT_TRUE(connection->Session()->IsConnected());
  EXPECT_EQ(connection->ConnectString(), "DEMO/demo@demo");
  EXPECT_EQ(connection->DisplayName(), "DEMO@demo");
  EXPECT_EQ(connection->CurrentSchema(), "DEMO");
  EXPECT_EQ(connection->LoginUser(), "DEMO");
  EXPECT_TRUE(connection->PasswordSaved());
  const std::vector<std::string>& users = connection->SchemaNames();
  EXPECT_NE(std::find(users.begin(), users.end(), "SYSTEM"), users.end());
  EXPECT_NE(std::find(users.begin(), users.end(), "REPORT"), users.end());
  EXPECT_TRUE(prompts.passwordQuestions.empty());
  EXPECT_TRUE(messages.texts.empty());
}

TEST_F(ConnectProcedure, UserTypedInLowerCaseListsTheDictionarysSpelling) {
  const auto connection = Connect("demo/demo@demo");
  ASSERT_FALSE(connection->NotConnected());
  EXPECT_EQ(connection->CurrentSchema(), "DEMO");
  EXPECT_EQ(connection->DisplayName(), "DEMO@demo");
  EXPECT_EQ(connection->ConnectString(), "demo/demo@demo");
}

TEST_F(ConnectProcedure, SchemaPrefixOtherThanTheUserIsScriptedAndKept) {
  const auto connection = Connect("REPORT:DEMO/demo@demo");
  ASSERT_FALSE(connection->NotConnected());
  EXPECT_EQ(connection->Session()->User(), "DEMO");
  EXPECT_EQ(connection->LoginUser(), "DEMO");
  EXPECT_EQ(connection->CurrentSchema(), "REPORT");
  EXPECT_EQ(connection->ConnectString(), "REPORT:DEMO/demo@demo");
  EXPECT_EQ(connection->DisplayName(), "REPORT:DEMO@demo");
}

TEST_F(ConnectProcedure, MissingPasswordIsAskedForAndNotStored) {
  prompts.password = "demo";
  const auto connection = Connect("DEMO@demo");
  ASSERT_EQ(prompts.passwordQuestions, std::vector<std::string>{"DEMO@demo"});
  ASSERT_FALSE(connection->NotConnected());
  EXPECT_FALSE(connection->PasswordSaved());
  EXPECT_EQ(connection->ConnectString(), "DEMO@demo");
  EXPECT_EQ(connection->DisplayName(), "DEMO@demo");
}

TEST_F(ConnectProcedure, CancelledPasswordOrFailedLogonLeavesItNotConnected) {
  const auto cancelled = Connect("DEMO@demo");
  EXPECT_EQ(prompts.passwordQuestions.size(), 1u);
  EXPECT_TRUE(cancelled->NotConnected());
  EXPECT_EQ(cancelled->Session(), nullptr);
  EXPECT_TRUE(messages.texts.empty());

  const auto wrong = Connect("DEMO/wrong@demo");
  EXPECT_TRUE(wrong->NotConnected());
  EXPECT_EQ(wrong->Session(), nullptr);
  EXPECT_EQ(wrong->ConnectString(), "");
  ASSERT_EQ(messages.texts.size(), 1u);
  EXPECT_NE(messages.texts[0].find("ORA-01017"), std::string::npos) << messages.texts[0];

  // "/" first: an empty user with a password, which the server refuses.
  const auto noUser = Connect("/demo@demo");
  EXPECT_TRUE(noUser->NotConnected());
  EXPECT_EQ(prompts.passwordQuestions.size(), 1u);
}

TEST_F(ConnectProcedure, EmptyConnectStringAsksForTheWholeLogon) {
  const auto connection = Connect("");
  EXPECT_EQ(prompts.logonQuestions, 1);
  EXPECT_TRUE(connection->NotConnected());
}

TEST_F(ConnectProcedure, SelectSchemaRenamesBothWaysAndMakesListsStale) {
  const auto connection = Connect("DEMO/demo@demo");
  ASSERT_FALSE(connection->NotConnected());
  ConnectionViewState view;
  connection->SetViewState(&view);
  connection->Lists().Tables.push_back(CatalogItem{{"EMPLOYEES", ""}});

  connection->SelectSchema("REPORT");
  EXPECT_EQ(connection->CurrentSchema(), "REPORT");
  EXPECT_EQ(connection->ConnectString(), "REPORT:DEMO/demo@demo");
  EXPECT_EQ(connection->DisplayName(), "REPORT:DEMO@demo");
  EXPECT_TRUE(connection->Lists().Tables.empty());
  EXPECT_FALSE(view.NoConnection);
  EXPECT_TRUE(std::all_of(view.CatalogListStale.begin(), view.CatalogListStale.end(),
                          [](bool stale) { return stale; }));

  connection->SelectSchema("DEMO");
  EXPECT_EQ(connection->ConnectString(), "DEMO/demo@demo");
  EXPECT_EQ(connection->DisplayName(), "DEMO@demo");
}

TEST_F(ConnectProcedure, RunKeepsTheConnectionItStartedWith) {
  ScriptingPhases phases;
  EXPECT_EQ(phases.SourceDatabaseName(), "");
  EXPECT_EQ(phases.TableCount(), 0);

  std::shared_ptr<DatabaseConnection> first = Connect("DEMO/demo@demo");
  first->Lists().Tables.resize(3);
  phases.SetConnection(first);
  EXPECT_EQ(phases.SourceDatabaseName(), "DEMO@demo");
  EXPECT_EQ(phases.TableCount(), 3);

  // A Connect command during the run replaces the view's connection; the run
  // goes on with its own, which stays logged on.
  const std::weak_ptr<DatabaseConnection> watched = first;
  phases.SetConnection(Connect("REPORT:DEMO/demo@demo"));
  first.reset();
  ASSERT_FALSE(watched.expired());
  EXPECT_TRUE(phases.RunConnection()->Session()->IsConnected());
  EXPECT_EQ(phases.TableCount(), 3);

  EXPECT_EQ(phases.SourceDatabaseName(), "REPORT:DEMO@demo");
  EXPECT_TRUE(watched.expired());
}

}  // namespace
