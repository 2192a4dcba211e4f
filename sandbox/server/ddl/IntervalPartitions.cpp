#include "sandbox/server/ddl/IntervalPartitions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "sandbox/server/sql/SqlToken.h"
#include "sandbox/server/values/DateFormat.h"
#include "sandbox/server/values/DecimalNumber.h"

namespace sandbox {

namespace {

constexpr long long kSecondsPerDay = 86400;
constexpr long long kPartitionInitial = 8388608;
constexpr long long kPartitionNext = 1048576;

std::optional<long double> ReadNumber(const std::string& text) {
  if (text.empty())
    return std::nullopt;
  char* end = nullptr;
  const long double value = std::strtold(text.c_str(), &end);
  if (end == text.c_str() || *end != '\0' || !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::string NumberText(long double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.15Lg", value);
  const auto number = DecimalNumber::Parse(text);
  return number ? number->CanonicalText() : std::string(text);
}

long long SecondsOf(const DateParts& date) {
  return date.DayCount() * kSecondsPerDay + date.hour * 3600LL + date.minute * 60LL + date.second;
}

DateParts DateOfSeconds(long long seconds) {
  DateParts date = DateParts{}.AddDays(static_cast<long>(seconds / kSecondsPerDay));
  const long long rest = seconds % kSecondsPerDay;
  date.hour = static_cast<int>(rest / 3600);
  date.minute = static_cast<int>(rest / 60 % 60);
  date.second = static_cast<int>(rest % 60);
  return date;
}

// How Oracle writes a DATE bound it made itself.
std::string DateBoundText(const DateParts& date) {
  char text[96];
  std::snprintf(text, sizeof text,
                "TO_DATE(' %04d-%02d-%02d %02d:%02d:%02d', 'SYYYY-MM-DD HH24:MI:SS', "
                "'NLS_CALENDAR=GREGORIAN')",
                date.year, date.month, date.day, date.hour, date.minute, date.second);
  return text;
}

// The interval's number, kMaxPartitions for any beyond the limit.
long long FloorDiv(long double value, long double step) {
  const long double index = std::floor(value / step);
  return index < kMaxPartitions ? static_cast<long long>(index) : kMaxPartitions;
}

// Seconds from 0001-01-01 to the end of 9999-12-31, the last day a DATE
// holds: no bound can lie there or beyond.
constexpr long double kLastSecond = 3652059.0L * kSecondsPerDay;

// count units of a year-to-month or a day-to-second interval.
std::optional<IntervalStep> UnitStep(bool yearToMonth, std::optional<long double> count,
                                     const std::string& unit) {
  if (!count || *count <= 0)
    return std::nullopt;
  IntervalStep step;
  if (yearToMonth) {
    if (unit != "YEAR" && unit != "MONTH")
      return std::nullopt;
    step.unit = IntervalStep::Unit::Months;
    step.size = *count * (unit == "YEAR" ? 12 : 1);
    // A month interval counts whole months.
    return step.size == std::floor(step.size) ? std::optional(step) : std::nullopt;
  }
  const long double seconds = unit == "DAY"      ? kSecondsPerDay
                              : unit == "HOUR"   ? 3600
                              : unit == "MINUTE" ? 60
                              : unit == "SECOND" ? 1
                                                 : 0;
  if (seconds == 0)
    return std::nullopt;
  step.unit = IntervalStep::Unit::Seconds;
  step.size = *count * seconds;
  return step;
}

}  // namespace

std::optional<IntervalStep> ReadIntervalStep(const std::string& text) {
  std::vector<SqlToken> tokens;
  std::size_t errorOffset = 0;
  if (!TokenizeSql(text, tokens, errorOffset))
    return std::nullopt;
  if (tokens.size() == 1 && tokens[0].type == SqlToken::Type::Number) {
    const auto size = ReadNumber(tokens[0].text);
    if (!size || *size <= 0)
      return std::nullopt;
    IntervalStep step;
    step.size = *size;
    return step;
  }
  // INTERVAL 'n' unit, of one field.
  if (tokens.size() == 3 && tokens[0].IsWord("INTERVAL") &&
      tokens[1].type == SqlToken::Type::String && tokens[2].type == SqlToken::Type::Word) {
    const std::string unit = tokens[2].Upper();
    return UnitStep(unit == "YEAR" || unit == "MONTH", ReadNumber(tokens[1].text), unit);
  }
  if (tokens.size() != 6 || !tokens[1].IsSymbol("(") || tokens[2].type != SqlToken::Type::Number ||
      !tokens[3].IsSymbol(",") || tokens[4].type != SqlToken::Type::String ||
      !tokens[5].IsSymbol(")"))
    return std::nullopt;
  const auto count = ReadNumber(tokens[2].text);
  const std::string unit = ToUpperAscii(tokens[4].text);
  if (tokens[0].IsWord("NUMTOYMINTERVAL"))
    return UnitStep(true, count, unit);
  if (tokens[0].IsWord("NUMTODSINTERVAL"))
    return UnitStep(false, count, unit);
  return std::nullopt;
}

std::optional<IntervalBound> IntervalOf(const IntervalStep& step, const std::string& key,
                                        const std::string& transition) {
  IntervalBound bound;
  if (step.unit == IntervalStep::Unit::Number) {
    const auto value = ReadNumber(key), start = ReadNumber(transition);
    if (!value || !start || *value < *start)
      return std::nullopt;
    bound.index = FloorDiv(*value - *start, step.size);
    if (bound.index < kMaxPartitions)
      bound.highValue = NumberText(*start + (bound.index + 1) * step.size);
    return bound;
  }
  const auto value = DateParts::FromIso(key), start = DateParts::FromIso(transition);
  if (!value || !start || SecondsOf(*value) < SecondsOf(*start))
    return std::nullopt;
  if (step.unit == IntervalStep::Unit::Seconds) {
    bound.index =
        FloorDiv(static_cast<long double>(SecondsOf(*value) - SecondsOf(*start)), step.size);
    const long double high = SecondsOf(*start) + (bound.index + 1) * step.size;
    if (bound.index < kMaxPartitions && high < kLastSecond)
      bound.highValue = DateBoundText(DateOfSeconds(static_cast<long long>(high)));
    else
      bound.index = kMaxPartitions;
    return bound;
  }
  // Whole months from the transition point, one less when the key's day and
  // time of its month come before the transition point's.
  long long months = (value->year - start->year) * 12LL + (value->month - start->month);
  DateParts sameMonth = *start;
  sameMonth.year = value->year;
  sameMonth.month = value->month;
  sameMonth.day = std::min(start->day, DateParts::MonthDays(value->year, value->month));
  if (SecondsOf(*value) < SecondsOf(sameMonth))
    --months;
  bound.index = FloorDiv(static_cast<long double>(months), step.size);
  const long double monthsEnd =
      start->year * 12.0L + (start->month - 1) + (bound.index + 1) * step.size;
  if (bound.index == kMaxPartitions || monthsEnd >= 10000 * 12.0L) {
    bound.index = kMaxPartitions;
    return bound;
  }
  const long long end = static_cast<long long>(monthsEnd);
  DateParts high = *start;
  high.year = static_cast<int>(end / 12);
  high.month = static_cast<int>(end % 12) + 1;
  high.day = std::min(start->day, DateParts::MonthDays(high.year, high.month));
  bound.highValue = DateBoundText(high);
  return bound;
}

bool AddIntervalPartition(Catalog& catalog, const std::string& owner, const std::string& table,
                          const std::string& key, const std::string& transition,
                          std::string& message) {
  const std::vector<Value> tableKey{Value::Text(owner), Value::Text(table)};
  const auto defaults = catalog.Rows(
      "SELECT \"INTERVAL\", coalesce(DEF_TABLESPACE_NAME, 'USERS'), DEF_PCT_FREE, DEF_PCT_USED, "
      "DEF_INI_TRANS, DEF_MAX_TRANS, DEF_COMPRESSION FROM \"SYS.ALL_PART_TABLES\" WHERE OWNER = ? "
      "AND TABLE_NAME = ? AND SUBPARTITIONING_TYPE = 'NONE'",
      tableKey);
  if (defaults.empty())
    return true;  // composite interval tables make no partitions here
  const auto step = ReadIntervalStep(defaults[0][0]);
  const auto bound = step ? IntervalOf(*step, key, transition) : std::nullopt;
  if (!bound)
    return true;
  if (bound->highValue.empty()) {
    message =
        "ORA-14300: partitioning key maps to a partition outside maximum permitted number of "
        "partitions";
    return false;
  }
  const Value index = Value::Integer(bound->index);
  if (catalog.Any("SELECT 1 FROM \"SYS.INTERVAL_PART$\" WHERE OWNER = ? AND TABLE_NAME = ? AND "
                  "SEQ = ?",
                  {tableKey[0], tableKey[1], index}))
    return true;
  // Its place: after the range partitions and the intervals below it.
  const auto place = catalog.Rows(
      "SELECT (SELECT count(*) FROM \"SYS.ALL_TAB_PARTITIONS\" WHERE TABLE_OWNER = ?1 AND "
      "TABLE_NAME = ?2 AND \"INTERVAL\" = 'NO') + (SELECT count(*) FROM \"SYS.INTERVAL_PART$\" "
      "WHERE OWNER = ?1 AND TABLE_NAME = ?2 AND SEQ < ?3) + 1",
      {tableKey[0], tableKey[1], index});
  const Value position = Value::Integer(std::atoll(place[0][0].c_str()));
  const std::string name = "SYS_P" + std::to_string(catalog.Database().NextObjectId());
  const auto& d = defaults[0];
  const Value high = Value::Text(bound->highValue);
  const Value highLength = Value::Integer(static_cast<long long>(bound->highValue.size()));
  OraError error;
  bool done =
      catalog.Exec(
          "UPDATE \"SYS.ALL_TAB_PARTITIONS\" SET PARTITION_POSITION = "
          "PARTITION_POSITION + 1 WHERE TABLE_OWNER = ? AND TABLE_NAME = ? AND "
          "PARTITION_POSITION >= ?",
          {tableKey[0], tableKey[1], position}, error) &&
      catalog.Exec(
          "INSERT INTO \"SYS.ALL_TAB_PARTITIONS\" VALUES (?, ?, 'NO', ?, 0, ?, ?, ?, ?, ?, ?, ?, "
          "?, ?, ?, 1, 2147483645, 0, NULL, NULL, 'YES', ?, NULL, 'YES')",
          {tableKey[0], tableKey[1], Value::Text(name), high, highLength, position,
           Value::Text(d[1]), Value::Number(d[2]), Value::Number(d[3]), Value::Number(d[4]),
           Value::Number(d[5]), Value::Integer(kPartitionInitial), Value::Integer(kPartitionNext),
           Value::Text(d[6] == "ENABLED" ? "ENABLED" : "DISABLED")},
          error) &&
      catalog.Exec("INSERT INTO \"SYS.INTERVAL_PART$\" VALUES (?, ?, ?, ?)",
                   {tableKey[0], tableKey[1], Value::Text(name), index}, error) &&
      catalog.AddPartitionObject(owner, table, name, "TABLE PARTITION", true, error);
  // Each local index gets the partition of the same name in the same place.
  for (const auto& local : catalog.Rows(
           "SELECT p.OWNER, p.INDEX_NAME, coalesce(p.DEF_TABLESPACE_NAME, ?3), p.DEF_PCT_FREE, "
           "p.DEF_INI_TRANS, p.DEF_MAX_TRANS FROM \"SYS.ALL_PART_INDEXES\" p JOIN "
           "\"SYS.ALL_INDEXES\" i ON i.OWNER = p.OWNER AND i.INDEX_NAME = p.INDEX_NAME WHERE "
           "i.TABLE_OWNER = ?1 AND i.TABLE_NAME = ?2 AND p.LOCALITY = 'LOCAL'",
           {tableKey[0], tableKey[1], Value::Text(d[1])})) {
    if (!done)
      break;
    done = catalog.Exec(
               "UPDATE \"SYS.ALL_IND_PARTITIONS\" SET PARTITION_POSITION = "
               "PARTITION_POSITION + 1 WHERE INDEX_OWNER = ? AND INDEX_NAME = ? AND "
               "PARTITION_POSITION >= ?",
               {Value::Text(local[0]), Value::Text(local[1]), position}, error) &&
           catalog.Exec(
               "INSERT INTO \"SYS.ALL_IND_PARTITIONS\" VALUES (?, ?, 'NO', ?, 0, ?, ?, ?, "
               "'USABLE', ?, ?, ?, ?, 'YES', 'DISABLED', 'YES')",
               {Value::Text(local[0]), Value::Text(local[1]), Value::Text(name), high, highLength,
                position, Value::Text(local[2]), Value::Number(local[3]), Value::Number(local[4]),
                Value::Number(local[5])},
               error) &&
           catalog.AddPartitionObject(local[0], local[1], name, "INDEX PARTITION", true, error);
  }
  if (!done) {
    char code[16];
    std::snprintf(code, sizeof code, "ORA-%05d: ", error.code);
    message = code + error.message;
  }
  return done;
}

}  // namespace sandbox
