// Oracle rules that a client sees through the entry points: the empty string
// is NULL in comparisons and concatenation, dates follow NLS_DATE_FORMAT.
#include <gtest/gtest.h>

#include "OciTestClient.h"

namespace sandbox::testing {
namespace {

TEST(SandboxOciSql, EmptyStringIsNullInComparisonsAndConcatenation) {
  TestConnection connection;
  ASSERT_TRUE(connection.ConnectFresh("EMPTY"));
  EXPECT_EQ(connection.Rows("select count(*) from dual where '' is null"),
            std::vector<std::string>{"1"});
  EXPECT_EQ(connection.Rows("select count(*) from dual where '' = ''"),
            std::vector<std::string>{"0"});
  EXPECT_EQ(connection.Rows("select 'a' || '' || 'b' || null from dual"),
            std::vector<std::string>{"ab"});
  EXPECT_EQ(connection.Rows("select nvl('', 'empty') from dual"),
            std::vector<std::string>{"empty"});

  ASSERT_EQ(connection.Run("create table names (name varchar2(10))"), OCI_SUCCESS);
  ASSERT_EQ(connection.Run("insert into names values ('')"), OCI_SUCCESS);
  EXPECT_EQ(connection.Rows("select count(*) from names where name is null"),
            std::vector<std::string>{"1"});
}

TEST(SandboxOciSql, DatesComeBackInTheSessionDateFormat) {
  TestConnection connection;
  ASSERT_TRUE(connection.ConnectFresh("DATES"));
  ASSERT_EQ(connection.Run("alter session set nls_date_format = 'MM/DD/YYYY HH24:MI'"), OCI_SUCCESS)
      << connection.LastErrorText();
  EXPECT_EQ(connection.Rows("select to_date('2024-03-05 14:07', 'YYYY-MM-DD HH24:MI') from dual"),
            std::vector<std::string>{"03/05/2024 14:07"});
  EXPECT_EQ(connection.Run("alter session set nls_date_format = 'no such format'"), OCI_ERROR);
  EXPECT_EQ(connection.LastErrorCode(), 1821);
}

}  // namespace
}  // namespace sandbox::testing
