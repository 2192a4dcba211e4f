// Datetime arithmetic and character semantics through the server, at the
// edges where a calendar or a multi-byte character is easily miscounted.
#include <gtest/gtest.h>

#include "ServerTestSession.h"

namespace sandbox::test {
namespace {

class DatetimeArithmetic : public ::testing::Test {
 protected:
  void SetUp() override {
    s.Script(
        "alter session set nls_date_format = 'YYYY-MM-DD HH24:MI:SS';\n"
        "alter session set nls_timestamp_format = 'YYYY-MM-DD HH24:MI:SS.FF3';\n"
        "alter session set nls_timestamp_tz_format = 'YYYY-MM-DD HH24:MI TZH:TZM';\n");
  }
  ServerTestSession s;
};

TEST_F(DatetimeArithmetic, CalendarEdges) {
  EXPECT_EQ(s.Value1("select date '2024-02-28' + 1 from dual"), "2024-02-29 00:00:00");
  EXPECT_EQ(s.Value1("select date '2023-02-28' + 1 from dual"), "2023-03-01 00:00:00");
  EXPECT_EQ(s.Value1("select date '2024-03-01' - 0.5 from dual"), "2024-02-29 12:00:00");
  // Interval arithmetic keeps the day of the month: a day the month lacks is an error.
  EXPECT_EQ(s.QueryError("select date '2024-02-29' + interval '1' year from dual"), 1839);
  EXPECT_EQ(s.QueryError("select date '2024-01-31' - interval '2' month from dual"), 1839);
  EXPECT_EQ(s.Value1("select date '2024-02-29' + interval '4' year from dual"),
            "2028-02-29 00:00:00");
  EXPECT_EQ(s.Value1("select date '2024-01-30' - interval '2' month from dual"),
            "2023-11-30 00:00:00");
  EXPECT_EQ(s.Value1("select timestamp '2024-12-31 23:59:59.999' + interval '0.001' second "
                     "from dual"),
            "2025-01-01 00:00:00.000");
  EXPECT_EQ(s.QueryError("select date '0001-01-01' - 1 from dual"), 1841);
  EXPECT_EQ(s.QueryError("select date '9999-12-31' + 1 from dual"), 1841);
}

TEST_F(DatetimeArithmetic, DifferencesAndZones) {
  EXPECT_EQ(s.Value1("select date '2024-03-02' - date '2024-03-01 12:00:00' from dual"), ".5");
  EXPECT_EQ(s.Value1("select timestamp '2024-01-01 00:00:00 +05:00' - "
                     "timestamp '2023-12-31 20:00:00 +00:00' from dual"),
            "-000000000 01:00:00.000000000");
  EXPECT_EQ(s.Value1("select timestamp '2024-01-01 10:00:00' - date '2024-01-01' from dual"),
            "+000000000 10:00:00.000000000");
  EXPECT_EQ(s.Value1("select interval '1-6' year to month - interval '2' year from dual"),
            "-000000000-06");
  EXPECT_EQ(s.Value1("select extract(minute from timestamp '2024-01-01 10:15:00 +05:30') "
                     "from dual"),
            "45");
  EXPECT_EQ(s.Value1("select extract(timezone_minute from timestamp '2024-01-01 10:15:00 "
                     "-03:30') from dual"),
            "-30");
  EXPECT_EQ(s.Value1("select to_timestamp_tz('2024-01-01 10:15', 'YYYY-MM-DD HH24:MI') "
                     "from dual"),
            s.Value1("select '2024-01-01 10:15 ' || sessiontimezone from dual"));
  EXPECT_EQ(s.QueryError("select 'x' + interval '1' day from dual"), 1722);
}

TEST_F(DatetimeArithmetic, StoredValuesAreRoundedToTheColumn) {
  s.Script(
      "create table r (t0 timestamp(0), d interval day(1) to second(0));\n"
      "insert into r values (timestamp '2024-01-01 10:00:00.5', interval '9 23:59:59.4' "
      "day to second);\n");
  EXPECT_EQ(s.Rows("select to_char(t0, 'HH24:MI:SS'), d from r"),
            std::vector<std::string>{"10:00:01|+9 23:59:59"});
  // Rounding the fraction first makes ten days, which DAY(1) cannot hold.
  EXPECT_EQ(s.Exec("insert into r (d) values (interval '9 23:59:59.6' day to second(1))"), 1873);
}

TEST(CharacterSemantics, PositionsCountCharactersOfMultiByteText) {
  ServerTestSession s;
  EXPECT_EQ(s.Value1("select substr('añbñc', -2) from dual"), "ñc");
  EXPECT_EQ(s.Value1("select substr('añbñc', 2, 3) from dual"), "ñbñ");
  EXPECT_EQ(s.Value1("select instr('añbñc', 'ñ', -1) from dual"), "4");
  EXPECT_EQ(s.Value1("select instr('añbñc', 'ñ', 1, 2) from dual"), "4");
  EXPECT_EQ(s.Value1("select instrb('añbñc', 'ñ', 1, 2) from dual"), "5");
  EXPECT_EQ(s.Value1("select lpad('ññññ', 2) from dual"), "ññ");
  EXPECT_EQ(s.Value1("select rpad('a', 4, 'ñé') from dual"), "añéñ");
  EXPECT_EQ(s.Value1("select substrb('ñb', 3) from dual"), "b");
  EXPECT_EQ(s.Value1("select length(null), lengthb('') from dual"), "|");
}

}  // namespace
}  // namespace sandbox::test
