// Timestamps and intervals in the text forms the server stores them in:
//   TIMESTAMP                       "YYYY-MM-DD HH24:MI:SS.FFFFFFFFF"
//   TIMESTAMP WITH TIME ZONE        the same, a blank, then "+HH:MM" or a region
//   TIMESTAMP WITH LOCAL TIME ZONE  the instant in UTC, as "... +00:00"
//   INTERVAL YEAR TO MONTH          "+YYYYYYYYY-MM"
//   INTERVAL DAY TO SECOND          "+DDDDDDDDD HH:MI:SS.FFFFFFFFF"
// Fields always have their full width, so values of one kind compare as text
// in their order (positive intervals, timestamps of one zone); the declared
// precisions apply when a value is stored and when it is shown.
#pragma once

#include <optional>
#include <string>

#include "sandbox/server/values/DateFormat.h"

namespace sandbox {

__extension__ typedef __int128 WideNanos;  // spans of up to 10^9 days in nanoseconds

enum class TemporalKind { None, Date, Timestamp, TimestampTz, YearMonth, DaySecond };

// What an internal text holds; None for any other text.
TemporalKind TemporalKindOf(const std::string& text);

// A DATE, TIMESTAMP or TIMESTAMP WITH TIME ZONE internal text.
std::optional<DateParts> ReadTimestamp(const std::string& text);
std::string TimestampText(const DateParts& parts, bool withZone);
// Rounds the fraction to digits (0..9), carrying into the seconds as Oracle does.
DateParts RoundFraction(const DateParts& parts, int digits);

// Wall-clock nanoseconds since 0001-01-01 00:00, zone not applied.
WideNanos WallNanos(const DateParts& parts);
DateParts FromWallNanos(WideNanos nanos, const std::string& zone);
// The same instant seen in another zone ("" or an offset or region).
DateParts InZone(const DateParts& parts, const std::string& zone);

// "+5:00" -> "+05:00", "europe/paris" -> "EUROPE/PARIS"; nullopt when the
// text names no zone Oracle knows (ORA-01857 / ORA-01882).
std::optional<std::string> NormaliseZone(const std::string& text);
// Minutes east of UTC; region names count as UTC (no zone rules are kept).
int ZoneOffsetMinutes(const std::string& zone);
std::string OffsetText(int minutes);
// The offset of this machine's local time, as the server's own zone.
std::string LocalZone();

// Interval texts: the internal form, and what users write ("1-2", "-1 2:03:04.5").
std::optional<long long> ReadYearMonth(const std::string& text);
std::optional<WideNanos> ReadDaySecond(const std::string& text);
// Oracle's character form with leading and fraction precision; precision 9
// gives the internal form. Empty when the value needs more leading digits.
std::string YearMonthText(long long months, int leading = 9);
std::string DaySecondText(WideNanos nanos, int leading = 9, int fraction = 9);

// An interval literal: INTERVAL 'text' first [TO last]; first and last are
// YEAR, MONTH, DAY, HOUR, MINUTE or SECOND. Returns the internal text, or an
// Oracle error code (1867 invalid interval, 1873 leading precision too small).
std::string IntervalLiteral(const std::string& text, const std::string& first,
                            const std::string& last, int leading, int fraction, int& errorCode);

// BINARY_FLOAT / BINARY_DOUBLE as TO_CHAR writes them: "1.5E+000", "Inf", "Nan".
std::string BinaryNumberText(double value, bool single);
std::optional<double> ReadBinaryNumber(const std::string& text);

}  // namespace sandbox
