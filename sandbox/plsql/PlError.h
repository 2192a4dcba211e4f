// A PL/SQL exception in flight: the Oracle error it carries and the lines it
// passed on its way out, for the "ORA-06512: at line N" trail Oracle appends.
#pragma once

#include <string>
#include <vector>

namespace sandbox {
struct OraError;
}

namespace sandbox::plsql {

struct ExceptionDecl;

// A line an exception passed: of the anonymous block when unit is empty,
// else of the stored unit "OWNER.NAME".
struct ErrorPlace {
  std::string unit;
  int line = 0;
};

struct PlError {
  int code = 0;                                  // ORA code, positive: 1403, 6502, 20000 ...
  std::string message;                           // without the "ORA-nnnnn: " prefix
  const ExceptionDecl* userException = nullptr;  // a declared exception, if any
  std::vector<ErrorPlace> places;                // where it was raised, then each call site it left

  // SQLCODE as PL/SQL reports it: 100 for no data found, 1 for a user exception.
  int SqlCode() const;
  // SQLERRM: "ORA-06502: PL/SQL: numeric ..." or "User-Defined Exception".
  std::string SqlErrm() const;
};

// Errors raised by the interpreter itself, by code and Oracle's text.
PlError MakeError(int code, std::string message);
PlError ValueError(const std::string& detail);  // ORA-06502 with its detail text
PlError BufferTooSmall();
// The error a predefined exception stands for (1403 no data found, 1476
// divisor is equal to zero ...), with Oracle's text; the text is empty for a
// code that no predefined exception carries.
PlError PredefinedError(int code);
// The error of a statement the server ran.
PlError FromOraError(const OraError& e);

}  // namespace sandbox::plsql
