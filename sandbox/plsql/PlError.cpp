// Oracle error texts of PL/SQL exceptions.
#include "sandbox/plsql/PlError.h"

#include <cstdio>

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

}  // namespace sandbox::plsql
