// Calendar and time zone functions: ADD_MONTHS, MONTHS_BETWEEN, LAST_DAY,
// NEXT_DAY, NUMTODSINTERVAL, NUMTOYMINTERVAL, FROM_TZ, SYS_EXTRACT_UTC,
// TZ_OFFSET and the AT TIME ZONE / AT LOCAL operator (ora_at_time_zone).
#include <cctype>
#include <cmath>
#include <string>

#include "sandbox/server/functions/OracleFunctions.h"
#include "sandbox/server/values/DateTimeValue.h"

namespace sandbox {

namespace {

constexpr long long kNanosPerSecond = 1000000000LL;

const char* const kYearError =
    "ORA-01841: (full) year must be between -4713 and +9999, and not be 0";

std::string Upper(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// A datetime argument: internal text of a date or timestamp, or text in the
// session's NLS_DATE_FORMAT as Oracle converts it (ORA-01861).
std::optional<DateParts> DatetimeArg(sqlite3_context* ctx, sqlite3_value* value,
                                     TemporalKind& kind) {
  const std::string text = TextArg(value);
  kind = TemporalKindOf(text);
  if (kind == TemporalKind::Date || kind == TemporalKind::Timestamp ||
      kind == TemporalKind::TimestampTz)
    return ReadTimestamp(text);
  const auto format = DateFormat::Parse(ContextOf(ctx).dateFormat);
  auto parts = format ? format->Read(text) : std::nullopt;
  if (!parts)
    ResultOraError(ctx, "ORA-01861: literal does not match format string");
  kind = TemporalKind::Date;
  return parts;
}

std::optional<DateParts> DateArg(sqlite3_context* ctx, sqlite3_value* value) {
  TemporalKind kind;
  auto parts = DatetimeArg(ctx, value, kind);
  if (parts)
    parts->nanos = 0, parts->zone.clear();
  return parts;
}

void ResultDate(sqlite3_context* ctx, const DateParts& date) {
  if (date.year < 1 || date.year > 9999)
    return ResultOraError(ctx, kYearError);
  ResultText(ctx, date.ToIso());
}

// ADD_MONTHS(date, n): the last day of a month stays the last day, and a day
// the new month lacks becomes its last.
void AddMonths(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (AnyNull(argc, argv))
    return sqlite3_result_null(ctx);
  auto date = DateArg(ctx, argv[0]);
  const auto months = date ? NumberArg(ctx, argv[1]) : std::nullopt;
  if (!months)
    return;
  if (std::fabs(*months) > 200000)
    return ResultOraError(ctx, kYearError);
  const bool lastDay = date->day == DateParts::MonthDays(date->year, date->month);
  const long long total = date->year * 12LL + (date->month - 1) + static_cast<long long>(*months);
  date->year = static_cast<int>(total >= 0 ? total / 12 : (total - 11) / 12);
  date->month = static_cast<int>(total - date->year * 12LL) + 1;
  if (date->year < 1 || date->year > 9999)
    return ResultOraError(ctx, kYearError);
  const int days = DateParts::MonthDays(date->year, date->month);
  if (lastDay || date->day > days)
    date->day = days;
  ResultDate(ctx, *date);
}

// MONTHS_BETWEEN(a, b): whole months when the days of month are the same or
// both last days, else the rest counted in 31-day months with the time.
void MonthsBetween(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (AnyNull(argc, argv))
    return sqlite3_result_null(ctx);
  const auto a = DateArg(ctx, argv[0]);
  const auto b = a ? DateArg(ctx, argv[1]) : std::nullopt;
  if (!b)
    return;
  const double months = (a->year - b->year) * 12.0 + (a->month - b->month);
  const bool aLast = a->day == DateParts::MonthDays(a->year, a->month);
  const bool bLast = b->day == DateParts::MonthDays(b->year, b->month);
  if (a->day == b->day || (aLast && bLast))
    return ResultNumber(ctx, months);
  const double seconds = (a->day - b->day) * 86400.0 + (a->hour - b->hour) * 3600.0 +
                         (a->minute - b->minute) * 60.0 + (a->second - b->second);
  ResultNumber(ctx, months + seconds / (31 * 86400.0));
}

void LastDay(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
    return sqlite3_result_null(ctx);
  auto date = DateArg(ctx, argv[0]);
  if (!date)
    return;
  date->day = DateParts::MonthDays(date->year, date->month);
  ResultDate(ctx, *date);
}

// NEXT_DAY(date, day name): the first later date of that weekday, its name
// in English, whole or from its first three letters.
void NextDay(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (AnyNull(argc, argv))
    return sqlite3_result_null(ctx);
  auto date = DateArg(ctx, argv[0]);
  if (!date)
    return;
  static const char* const kDays[] = {"MONDAY", "TUESDAY",  "WEDNESDAY", "THURSDAY",
                                      "FRIDAY", "SATURDAY", "SUNDAY"};
  std::string name = Upper(TextArg(argv[1]));
  while (!name.empty() && name.back() == ' ')
    name.pop_back();
  int wanted = -1;
  for (int d = 0; d < 7; ++d)
    if (name.size() >= 3 && std::string(kDays[d]).compare(0, name.size(), name) == 0)
      wanted = d;
  if (wanted < 0)
    return ResultOraError(ctx, "ORA-01846: not a valid day of the week");
  const int today = static_cast<int>(date->DayCount() % 7);  // 0001-01-01 was a Monday
  const int ahead = (wanted - today + 6) % 7 + 1;
  ResultDate(ctx, date->AddDays(ahead));
}

// NUMTODSINTERVAL(n, 'DAY' | 'HOUR' | 'MINUTE' | 'SECOND')
void NumToDsInterval(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (AnyNull(argc, argv))
    return sqlite3_result_null(ctx);
  const auto n = NumberArg(ctx, argv[0]);
  if (!n)
    return;
  const std::string unit = Upper(TextArg(argv[1]));
  const double seconds = unit == "DAY"      ? 86400.0
                         : unit == "HOUR"   ? 3600.0
                         : unit == "MINUTE" ? 60.0
                         : unit == "SECOND" ? 1.0
                                            : 0.0;
  if (seconds == 0)
    return ResultOraError(ctx, "ORA-01760: illegal argument for function");
  const double nanos = std::round(*n * seconds * 1e9);
  if (std::fabs(nanos) >= 1e9 * 86400.0 * 1e9)
    return ResultOraError(ctx, "ORA-01873: the leading precision of the interval is too small");
  ResultText(ctx, DaySecondText(static_cast<WideNanos>(nanos)));
}

// NUMTOYMINTERVAL(n, 'YEAR' | 'MONTH')
void NumToYmInterval(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (AnyNull(argc, argv))
    return sqlite3_result_null(ctx);
  const auto n = NumberArg(ctx, argv[0]);
  if (!n)
    return;
  const std::string unit = Upper(TextArg(argv[1]));
  if (unit != "YEAR" && unit != "MONTH")
    return ResultOraError(ctx, "ORA-01760: illegal argument for function");
  const double months = std::trunc(unit == "YEAR" ? *n * 12 : *n);
  if (std::fabs(months) >= 12e9)
    return ResultOraError(ctx, "ORA-01873: the leading precision of the interval is too small");
  ResultText(ctx, YearMonthText(static_cast<long long>(months)));
}

// A time zone argument: an offset or a region Oracle knows.
std::optional<std::string> ZoneArg(sqlite3_context* ctx, const std::string& text) {
  const auto zone = NormaliseZone(text);
  if (!zone) {
    const std::size_t first = text.find_first_not_of(' ');
    const bool offset = first != std::string::npos && (text[first] == '+' || text[first] == '-');
    ResultOraError(
        ctx, offset ? "ORA-01857: not a valid time zone" : "ORA-01882: timezone region not found");
  }
  return zone;
}

// FROM_TZ(timestamp, zone): the timestamp's wall time in that zone.
void FromTz(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (AnyNull(argc, argv))
    return sqlite3_result_null(ctx);
  const std::string text = TextArg(argv[0]);
  if (const TemporalKind kind = TemporalKindOf(text); kind != TemporalKind::Timestamp) {
    const std::string message =
        std::string("ORA-00932: inconsistent datatypes: expected TIMESTAMP got ") +
        (kind == TemporalKind::Date          ? "DATE"
         : kind == TemporalKind::TimestampTz ? "TIMESTAMP WITH TIME ZONE"
                                             : "CHAR");
    return ResultOraError(ctx, message.c_str());
  }
  const auto zone = ZoneArg(ctx, TextArg(argv[1]));
  if (!zone)
    return;
  DateParts parts = *ReadTimestamp(text);
  parts.zone = *zone;
  ResultText(ctx, TimestampText(parts, true));
}

// A datetime as an instant: a value without a zone is in the session's zone.
std::optional<DateParts> InstantArg(sqlite3_context* ctx, sqlite3_value* value) {
  TemporalKind kind;
  auto parts = DatetimeArg(ctx, value, kind);
  if (parts && kind != TemporalKind::TimestampTz)
    parts->zone = ContextOf(ctx).timeZone;
  return parts;
}

// SYS_EXTRACT_UTC(datetime): the UTC time as a TIMESTAMP.
void SysExtractUtc(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
    return sqlite3_result_null(ctx);
  const auto parts = InstantArg(ctx, argv[0]);
  if (!parts)
    return;
  DateParts utc = InZone(*parts, "+00:00");
  utc.zone.clear();
  ResultText(ctx, TimestampText(utc, false));
}

// TZ_OFFSET(zone): the zone's offset from UTC as "+hh:mi".
void TzOffset(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
    return sqlite3_result_null(ctx);
  const auto zone = ZoneArg(ctx, TextArg(argv[0]));
  if (zone)
    ResultText(ctx, OffsetText(ZoneOffsetMinutes(*zone)));
}

// ora_at_time_zone(datetime, zone): expr AT TIME ZONE zone; a NULL zone is
// AT LOCAL, the session's zone.
void AtTimeZone(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
    return sqlite3_result_null(ctx);
  const auto parts = InstantArg(ctx, argv[0]);
  if (!parts)
    return;
  const bool local = sqlite3_value_type(argv[1]) == SQLITE_NULL;
  const auto zone = local ? ContextOf(ctx).timeZone : ZoneArg(ctx, TextArg(argv[1]));
  if (zone)
    ResultText(ctx, TimestampText(InZone(*parts, *zone), true));
}

}  // namespace

void RegisterCalendarFunctions(sqlite3* db, SqlFunctionContext* context) {
  static const FunctionEntry kFunctions[] = {
      // Deterministic over dates, as Oracle has them in check constraints and
      // index expressions; only text read in NLS_DATE_FORMAT depends on the session.
      {"add_months", 2, AddMonths, true},
      {"months_between", 2, MonthsBetween, true},
      {"last_day", 1, LastDay, true},
      {"next_day", 2, NextDay, true},
      {"numtodsinterval", 2, NumToDsInterval, true},
      {"numtoyminterval", 2, NumToYmInterval, true},
      {"from_tz", 2, FromTz, true},
      {"sys_extract_utc", 1, SysExtractUtc, false},
      {"tz_offset", 1, TzOffset, true},
      {"ora_at_time_zone", 2, AtTimeZone, false},
  };
  RegisterFunctions(db, context, kFunctions);
}

}  // namespace sandbox
