// Oracle date format models: parsing of the model, formatting and reading.
#include "sandbox/server/values/DateFormat.h"

#include <cctype>
#include <charconv>
#include <cstdio>
#include <ctime>

namespace sandbox {

namespace {

const char* const kMonths[] = {"JANUARY",   "FEBRUARY", "MARCH",    "APRIL",
                               "MAY",       "JUNE",     "JULY",     "AUGUST",
                               "SEPTEMBER", "OCTOBER",  "NOVEMBER", "DECEMBER"};
const char* const kDays[] = {"SUNDAY",   "MONDAY", "TUESDAY", "WEDNESDAY",
                             "THURSDAY", "FRIDAY", "SATURDAY"};

bool IsLeap(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}
int DaysInMonth(int year, int month) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : days[month - 1];
}
// Days since 0001-01-01 of the proleptic Gregorian calendar.
long DayNumber(int year, int month, int day) {
  long y = year - 1;
  long n = y * 365 + y / 4 - y / 100 + y / 400;
  for (int m = 1; m < month; ++m)
    n += DaysInMonth(year, m);
  return n + day - 1;
}
int DayOfWeek(const DateParts& d) {
  return static_cast<int>((DayNumber(d.year, d.month, d.day) + 1) % 7);
}
int DayOfYear(const DateParts& d) {
  return static_cast<int>(DayNumber(d.year, d.month, d.day) - DayNumber(d.year, 1, 1)) + 1;
}

std::string Cased(std::string upper, int letterCase) {
  if (letterCase == 0)
    return upper;
  for (std::size_t i = 0; i < upper.size(); ++i)
    if (letterCase == 2 || i > 0)
      upper[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(upper[i])));
  return upper;
}

// As "%0*ld" (FM: "%ld") formats it; every fetched date passes here, so
// without the cost of a format string.
std::string Padded(long value, int width, bool fill) {
  char digits[24];
  const bool negative = value < 0;
  const unsigned long magnitude =
      negative ? 0UL - static_cast<unsigned long>(value) : static_cast<unsigned long>(value);
  char* end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
  const int length = static_cast<int>(end - digits) + (negative ? 1 : 0);
  std::string out;
  if (negative)
    out += '-';
  if (!fill && length < width)
    out.append(static_cast<std::size_t>(width - length), '0');
  out.append(digits, end);
  return out;
}

}  // namespace

std::string DateParts::ToIso() const {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour,
                minute, second);
  return buffer;
}

std::optional<DateParts> DateParts::FromIso(const std::string& iso) {
  // Fixed positions, read by hand: this runs for every fetched date.
  const auto field = [&iso](std::size_t at, std::size_t digits, int& value) {
    value = 0;
    for (std::size_t i = at; i < at + digits; ++i) {
      if (iso[i] < '0' || iso[i] > '9')
        return false;
      value = value * 10 + (iso[i] - '0');
    }
    return true;
  };
  DateParts d;
  if (iso.size() != 10 && iso.size() != 19)
    return std::nullopt;
  if (!field(0, 4, d.year) || iso[4] != '-' || !field(5, 2, d.month) || iso[7] != '-' ||
      !field(8, 2, d.day))
    return std::nullopt;
  if (iso.size() == 19 && (iso[10] != ' ' || !field(11, 2, d.hour) || iso[13] != ':' ||
                           !field(14, 2, d.minute) || iso[16] != ':' || !field(17, 2, d.second)))
    return std::nullopt;
  if (d.month < 1 || d.month > 12 || d.day < 1 || d.day > DaysInMonth(d.year, d.month) ||
      d.hour > 23 || d.minute > 59 || d.second > 59 || d.year < 1)
    return std::nullopt;
  return d;
}

DateParts DateParts::Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  DateParts parts;
  parts.year = local.tm_year + 1900;
  parts.month = local.tm_mon + 1;
  parts.day = local.tm_mday;
  parts.hour = local.tm_hour;
  parts.minute = local.tm_min;
  parts.second = local.tm_sec;
  return parts;
}

DateParts DateParts::AddDays(long days) const {
  long n = DayNumber(year, month, day) + days;
  DateParts result = *this;
  result.year = 1;
  while (n >= (IsLeap(result.year) ? 366 : 365))
    n -= IsLeap(result.year++) ? 366 : 365;
  result.month = 1;
  while (n >= DaysInMonth(result.year, result.month))
    n -= DaysInMonth(result.year, result.month++);
  result.day = static_cast<int>(n) + 1;
  return result;
}

long DateParts::DayCount() const {
  return DayNumber(year, month, day);
}

int DateParts::MonthDays(int year, int month) {
  return DaysInMonth(year, month);
}

bool IsIsoDate(const std::string& iso) {
  if (iso.size() != 19 || iso[4] != '-' || iso[7] != '-' || iso[10] != ' ')
    return false;
  return DateParts::FromIso(iso).has_value();
}

std::optional<DateFormat> DateFormat::Parse(const std::string& model) {
  struct Keyword {
    const char* text;
    Element element;
  };
  // Longest first, so that "MONTH" wins over "MON" and "HH24" over "HH".
  static const Keyword keywords[] = {
      {"MONTH", Element::MonthName},   {"RRRR", Element::RoundYear4},
      {"YYYY", Element::Year4},        {"HH24", Element::Hour24},
      {"HH12", Element::Hour12},       {"A.M.", Element::MeridianDots},
      {"P.M.", Element::MeridianDots}, {"SSSSS", Element::SecondsOfDay},
      {"TZH", Element::ZoneHour},      {"TZM", Element::ZoneMinute},
      {"TZR", Element::ZoneRegion},    {"TZD", Element::ZoneAbbr},
      {"YYY", Element::Year3},         {"MON", Element::MonthAbbr},
      {"DAY", Element::DayName},       {"DDD", Element::DayOfYear},
      {"RR", Element::RoundYear2},     {"YY", Element::Year2},
      {"MM", Element::Month},          {"DD", Element::Day},
      {"DY", Element::DayAbbr},        {"HH", Element::Hour12},
      {"MI", Element::Minute},         {"SS", Element::Second},
      {"AM", Element::Meridian},       {"PM", Element::Meridian},
      {"FM", Element::FillMode},       {"FF", Element::Fraction},
      {"X", Element::Radix},           {"Y", Element::Year1},
      {"D", Element::DayOfWeek},       {"J", Element::Julian},
      {"Q", Element::Quarter},
  };
  DateFormat format;
  std::size_t i = 0;
  if (model.empty())
    return std::nullopt;
  while (i < model.size()) {
    const char c = model[i];
    if (c == '"') {
      const std::size_t end = model.find('"', i + 1);
      if (end == std::string::npos)
        return std::nullopt;
      format.items_.push_back({Element::Literal, Case::Upper, model.substr(i + 1, end - i - 1)});
      i = end + 1;
      continue;
    }
    if (std::string("-/,.;: ").find(c) != std::string::npos) {
      format.items_.push_back({Element::Literal, Case::Upper, std::string(1, c)});
      ++i;
      continue;
    }
    bool matched = false;
    for (const Keyword& keyword : keywords) {
      const std::string word = keyword.text;
      if (model.size() - i < word.size())
        continue;
      bool same = true;
      for (std::size_t k = 0; k < word.size() && same; ++k)
        same = std::toupper(static_cast<unsigned char>(model[i + k])) == word[k];
      if (!same)
        continue;
      Case letterCase = Case::Upper;
      if (std::islower(static_cast<unsigned char>(model[i])))
        letterCase = Case::Lower;
      else if (word.size() > 1 && std::islower(static_cast<unsigned char>(model[i + 1])))
        letterCase = Case::Capital;
      format.items_.push_back({keyword.element, letterCase, {}});
      i += word.size();
      if (keyword.element == Element::Fraction && i < model.size() && model[i] >= '1' &&
          model[i] <= '9')
        format.items_.back().digits = model[i++] - '0';
      matched = true;
      break;
    }
    if (!matched)
      return std::nullopt;
  }
  return format;
}

std::string DateFormat::Format(const DateParts& date, int fractionDigits) const {
  std::string out;
  bool fill = false;
  for (const Item& item : items_) {
    const int letterCase = static_cast<int>(item.letterCase);
    switch (item.element) {
      case Element::Literal:
        out += item.literal;
        break;
      case Element::FillMode:
        fill = !fill;
        break;
      case Element::Year4:
      case Element::RoundYear4:
        out += Padded(date.year, 4, fill);
        break;
      case Element::Year3:
        out += Padded(date.year % 1000, 3, fill);
        break;
      case Element::Year2:
      case Element::RoundYear2:
        out += Padded(date.year % 100, 2, fill);
        break;
      case Element::Year1:
        out += Padded(date.year % 10, 1, fill);
        break;
      case Element::Month:
        out += Padded(date.month, 2, fill);
        break;
      case Element::MonthAbbr:
        out += Cased(std::string(kMonths[date.month - 1]).substr(0, 3), letterCase);
        break;
      case Element::MonthName: {
        std::string name = kMonths[date.month - 1];
        if (!fill)
          name.resize(9, ' ');
        out += Cased(name, letterCase);
        break;
      }
      case Element::Day:
        out += Padded(date.day, 2, fill);
        break;
      case Element::DayOfYear:
        out += Padded(DayOfYear(date), 3, fill);
        break;
      case Element::DayOfWeek:
        out += Padded(DayOfWeek(date) + 1, 1, fill);
        break;
      case Element::DayAbbr:
        out += Cased(std::string(kDays[DayOfWeek(date)]).substr(0, 3), letterCase);
        break;
      case Element::DayName: {
        std::string name = kDays[DayOfWeek(date)];
        if (!fill)
          name.resize(9, ' ');
        out += Cased(name, letterCase);
        break;
      }
      case Element::Hour12:
        out += Padded(date.hour % 12 == 0 ? 12 : date.hour % 12, 2, fill);
        break;
      case Element::Hour24:
        out += Padded(date.hour, 2, fill);
        break;
      case Element::Minute:
        out += Padded(date.minute, 2, fill);
        break;
      case Element::Second:
        out += Padded(date.second, 2, fill);
        break;
      case Element::SecondsOfDay:
        out += Padded(date.hour * 3600 + date.minute * 60 + date.second, 5, fill);
        break;
      case Element::Meridian:
        out += Cased(date.hour < 12 ? "AM" : "PM", letterCase);
        break;
      case Element::MeridianDots:
        out += Cased(date.hour < 12 ? "A.M." : "P.M.", letterCase);
        break;
      case Element::Julian:
        out += Padded(DayNumber(date.year, date.month, date.day) + 1721426, 7, fill);
        break;
      case Element::Quarter:
        out += Padded((date.month - 1) / 3 + 1, 1, fill);
        break;
      case Element::Fraction: {
        const int digits = item.digits ? item.digits : fractionDigits;
        out += Padded(date.nanos, 9, false).substr(0, static_cast<std::size_t>(digits));
        break;
      }
      case Element::Radix:
        out += '.';
        break;
      case Element::ZoneHour:
      case Element::ZoneMinute: {
        const std::string offset =
            date.zone.empty() || std::isalpha(static_cast<unsigned char>(date.zone[0]))
                ? std::string("+00:00")
                : date.zone;
        out += item.element == Element::ZoneHour ? offset.substr(0, 3) : offset.substr(4, 2);
        break;
      }
      case Element::ZoneRegion:
        out += date.zone.empty() ? std::string("+00:00") : date.zone;
        break;
      case Element::ZoneAbbr:
        break;  // no daylight saving names are kept
    }
  }
  return out;
}

std::optional<DateParts> DateFormat::Read(const std::string& text) const {
  const DateParts now = DateParts::Now();
  DateParts d;
  d.year = now.year;
  d.month = now.month;
  bool pm = false, hasMeridian = false;
  std::size_t pos = 0;
  auto skipSeparators = [&] {
    while (pos < text.size() && !std::isalnum(static_cast<unsigned char>(text[pos])))
      ++pos;
  };
  auto readNumber = [&](std::size_t maxDigits, int& value) {
    skipSeparators();
    std::size_t digits = 0;
    value = 0;
    while (pos < text.size() && digits < maxDigits &&
           std::isdigit(static_cast<unsigned char>(text[pos]))) {
      value = value * 10 + (text[pos++] - '0');
      ++digits;
    }
    return digits > 0;
  };
  auto readName = [&](const char* const* names, int count, bool abbreviated, int& index) {
    skipSeparators();
    for (int k = 0; k < count; ++k) {
      std::string name = names[k];
      if (abbreviated)
        name.resize(3);
      if (text.size() - pos < name.size())
        continue;
      bool same = true;
      for (std::size_t j = 0; j < name.size() && same; ++j)
        same = std::toupper(static_cast<unsigned char>(text[pos + j])) == name[j];
      if (same) {
        pos += name.size();
        index = k;
        return true;
      }
    }
    return false;
  };
  auto skipBlanks = [&] {
    while (pos < text.size() && text[pos] == ' ')
      ++pos;
  };
  int zoneHour = 0, zoneMinute = 0;
  bool zoneNegative = false, hasZoneOffset = false;
  for (const Item& item : items_) {
    int value = 0;
    switch (item.element) {
      case Element::Literal: {
        // Quoted words of the model ("T") must be there; punctuation is
        // matched leniently, as Oracle does.
        bool word = false;
        for (char c : item.literal)
          word = word || std::isalnum(static_cast<unsigned char>(c));
        if (!word)
          break;
        skipBlanks();
        for (char c : item.literal) {
          if (pos >= text.size() || std::toupper(static_cast<unsigned char>(text[pos])) !=
                                        std::toupper(static_cast<unsigned char>(c)))
            return std::nullopt;
          ++pos;
        }
        break;
      }
      case Element::FillMode:
      case Element::ZoneAbbr:
        break;
      case Element::Radix:
        skipBlanks();
        if (pos < text.size() && text[pos] == '.')
          ++pos;
        break;
      case Element::Fraction: {
        skipSeparators();
        const std::size_t limit = item.digits ? static_cast<std::size_t>(item.digits) : 9;
        std::size_t digits = 0;
        long nanos = 0;
        while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
          if (++digits > limit)
            return std::nullopt;
          nanos = nanos * 10 + (text[pos++] - '0');
        }
        for (std::size_t k = digits; k < 9; ++k)
          nanos *= 10;
        d.nanos = nanos;
        break;
      }
      case Element::ZoneHour:
      case Element::ZoneRegion: {
        skipBlanks();
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
          zoneNegative = text[pos++] == '-';
        } else if (item.element == Element::ZoneRegion) {
          const std::size_t start = pos;
          while (pos < text.size() && (std::isalnum(static_cast<unsigned char>(text[pos])) ||
                                       text[pos] == '/' || text[pos] == '_' || text[pos] == '-'))
            ++pos;
          if (pos == start)
            return std::nullopt;
          d.zone = text.substr(start, pos - start);
          for (char& c : d.zone)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
          break;
        }
        if (!readNumber(2, zoneHour))
          return std::nullopt;
        hasZoneOffset = true;
        if (item.element == Element::ZoneRegion && pos < text.size() && text[pos] == ':') {
          ++pos;
          if (!readNumber(2, zoneMinute))
            return std::nullopt;
        }
        break;
      }
      case Element::ZoneMinute:
        if (!readNumber(2, zoneMinute))
          return std::nullopt;
        hasZoneOffset = true;
        break;
      case Element::Year4:
      case Element::RoundYear4:
        if (!readNumber(4, value))
          return std::nullopt;
        d.year = value < 100 && item.element == Element::RoundYear4
                     ? (value < 50 ? 2000 + value : 1900 + value)
                     : value;
        break;
      case Element::Year3:
      case Element::Year1:
        if (!readNumber(item.element == Element::Year3 ? 3 : 1, value))
          return std::nullopt;
        d.year = now.year - now.year % (item.element == Element::Year3 ? 1000 : 10) + value;
        break;
      case Element::Year2:
        if (!readNumber(2, value))
          return std::nullopt;
        d.year = now.year - now.year % 100 + value;
        break;
      case Element::RoundYear2: {
        if (!readNumber(4, value))
          return std::nullopt;
        if (value >= 100) {
          d.year = value;
        } else {
          const int century = now.year - now.year % 100;
          const int nowTwo = now.year % 100;
          d.year = nowTwo < 50 ? (value < 50 ? century + value : century - 100 + value)
                               : (value < 50 ? century + 100 + value : century + value);
        }
        break;
      }
      case Element::Month:
        if (!readNumber(2, value))
          return std::nullopt;
        d.month = value;
        break;
      case Element::MonthAbbr:
      case Element::MonthName: {
        int index = 0;
        if (!readName(kMonths, 12, false, index) && !readName(kMonths, 12, true, index))
          return std::nullopt;
        d.month = index + 1;
        break;
      }
      case Element::Day:
        if (!readNumber(2, value))
          return std::nullopt;
        d.day = value;
        break;
      case Element::DayAbbr:
      case Element::DayName: {
        int index = 0;
        if (!readName(kDays, 7, false, index) && !readName(kDays, 7, true, index))
          return std::nullopt;
        break;
      }
      case Element::DayOfWeek:
      case Element::Quarter:
        if (!readNumber(1, value))
          return std::nullopt;
        break;
      case Element::DayOfYear:
        if (!readNumber(3, value))
          return std::nullopt;
        break;
      case Element::Hour12:
      case Element::Hour24:
        if (!readNumber(2, value))
          return std::nullopt;
        d.hour = value;
        break;
      case Element::Minute:
        if (!readNumber(2, value))
          return std::nullopt;
        d.minute = value;
        break;
      case Element::Second:
        if (!readNumber(2, value))
          return std::nullopt;
        d.second = value;
        break;
      case Element::SecondsOfDay:
        if (!readNumber(5, value))
          return std::nullopt;
        d.hour = value / 3600;
        d.minute = value / 60 % 60;
        d.second = value % 60;
        break;
      case Element::Meridian:
      case Element::MeridianDots: {
        skipSeparators();
        hasMeridian = true;
        pm = pos < text.size() && std::toupper(static_cast<unsigned char>(text[pos])) == 'P';
        while (pos < text.size() &&
               (std::isalpha(static_cast<unsigned char>(text[pos])) || text[pos] == '.'))
          ++pos;
        break;
      }
      case Element::Julian: {
        skipSeparators();
        long julian = 0;
        std::size_t digits = 0;
        while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
          julian = julian * 10 + (text[pos++] - '0');
          ++digits;
        }
        if (digits == 0)
          return std::nullopt;
        const DateParts origin;
        const DateParts date = origin.AddDays(julian - 1721426);
        d.year = date.year;
        d.month = date.month;
        d.day = date.day;
        break;
      }
    }
  }
  skipSeparators();
  if (pos < text.size())
    return std::nullopt;
  if (hasMeridian) {
    if (d.hour < 1 || d.hour > 12)
      return std::nullopt;
    d.hour = d.hour % 12 + (pm ? 12 : 0);
  }
  if (d.month < 1 || d.month > 12 || d.day < 1 || d.day > DaysInMonth(d.year, d.month) ||
      d.hour > 23 || d.minute > 59 || d.second > 59 || d.year < 1 || d.year > 9999)
    return std::nullopt;
  if (hasZoneOffset) {
    if (zoneHour > 14 || zoneMinute > 59)
      return std::nullopt;
    d.zone = std::string(zoneNegative ? "-" : "+") + Padded(zoneHour, 2, false) + ":" +
             Padded(zoneMinute, 2, false);
  }
  return d;
}

}  // namespace sandbox
