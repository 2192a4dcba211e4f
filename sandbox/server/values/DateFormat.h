// Oracle date format models (NLS_DATE_FORMAT, NLS_TIMESTAMP_FORMAT, TO_CHAR,
// TO_DATE, TO_TIMESTAMP) over the server's internal date text
// "YYYY-MM-DD HH24:MI:SS" and its timestamp forms (see DateTimeValue.h).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sandbox {

struct DateParts {
  int year = 1, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  long nanos = 0;    // fraction of the second
  std::string zone;  // empty, an offset "+05:30", or a region name in upper case
  std::string ToIso() const;
  static std::optional<DateParts> FromIso(const std::string& iso);
  static DateParts Now();
  DateParts AddDays(long days) const;  // keeps the time of day
  long DayCount() const;               // days since 0001-01-01
  static int MonthDays(int year, int month);
};

// A parsed format model. Parse fails (nullopt) for a model Oracle rejects
// with ORA-01821 "date format not recognized".
class DateFormat {
 public:
  static std::optional<DateFormat> Parse(const std::string& model);
  // FF without a digit count writes fractionDigits digits.
  std::string Format(const DateParts& date, int fractionDigits = 9) const;
  // TO_DATE: nullopt when text does not match the model (ORA-01858/01861).
  std::optional<DateParts> Read(const std::string& text) const;

 private:
  enum class Element {
    Literal,
    Year4,
    Year2,
    RoundYear2,
    RoundYear4,
    Year3,
    Year1,
    Month,
    MonthAbbr,
    MonthName,
    Day,
    DayOfYear,
    DayOfWeek,
    DayAbbr,
    DayName,
    Hour12,
    Hour24,
    Minute,
    Second,
    Meridian,
    MeridianDots,
    Julian,
    Quarter,
    SecondsOfDay,
    FillMode,
    Fraction,  // FF, FF1 .. FF9
    Radix,     // X
    ZoneHour,
    ZoneMinute,
    ZoneRegion,
    ZoneAbbr,
  };
  enum class Case { Upper, Capital, Lower };
  struct Item {
    Element element;
    Case letterCase = Case::Upper;
    std::string literal;
    int digits = 0;  // of FFn; 0 for FF
  };
  std::vector<Item> items_;
};

// Checks that iso holds a valid internal date text.
bool IsIsoDate(const std::string& iso);

}  // namespace sandbox
