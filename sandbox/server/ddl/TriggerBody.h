// What CREATE TRIGGER checks in a trigger's body before it stores it: the
// body's references to the row (:NEW.col, :OLD.col) against the trigger's
// timing, and for a compound trigger its timing sections.
#pragma once

#include <string>
#include <vector>

#include "sandbox/server/Server.h"
#include "sandbox/server/ddl/CompilationErrors.h"
#include "sandbox/server/ddl/TriggerHead.h"
#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

// The timing points a trigger fires at, as ALL_TRIGGERS names its columns
// BEFORE_STATEMENT, BEFORE_ROW, AFTER_ROW, AFTER_STATEMENT and INSTEAD_OF_ROW.
struct TimingPoints {
  bool beforeStatement = false, beforeRow = false, afterRow = false, afterStatement = false,
       insteadOfRow = false;
};

// Checks the body that starts at token bodyBegin of sql. A mistake Oracle
// refuses the statement for (ORA-04082) is error, and false; the errors
// the trigger is then created with are added to errors (lines counted from
// the body's first line).
bool CheckTriggerBody(const std::string& sql, const std::vector<SqlToken>& tokens,
                      std::size_t bodyBegin, const TriggerHead& head,
                      std::vector<CompilationError>& errors, TimingPoints& points, OraError& error);

}  // namespace sandbox
