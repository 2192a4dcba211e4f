// Statements that reach SQLite's own limits (expression depth 1000, 127
// function arguments) either work, as on an Oracle server, or fail with the
// server's limit error, never with an internal error.
#include <gtest/gtest.h>

#include <string>

#include "ServerTestSession.h"

namespace sandbox::test {
namespace {

std::string Chain(int count, const std::string& separator, const std::string& prefix) {
  std::string text;
  for (int i = 0; i < count; ++i)
    text += (i ? separator : std::string()) + prefix + std::to_string(i);
  return text;
}

TEST(ExpressionLimits, LongConditionChainsRunAsOnTheServer) {
  ServerTestSession s;
  s.Script("create table limits (x number, y number);\ninsert into limits values (1500, 7);\n");
  EXPECT_EQ(
      s.Value1("select count(*) from limits where " + Chain(3000, " or ", "x = ") + " or x = 1500"),
      "1");
  EXPECT_EQ(s.Value1("select count(*) from limits where y = 7 and " +
                     Chain(2000, " and ", "x > -") + " and (x = 1 or x = 1500)"),
            "1");
  // A condition of both kinds keeps AND binding tighter than OR.
  EXPECT_EQ(s.Value1("select count(*) from limits where x = 0 and y = 7 or " +
                     Chain(1500, " or ", "y = -")),
            "0");
  // A concatenation of more operands than a SQLite function takes.
  std::string concatenation = "'x'";
  for (int i = 1; i < 300; ++i)
    concatenation += " || 'x'";
  EXPECT_EQ(s.Value1("select " + concatenation + " from dual"), std::string(300, 'x'));
}

TEST(ExpressionLimits, ListsPastTheServersLimitsGiveItsErrors) {
  ServerTestSession s;
  s.Script("create table limits (x number);\ninsert into limits values (999);\n");
  EXPECT_EQ(s.Value1("select count(*) from limits where x in (" + Chain(1000, ", ", "") + ")"),
            "1");
  EXPECT_EQ(s.QueryError("select count(*) from limits where x in (" + Chain(1001, ", ", "") + ")"),
            1795);
  EXPECT_EQ(s.Value1("select c999 from (select " + Chain(1000, ", ", "1 c") + " from dual)"), "1");
  EXPECT_EQ(s.QueryError("select " + Chain(1001, ", ", "1 c") + " from dual"), 1792);
}

}  // namespace
}  // namespace sandbox::test
