// Which names a generated statement writes in double quotes.
#include <gtest/gtest.h>

#include "scripting/source/OracleNames.h"

TEST(OracleNamesTest, OnlyPlainUpperCaseIdentifiersStandUnquoted) {
  EXPECT_EQ(StatementName("EMPLOYEES"), "EMPLOYEES");
  EXPECT_EQ(StatementName("A1_$#"), "A1_$#");
  EXPECT_EQ(StatementName("Employees"), "\"Employees\"");
  EXPECT_EQ(StatementName("ORDER LINES"), "\"ORDER LINES\"");
  EXPECT_EQ(StatementName("1ST"), "\"1ST\"");
  EXPECT_EQ(StatementName("_HIDDEN"), "\"_HIDDEN\"");
  EXPECT_EQ(StatementName("A-B"), "\"A-B\"");
  EXPECT_EQ(StatementName("\xC3\x84RGER"), "\"\xC3\x84RGER\"");
}
