// Oracle's implicit conversions and comparisons between PL/SQL values, and
// the checks an assignment makes against the declared type (ORA-06502).
#pragma once

#include <string>

#include "sandbox/plsql/Ast.h"
#include "sandbox/plsql/PlValue.h"
#include "sandbox/server/Server.h"

namespace sandbox::plsql {

// Character text of a non-null value: numbers canonical, dates in the
// session's NLS_DATE_FORMAT. Throws PlError for a boolean.
std::string TextOf(const PlValue& value, const Session& session);
// Number of a non-null value; text is converted (ORA-06502 if it is none).
long double NumberOf(const PlValue& value);
// A date value, or date text in the ISO form converted to one (ORA-01861).
PlValue DateOf(const PlValue& value);

// The value as a variable of type stores it: text cut to nothing longer
// than the declared length (ORA-06502 otherwise), CHAR blank-padded, numbers
// rounded to their scale and checked against their precision.
PlValue Coerce(const PlValue& value, const TypeSpec& type, const Session& session);

// Three-way comparison of two non-null values: numbers numerically, texts
// blank-padded when both are CHAR, otherwise byte by byte.
int CompareValues(const PlValue& a, const PlValue& b);

}  // namespace sandbox::plsql
