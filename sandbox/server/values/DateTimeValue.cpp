// Reading, writing and normalising the server's timestamp and interval texts.
#include "sandbox/server/values/DateTimeValue.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <vector>

namespace sandbox {

namespace {

constexpr long long kNanosPerSecond = 1000000000LL;
constexpr long long kNanosPerDay = 86400LL * kNanosPerSecond;

bool AllDigits(const std::string& text, std::size_t from, std::size_t count) {
  if (from + count > text.size())
    return false;
  for (std::size_t i = from; i < from + count; ++i)
    if (!std::isdigit(static_cast<unsigned char>(text[i])))
      return false;
  return true;
}

std::string Digits(long long value, int width) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%0*lld", width, value);
  return buffer;
}

std::string Upper(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Splits "[+-]n sep n sep n.f" into its sign and numbers; the fraction of the
// last number is returned apart, in nanoseconds.
bool SplitNumbers(const std::string& raw, bool& negative, std::vector<long long>& numbers,
                  long long& fractionNanos, bool& hasFraction, std::size_t& leadingDigits) {
  std::string text = raw;
  while (!text.empty() && text.front() == ' ')
    text.erase(0, 1);
  while (!text.empty() && text.back() == ' ')
    text.pop_back();
  negative = false;
  hasFraction = false;
  fractionNanos = 0;
  leadingDigits = 0;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-'))
    negative = text[i++] == '-';
  numbers.clear();
  while (i < text.size()) {
    std::size_t start = i;
    long long value = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
      if (i - start >= 18)
        return false;
      value = value * 10 + (text[i++] - '0');
    }
    if (i == start)
      return false;
    if (numbers.empty())
      leadingDigits = i - start;
    numbers.push_back(value);
    if (i == text.size())
      break;
    if (text[i] == '.') {
      ++i;
      std::size_t digits = 0;
      while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        if (digits < 9)
          fractionNanos = fractionNanos * 10 + (text[i] - '0');
        ++digits;
        ++i;
      }
      for (std::size_t k = digits; k < 9; ++k)
        fractionNanos *= 10;
      hasFraction = true;
      return i == text.size();
    }
    if (text[i] != ' ' && text[i] != ':' && text[i] != '-')
      return false;
    ++i;
    while (i < text.size() && text[i] == ' ')
      ++i;
  }
  return !numbers.empty();
}

long long Power10(int digits) {
  long long value = 1;
  for (int i = 0; i < digits; ++i)
    value *= 10;
  return value;
}

}  // namespace

TemporalKind TemporalKindOf(const std::string& text) {
  if (IsIsoDate(text))
    return TemporalKind::Date;
  if (text.size() >= 29 && text[19] == '.' && IsIsoDate(text.substr(0, 19)) &&
      AllDigits(text, 20, 9)) {
    if (text.size() == 29)
      return TemporalKind::Timestamp;
    if (text[29] == ' ' && text.size() > 30)
      return TemporalKind::TimestampTz;
    return TemporalKind::None;
  }
  if (text.size() == 13 && (text[0] == '+' || text[0] == '-') && AllDigits(text, 1, 9) &&
      text[10] == '-' && AllDigits(text, 11, 2))
    return TemporalKind::YearMonth;
  if (text.size() == 29 && (text[0] == '+' || text[0] == '-') && AllDigits(text, 1, 9) &&
      text[10] == ' ' && text[13] == ':' && text[16] == ':' && text[19] == '.')
    return TemporalKind::DaySecond;
  return TemporalKind::None;
}

std::optional<DateParts> ReadTimestamp(const std::string& text) {
  const TemporalKind kind = TemporalKindOf(text);
  if (kind != TemporalKind::Date && kind != TemporalKind::Timestamp &&
      kind != TemporalKind::TimestampTz)
    return std::nullopt;
  auto parts = DateParts::FromIso(text.substr(0, 19));
  if (!parts)
    return std::nullopt;
  if (kind != TemporalKind::Date)
    parts->nanos = std::strtol(text.substr(20, 9).c_str(), nullptr, 10);
  if (kind == TemporalKind::TimestampTz)
    parts->zone = text.substr(30);
  return parts;
}

std::string TimestampText(const DateParts& parts, bool withZone) {
  std::string text = parts.ToIso() + "." + Digits(parts.nanos, 9);
  if (withZone)
    text += " " + (parts.zone.empty() ? std::string("+00:00") : parts.zone);
  return text;
}

WideNanos WallNanos(const DateParts& parts) {
  const long long seconds = parts.hour * 3600LL + parts.minute * 60LL + parts.second;
  return static_cast<WideNanos>(parts.DayCount()) * kNanosPerDay +
         static_cast<WideNanos>(seconds) * kNanosPerSecond + parts.nanos;
}

DateParts FromWallNanos(WideNanos nanos, const std::string& zone) {
  const long long days = static_cast<long long>(nanos / kNanosPerDay);
  long long rest = static_cast<long long>(nanos % kNanosPerDay);
  DateParts parts = DateParts().AddDays(static_cast<long>(days));
  parts.hour = static_cast<int>(rest / (3600 * kNanosPerSecond));
  rest %= 3600 * kNanosPerSecond;
  parts.minute = static_cast<int>(rest / (60 * kNanosPerSecond));
  rest %= 60 * kNanosPerSecond;
  parts.second = static_cast<int>(rest / kNanosPerSecond);
  parts.nanos = static_cast<long>(rest % kNanosPerSecond);
  parts.zone = zone;
  return parts;
}

DateParts RoundFraction(const DateParts& parts, int digits) {
  const long long unit = Power10(9 - digits);
  const long long rounded = (parts.nanos + unit / 2) / unit * unit;
  return FromWallNanos(WallNanos(parts) - parts.nanos + rounded, parts.zone);
}

DateParts InZone(const DateParts& parts, const std::string& zone) {
  const int shift = ZoneOffsetMinutes(zone) - ZoneOffsetMinutes(parts.zone);
  return FromWallNanos(WallNanos(parts) + static_cast<WideNanos>(shift) * 60 * kNanosPerSecond,
                       zone);
}

std::optional<std::string> NormaliseZone(const std::string& raw) {
  std::string text = raw;
  while (!text.empty() && text.front() == ' ')
    text.erase(0, 1);
  while (!text.empty() && text.back() == ' ')
    text.pop_back();
  if (text.empty())
    return std::nullopt;
  // An offset may leave out its sign ("3:00", as FROM_TZ takes it): east of UTC.
  if (std::isdigit(static_cast<unsigned char>(text[0])) && text.find(':') != std::string::npos)
    text.insert(0, 1, '+');
  if (text[0] == '+' || text[0] == '-') {
    int hours = 0, minutes = 0;
    char extra = 0;
    const int read = std::sscanf(text.c_str() + 1, "%2d:%2d%c", &hours, &minutes, &extra);
    if (read < 1 || read > 2 || hours > 14 || minutes > 59 || (hours == 14 && minutes > 0) ||
        (text[0] == '-' && hours > 12))
      return std::nullopt;
    return OffsetText((text[0] == '-' ? -1 : 1) * (hours * 60 + minutes));
  }
  for (char c : text)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '/' && c != '_' && c != '-' &&
        c != '+')
      return std::nullopt;
  const std::string upper = Upper(text);
  if (upper == "UTC" || upper == "GMT" || upper == "Z")
    return upper == "Z" ? std::string("UTC") : upper;
  // Region names are checked against the zone files the system has, in the
  // spellings a region takes there ("Europe/Paris", "US/Pacific").
  const std::filesystem::path base = "/usr/share/zoneinfo";
  std::error_code ignored;
  if (!std::filesystem::is_directory(base, ignored))
    return upper;
  std::string capital, shortUpper;
  bool wordStart = true;
  std::size_t segmentStart = 0;
  for (std::size_t i = 0; i <= upper.size(); ++i) {
    if (i == upper.size() || upper[i] == '/') {
      const std::string segment = upper.substr(segmentStart, i - segmentStart);
      std::string lowered;
      for (char c : segment) {
        lowered += wordStart ? c : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        wordStart = c == '_' || c == '-';
      }
      capital += lowered;
      shortUpper += segment.size() <= 3 ? segment : lowered;
      if (i < upper.size()) {
        capital += '/';
        shortUpper += '/';
      }
      wordStart = true;
      segmentStart = i + 1;
    }
  }
  for (const std::string& candidate : {text, upper, capital, shortUpper})
    if (std::filesystem::is_regular_file(base / candidate, ignored))
      return upper;
  return std::nullopt;
}

int ZoneOffsetMinutes(const std::string& zone) {
  if (zone.size() == 6 && (zone[0] == '+' || zone[0] == '-')) {
    const int minutes =
        std::atoi(zone.substr(1, 2).c_str()) * 60 + std::atoi(zone.substr(4).c_str());
    return zone[0] == '-' ? -minutes : minutes;
  }
  return 0;
}

std::string OffsetText(int minutes) {
  const int magnitude = minutes < 0 ? -minutes : minutes;
  return std::string(minutes < 0 ? "-" : "+") + Digits(magnitude / 60, 2) + ":" +
         Digits(magnitude % 60, 2);
}

std::string LocalZone() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return OffsetText(static_cast<int>(local.tm_gmtoff / 60));
}

std::optional<long long> ReadYearMonth(const std::string& text) {
  bool negative = false, hasFraction = false;
  std::vector<long long> numbers;
  long long fraction = 0;
  std::size_t leading = 0;
  if (!SplitNumbers(text, negative, numbers, fraction, hasFraction, leading) || hasFraction ||
      numbers.size() != 2 || numbers[1] > 11 || text.find(':') != std::string::npos)
    return std::nullopt;
  const long long months = numbers[0] * 12 + numbers[1];
  return negative ? -months : months;
}

std::optional<WideNanos> ReadDaySecond(const std::string& text) {
  bool negative = false, hasFraction = false;
  std::vector<long long> numbers;
  long long fraction = 0;
  std::size_t leading = 0;
  if (!SplitNumbers(text, negative, numbers, fraction, hasFraction, leading) ||
      numbers.size() != 4 || numbers[1] > 23 || numbers[2] > 59 || numbers[3] > 59)
    return std::nullopt;
  const WideNanos nanos =
      static_cast<WideNanos>(numbers[0]) * kNanosPerDay +
      static_cast<WideNanos>(numbers[1] * 3600 + numbers[2] * 60 + numbers[3]) * kNanosPerSecond +
      fraction;
  return negative ? -nanos : nanos;
}

std::string YearMonthText(long long months, int leading) {
  const long long magnitude = months < 0 ? -months : months;
  if (magnitude / 12 >= Power10(leading))
    return {};
  return std::string(months < 0 ? "-" : "+") + Digits(magnitude / 12, leading) + "-" +
         Digits(magnitude % 12, 2);
}

std::string DaySecondText(WideNanos nanos, int leading, int fraction) {
  WideNanos magnitude = nanos < 0 ? -nanos : nanos;
  const long long unit = Power10(9 - fraction);
  magnitude = (magnitude + unit / 2) / unit * unit;
  const long long days = static_cast<long long>(magnitude / kNanosPerDay);
  if (days >= Power10(leading))
    return {};
  long long rest = static_cast<long long>(magnitude % kNanosPerDay);
  const long long seconds = rest / kNanosPerSecond;
  std::string text = std::string(nanos < 0 ? "-" : "+") + Digits(days, leading) + " " +
                     Digits(seconds / 3600, 2) + ":" + Digits(seconds / 60 % 60, 2) + ":" +
                     Digits(seconds % 60, 2);
  if (fraction > 0)
    text += "." + Digits(rest % kNanosPerSecond, 9).substr(0, static_cast<std::size_t>(fraction));
  return text;
}

std::string IntervalLiteral(const std::string& text, const std::string& first,
                            const std::string& last, int leading, int fraction, int& errorCode) {
  static const char* const fields[] = {"YEAR", "MONTH", "DAY", "HOUR", "MINUTE", "SECOND"};
  int from = -1, to = -1;
  for (int i = 0; i < 6; ++i) {
    if (first == fields[i])
      from = i;
    if (last == fields[i])
      to = i;
  }
  errorCode = 1867;  // the interval is invalid
  if (from < 0 || to < from || (from <= 1 && to > 1))
    return {};
  bool negative = false, hasFraction = false;
  std::vector<long long> numbers;
  long long fractionNanos = 0;
  std::size_t leadingDigits = 0;
  if (!SplitNumbers(text, negative, numbers, fractionNanos, hasFraction, leadingDigits) ||
      numbers.size() != static_cast<std::size_t>(to - from + 1) || (hasFraction && to != 5))
    return {};
  if (leadingDigits > static_cast<std::size_t>(leading)) {
    errorCode = 1873;
    return {};
  }
  static const long long limits[] = {0, 12, 0, 24, 60, 60};
  for (std::size_t i = 1; i < numbers.size(); ++i)
    if (numbers[i] >= limits[from + static_cast<int>(i)])
      return {};
  errorCode = 0;
  if (from <= 1) {
    long long months =
        from == 0 ? numbers[0] * 12 + (numbers.size() > 1 ? numbers[1] : 0) : numbers[0];
    return YearMonthText(negative ? -months : months);
  }
  static const long long seconds[] = {0, 0, 86400, 3600, 60, 1};
  WideNanos nanos = fractionNanos;
  for (std::size_t i = 0; i < numbers.size(); ++i)
    nanos +=
        static_cast<WideNanos>(numbers[i]) * seconds[from + static_cast<int>(i)] * kNanosPerSecond;
  const long long unit = Power10(9 - fraction);
  nanos = (nanos + unit / 2) / unit * unit;
  return DaySecondText(negative ? -nanos : nanos);
}

std::string BinaryNumberText(double value, bool single) {
  if (std::isnan(value))
    return "Nan";
  if (std::isinf(value))
    return value < 0 ? "-Inf" : "Inf";
  if (value == 0)
    return "0";
  if (single)
    value = static_cast<double>(static_cast<float>(value));
  // All the significant digits the type holds (17 or 9), trailing zeros cut.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", single ? 8 : 16, value);
  std::string text = buffer;
  const std::size_t e = text.find('e');
  std::string mantissa = text.substr(0, e);
  const int exponent = std::atoi(text.c_str() + e + 1);
  while (mantissa.back() == '0')
    mantissa.pop_back();
  if (mantissa.back() == '.')
    mantissa += '0';
  return mantissa + "E" + (exponent < 0 ? "-" : "+") +
         Digits(exponent < 0 ? -exponent : exponent, 3);
}

std::optional<double> ReadBinaryNumber(const std::string& raw) {
  std::string text = raw;
  while (!text.empty() && text.front() == ' ')
    text.erase(0, 1);
  while (!text.empty() && text.back() == ' ')
    text.pop_back();
  const std::string upper = Upper(text);
  if (upper == "NAN")
    return std::nan("");
  if (upper == "INF" || upper == "+INF" || upper == "INFINITY")
    return HUGE_VAL;
  if (upper == "-INF" || upper == "-INFINITY")
    return -HUGE_VAL;
  if (text.empty() || std::isalpha(static_cast<unsigned char>(text[0])))
    return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (end == text.c_str() || *end != '\0')
    return std::nullopt;
  return value;
}

}  // namespace sandbox
