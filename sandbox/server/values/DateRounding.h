// TRUNC(date, model) and ROUND(date, model): a date cut or rounded to the
// start of its century, year, ISO year, quarter, month, week, day, hour or
// minute, as Oracle's format models for them name the unit.
#pragma once

#include <optional>
#include <string>

#include "sandbox/server/values/DateFormat.h"

namespace sandbox {

// The date (time of day and fraction cleared below the unit, no zone);
// nullopt for a model that names no such unit (ORA-01821). Weeks of the
// 'D' / 'DAY' / 'DY' model start on Sunday, as in the AMERICA territory.
std::optional<DateParts> RoundDate(const DateParts& date, const std::string& model, bool round);

}  // namespace sandbox
