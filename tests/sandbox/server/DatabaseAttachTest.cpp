// Databases by connect identifier: script directories, persistent files,
// the sandbox home, damaged files, and sessions of several threads.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include <sqlite3.h>
#include <unistd.h>

#include <memory>

#include "ServerTestSession.h"
#include "sandbox/server/sql/SqlToken.h"

namespace sandbox::test {
namespace {

namespace fs = std::filesystem;

class TempDir {
 public:
  TempDir() {
    path_ = fs::temp_directory_path() /
            ("qm-sandbox-" + std::to_string(::getpid()) + "-" + std::to_string(++count_));
    fs::create_directories(path_);
  }
  ~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
  const fs::path& path() const { return path_; }
  void Write(const std::string& name, const std::string& text) const {
    std::ofstream(path_ / name) << text;
  }

 private:
  fs::path path_;
  static inline int count_ = 0;
};

TEST(DatabaseAttachTest, ScriptDirectoryBuildsInNameOrderAndConnects) {
  TempDir dir;
  dir.Write("02_tables.sql",
            "connect shop/secret\ncreate table items (name varchar2(10));\n"
            "insert into items values ('nail');\ncommit;\n");
  dir.Write("01_users.sql",
            "create user shop identified by secret;\ngrant connect, resource to shop;\n");
  dir.Write("notes.txt", "not a script");
  OraError error;
  auto database = AttachDatabase("dir:" + dir.path().string(), error);
  ASSERT_TRUE(database) << error.message;
  EXPECT_EQ(database->Name(), ToUpperAscii(dir.path().filename().string()));
  ServerTestSession shop(database, "SHOP", "secret");
  EXPECT_EQ(shop.Value1("select name from items"), "nail");
}

TEST(DatabaseAttachTest, ScriptErrorsNameTheFileAndLine) {
  TempDir dir;
  dir.Write("setup.sql", "create table ok (a number);\n\nselect * from nowhere;\n");
  OraError error;
  EXPECT_EQ(AttachDatabase("dir:" + dir.path().string(), error), nullptr);
  EXPECT_EQ(error.code, 942);
  EXPECT_EQ(error.message, "setup.sql:3: table or view does not exist");
}

TEST(DatabaseAttachTest, FileDatabasesKeepCommittedWork) {
  TempDir dir;
  const fs::path first = dir.path() / "stock.db";
  OraError error;
  {
    auto database = AttachDatabase("file:" + first.string(), error);
    ASSERT_TRUE(database) << error.message;
    EXPECT_EQ(database->Name(), "STOCK");
    ServerTestSession db(database);
    db.Script("create table kept (a number primary key);\ninsert into kept values (42);\ncommit;");
  }
  // A copy of the file is another database with the same contents.
  const fs::path copy = dir.path() / "copy.db";
  fs::copy_file(first, copy);
  auto reopened = AttachDatabase("file:" + copy.string(), error);
  ASSERT_TRUE(reopened) << error.message;
  EXPECT_EQ(reopened->Name(), "STOCK");  // the global name is the database's own
  ServerTestSession db(reopened);
  EXPECT_EQ(db.Value1("select a from kept"), "42");
  EXPECT_EQ(db.Value1("select count(*) from all_constraints where table_name = 'KEPT'"), "1");
}

// A file whose ALL_TAB_COLUMNS still leaves out every hidden column, as
// builds before invisible columns made it, lists them once it is opened.
TEST(DatabaseAttachTest, OlderDictionaryViewsAreBroughtUpToDateWhenOpened) {
  TempDir dir;
  const fs::path file = dir.path() / "older.db";
  OraError error;
  {
    auto database = AttachDatabase("file:" + file.string(), error);
    ASSERT_TRUE(database) << error.message;
    ServerTestSession db(database);
    db.Script("create table shelf (a number, b number invisible);");
  }
  {
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(file.string().c_str(), &raw), SQLITE_OK);
    const std::unique_ptr<sqlite3, int (*)(sqlite3*)> handle(raw, sqlite3_close);
    sqlite3_stmt* read = nullptr;
    ASSERT_EQ(
        sqlite3_prepare_v2(raw, "SELECT sql FROM sqlite_master WHERE name = 'SYS.ALL_TAB_COLUMNS'",
                           -1, &read, nullptr),
        SQLITE_OK);
    const std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt*)> statement(read, sqlite3_finalize);
    ASSERT_EQ(sqlite3_step(read), SQLITE_ROW);
    std::string sql = reinterpret_cast<const char*>(sqlite3_column_text(read, 0));
    const std::string current = "USER_GENERATED = 'YES'";
    ASSERT_NE(sql.find(current), std::string::npos);
    sql.replace(sql.find(current), current.size(), "HIDDEN_COLUMN = 'NO'");
    ASSERT_EQ(sqlite3_exec(raw, ("DROP VIEW \"SYS.ALL_TAB_COLUMNS\"; " + sql).c_str(), nullptr,
                           nullptr, nullptr),
              SQLITE_OK);
  }
  // A copy is a database not yet open.
  const fs::path copy = dir.path() / "older-copy.db";
  fs::copy_file(file, copy);
  auto reopened = AttachDatabase("file:" + copy.string(), error);
  ASSERT_TRUE(reopened) << error.message;
  ServerTestSession db(reopened);
  EXPECT_EQ(db.Rows("select column_name, column_id from user_tab_columns where table_name = "
                    "'SHELF' order by column_name"),
            (std::vector<std::string>{"A|1", "B|"}));
}

// Runs sql on the file with SQLite itself; the first column of the first row.
std::string RawValue(const fs::path& file, const std::string& sql) {
  sqlite3* raw = nullptr;
  EXPECT_EQ(sqlite3_open(file.string().c_str(), &raw), SQLITE_OK);
  const std::unique_ptr<sqlite3, int (*)(sqlite3*)> handle(raw, sqlite3_close);
  std::string value;
  sqlite3_exec(
      raw, sql.c_str(),
      [](void* out, int, char** columns, char**) {
        *static_cast<std::string*>(out) = columns[0] ? columns[0] : "";
        return 0;
      },
      &value, nullptr);
  return value;
}

// Constraints, date columns and DEFAULT ON NULL add nothing to SQLite's
// schema, whose every new object costs a read of all the others; files of
// older releases lose the triggers that used to carry them out.
TEST(DatabaseAttachTest, TableRulesAreNoSqliteObjectsAndOlderTriggersGo) {
  TempDir dir;
  const fs::path file = dir.path() / "rules.db";
  OraError error;
  {
    auto database = AttachDatabase("file:" + file.string(), error);
    ASSERT_TRUE(database) << error.message;
    ServerTestSession db(database);
    db.Script(R"(
      create table parent (id number primary key);
      create table child (id number constraint child_pk primary key deferrable,
        code varchar2(5) not null, born date, n number default on null 1,
        parent_id number references parent on delete cascade, constraint code_ck check (code <> 'X'));
    )");
  }
  EXPECT_EQ(RawValue(file, "SELECT count(*) FROM sqlite_master WHERE type = 'trigger'"), "0");
  // What an older release left: a trigger calling a function that is gone.
  RawValue(file,
           "CREATE TRIGGER \"cons:SYSTEM.CHILD_OLD:1\" BEFORE INSERT ON \"SYSTEM.CHILD\" BEGIN "
           "SELECT ora_constraint_now('SYSTEM.CHILD_OLD', 'x', 0, 0, 0); END");
  ASSERT_EQ(RawValue(file, "SELECT count(*) FROM sqlite_master WHERE type = 'trigger'"), "1");
  // A copy is a database not yet open.
  const fs::path copy = dir.path() / "rules-copy.db";
  fs::copy_file(file, copy);
  auto reopened = AttachDatabase("file:" + copy.string(), error);
  ASSERT_TRUE(reopened) << error.message;
  ServerTestSession db(reopened);
  EXPECT_EQ(db.Exec("insert into child (id, code) values (1, null)"), 1400);
  EXPECT_EQ(db.Exec("insert into child (id, code) values (1, 'X')"), 2290);
  EXPECT_EQ(db.Exec("insert into child (id, code, parent_id) values (1, 'A', 7)"), 2291);
  db.Script(R"(
    insert into parent values (7);
    insert into child (id, code, born, n, parent_id) values (1, 'A', '03-MAR-21', null, 7);
  )");
  EXPECT_EQ(db.Exec("insert into child (id, code) values (1, 'B')"), 1);
  EXPECT_EQ(db.Value1("select to_char(born, 'YYYY-MM-DD') || '/' || n from child"), "2021-03-03/1");
  db.Script("delete from parent; commit;");
  EXPECT_EQ(db.Value1("select count(*) from child"), "0");
  EXPECT_EQ(RawValue(copy, "SELECT count(*) FROM sqlite_master WHERE type = 'trigger'"), "0");
}

TEST(DatabaseAttachTest, DamagedFileGivesAnErrorAndStaysAsItWas) {
  TempDir dir;
  const std::string junk(3000, 'x');
  dir.Write("broken.db", junk);
  OraError error;
  EXPECT_EQ(AttachDatabase("file:" + (dir.path() / "broken.db").string(), error), nullptr);
  EXPECT_TRUE(error.IsSet());
  std::ifstream in(dir.path() / "broken.db", std::ios::binary);
  const std::string after((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(after, junk);
  EXPECT_EQ(AttachDatabase("file:" + dir.path().string(), error), nullptr);
  EXPECT_EQ(error.code, 12154);
}

TEST(DatabaseAttachTest, PlainNamesResolveUnderTheSandboxHome) {
  TempDir dir;
  OraError error;
  {
    auto database = AttachDatabase("file:" + (dir.path() / "homedb.db").string(), error);
    ASSERT_TRUE(database);
    ServerTestSession(database).Script("create table marker (a number);\ncommit;");
  }
  ::setenv("QUILLMARK_SANDBOX_HOME", dir.path().c_str(), 1);
  auto byName = AttachDatabase("homedb", error);
  EXPECT_EQ(AttachDatabase("otherdb", error), nullptr);
  EXPECT_EQ(error.code, 12154);
  EXPECT_EQ(AttachDatabase("../homedb", error), nullptr);
  ::unsetenv("QUILLMARK_SANDBOX_HOME");
  ASSERT_TRUE(byName);
  EXPECT_EQ(ServerTestSession(byName).Value1("select count(*) from marker"), "0");
}

TEST(DatabaseAttachTest, SessionsOfSeveralThreads) {
  ServerTestSession admin;
  admin.Script("create table shared_rows (thread number, n number);\ncommit;");
  std::shared_ptr<Database> database(&admin.database(), [](Database*) {});
  auto work = [&](int thread, std::string& failure) {
    OraError error;
    auto session = database->Logon("SYSTEM", "manager", error);
    MapBinds binds{{"T", Value::Integer(thread)}};
    for (int i = 0; i < 100 && failure.empty(); ++i) {
      std::uint64_t rows = 0;
      OraError warning;
      if (!session->Execute("insert into shared_rows values (:t, " + std::to_string(i) + ")", binds,
                            rows, error, warning))
        failure = error.message;
      if (!session->OpenQuery("select count(*) from shared_rows where thread = :t", binds, error))
        failure = error.message;
    }
  };
  std::string failureA, failureB;
  std::thread a(work, 1, std::ref(failureA));
  std::thread b(work, 2, std::ref(failureB));
  a.join();
  b.join();
  EXPECT_EQ(failureA, "");
  EXPECT_EQ(failureB, "");
  EXPECT_EQ(admin.Value1("select count(*) from shared_rows"), "200");
}

}  // namespace
}  // namespace sandbox::test
