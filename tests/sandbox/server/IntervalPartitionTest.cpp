// The interval an interval table's key falls into: the steps the INTERVAL
// clause may name, and the bound of the partition made for a key, at the
// edges of months, of leap years and of the transition point.
#include <gtest/gtest.h>

#include "sandbox/server/ddl/IntervalPartitions.h"

namespace sandbox::test {
namespace {

std::string DateBound(const char* date) {
  return std::string("TO_DATE(' ") + date +
         "', 'SYYYY-MM-DD HH24:MI:SS', 'NLS_CALENDAR=GREGORIAN')";
}

// "index|high value", or "none".
std::string Interval(const char* clause, const char* key, const char* transition) {
  const auto step = ReadIntervalStep(clause);
  if (!step)
    return "no step";
  const auto bound = IntervalOf(*step, key, transition);
  return bound ? std::to_string(bound->index) + "|" + bound->highValue : "none";
}

TEST(IntervalPartitionTest, StepsAreNumbersIntervalFunctionsAndLiterals) {
  using Unit = IntervalStep::Unit;
  const auto number = ReadIntervalStep("100");
  ASSERT_TRUE(number);
  EXPECT_EQ(number->unit, Unit::Number);
  const auto quarter = ReadIntervalStep("NumToYMInterval(3, 'month')");
  ASSERT_TRUE(quarter);
  EXPECT_EQ(quarter->unit, Unit::Months);
  EXPECT_EQ(quarter->size, 3);
  const auto years = ReadIntervalStep("numtoyminterval(2, 'YEAR')");
  ASSERT_TRUE(years);
  EXPECT_EQ(years->size, 24);
  const auto hours = ReadIntervalStep("numtodsinterval(6, 'HOUR')");
  ASSERT_TRUE(hours);
  EXPECT_EQ(hours->unit, Unit::Seconds);
  EXPECT_EQ(hours->size, 6 * 3600);
  // What the server cannot step by makes no partitions.
  EXPECT_FALSE(ReadIntervalStep("0"));
  EXPECT_FALSE(ReadIntervalStep("numtoyminterval(1.5, 'MONTH')"));
  EXPECT_FALSE(ReadIntervalStep("numtoyminterval(1, 'DAY')"));
  EXPECT_FALSE(ReadIntervalStep("numtodsinterval(1, 'WEEK')"));
  const auto literal = ReadIntervalStep("interval '2' day");
  ASSERT_TRUE(literal);
  EXPECT_EQ(literal->unit, Unit::Seconds);
  EXPECT_EQ(literal->size, 2 * 86400);
  const auto monthLiteral = ReadIntervalStep("INTERVAL '1' MONTH");
  ASSERT_TRUE(monthLiteral);
  EXPECT_EQ(monthLiteral->unit, Unit::Months);
  EXPECT_FALSE(ReadIntervalStep("interval '1-6' year to month"));
  EXPECT_FALSE(ReadIntervalStep("interval 'x' month"));
  EXPECT_FALSE(ReadIntervalStep(""));
}

TEST(IntervalPartitionTest, NumberKeysFallIntoStepsFromTheTransitionPoint) {
  EXPECT_EQ(Interval("100", "100", "100"), "0|200");
  EXPECT_EQ(Interval("100", "199.5", "100"), "0|200");
  EXPECT_EQ(Interval("100", "250", "100"), "1|300");
  EXPECT_EQ(Interval("2.5", "-1", "-5"), "1|0");
  EXPECT_EQ(Interval("100", "99", "100"), "none");  // the range partitions take it
  EXPECT_EQ(Interval("100", "abc", "100"), "none");
  // No more intervals than a table may have partitions.
  EXPECT_EQ(Interval("1", "1048574.5", "0"), "1048574|1048575");
  EXPECT_EQ(Interval("1", "1048575", "0"), "1048575|");
  EXPECT_EQ(Interval("1", "1e300", "0"), "1048575|");
}

TEST(IntervalPartitionTest, MonthStepsKeepTheTransitionDayWithinEachMonth) {
  const char* monthly = "numtoyminterval(1, 'MONTH')";
  EXPECT_EQ(Interval(monthly, "2024-01-01 00:00:00", "2024-01-01 00:00:00"),
            "0|" + DateBound("2024-02-01 00:00:00"));
  EXPECT_EQ(Interval(monthly, "2024-02-29 13:00:00", "2024-01-01 00:00:00"),
            "1|" + DateBound("2024-03-01 00:00:00"));
  EXPECT_EQ(Interval(monthly, "2030-12-31 23:59:59", "2024-01-01 00:00:00"),
            "83|" + DateBound("2031-01-01 00:00:00"));
  // From the 31st the bounds fall on each month's last day; a key before
  // the bound in its month belongs to the interval before.
  EXPECT_EQ(Interval(monthly, "2024-02-28 12:00:00", "2024-01-31 00:00:00"),
            "0|" + DateBound("2024-02-29 00:00:00"));
  EXPECT_EQ(Interval(monthly, "2024-02-29 12:00:00", "2024-01-31 00:00:00"),
            "1|" + DateBound("2024-03-31 00:00:00"));
  EXPECT_EQ(Interval(monthly, "2024-03-30 00:00:00", "2024-01-31 00:00:00"),
            "1|" + DateBound("2024-03-31 00:00:00"));
  EXPECT_EQ(Interval("numtoyminterval(1, 'YEAR')", "2025-06-30 00:00:00", "2024-01-01 00:00:00"),
            "1|" + DateBound("2026-01-01 00:00:00"));
  EXPECT_EQ(Interval(monthly, "2023-12-31 00:00:00", "2024-01-01 00:00:00"), "none");
  // A bound past the last day a DATE holds cannot be made.
  EXPECT_EQ(Interval("numtoyminterval(1, 'YEAR')", "9998-06-01 00:00:00", "2024-01-01 00:00:00"),
            "7974|" + DateBound("9999-01-01 00:00:00"));
  EXPECT_EQ(Interval("numtoyminterval(1, 'YEAR')", "9999-06-01 00:00:00", "2024-01-01 00:00:00"),
            "1048575|");
  EXPECT_EQ(Interval("numtodsinterval(1, 'DAY')", "9999-12-31 12:00:00", "2024-01-01 00:00:00"),
            "1048575|");
}

TEST(IntervalPartitionTest, DayStepsCountSecondsAcrossMonthsAndLeapDays) {
  const char* weekly = "numtodsinterval(7, 'DAY')";
  EXPECT_EQ(Interval(weekly, "2024-01-09 00:00:00", "2024-01-01 00:00:00"),
            "1|" + DateBound("2024-01-15 00:00:00"));
  EXPECT_EQ(Interval(weekly, "2024-02-28 10:00:00", "2024-02-26 00:00:00"),
            "0|" + DateBound("2024-03-04 00:00:00"));
  EXPECT_EQ(Interval("numtodsinterval(6, 'HOUR')", "2024-01-01 13:00:00", "2024-01-01 00:00:00"),
            "2|" + DateBound("2024-01-01 18:00:00"));
}

}  // namespace
}  // namespace sandbox::test
