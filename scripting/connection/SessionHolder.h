// SessionHolder: a logged-on session together with whether its password may
// be kept (given in a connect string, or "Save Password" was checked).
#pragma once

#include <memory>

#include "oracle/OracleSession.h"

struct SessionHolder {
  std::unique_ptr<OracleSession> Session;
  bool PasswordSaved = false;
};
