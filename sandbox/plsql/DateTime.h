// Calendar arithmetic on the sandbox's date text "YYYY-MM-DD HH24:MI:SS" and
// the date format models of TO_CHAR (YYYY, MM, MON, DD, HH24, MI, SS ...).
#pragma once

#include <string>

namespace sandbox::plsql {

// Days since 1970-01-01, with the time as a fraction; false for bad text.
bool DaysOfDate(const std::string& iso, long double& days);
std::string DateOfDays(long double days);
std::string CurrentDate();
// TO_CHAR(date, format); false for a format element Oracle does not know.
bool FormatDate(const std::string& iso, const std::string& format, std::string& out);

}  // namespace sandbox::plsql
