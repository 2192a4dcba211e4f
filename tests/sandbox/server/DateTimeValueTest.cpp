// The server's timestamp, interval and binary float texts: reading what
// users write, rounding with carries, zones, and the character forms Oracle
// gives, where an off-by-one or a lost carry would corrupt stored values.
#include <gtest/gtest.h>

#include <cmath>

#include "sandbox/server/values/DateFormat.h"
#include "sandbox/server/values/DateTimeValue.h"

namespace sandbox {
namespace {

TEST(DateTimeValue, InternalTextsAreToldApart) {
  EXPECT_EQ(TemporalKindOf("2024-02-29 10:00:00"), TemporalKind::Date);
  EXPECT_EQ(TemporalKindOf("2024-02-29 10:00:00.000000001"), TemporalKind::Timestamp);
  EXPECT_EQ(TemporalKindOf("2024-02-29 10:00:00.000000001 -05:00"), TemporalKind::TimestampTz);
  EXPECT_EQ(TemporalKindOf("-000000001-11"), TemporalKind::YearMonth);
  EXPECT_EQ(TemporalKindOf("+000000003 04:05:06.700000000"), TemporalKind::DaySecond);
  // Look-alikes that are no internal value.
  EXPECT_EQ(TemporalKindOf("2023-02-29 10:00:00"), TemporalKind::None);
  EXPECT_EQ(TemporalKindOf("2024-02-29 10:00:00.5"), TemporalKind::None);
  EXPECT_EQ(TemporalKindOf("+1-2"), TemporalKind::None);
  EXPECT_EQ(TemporalKindOf("1.5"), TemporalKind::None);
}

TEST(DateTimeValue, RoundingCarriesIntoTheNextDayAndYear) {
  DateParts last;
  last.year = 2024;
  last.month = 12;
  last.day = 31;
  last.hour = 23;
  last.minute = 59;
  last.second = 59;
  last.nanos = 999999500;
  EXPECT_EQ(TimestampText(RoundFraction(last, 6), false), "2025-01-01 00:00:00.000000000");
  EXPECT_EQ(TimestampText(RoundFraction(last, 9), false), "2024-12-31 23:59:59.999999500");
  last.nanos = 499999999;
  EXPECT_EQ(TimestampText(RoundFraction(last, 0), false), "2024-12-31 23:59:59.000000000");
}

TEST(DateTimeValue, ZonesAreNormalisedAndInstantsMoveBetweenThem) {
  EXPECT_EQ(NormaliseZone("+5:30").value_or("?"), "+05:30");
  EXPECT_EQ(NormaliseZone(" -08:00 ").value_or("?"), "-08:00");
  EXPECT_EQ(NormaliseZone("+14:00").value_or("?"), "+14:00");
  EXPECT_EQ(NormaliseZone("3:00").value_or("?"), "+03:00");  // FROM_TZ's unsigned offset
  EXPECT_FALSE(NormaliseZone("15:00"));
  EXPECT_FALSE(NormaliseZone("+14:30"));
  EXPECT_FALSE(NormaliseZone("-13:00"));
  EXPECT_FALSE(NormaliseZone("+05:60"));
  EXPECT_EQ(NormaliseZone("utc").value_or("?"), "UTC");
  EXPECT_FALSE(NormaliseZone("Mars/Olympus"));
  EXPECT_FALSE(NormaliseZone("Europe/../../etc/passwd"));
  const auto evening = ReadTimestamp("2024-03-01 22:30:00.000000000 -05:00");
  ASSERT_TRUE(evening);
  EXPECT_EQ(TimestampText(InZone(*evening, "+00:00"), true),
            "2024-03-02 03:30:00.000000000 +00:00");
  EXPECT_EQ(TimestampText(InZone(*evening, "+05:45"), true),
            "2024-03-02 09:15:00.000000000 +05:45");
}

TEST(DateTimeValue, IntervalsReadAsWrittenAndShowWithTheirPrecisions) {
  EXPECT_EQ(ReadYearMonth("1-2").value_or(0), 14);
  EXPECT_EQ(ReadYearMonth("-2-11").value_or(0), -35);
  EXPECT_FALSE(ReadYearMonth("1-12"));
  EXPECT_FALSE(ReadYearMonth("1"));
  EXPECT_EQ(YearMonthText(14, 2), "+01-02");
  EXPECT_EQ(YearMonthText(-35), "-000000002-11");
  EXPECT_EQ(YearMonthText(1200, 2), "");  // a hundred years need three digits
  const auto span = ReadDaySecond("-1 2:03:04.5");
  ASSERT_TRUE(span);
  EXPECT_EQ(DaySecondText(*span, 2, 3), "-01 02:03:04.500");
  EXPECT_EQ(DaySecondText(*span, 2, 0), "-01 02:03:05");
  EXPECT_FALSE(ReadDaySecond("1 24:00:00"));
  EXPECT_FALSE(ReadDaySecond("1 02:03"));
  // A day of 86,400 seconds plus a fraction, at the largest leading precision.
  EXPECT_EQ(DaySecondText(*ReadDaySecond("999999999 23:59:59.999999999")),
            "+999999999 23:59:59.999999999");
}

TEST(DateTimeValue, IntervalLiteralsFollowTheirQualifier) {
  int code = 0;
  EXPECT_EQ(IntervalLiteral("123-2", "YEAR", "MONTH", 3, 0, code), "+000000123-02");
  EXPECT_EQ(code, 0);
  EXPECT_EQ(IntervalLiteral("30", "MONTH", "MONTH", 2, 0, code), "+000000002-06");
  EXPECT_EQ(IntervalLiteral("4 5:12", "DAY", "MINUTE", 2, 6, code),
            "+000000004 05:12:00.000000000");
  EXPECT_EQ(IntervalLiteral("90:00", "MINUTE", "SECOND", 2, 6, code),
            "+000000000 01:30:00.000000000");
  EXPECT_EQ(IntervalLiteral("30.12345", "SECOND", "SECOND", 2, 4, code),
            "+000000000 00:00:30.123500000");
  IntervalLiteral("123-2", "YEAR", "MONTH", 2, 0, code);
  EXPECT_EQ(code, 1873);
  IntervalLiteral("1-12", "YEAR", "MONTH", 2, 0, code);
  EXPECT_EQ(code, 1867);
  IntervalLiteral("1 2", "YEAR", "DAY", 2, 0, code);
  EXPECT_EQ(code, 1867);
  IntervalLiteral("1.5", "DAY", "HOUR", 2, 0, code);
  EXPECT_EQ(code, 1867);
}

TEST(DateTimeValue, BinaryNumbersShowAllTheirDigitsOrTheirSpecialNames) {
  EXPECT_EQ(BinaryNumberText(1222.111, false), "1.2221110000000001E+003");
  EXPECT_EQ(BinaryNumberText(0.1, true), "1.00000001E-001");
  EXPECT_EQ(BinaryNumberText(1.0, false), "1.0E+000");
  EXPECT_EQ(BinaryNumberText(-2.5e-300, false), "-2.5E-300");
  EXPECT_EQ(BinaryNumberText(0.0, false), "0");
  EXPECT_EQ(BinaryNumberText(HUGE_VAL, false), "Inf");
  EXPECT_EQ(BinaryNumberText(-HUGE_VAL, true), "-Inf");
  EXPECT_EQ(BinaryNumberText(std::nan(""), false), "Nan");
  // What is shown reads back as the same value.
  EXPECT_EQ(ReadBinaryNumber(BinaryNumberText(1.0 / 3, false)).value_or(0), 1.0 / 3);
  EXPECT_TRUE(std::isnan(ReadBinaryNumber("nan").value_or(0)));
  EXPECT_EQ(ReadBinaryNumber("-INF").value_or(0), -HUGE_VAL);
  EXPECT_FALSE(ReadBinaryNumber("1.5x"));
  EXPECT_FALSE(ReadBinaryNumber("infinite"));
}

TEST(DateTimeFormat, FractionsAndZonesFormatAndRead) {
  const auto model = DateFormat::Parse("YYYY-MM-DD\"T\"HH24:MI:SS.FF3 TZH:TZM");
  ASSERT_TRUE(model);
  const auto read = model->Read("2024-06-30T12:00:01.25 -03:30");
  ASSERT_TRUE(read);
  EXPECT_EQ(read->nanos, 250000000);
  EXPECT_EQ(read->zone, "-03:30");
  EXPECT_EQ(model->Format(*read), "2024-06-30T12:00:01.250 -03:30");
  EXPECT_FALSE(model->Read("2024-06-30X12:00:01.25 -03:30"));    // the quoted T is missing
  EXPECT_FALSE(model->Read("2024-06-30T12:00:01.2500 -03:30"));  // FF3 takes three digits
  const auto region = DateFormat::Parse("DD-MON-RR HH.MI.SSXFF AM TZR");
  ASSERT_TRUE(region);
  const auto paris = region->Read("01-JAN-24 01.02.03.4 PM Europe/Paris");
  ASSERT_TRUE(paris);
  EXPECT_EQ(paris->hour, 13);
  EXPECT_EQ(paris->zone, "EUROPE/PARIS");
  EXPECT_EQ(region->Format(*paris, 6), "01-JAN-24 01.02.03.400000 PM EUROPE/PARIS");
}

}  // namespace
}  // namespace sandbox
