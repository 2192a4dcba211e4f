// Tests of OracleStatement's batch bookkeeping and of the session's statement
// conveniences (binds, single values, user lists, piecewise LONG fetch)
// against the sandbox server.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>

#include "oracle/LobValues.h"
#include "oracle/OracleStatement.h"
#include "tests/oracle/SandboxClient.h"

namespace {

constexpr int SlotLength = 10;

// A session on a database with table numbers(n) holding 1..45 and table
// three(n) holding 1..3.
class StatementTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    database_ = new std::string(FreshDatabase("STATEMENTS"));
    SandboxClient setup;
    setup.ConnectAsSystem(*database_);
    ASSERT_TRUE(setup.session->ExecuteSql("create table numbers (n number)"));
    ASSERT_TRUE(setup.session->ExecuteSql("create table three (n number)"));
    for (int n = 1; n <= 45; ++n) {
      ASSERT_TRUE(
          setup.session->ExecuteSql("insert into numbers values (:bind1)", std::to_string(n)));
    }
    for (int n = 1; n <= 3; ++n) {
      ASSERT_TRUE(
          setup.session->ExecuteSql("insert into three values (:bind1)", std::to_string(n)));
    }
    ASSERT_TRUE(setup.session->ExecuteSql("commit"));
  }
  static void TearDownTestSuite() { delete database_; }

  void SetUp() override { client_.ConnectAsSystem(*database_); }

  // The values of the current batch of a one-column array define.
  static std::vector<std::string> Batch(const OracleStatement& statement, const char* slots) {
    std::vector<std::string> values;
    for (int row = 0; row < statement.RowsInBatch(); ++row) {
      values.emplace_back(slots + row * (SlotLength + 1));
    }
    return values;
  }

  static std::vector<std::string> Numbers(int first, int last) {
    std::vector<std::string> values;
    for (int n = first; n <= last; ++n) {
      values.push_back(std::to_string(n));
    }
    return values;
  }

  static std::string* database_;
  SandboxClient client_;
};

std::string* StatementTest::database_ = nullptr;

TEST_F(StatementTest, BfileLocatorsNameTheirDirectoryAndFile) {
  ASSERT_TRUE(client_.session->ExecuteSql("create table scans (id number, scan bfile)"));
  ASSERT_TRUE(client_.session->ExecuteSql(
      "insert into scans values (1, bfilename('DOC_DIR', 'a/b''s.pdf'))"));
  // A name longer than any real one must be refused, not copied past the end.
  ASSERT_TRUE(client_.session->ExecuteSql(
      "insert into scans values (2, bfilename('DOC_DIR', rpad('x', 3000, 'x')))"));
  ASSERT_TRUE(client_.session->ExecuteSql("insert into scans values (3, null)"));

  OracleStatement statement(*client_.session);
  statement.Prepare("select scan from scans order by id");
  LobLocatorArray locators(*client_.session, 3, OCI_DTYPE_FILE);
  ASSERT_TRUE(locators.IsValid());
  statement.DefineLobArray(1, locators.Data(), SQLT_BFILEE, 3);
  ASSERT_TRUE(statement.Execute());
  ASSERT_EQ(statement.RowsInBatch(), 3);
  std::string directory;
  std::string file;
  ASSERT_TRUE(BfileName(*client_.session, locators.At(0), directory, file));
  EXPECT_EQ(directory, "DOC_DIR");
  EXPECT_EQ(file, "a/b's.pdf");
  EXPECT_FALSE(BfileName(*client_.session, locators.At(1), directory, file));
  int code = 0;
  client_.session->LastError(&code);
  EXPECT_EQ(code, 24801);
  EXPECT_EQ(statement.Indicator(1, 2), -1);
  // A locator no fetch pointed anywhere locates nothing.
  LobLocatorArray unused(*client_.session, 1, OCI_DTYPE_FILE);
  EXPECT_FALSE(BfileName(*client_.session, unused.At(0), directory, file));
  client_.session->LastError(&code);
  EXPECT_EQ(code, 22275);
}

}  // namespace

TEST_F(StatementTest, FortyFiveRowsArriveAsTwentyTwentyFive) {
  OracleStatement statement(*client_.session);
  statement.Prepare("select n from numbers order by n");
  std::array<char, 20 * (SlotLength + 1)> slots{};
  statement.DefineStringArray(1, slots.data(), SlotLength, 20);
  ASSERT_TRUE(statement.Execute());
  EXPECT_EQ(Batch(statement, slots.data()), Numbers(1, 20));
  ASSERT_TRUE(statement.FetchNext());
  EXPECT_EQ(Batch(statement, slots.data()), Numbers(21, 40));
  ASSERT_TRUE(statement.FetchNext());
  EXPECT_EQ(Batch(statement, slots.data()), Numbers(41, 45));

  // The short batch was the last: no further round trip, so even a broken
  // connection goes unnoticed.
  EXPECT_EQ(BreakSandboxConnections(*database_, 1), 1);
  EXPECT_FALSE(statement.FetchNext());
  int code = 0;
  client_.session->LastError(&code);
  EXPECT_NE(code, 3113);
}

TEST_F(StatementTest, FortyRowsEndWithAnEmptyRoundTrip) {
  OracleStatement statement(*client_.session);
  statement.Prepare("select n from numbers where n <= 40 order by n");
  std::array<char, 20 * (SlotLength + 1)> slots{};
  statement.DefineStringArray(1, slots.data(), SlotLength, 20);
  ASSERT_TRUE(statement.Execute());
  EXPECT_EQ(statement.RowsInBatch(), 20);
  ASSERT_TRUE(statement.FetchNext());
  EXPECT_EQ(Batch(statement, slots.data()), Numbers(21, 40));
  EXPECT_EQ(statement.TotalRows(), 40);
  EXPECT_FALSE(statement.FetchNext());
  EXPECT_EQ(statement.TotalRows(), 0);
  EXPECT_FALSE(statement.FetchNext());
}

TEST_F(StatementTest, NoRowsIsFalseAndNothingToReport) {
  OracleStatement statement(*client_.session);
  statement.Prepare("select n from numbers where n < 0");
  std::array<char, 20 * (SlotLength + 1)> slots{};
  statement.DefineStringArray(1, slots.data(), SlotLength, 20);
  EXPECT_FALSE(statement.Execute());
  EXPECT_EQ(statement.RowsInBatch(), 0);
  int code = 0;
  EXPECT_FALSE(client_.session->ReportError(false, false, &code));
  EXPECT_EQ(code, 1403);
  EXPECT_TRUE(client_.messages.texts.empty());
}

TEST_F(StatementTest, DescribeOnlyThenOneRowPerFetch) {
  OracleStatement statement(*client_.session);
  statement.Prepare("select n, n * 2 from three order by n");
  std::array<char, SlotLength + 1> slot{};
  statement.DefineStringArray(1, slot.data(), SlotLength, 1);
  int columns = 0;
  int functionCode = 0;
  short type = 0;
  ASSERT_TRUE(statement.Execute(&functionCode, &columns, nullptr, &type));
  EXPECT_EQ(columns, 2);
  EXPECT_EQ(type, 1);
  EXPECT_EQ(statement.TotalRows(), 0);
  for (const char* expected : {"1", "2", "3"}) {
    ASSERT_TRUE(statement.FetchNext()) << expected;
    EXPECT_STREQ(slot.data(), expected);
  }
  EXPECT_FALSE(statement.FetchNext());

  // Preparing again starts the counters from zero: 20, 20, 5 as before.
  statement.Prepare("select n from numbers order by n");
  EXPECT_EQ(statement.TotalRows(), 0);
  std::array<char, 20 * (SlotLength + 1)> slots{};
  statement.DefineStringArray(1, slots.data(), SlotLength, 20);
  ASSERT_TRUE(statement.Execute());
  ASSERT_TRUE(statement.FetchNext());
  ASSERT_TRUE(statement.FetchNext());
  EXPECT_EQ(Batch(statement, slots.data()), Numbers(41, 45));
  EXPECT_FALSE(statement.FetchNext());
}

TEST_F(StatementTest, RowCountsAndNullValues) {
  OracleStatement update(*client_.session);
  update.Prepare("update three set n = n where n >= 2");
  int count = 0;
  ASSERT_TRUE(update.Execute(nullptr, &count));
  EXPECT_EQ(count, 2);

  ASSERT_TRUE(client_.session->ExecuteSql("create table maybe (v varchar2(10))"));
  for (const char* value : {"a", "", "c"}) {
    ASSERT_TRUE(client_.session->ExecuteSql(
        value[0] == '\0' ? "insert into maybe values (null)" : "insert into maybe values (:bind1)",
        value));
  }
  OracleStatement select(*client_.session);
  select.Prepare("select v from maybe");
  std::array<char, 20 * (SlotLength + 1)> slots;
  slots.fill('x');  // a NULL must not show what the buffer held before
  select.DefineStringArray(1, slots.data(), SlotLength, 20);
  ASSERT_TRUE(select.Execute());
  EXPECT_EQ(Batch(select, slots.data()), (std::vector<std::string>{"a", "", "c"}));
  EXPECT_EQ(select.Indicator(1, 1), -1);
  EXPECT_EQ(select.Indicator(1, 0), 0);
  EXPECT_EQ(client_.session->QueryValue("select v from maybe where v is null", "", "", ""), "");
  EXPECT_TRUE(client_.messages.texts.empty());
}

TEST_F(StatementTest, DoublePercentReachesTheServerAsOne) {
  EXPECT_EQ(OracleStatement::ReducePercents("a%%b%c%%%"), "a%b%c%%");
  EXPECT_EQ(client_.session->QueryValue("select 'a%%b%c' from dual", "", "", ""), "a%b%c");
  EXPECT_EQ(client_.session->QueryValue("select count(*) from numbers where to_char(n) like '4%%'",
                                        "", "", ""),
            "7");
}

TEST_F(StatementTest, BindsAndEmptyValues) {
  ASSERT_TRUE(client_.session->ExecuteSql("create table pairs (a varchar2(10), b varchar2(10))"));
  EXPECT_TRUE(client_.session->ExecuteSql("insert into pairs values (:bind1, :bind2)", "x", "y"));
  EXPECT_EQ(client_.session->QueryValue("select a || b from pairs", "", "", ""), "xy");

  // An empty value is not bound, so the statement fails at execute time.
  int code = 0;
  EXPECT_FALSE(client_.session->ExecuteSql("insert into pairs values (:bind1, :bind2)", "x", "", "",
                                           "", &code));
  EXPECT_EQ(code, 1008);
  ASSERT_EQ(client_.messages.texts.size(), 1u);
  EXPECT_EQ(client_.messages.texts[0].rfind("ORA-01008", 0), 0u) << client_.messages.texts[0];

  // QueryValue binds its values upper-cased.
  EXPECT_EQ(client_.session->QueryValue("select username from all_users where username = :owner",
                                        "system", "", ""),
            "SYSTEM");
}

TEST_F(StatementTest, ListUsersKeepsLongNames) {
  const std::string longName = "U" + std::string(99, 'N');
  ASSERT_TRUE(client_.session->ExecuteSql("create user " + longName + " identified by pw"));
  std::vector<std::string> users{"stale"};
  client_.session->ListUsers(users);
  EXPECT_NE(std::find(users.begin(), users.end(), "SYSTEM"), users.end());
  EXPECT_NE(std::find(users.begin(), users.end(), longName), users.end());
  EXPECT_EQ(std::find(users.begin(), users.end(), "stale"), users.end());
}

TEST_F(StatementTest, LongValueIsAssembledFromPieces) {
  ASSERT_TRUE(client_.session->ExecuteSql("create table notes (id number, body long)"));
  std::string body;
  for (int i = 0; body.size() < 25000; ++i) {
    body += "line " + std::to_string(i) + "\n";
  }
  body.resize(25000);
  ASSERT_TRUE(client_.session->ExecuteSql("insert into notes values (:bind1, :bind2)", "7", body));

  int steps = 0;
  client_.session->SetProgressStep([&steps] { ++steps; });
  const std::string text =
      client_.session->FetchLongText("select body from notes where id = :bind1", "7", "");
  EXPECT_EQ(text.size(), 25000u);
  EXPECT_EQ(text, body);
  EXPECT_EQ(steps, 3);  // 10240 + 10240 + 4520

  EXPECT_EQ(client_.session->FetchLongText("select body from notes where id = :bind1", "8", ""),
            "");
  EXPECT_TRUE(client_.messages.texts.empty());

  // A value cut short is no value: nothing of it comes back.
  std::string failure;
  BreakSandboxAtCall(*database_, 1, 3);
  EXPECT_EQ(
      client_.session->FetchLongText("select body from notes where id = :bind1", "7", "", &failure),
      "");
  BreakSandboxAtCall(*database_, 1, 0);
  EXPECT_EQ(failure.rfind("ORA-03113", 0), 0u) << failure;
  EXPECT_TRUE(client_.messages.texts.empty());  // the caller has it, not a message box
  ASSERT_TRUE(client_.session->Connect("system", "manager", *database_, true, true));
  BreakSandboxAtCall(*database_, 1, 1);
  EXPECT_EQ(client_.session->FetchLongText("select body from notes where id = :bind1", "7", ""),
            "");
  BreakSandboxAtCall(*database_, 1, 0);
  ASSERT_EQ(client_.messages.texts.size(), 1u);
  EXPECT_EQ(client_.messages.texts[0].rfind("ORA-03113", 0), 0u) << client_.messages.texts[0];
}
