// Tests of logon, logoff, version classes and error reporting of
// OracleSession against the sandbox server.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/oracle/SandboxClient.h"

TEST(OracleSession, EmptyDatabaseLogsOnToTheDefaultDatabase) {
  // The client's default database is the one TWO_TASK names.
  const std::string database = FreshDatabase("DEFAULTDB");
  setenv("TWO_TASK", database.c_str(), 1);
  SandboxClient client;
  ASSERT_TRUE(client.session->Connect("system", "manager", "", true, true));
  EXPECT_TRUE(client.messages.texts.empty());
  EXPECT_TRUE(client.session->IsConnected());
  EXPECT_EQ(client.session->SessionLabel(), "SYSTEM@");
  EXPECT_EQ(client.session->UserUpper(), "SYSTEM");
  EXPECT_EQ(client.session->Database(), "");
  EXPECT_EQ(client.session->GlobalName(), database.substr(4));
  unsetenv("TWO_TASK");
}

TEST(OracleSession, VersionClassFollowsTheServerBanner) {
  const std::string database = FreshDatabase("BANNERS");
  const std::pair<const char*, const char*> releases[] = {
      {"?release=7.3.4", "7"}, {"?release=8.0.5", "8.0"}, {"?release=8.1.7", "8"}, {"", "8"}};
  for (const auto& [suffix, versionClass] : releases) {
    SandboxClient client;
    client.ConnectAsSystem(database + suffix);
    EXPECT_EQ(client.session->VersionClass(), versionClass) << suffix;
    EXPECT_EQ(client.session->ServerVersionClass(), versionClass) << suffix;
  }
}

TEST(OracleSession, CredentialsAreNotSplitOrLimited) {
  // A password holding "/" and "@", and a database name that makes the
  // joined connect string far longer than 100 characters.
  const std::string database = FreshDatabase("LONG" + std::string(110, 'X'));
  SandboxClient admin;
  admin.ConnectAsSystem(database);
  ASSERT_TRUE(admin.session->ExecuteSql("create user scott identified by \"ti/ger@x\""));
  ASSERT_TRUE(admin.session->ExecuteSql("grant connect to scott"));

  SandboxClient client;
  ASSERT_TRUE(client.session->Connect("scott", "ti/ger@x", database, true, false))
      << client.messages.texts.front();
  EXPECT_EQ(client.session->QueryValue("select user from dual", "", "", ""), "SCOTT");
  EXPECT_EQ(client.session->Password(), "ti/ger@x");
}

TEST(OracleSession, FailedLogonReportsTheClientTextAndLeavesTheSessionUsable) {
  const std::string database = FreshDatabase("LOGON");
  SandboxClient client;
  EXPECT_FALSE(client.session->Connect("system", "wrong", database, true, true));
  ASSERT_EQ(client.messages.texts.size(), 1u);
  EXPECT_EQ(client.messages.texts[0].rfind("ORA-01017", 0), 0u) << client.messages.texts[0];
  // With advice on what to check, for a refused password and an unknown name.
  EXPECT_NE(client.messages.texts[0].find("passwords are case-sensitive"), std::string::npos);
  EXPECT_FALSE(client.session->IsConnected());
  EXPECT_FALSE(client.session->Connect("system", "manager", "no-such-alias", true, true));
  ASSERT_EQ(client.messages.texts.size(), 2u);
  EXPECT_NE(client.messages.texts[1].find("ORA-12154"), std::string::npos);
  EXPECT_NE(client.messages.texts[1].find("Check the database name"), std::string::npos);
  client.messages.texts.pop_back();

  EXPECT_FALSE(client.session->Connect("system", "wrong", database, false, true));
  EXPECT_EQ(client.messages.texts.size(), 1u);  // no message without showMessages

  client.messages.texts.clear();
  client.ConnectAsSystem(database);
  EXPECT_EQ(client.session->GlobalName(), database.substr(4));
}

TEST(OracleSession, RejectedDateFormatKeepsTheConnection) {
  const std::string database = FreshDatabase("DATES");
  SandboxClient client;
  client.settings->SetString("Settings", "DateFormat", "NOT A FORMAT");
  EXPECT_TRUE(client.session->Connect("system", "manager", database, true, true));
  ASSERT_EQ(client.messages.texts.size(), 2u);
  EXPECT_EQ(client.messages.texts[0].rfind("ORA-", 0), 0u) << client.messages.texts[0];
  EXPECT_EQ(client.messages.texts[1],
            "Could not execute: 'alter session set nls_date_format', date format will revert "
            "to Oracle's default format.");
  EXPECT_TRUE(client.session->IsConnected());

  // The server's error is shown even without showMessages; the notice is not.
  SandboxClient quiet;
  quiet.settings->SetString("Settings", "DateFormat", "NOT A FORMAT");
  EXPECT_TRUE(quiet.session->Connect("system", "manager", database, false, true));
  EXPECT_EQ(quiet.messages.texts.size(), 1u);

  // A quote in the format cannot end the literal early.
  SandboxClient quoted;
  quoted.settings->SetString("Settings", "DateFormat", "YYYY' ; drop table x");
  EXPECT_TRUE(quoted.session->Connect("system", "manager", database, false, true));
  ASSERT_EQ(quoted.messages.texts.size(), 1u);
  EXPECT_EQ(quoted.messages.texts[0].find("ORA-00933"), std::string::npos);
}

TEST(OracleSession, LostConnectionIsRestoredSilentlyAndTheStatementRunsOnce) {
  const std::string database = FreshDatabase("LOST");
  SandboxClient client;
  client.ConnectAsSystem(database);
  ASSERT_TRUE(client.session->ExecuteSql("create table hits (n number)"));

  EXPECT_EQ(BreakSandboxConnections(database, 1), 1);
  int code = -1;
  EXPECT_TRUE(client.session->ExecuteSql("insert into hits values (1)", "", "", "", "", &code));
  EXPECT_TRUE(client.messages.texts.empty());
  EXPECT_EQ(code, 3113);  // the error that caused the reconnect
  EXPECT_EQ(client.session->QueryValue("select count(*) from hits", "", "", ""), "1");
  EXPECT_EQ(client.session->GlobalName(), database.substr(4));

  EXPECT_EQ(BreakSandboxConnections(database, 1), 1);
  EXPECT_EQ(client.session->QueryValue("select count(*) from hits", "", "", ""), "1");
  EXPECT_TRUE(client.messages.texts.empty());
}

TEST(OracleSession, ReconnectGivesTheNewSessionTheOldOnesSettings) {
  const std::string database = FreshDatabase("SETUP");
  SandboxClient client;
  client.settings->SetString("Settings", "DateFormat", "YYYY-MM-DD");
  client.ConnectAsSystem(database);
  ASSERT_TRUE(client.session->ExecuteSql("alter session set nls_date_format = 'DD.MM.YYYY'"));
  ASSERT_TRUE(client.session->ExecuteSql("ALTER  SESSION SET NLS_DATE_FORMAT='YYYY/MM'"));
  // What the options say now is not what the session had.
  client.settings->SetString("Settings", "DateFormat", "MM/DD/YYYY");
  const std::string query = "select to_char(to_date('2021-03-04', 'YYYY-MM-DD')) from dual";
  EXPECT_EQ(client.session->QueryValue(query, "", "", ""), "2021/03");
  EXPECT_EQ(BreakSandboxConnections(database, 1), 1);
  EXPECT_EQ(client.session->QueryValue(query, "", "", ""), "2021/03");
  EXPECT_TRUE(client.messages.texts.empty());

  // A new logon starts again from the options.
  client.session->Disconnect();
  ASSERT_TRUE(client.session->Connect("system", "manager", database, true, true));
  EXPECT_EQ(client.session->QueryValue(query, "", "", ""), "03/04/2021");
}

TEST(OracleSession, FailureAfterTheReconnectIsShownOnce) {
  const std::string database = FreshDatabase("RETRY");
  SandboxClient client;
  client.ConnectAsSystem(database);

  // The retry fails for a reason of its own: that error is shown.
  EXPECT_EQ(BreakSandboxConnections(database, 1), 1);
  int code = 0;
  EXPECT_FALSE(client.session->ExecuteSql("insert into missing values (1)", "", "", "", "", &code));
  EXPECT_EQ(code, 942);
  ASSERT_EQ(client.messages.texts.size(), 1u);
  EXPECT_EQ(client.messages.texts[0].rfind("ORA-00942", 0), 0u) << client.messages.texts[0];

  // The new logon is lost as well: no second reconnect, the first error is shown.
  client.messages.texts.clear();
  EXPECT_EQ(BreakSandboxConnections(database, 2), 1);
  EXPECT_FALSE(client.session->ExecuteSql("begin null; end;"));
  ASSERT_EQ(client.messages.texts.size(), 1u);
  EXPECT_EQ(client.messages.texts[0].rfind("ORA-03113", 0), 0u) << client.messages.texts[0];

  // The next statement reconnects again and succeeds.
  client.messages.texts.clear();
  EXPECT_TRUE(client.session->ExecuteSql("begin null; end;"));
  EXPECT_TRUE(client.messages.texts.empty());
}

TEST(OracleSession, DisconnectIsSafeToRepeatAndLogonAgainWorks) {
  const std::string database = FreshDatabase("TWICE");
  SandboxClient client;
  EXPECT_TRUE(client.session->Disconnect());  // never connected
  client.ConnectAsSystem(database);
  EXPECT_TRUE(client.session->Disconnect());
  EXPECT_FALSE(client.session->IsConnected());
  EXPECT_TRUE(client.session->Disconnect());

  // A statement on the closed session fails as "not logged on"; it does not
  // log on again by itself.
  client.messages.texts.clear();
  int code = 0;
  EXPECT_FALSE(client.session->ExecuteSql("begin null; end;", "", "", "", "", &code));
  EXPECT_EQ(code, 1012);
  ASSERT_EQ(client.messages.texts.size(), 1u);
  EXPECT_EQ(client.messages.texts[0], "ORA-01012: not logged on\n");
  EXPECT_FALSE(client.session->IsConnected());

  client.messages.texts.clear();
  client.ConnectAsSystem(database);
  EXPECT_EQ(client.session->QueryValue("select user from dual", "", "", ""), "SYSTEM");
}
