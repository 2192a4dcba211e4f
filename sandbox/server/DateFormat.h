// Oracle date format models (NLS_DATE_FORMAT, TO_CHAR, TO_DATE) over the
// server's internal date text "YYYY-MM-DD HH24:MI:SS".
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace sandbox {

struct DateParts {
  int year = 1, month = 1, day = 1, hour = 0, minute = 0, second = 0;
  std::string ToIso() const;
  static std::optional<DateParts> FromIso(const std::string& iso);
  static DateParts Now();
  DateParts AddDays(long days) const;  // keeps the time of day
};

// A parsed format model. Parse fails (nullopt) for a model Oracle rejects
// with ORA-01821 "date format not recognized".
class DateFormat {
 public:
  static std::optional<DateFormat> Parse(const std::string& model);
  std::string Format(const DateParts& date) const;
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
  };
  enum class Case { Upper, Capital, Lower };
  struct Item {
    Element element;
    Case letterCase = Case::Upper;
    std::string literal;
  };
  std::vector<Item> items_;
};

// Checks that iso holds a valid internal date text.
bool IsIsoDate(const std::string& iso);

}  // namespace sandbox
