// Translation of SQLite's error messages into the ORA errors that Oracle
// gives for the same fault.
#pragma once

#include <string>

#include "sandbox/server/Server.h"

namespace sandbox {

// message is sqlite3_errmsg's text; errors raised by the registered
// functions arrive as "ORA-nnnnn: text" and are passed through.
OraError MapSqliteError(const std::string& message);

// "ORA-nnnnn: text" split into code and text; code 0 when text has no such prefix.
OraError ParseOraText(const std::string& text);

}  // namespace sandbox
