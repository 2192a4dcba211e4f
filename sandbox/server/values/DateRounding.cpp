// Units of TRUNC and ROUND of dates, and where ROUND goes up: July for a
// year, the 16th for a month, the 16th of a quarter's second month, noon
// for a day, half a week for weeks, half an hour and half a minute.
#include "sandbox/server/values/DateRounding.h"

#include <algorithm>
#include <cctype>

namespace sandbox {

namespace {

DateParts StartOfDay(DateParts d) {
  d.hour = d.minute = d.second = 0;
  d.nanos = 0;
  d.zone.clear();
  return d;
}

DateParts FirstOf(int year, int month) {
  DateParts d;
  d.year = year;
  d.month = month;
  return d;
}

// Days from the start of a unit to the date, with the time of day.
double DaysSince(const DateParts& start, const DateParts& date) {
  return static_cast<double>(date.DayCount() - start.DayCount()) +
         (date.hour * 3600.0 + date.minute * 60.0 + date.second) / 86400.0;
}

// The week of date that begins on the weekday of first: TRUNC by WW, W, IW, D.
DateParts WeekStart(const DateParts& date, long firstDayCount) {
  const long offset = ((date.DayCount() - firstDayCount) % 7 + 7) % 7;
  return StartOfDay(date).AddDays(-offset);
}

// Monday of the week holding January 4th: the first day of the ISO year.
DateParts IsoYearStart(int year) {
  const DateParts fourth = FirstOf(year, 1).AddDays(3);
  return WeekStart(fourth, 0);  // day 0 (0001-01-01) is a Monday
}

bool IsAnyOf(const std::string& model, std::initializer_list<const char*> names) {
  return std::any_of(names.begin(), names.end(), [&](const char* n) { return model == n; });
}

}  // namespace

std::optional<DateParts> RoundDate(const DateParts& date, const std::string& model, bool round) {
  std::string unit;
  for (char c : model)
    if (!std::isspace(static_cast<unsigned char>(c)))
      unit += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const DateParts day = StartOfDay(date);
  if (IsAnyOf(unit, {"CC", "SCC"})) {
    const int first = (date.year - 1) / 100 * 100 + 1;
    const bool up = round && (date.year - 1) % 100 >= 50;
    return FirstOf(up ? first + 100 : first, 1);
  }
  if (IsAnyOf(unit, {"SYYYY", "YYYY", "YEAR", "SYEAR", "YYY", "YY", "Y"}))
    return FirstOf(round && date.month >= 7 ? date.year + 1 : date.year, 1);
  if (IsAnyOf(unit, {"IYYY", "IYY", "IY", "I"})) {
    int year = date.year;
    if (day.DayCount() < IsoYearStart(year).DayCount())
      --year;
    else if (day.DayCount() >= IsoYearStart(year + 1).DayCount())
      ++year;
    return IsoYearStart(round && date.month >= 7 ? year + 1 : year);
  }
  if (unit == "Q") {
    const int first = (date.month - 1) / 3 * 3 + 1;
    const bool up =
        round && (date.month > first + 1 || (date.month == first + 1 && date.day >= 16));
    return up ? (first == 10 ? FirstOf(date.year + 1, 1) : FirstOf(date.year, first + 3))
              : FirstOf(date.year, first);
  }
  if (IsAnyOf(unit, {"MONTH", "MON", "MM", "RM"})) {
    if (round && date.day >= 16)
      return date.month == 12 ? FirstOf(date.year + 1, 1) : FirstOf(date.year, date.month + 1);
    return FirstOf(date.year, date.month);
  }
  std::optional<DateParts> week;
  if (unit == "WW")
    week = WeekStart(date, FirstOf(date.year, 1).DayCount());
  else if (unit == "W")
    week = WeekStart(date, FirstOf(date.year, date.month).DayCount());
  else if (unit == "IW")
    week = WeekStart(date, 0);
  else if (IsAnyOf(unit, {"DAY", "DY", "D"}))
    week = WeekStart(date, 6);  // day 6 (0001-01-07) is a Sunday
  if (week)
    return round && DaysSince(*week, date) >= 3.5 ? week->AddDays(7) : *week;
  if (IsAnyOf(unit, {"DDD", "DD", "J"}))
    return round && date.hour >= 12 ? day.AddDays(1) : day;
  if (IsAnyOf(unit, {"HH", "HH12", "HH24"})) {
    DateParts hour = day;
    hour.hour = date.hour;
    if (round && date.minute >= 30)
      return hour.hour == 23 ? day.AddDays(1) : (++hour.hour, hour);
    return hour;
  }
  if (unit == "MI") {
    DateParts minute = day;
    minute.hour = date.hour;
    minute.minute = date.minute;
    if (round && date.second >= 30) {
      if (++minute.minute == 60) {
        minute.minute = 0;
        if (++minute.hour == 24)
          return day.AddDays(1);
      }
    }
    return minute;
  }
  return std::nullopt;
}

}  // namespace sandbox
