// Timestamp, interval and binary floating point functions of the server:
// TO_TIMESTAMP and its kin, SYSTIMESTAMP, EXTRACT, literals, the + and -
// operators with Oracle's datetime arithmetic, and the stored-value
// conversion of columns of these types.
#include <chrono>
#include <cmath>
#include <cstdio>

#include "sandbox/server/functions/OracleFunctions.h"
#include "sandbox/server/values/DateTimeValue.h"
#include "sandbox/server/values/NumberText.h"

namespace sandbox {

namespace {

constexpr long long kNanosPerSecond = 1000000000LL;
constexpr long long kNanosPerDay = 86400LL * kNanosPerSecond;

bool IsNull(sqlite3_value* value) {
  return sqlite3_value_type(value) == SQLITE_NULL;
}

bool IsNumeric(sqlite3_value* value) {
  const int type = sqlite3_value_type(value);
  return type == SQLITE_INTEGER || type == SQLITE_FLOAT;
}

// Reads text with a format model into date parts; ORA-01821 for a bad model,
// ORA-01861 for text that does not match it.
std::optional<DateParts> ReadWithModel(sqlite3_context* ctx, const std::string& text,
                                       const std::string& model) {
  const auto format = DateFormat::Parse(model);
  if (!format) {
    ResultOraError(ctx, "ORA-01821: date format not recognized");
    return std::nullopt;
  }
  auto parts = format->Read(text);
  if (!parts)
    ResultOraError(ctx, "ORA-01861: literal does not match format string");
  return parts;
}

// A region read from text must be one Oracle knows (ORA-01882).
bool KnownZone(sqlite3_context* ctx, DateParts& parts) {
  if (parts.zone.empty())
    return true;
  const auto zone = NormaliseZone(parts.zone);
  if (!zone) {
    ResultOraError(ctx, "ORA-01882: timezone region not found");
    return false;
  }
  parts.zone = *zone;
  return true;
}

DateParts Now(const std::string& zone) {
  const auto now = std::chrono::system_clock::now();
  const auto since = std::chrono::duration_cast<std::chrono::microseconds>(now.time_since_epoch());
  DateParts epoch;
  epoch.year = 1970;
  epoch.zone = "+00:00";
  const DateParts utc =
      FromWallNanos(WallNanos(epoch) + static_cast<WideNanos>(since.count()) * 1000, "+00:00");
  return InZone(utc, zone);
}

// A timestamp argument: internal text of any datetime kind, or text read in
// the session's format (model) for the type wanted.
std::optional<DateParts> TimestampArg(sqlite3_context* ctx, sqlite3_value* value,
                                      const std::string& model) {
  const std::string text = TextArg(value);
  if (auto parts = ReadTimestamp(text))
    return parts;
  return ReadWithModel(ctx, text, model);
}

void ToTimestamp(sqlite3_context* ctx, int argc, sqlite3_value** argv, bool withZone) {
  if (IsNull(argv[0]) || (argc > 1 && IsNull(argv[1]))) {
    sqlite3_result_null(ctx);
    return;
  }
  SqlFunctionContext& session = ContextOf(ctx);
  std::optional<DateParts> parts;
  if (argc > 1)
    parts = ReadWithModel(ctx, TextArg(argv[0]), TextArg(argv[1]));
  else
    parts =
        TimestampArg(ctx, argv[0], withZone ? session.timestampTzFormat : session.timestampFormat);
  if (!parts || !KnownZone(ctx, *parts))
    return;
  if (withZone && parts->zone.empty())
    parts->zone = session.timeZone;
  ResultText(ctx, TimestampText(*parts, withZone));
}
void ToTimestampPlain(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  ToTimestamp(ctx, argc, argv, false);
}
void ToTimestampTz(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  ToTimestamp(ctx, argc, argv, true);
}

void ToYmInterval(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (IsNull(argv[0])) {
    sqlite3_result_null(ctx);
    return;
  }
  const auto months = ReadYearMonth(TextArg(argv[0]));
  if (!months) {
    ResultOraError(ctx, "ORA-01867: the interval is invalid");
    return;
  }
  ResultText(ctx, YearMonthText(*months));
}

void ToDsInterval(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (IsNull(argv[0])) {
    sqlite3_result_null(ctx);
    return;
  }
  const auto nanos = ReadDaySecond(TextArg(argv[0]));
  if (!nanos) {
    ResultOraError(ctx, "ORA-01867: the interval is invalid");
    return;
  }
  ResultText(ctx, DaySecondText(*nanos));
}

void SysTimestamp(sqlite3_context* ctx, int, sqlite3_value**) {
  ResultText(ctx, TimestampText(Now(LocalZone()), true));
}
void CurrentTimestamp(sqlite3_context* ctx, int, sqlite3_value**) {
  ResultText(ctx, TimestampText(Now(ContextOf(ctx).timeZone), true));
}
void LocalTimestamp(sqlite3_context* ctx, int, sqlite3_value**) {
  ResultText(ctx, TimestampText(Now(ContextOf(ctx).timeZone), false));
}
void CurrentDate(sqlite3_context* ctx, int, sqlite3_value**) {
  ResultText(ctx, Now(ContextOf(ctx).timeZone).ToIso());
}
void SessionTimeZone(sqlite3_context* ctx, int, sqlite3_value**) {
  ResultText(ctx, ContextOf(ctx).timeZone);
}
void DbTimeZone(sqlite3_context* ctx, int, sqlite3_value**) {
  ResultText(ctx, "+00:00");
}

// TIMESTAMP 'YYYY-MM-DD HH24:MI:SS[.F] [zone]'
void TimestampLiteral(sqlite3_context* ctx, int, sqlite3_value** argv) {
  std::string text = TextArg(argv[0]);
  while (!text.empty() && text.back() == ' ')
    text.pop_back();
  std::string zone;
  if (text.size() > 19) {
    std::size_t end = 19;
    if (text[19] == '.')
      while (end + 1 < text.size() + 1 && end < text.size() &&
             (text[end] == '.' || std::isdigit(static_cast<unsigned char>(text[end]))))
        ++end;
    if (end < text.size()) {
      const auto normal = NormaliseZone(text.substr(end));
      if (!normal) {
        ResultOraError(ctx, "ORA-01882: timezone region not found");
        return;
      }
      zone = *normal;
    }
    text.resize(end);
  }
  auto parts = DateParts::FromIso(text.substr(0, std::min<std::size_t>(text.size(), 19)));
  if (text.size() > 20 && text[19] == '.' && text.size() <= 29 && parts) {
    std::string digits = text.substr(20);
    digits.resize(9, '0');
    parts->nanos = std::strtol(digits.c_str(), nullptr, 10);
  } else if (text.size() != 19 && text.size() != 10) {
    parts.reset();
  }
  if (!parts) {
    ResultOraError(ctx, "ORA-01861: literal does not match format string");
    return;
  }
  parts->zone = zone;
  ResultText(ctx, TimestampText(*parts, !zone.empty()));
}

// ora_interval_literal(text, first, last, leading, fraction)
void IntervalLiteralFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
  int code = 0;
  const std::string value =
      IntervalLiteral(TextArg(argv[0]), TextArg(argv[1]), TextArg(argv[2]),
                      sqlite3_value_int(argv[3]), sqlite3_value_int(argv[4]), code);
  if (code == 1873)
    ResultOraError(ctx, "ORA-01873: the leading precision of the interval is too small");
  else if (code != 0)
    ResultOraError(ctx, "ORA-01867: the interval is invalid");
  else
    ResultText(ctx, value);
}

// ora_extract(field, value): EXTRACT(field FROM value).
void Extract(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (IsNull(argv[1])) {
    sqlite3_result_null(ctx);
    return;
  }
  const std::string field = TextArg(argv[0]);
  const std::string text = TextArg(argv[1]);
  const TemporalKind kind = TemporalKindOf(text);
  auto invalid = [&] {
    ResultOraError(ctx, "ORA-30076: invalid extract field for extract source");
  };
  if (kind == TemporalKind::YearMonth) {
    const long long months = *ReadYearMonth(text);
    if (field == "YEAR")
      ResultNumber(ctx, static_cast<double>(months / 12));
    else if (field == "MONTH")
      ResultNumber(ctx, static_cast<double>(months % 12));
    else
      invalid();
    return;
  }
  if (kind == TemporalKind::DaySecond) {
    const WideNanos nanos = *ReadDaySecond(text);
    const long long days = static_cast<long long>(nanos / kNanosPerDay);
    const long long rest = static_cast<long long>(nanos % kNanosPerDay);
    if (field == "DAY")
      ResultNumber(ctx, static_cast<double>(days));
    else if (field == "HOUR")
      ResultNumber(ctx, static_cast<double>(rest / (3600 * kNanosPerSecond)));
    else if (field == "MINUTE")
      ResultNumber(ctx, static_cast<double>(rest / (60 * kNanosPerSecond) % 60));
    else if (field == "SECOND")
      ResultNumber(ctx, static_cast<double>(rest % (60 * kNanosPerSecond)) / kNanosPerSecond);
    else
      invalid();
    return;
  }
  std::optional<DateParts> parts = ReadTimestamp(text);
  if (!parts) {
    const auto format = DateFormat::Parse(ContextOf(ctx).dateFormat);
    parts = format ? format->Read(text) : std::nullopt;
    if (!parts) {
      ResultOraError(ctx, "ORA-01861: literal does not match format string");
      return;
    }
  }
  const bool isDate = kind != TemporalKind::Timestamp && kind != TemporalKind::TimestampTz;
  // Time fields of a value with a time zone are given in UTC.
  const DateParts utc = kind == TemporalKind::TimestampTz ? InZone(*parts, "+00:00") : *parts;
  if (field == "YEAR" || field == "MONTH" || field == "DAY") {
    ResultNumber(ctx, field == "YEAR" ? parts->year : field == "MONTH" ? parts->month : parts->day);
  } else if (isDate) {
    invalid();
  } else if (field == "HOUR" || field == "MINUTE") {
    ResultNumber(ctx, field == "HOUR" ? utc.hour : utc.minute);
  } else if (field == "SECOND") {
    ResultNumber(ctx, utc.second + static_cast<double>(utc.nanos) / kNanosPerSecond);
  } else if (kind != TemporalKind::TimestampTz) {
    invalid();
  } else if (field == "TIMEZONE_HOUR" || field == "TIMEZONE_MINUTE") {
    const int offset = ZoneOffsetMinutes(parts->zone);
    ResultNumber(ctx, field == "TIMEZONE_HOUR" ? offset / 60 : offset % 60);
  } else if (field == "TIMEZONE_REGION" || field == "TIMEZONE_ABBR") {
    const bool region =
        !parts->zone.empty() && std::isalpha(static_cast<unsigned char>(parts->zone[0]));
    ResultText(ctx, region && field == "TIMEZONE_REGION" ? parts->zone : "UNKNOWN");
  } else {
    invalid();
  }
}

// One operand of + or -, classified by what its value holds.
struct Operand {
  enum class Kind { Number, Date, Timestamp, TimestampTz, YearMonth, DaySecond } kind;
  double number = 0;
  bool integral = false;
  long long integer = 0;
  DateParts parts;
  long long months = 0;
  WideNanos nanos = 0;
};

bool ReadOperand(sqlite3_context* ctx, sqlite3_value* value, Operand& out) {
  const int type = sqlite3_value_type(value);
  if (type == SQLITE_INTEGER) {
    out.kind = Operand::Kind::Number;
    out.integral = true;
    out.integer = sqlite3_value_int64(value);
    out.number = static_cast<double>(out.integer);
    return true;
  }
  if (type == SQLITE_FLOAT) {
    out.kind = Operand::Kind::Number;
    out.number = sqlite3_value_double(value);
    return true;
  }
  const std::string text = TextArg(value);
  switch (TemporalKindOf(text)) {
    case TemporalKind::Date:
    case TemporalKind::Timestamp:
    case TemporalKind::TimestampTz: {
      const TemporalKind kind = TemporalKindOf(text);
      out.kind = kind == TemporalKind::Date        ? Operand::Kind::Date
                 : kind == TemporalKind::Timestamp ? Operand::Kind::Timestamp
                                                   : Operand::Kind::TimestampTz;
      out.parts = *ReadTimestamp(text);
      return true;
    }
    case TemporalKind::YearMonth:
      out.kind = Operand::Kind::YearMonth;
      out.months = *ReadYearMonth(text);
      return true;
    case TemporalKind::DaySecond:
      out.kind = Operand::Kind::DaySecond;
      out.nanos = *ReadDaySecond(text);
      return true;
    case TemporalKind::None:
      break;
  }
  out.kind = Operand::Kind::Number;
  if (const auto number = ParseNumber(text)) {
    out.number = *number;
    return true;
  }
  if (const auto binary = ReadBinaryNumber(text)) {
    out.number = *binary;
    return true;
  }
  ResultOraError(ctx, "ORA-01722: invalid number");
  return false;
}

bool IsDatetime(const Operand& o) {
  return o.kind == Operand::Kind::Date || o.kind == Operand::Kind::Timestamp ||
         o.kind == Operand::Kind::TimestampTz;
}

void ResultDatetime(sqlite3_context* ctx, const DateParts& parts, Operand::Kind kind) {
  if (parts.year < 1 || parts.year > 9999) {
    ResultOraError(ctx, "ORA-01841: (full) year must be between -4713 and +9999, and not be 0");
    return;
  }
  if (kind == Operand::Kind::Date)
    ResultText(ctx, parts.ToIso());
  else
    ResultText(ctx, TimestampText(parts, kind == Operand::Kind::TimestampTz));
}

// datetime + months: ORA-01839 when the day does not exist in the new month.
void AddMonths(sqlite3_context* ctx, const Operand& datetime, long long months) {
  DateParts parts = datetime.parts;
  const long long total = parts.year * 12LL + (parts.month - 1) + months;
  parts.year = static_cast<int>(total / 12);
  parts.month = static_cast<int>(total % 12) + 1;
  if (parts.year >= 1 && parts.year <= 9999 &&
      parts.day > DateParts::MonthDays(parts.year, parts.month)) {
    ResultOraError(ctx, "ORA-01839: date not valid for month specified");
    return;
  }
  ResultDatetime(ctx, parts, datetime.kind);
}

void AddNanos(sqlite3_context* ctx, const Operand& datetime, WideNanos nanos,
              Operand::Kind resultKind) {
  const WideNanos total = WallNanos(datetime.parts) + nanos;
  if (total < 0) {  // before 0001-01-01
    ResultOraError(ctx, "ORA-01841: (full) year must be between -4713 and +9999, and not be 0");
    return;
  }
  DateParts parts = FromWallNanos(total, datetime.parts.zone);
  if (resultKind == Operand::Kind::Date)
    parts.nanos = 0;
  ResultDatetime(ctx, parts, resultKind);
}

void ResultNumbers(sqlite3_context* ctx, const Operand& a, const Operand& b, bool subtract) {
  long long sum = 0;
  if (a.integral && b.integral &&
      !(subtract ? __builtin_sub_overflow(a.integer, b.integer, &sum)
                 : __builtin_add_overflow(a.integer, b.integer, &sum))) {
    sqlite3_result_int64(ctx, sum);
    return;
  }
  const double result = subtract ? a.number - b.number : a.number + b.number;
  if (std::isnan(result))
    ResultText(ctx, "Nan");
  else
    sqlite3_result_double(ctx, result);
}

void Arithmetic(sqlite3_context* ctx, sqlite3_value** argv, bool subtract) {
  if (IsNull(argv[0]) || IsNull(argv[1])) {
    sqlite3_result_null(ctx);
    return;
  }
  if (IsNumeric(argv[0]) && IsNumeric(argv[1]) && !subtract) {
    Operand a{}, b{};
    ReadOperand(ctx, argv[0], a);
    ReadOperand(ctx, argv[1], b);
    ResultNumbers(ctx, a, b, false);
    return;
  }
  Operand a{}, b{};
  if (!ReadOperand(ctx, argv[0], a) || !ReadOperand(ctx, argv[1], b))
    return;
  using K = Operand::Kind;
  auto badTypes = [&] {
    ResultOraError(ctx, "ORA-30081: invalid data type for datetime/interval arithmetic");
  };
  if (a.kind == K::Number && b.kind == K::Number) {
    ResultNumbers(ctx, a, b, subtract);
    return;
  }
  // number + datetime, interval + datetime: the datetime goes first.
  if (!subtract && !IsDatetime(a) && IsDatetime(b))
    std::swap(a, b);
  if (IsDatetime(a)) {
    if (b.kind == K::Number) {
      // Days, kept to the second; a timestamp becomes a DATE first.
      const double seconds = std::round((subtract ? -b.number : b.number) * 86400.0);
      Operand date = a;
      date.parts.nanos = 0;
      AddNanos(ctx, date, static_cast<WideNanos>(seconds) * kNanosPerSecond, K::Date);
    } else if (b.kind == K::YearMonth) {
      AddMonths(ctx, a, subtract ? -b.months : b.months);
    } else if (b.kind == K::DaySecond) {
      AddNanos(ctx, a, subtract ? -b.nanos : b.nanos, a.kind);
    } else if (!subtract) {
      ResultOraError(ctx, "ORA-00975: date + date not allowed");
    } else if (a.kind == K::Date && b.kind == K::Date) {
      const WideNanos difference = WallNanos(a.parts) - WallNanos(b.parts);
      ResultNumber(ctx, static_cast<double>(difference / kNanosPerSecond) / 86400.0);
    } else {
      const DateParts left = a.kind == K::TimestampTz ? InZone(a.parts, "+00:00") : a.parts;
      const DateParts right = b.kind == K::TimestampTz ? InZone(b.parts, "+00:00") : b.parts;
      ResultText(ctx, DaySecondText(WallNanos(left) - WallNanos(right)));
    }
    return;
  }
  if (a.kind == K::YearMonth && b.kind == K::YearMonth) {
    ResultText(ctx, YearMonthText(subtract ? a.months - b.months : a.months + b.months));
  } else if (a.kind == K::DaySecond && b.kind == K::DaySecond) {
    ResultText(ctx, DaySecondText(subtract ? a.nanos - b.nanos : a.nanos + b.nanos));
  } else {
    badTypes();
  }
}
void Add(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Arithmetic(ctx, argv, false);
}
void Subtract(sqlite3_context* ctx, int, sqlite3_value** argv) {
  Arithmetic(ctx, argv, true);
}

void ToBinary(sqlite3_context* ctx, sqlite3_value* value, bool single) {
  if (IsNull(value)) {
    sqlite3_result_null(ctx);
    return;
  }
  std::optional<double> number;
  if (IsNumeric(value))
    number = sqlite3_value_double(value);
  else
    number = ReadBinaryNumber(TextArg(value));
  if (!number) {
    ResultOraError(ctx, "ORA-01722: invalid number");
    return;
  }
  const double stored = single ? static_cast<double>(static_cast<float>(*number)) : *number;
  // SQLite turns a NaN into NULL, so a NaN is kept as its text.
  if (std::isnan(stored))
    ResultText(ctx, "Nan");
  else
    sqlite3_result_double(ctx, stored);
}
void ToBinaryDouble(sqlite3_context* ctx, int, sqlite3_value** argv) {
  ToBinary(ctx, argv[0], false);
}
void ToBinaryFloat(sqlite3_context* ctx, int, sqlite3_value** argv) {
  ToBinary(ctx, argv[0], true);
}

// ora_datetime_in(value, kind, precision, scale): the stored form of a column value.
void StoredForm(sqlite3_context* ctx, int, sqlite3_value** argv) {
  std::string message;
  const std::string kind = TextArg(argv[1]);
  if (!ConvertStoredValue(ctx, argv[0], kind.empty() ? 'T' : kind[0], sqlite3_value_int(argv[2]),
                          sqlite3_value_int(argv[3]), message))
    ResultOraError(ctx, message.c_str());
}

struct Entry {
  const char* name;
  int argumentCount;
  void (*function)(sqlite3_context*, int, sqlite3_value**);
  bool deterministic;
};

const Entry kFunctions[] = {
    {"to_timestamp", 1, ToTimestampPlain, false},
    {"to_timestamp", 2, ToTimestampPlain, true},
    {"to_timestamp_tz", 1, ToTimestampTz, false},
    {"to_timestamp_tz", 2, ToTimestampTz, true},
    {"to_yminterval", 1, ToYmInterval, true},
    {"to_dsinterval", 1, ToDsInterval, true},
    {"ora_systimestamp", 0, SysTimestamp, false},
    {"ora_current_timestamp", 0, CurrentTimestamp, false},
    {"ora_localtimestamp", 0, LocalTimestamp, false},
    {"ora_current_date", 0, CurrentDate, false},
    {"ora_sessiontimezone", 0, SessionTimeZone, false},
    {"ora_dbtimezone", 0, DbTimeZone, true},
    {"ora_timestamp_literal", 1, TimestampLiteral, true},
    {"ora_interval_literal", 5, IntervalLiteralFunction, true},
    {"ora_extract", 2, Extract, false},
    {"ora_add", 2, Add, true},
    {"ora_sub", 2, Subtract, true},
    {"to_binary_double", 1, ToBinaryDouble, true},
    {"to_binary_float", 1, ToBinaryFloat, true},
    {"ora_stored_form", 4, StoredForm, false},
};

}  // namespace

bool ConvertStoredValue(sqlite3_context* ctx, sqlite3_value* value, char kind, int precision,
                        int scale, std::string& message) {
  if (IsNull(value)) {
    sqlite3_result_null(ctx);
    return true;
  }
  SqlFunctionContext& session = ContextOf(ctx);
  const std::string text = TextArg(value);
  if (kind == 'F' || kind == 'B') {
    std::optional<double> number = IsNumeric(value)
                                       ? std::optional<double>(sqlite3_value_double(value))
                                       : ReadBinaryNumber(text);
    if (!number) {
      message = "ORA-01722: invalid number";
      return false;
    }
    ToBinary(ctx, value, kind == 'F');
    return true;
  }
  if (kind == 'Y' || kind == 'S') {
    std::string stored;
    if (kind == 'Y') {
      const auto months = ReadYearMonth(text);
      if (!months) {
        message = "ORA-01867: the interval is invalid";
        return false;
      }
      stored = YearMonthText(*months, precision).empty() ? std::string() : YearMonthText(*months);
    } else {
      const auto nanos = ReadDaySecond(text);
      if (!nanos) {
        message = "ORA-01867: the interval is invalid";
        return false;
      }
      // The fraction is rounded to the column's scale before the days are checked.
      const std::string rounded = DaySecondText(*nanos, 9, scale);
      const WideNanos kept = *ReadDaySecond(rounded);
      stored = DaySecondText(kept, precision, scale).empty() ? std::string() : DaySecondText(kept);
    }
    if (stored.empty()) {
      message = "ORA-01873: the leading precision of the interval is too small";
      return false;
    }
    ResultText(ctx, stored);
    return true;
  }
  std::optional<DateParts> parts = ReadTimestamp(text);
  if (!parts) {
    const auto format =
        DateFormat::Parse(kind == 'Z' ? session.timestampTzFormat : session.timestampFormat);
    parts = format ? format->Read(text) : std::nullopt;
  }
  if (!parts) {
    message = "ORA-01861: literal does not match format string";
    return false;
  }
  if (const auto zone =
          parts->zone.empty() ? std::optional<std::string>("") : NormaliseZone(parts->zone)) {
    parts->zone = *zone;
  } else {
    message = "ORA-01882: timezone region not found";
    return false;
  }
  if (kind == 'T') {
    parts->zone.clear();
  } else if (kind == 'Z') {
    if (parts->zone.empty())
      parts->zone = session.timeZone;
  } else {
    // WITH LOCAL TIME ZONE keeps the instant in UTC; a value without a zone
    // is a time in the session's zone.
    if (parts->zone.empty())
      parts->zone = session.timeZone;
    parts = InZone(*parts, "+00:00");
  }
  ResultText(ctx, TimestampText(RoundFraction(*parts, precision), kind != 'T'));
  return true;
}

void RegisterDateTimeFunctions(sqlite3* db, SqlFunctionContext* context) {
  for (const Entry& entry : kFunctions) {
    const int flags = SQLITE_UTF8 | (entry.deterministic ? SQLITE_DETERMINISTIC : 0);
    sqlite3_create_function_v2(db, entry.name, entry.argumentCount, flags, context, entry.function,
                               nullptr, nullptr, nullptr);
  }
}

}  // namespace sandbox
