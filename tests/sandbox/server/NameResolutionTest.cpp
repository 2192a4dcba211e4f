// Table and view names stay resolvable exactly while they exist: after
// CREATE and DROP, after DDL that fails half way, and after a change that
// another connection makes to a database file.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <filesystem>

#include <unistd.h>

#include "ServerTestSession.h"

namespace sandbox::test {
namespace {

constexpr int kNoSuchTable = 942;

TEST(NameResolutionTest, NamesFollowCreateAndDrop) {
  ServerTestSession db;
  EXPECT_EQ(db.QueryError("select * from t"), kNoSuchTable);
  db.Script("create table t (a number);\ncreate view v as select a from t;\n");
  EXPECT_EQ(db.QueryError("select * from t"), 0);
  EXPECT_EQ(db.QueryError("select * from system.v"), 0);
  db.Script("drop view v;\ndrop table t;\n");
  EXPECT_EQ(db.QueryError("select * from t"), kNoSuchTable);
  EXPECT_EQ(db.QueryError("select * from v"), kNoSuchTable);
  // A name of the schema still hides the dictionary view it shares a name with.
  EXPECT_EQ(db.Value1("select count(*) from all_views where owner = 'SYSTEM'"), "0");
  db.Script(
      "create table all_views (owner varchar2(5));\ninsert into all_views values ('mine');\n");
  EXPECT_EQ(db.Value1("select owner from all_views"), "mine");
}

// SQLite ignores the case of names; Oracle's quoted names do not.
TEST(NameResolutionTest, NamesThatDifferOnlyInCaseAreDifferentObjects) {
  ServerTestSession db;
  db.Script(
      "create table \"Emp\" (a number constraint \"ck\" check (a > 0));\n"
      "create table EMP (b varchar2(5) constraint CK check (b <> 'x'));\n"
      "create table \"e.~p\" (c number);\n"
      "insert into \"Emp\" values (1);\ninsert into emp values ('y');\n"
      "insert into \"e.~p\" values (3);\n"
      "create user \"Scott\" identified by x;\ncreate user scott identified by x;\n"
      "create table scott.t (a number);\ncreate table \"Scott\".t (a number);\n");
  EXPECT_EQ(db.Value1("select a from \"Emp\""), "1");
  EXPECT_EQ(db.Value1("select b from emp"), "y");
  EXPECT_EQ(db.Value1("select c from \"e.~p\""), "3");
  EXPECT_NE(db.Exec("insert into \"Emp\" values (-1)"), 0);
  EXPECT_EQ(db.Exec("insert into emp values ('z')"), 0);
  db.Script("drop user \"Scott\" cascade;");
  EXPECT_EQ(db.QueryError("select * from scott.t"), 0);
}

// A name is asked of SQLite's schema, not read from a list: a view whose
// table is gone still exists, and names that need quoting are found.
TEST(NameResolutionTest, NamesFollowRenameRebuildAndBrokenViews) {
  ServerTestSession db;
  db.Script(
      "create table t (a number);\ncreate view v as select a from t;\n"
      "create table \"q t\" (b number);\ninsert into \"q t\" values (2);\n");
  EXPECT_EQ(db.Value1("select b from \"q t\""), "2");
  EXPECT_EQ(db.QueryError("select * from \"Q T\""), kNoSuchTable);
  db.Script("alter table t add (c number);\ninsert into t values (1, 3);\n");
  EXPECT_EQ(db.Value1("select c from t"), "3");
  db.Script("rename t to u;");
  EXPECT_EQ(db.QueryError("select * from t"), kNoSuchTable);
  EXPECT_EQ(db.Value1("select a from u"), "1");
  EXPECT_EQ(db.QueryError("select * from v"), kNoSuchTable);
  db.Script("create table t (a number);\ninsert into t values (7);\n");
  EXPECT_EQ(db.Value1("select a from v"), "7");
  db.Script("drop table t;\ndrop view v;\ncreate table v (d number);\n");
  EXPECT_EQ(db.QueryError("select d from v"), 0);
}

TEST(NameResolutionTest, FailedDdlLeavesNoNameBehind) {
  ServerTestSession db;
  db.Script("create table parent (id number primary key);");
  // The table is written before the bad reference is found and undone; the
  // next DDL brings the schema back to the version it had meanwhile.
  EXPECT_NE(db.Exec("create table child (id number references nowhere)"), 0);
  db.Script("create table other (id number references parent);");
  EXPECT_EQ(db.QueryError("select * from other"), 0);
  EXPECT_EQ(db.QueryError("select * from child"), kNoSuchTable);
}

TEST(NameResolutionTest, TableMadeByAnotherConnectionToTheFileIsSeen) {
  const std::filesystem::path file =
      std::filesystem::temp_directory_path() / ("qm-names-" + std::to_string(::getpid()) + ".db");
  std::filesystem::remove(file);
  OraError error;
  auto database = AttachDatabase("file:" + file.string(), error);
  ASSERT_TRUE(database) << error.message;
  ServerTestSession db(database);
  EXPECT_EQ(db.QueryError("select * from shared"), kNoSuchTable);

  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(file.c_str(), &other), SQLITE_OK);
  EXPECT_EQ(
      sqlite3_exec(other, "CREATE TABLE \"SYSTEM.SHARED\" (A NUMBER)", nullptr, nullptr, nullptr),
      SQLITE_OK);
  sqlite3_close(other);
  EXPECT_EQ(db.QueryError("select * from shared"), 0);
  std::filesystem::remove(file);
}

}  // namespace
}  // namespace sandbox::test
