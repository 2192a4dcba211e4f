// Every commit empties the transaction-duration temporary tables; finding
// them must not read the whole table list, which grows with the schema and
// would make each DDL statement (which commits) slower than the last.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <string>

#include "ServerTestSession.h"
#include "sandbox/server/ServerDatabase.h"
#include "sandbox/server/SqliteHandle.h"

namespace sandbox::test {
namespace {

TEST(TransactionCommitTest, CommitEmptiesTransactionTablesFoundByIndex) {
  ServerTestSession db;
  db.Script(
      "create global temporary table work (a number) on commit delete rows;\n"
      "create global temporary table kept (a number) on commit preserve rows;\n"
      "create table plain (a number);\n"
      "insert into work values (1);\ninsert into kept values (2);\n"
      "insert into plain values (3);\n");
  EXPECT_EQ(db.Value1("select count(*) from work"), "1");
  // DDL commits first.
  db.Script("create table other (a number);");
  EXPECT_EQ(db.Value1("select count(*) from work"), "0");
  EXPECT_EQ(db.Value1("select count(*) from kept"), "1");
  EXPECT_EQ(db.Value1("select count(*) from plain"), "1");

  auto& server = dynamic_cast<ServerDatabase&>(db.database());
  std::vector<std::vector<std::string>> plan;
  ASSERT_TRUE(SqliteRunner(server.Handle())
                  .Query("EXPLAIN QUERY PLAN SELECT OWNER, TABLE_NAME FROM \"SYS.ALL_TABLES\" "
                         "WHERE DURATION = 'SYS$TRANSACTION'",
                         {}, plan));
  ASSERT_FALSE(plan.empty());
  for (const auto& step : plan)
    EXPECT_EQ(step.back().rfind("SEARCH", 0), 0u) << step.back();
}

}  // namespace
}  // namespace sandbox::test
