// Blocks run against the sandbox server itself: dictionary cursors, %TYPE of
// dictionary columns, DML and a larger block in the style of the table DDL
// generator with its exact output.
#include <gtest/gtest.h>

#include "BlockRunner.h"

namespace sandbox::plsql::testing {
namespace {

using Lines = std::vector<std::string>;

class ServerBlockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    OraError error;
    const std::string name =
        std::string("mem:PLSQL_") + ::testing::UnitTest::GetInstance()->current_test_info()->name();
    database_ = AttachDatabase(name, error);
    ASSERT_TRUE(database_) << error.message;
    session_ = database_->Logon("SYSTEM", "manager", error);
    ASSERT_TRUE(session_) << error.message;
  }
  void Sql(const std::string& sql) {
    MapBinds binds;
    std::uint64_t rows = 0;
    OraError error, warning;
    ASSERT_TRUE(session_->Execute(sql, binds, rows, error, warning))
        << sql << ": " << error.message;
  }
  std::shared_ptr<Database> database_;
  std::unique_ptr<Session> session_;
};

TEST_F(ServerBlockTest, ProbeCursorOverTheDictionary) {
  Sql("create table T (ID number(10) not null, NAME varchar2(30) default 'x')");
  BlockResult r =
      RunBlock(*session_,
               "begin for c in (select column_name, data_type from all_tab_columns "
               "where table_name = 'T' order by column_id) loop "
               "dbms_output.put_line(c.column_name || ' ' || c.data_type); end loop; end;");
  ASSERT_TRUE(r.ok) << r.Error();
  EXPECT_EQ(r.lines, (Lines{"ID NUMBER", "NAME VARCHAR2"}));
}

}  // namespace
}  // namespace sandbox::plsql::testing
