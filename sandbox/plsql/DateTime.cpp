// Calendar arithmetic and date format models.
#include "sandbox/plsql/DateTime.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace sandbox::plsql {

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
long long DaysFromCivil(long long y, unsigned m, unsigned d) {
  y -= m <= 2 ? 1 : 0;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? static_cast<unsigned>(-3) : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, long long& y, unsigned& m, unsigned& d) {
  z += 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<long long>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y += m <= 2 ? 1 : 0;
}

struct Parts {
  long long year = 1970;
  unsigned month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

bool Split(const std::string& iso, Parts& p) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  const int n = std::sscanf(iso.c_str(), "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s);
  if (n < 3 || mo < 1 || mo > 12 || d < 1 || d > 31)
    return false;
  p = {y,
       static_cast<unsigned>(mo),
       static_cast<unsigned>(d),
       static_cast<unsigned>(h),
       static_cast<unsigned>(mi),
       static_cast<unsigned>(s)};
  return true;
}

const char* const kMonths[] = {"JANUARY",   "FEBRUARY", "MARCH",    "APRIL",
                               "MAY",       "JUNE",     "JULY",     "AUGUST",
                               "SEPTEMBER", "OCTOBER",  "NOVEMBER", "DECEMBER"};
const char* const kDays[] = {"THURSDAY", "FRIDAY",  "SATURDAY", "SUNDAY",
                             "MONDAY",   "TUESDAY", "WEDNESDAY"};

// Applies the letter case of the format element to a name: MON -> JAN,
// Mon -> Jan, mon -> jan.
std::string CaseLike(const std::string& element, std::string name) {
  const bool firstUpper = std::isupper(static_cast<unsigned char>(element[0])) != 0;
  const bool secondUpper =
      element.size() > 1 && std::isupper(static_cast<unsigned char>(element[1])) != 0;
  for (size_t i = 0; i < name.size(); ++i) {
    const bool upper = i == 0 ? firstUpper : (firstUpper && secondUpper);
    name[i] = static_cast<char>(upper ? std::toupper(static_cast<unsigned char>(name[i]))
                                      : std::tolower(static_cast<unsigned char>(name[i])));
  }
  return name;
}

bool StartsWithNoCase(const std::string& s, size_t pos, const char* word) {
  for (size_t i = 0; word[i] != '\0'; ++i) {
    if (pos + i >= s.size() || std::toupper(static_cast<unsigned char>(s[pos + i])) != word[i]) {
      return false;
    }
  }
  return true;
}

std::string Padded(unsigned long long value, int width, bool fillMode) {
  char buffer[32];
  if (fillMode) {
    std::snprintf(buffer, sizeof buffer, "%llu", value);
  } else {
    std::snprintf(buffer, sizeof buffer, "%0*llu", width, value);
  }
  return buffer;
}

}  // namespace

bool DaysOfDate(const std::string& iso, long double& days) {
  Parts p;
  if (!Split(iso, p))
    return false;
  days = static_cast<long double>(DaysFromCivil(p.year, p.month, p.day)) +
         static_cast<long double>(p.hour * 3600 + p.minute * 60 + p.second) / 86400.0L;
  return true;
}

std::string DateOfDays(long double days) {
  const long double whole = std::floor(days);
  long long seconds = std::llround((days - whole) * 86400.0L);
  long long day = static_cast<long long>(whole);
  if (seconds >= 86400) {
    seconds -= 86400;
    ++day;
  }
  long long y = 0;
  unsigned m = 0, d = 0;
  CivilFromDays(day, y, m, d);
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, "%04lld-%02u-%02u %02lld:%02lld:%02lld", y, m, d,
                seconds / 3600, seconds / 60 % 60, seconds % 60);
  return buffer;
}

std::string CurrentDate() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char buffer[32];
  std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &local);
  return buffer;
}

bool FormatDate(const std::string& iso, const std::string& format, std::string& out) {
  Parts p;
  if (!Split(iso, p))
    return false;
  const long long dayNumber = DaysFromCivil(p.year, p.month, p.day);
  const auto weekday = static_cast<size_t>(((dayNumber % 7) + 7) % 7);
  const auto year = static_cast<unsigned long long>(p.year < 0 ? -p.year : p.year);
  bool fill = false;
  out.clear();
  size_t i = 0;
  while (i < format.size()) {
    const char c = format[i];
    auto take = [&](const char* word) {
      if (!StartsWithNoCase(format, i, word))
        return false;
      i += std::char_traits<char>::length(word);
      return true;
    };
    const std::string element = format.substr(i, 2);
    if (take("FM")) {
      fill = !fill;
    } else if (take("YYYY") || take("RRRR")) {
      out += Padded(year, 4, fill);
    } else if (take("YY") || take("RR")) {
      out += Padded(year % 100, 2, fill);
    } else if (take("MONTH")) {
      std::string name = CaseLike(element, kMonths[p.month - 1]);
      if (!fill)
        name.resize(9, ' ');
      out += name;
    } else if (take("MON")) {
      out += CaseLike(element, std::string(kMonths[p.month - 1]).substr(0, 3));
    } else if (take("MM")) {
      out += Padded(p.month, 2, fill);
    } else if (take("DDD")) {
      out += Padded(static_cast<unsigned long long>(dayNumber - DaysFromCivil(p.year, 1, 1) + 1), 3,
                    fill);
    } else if (take("DAY")) {
      std::string name = CaseLike(element, kDays[weekday]);
      if (!fill)
        name.resize(9, ' ');
      out += name;
    } else if (take("DY")) {
      out += CaseLike(element, std::string(kDays[weekday]).substr(0, 3));
    } else if (take("DD")) {
      out += Padded(p.day, 2, fill);
    } else if (take("D")) {
      out += std::to_string((weekday + 4) % 7 + 1);  // Sunday is day 1
    } else if (take("HH24")) {
      out += Padded(p.hour, 2, fill);
    } else if (take("HH12") || take("HH")) {
      out += Padded(p.hour % 12 == 0 ? 12 : p.hour % 12, 2, fill);
    } else if (take("MI")) {
      out += Padded(p.minute, 2, fill);
    } else if (take("SSSSS")) {
      out += Padded(p.hour * 3600 + p.minute * 60 + p.second, 5, fill);
    } else if (take("SS")) {
      out += Padded(p.second, 2, fill);
    } else if (take("AM") || take("PM")) {
      out += CaseLike(element, p.hour < 12 ? "AM" : "PM");
    } else if (c == '"') {
      const size_t close = format.find('"', i + 1);
      if (close == std::string::npos)
        return false;
      out += format.substr(i + 1, close - i - 1);
      i = close + 1;
    } else if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
      return false;
    } else {
      out += c;
      ++i;
    }
  }
  return true;
}

}  // namespace sandbox::plsql
