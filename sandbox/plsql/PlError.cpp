// Oracle error texts of PL/SQL exceptions.
#include "sandbox/plsql/PlError.h"

#include <cstdio>
#include <utility>

#include "sandbox/server/Server.h"

namespace sandbox::plsql {

int PlError::SqlCode() const {
  if (userException != nullptr && code == 0)
    return 1;
  if (code == 1403)
    return 100;
  return -code;
}

std::string PlError::SqlErrm() const {
  if (userException != nullptr && code == 0)
    return "User-Defined Exception";
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "ORA-%05d: ", code);
  return prefix + message;
}

PlError FromOraError(const OraError& e) {
  return MakeError(e.code, e.message);
}

PlError MakeError(int code, std::string message) {
  PlError e;
  e.code = code;
  e.message = std::move(message);
  return e;
}

PlError ValueError(const std::string& detail) {
  return MakeError(6502, "PL/SQL: numeric or value error: " + detail);
}

PlError BufferTooSmall() {
  return ValueError("character string buffer too small");
}

PlError PredefinedError(int code) {
  static const std::pair<int, const char*> kTexts[] = {
      {1403, "no data found"},
      {1422, "exact fetch returns more than requested number of rows"},
      {1476, "divisor is equal to zero"},
      {6502, "PL/SQL: numeric or value error"},
      {1722, "invalid number"},
      {1, "unique constraint violated"},
      {1001, "invalid cursor"},
      {6511, "PL/SQL: cursor already open"},
      {6501, "PL/SQL: program error"}};
  for (const auto& [known, text] : kTexts) {
    if (known == code)
      return MakeError(code, text);
  }
  return MakeError(code, "");
}

}  // namespace sandbox::plsql
