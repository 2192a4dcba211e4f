// Builds a database from SQL scripts: the embedded demo scripts, or the
// *.sql files of a directory. Scripts run as SYSTEM; a line "CONNECT
// user/password" switches the user that runs the following statements.
#pragma once

#include <string>

#include "sandbox/server/Server.h"

namespace sandbox {

class ServerDatabase;

// Runs one script; stops at the first failing statement with error's text
// prefixed by "scriptName:line: ".
bool RunScript(ServerDatabase& database, const std::string& script, const std::string& scriptName,
               OraError& error);
bool LoadDemoScripts(ServerDatabase& database, OraError& error);
bool LoadScriptDirectory(ServerDatabase& database, const std::string& directory, OraError& error);

// The demo scripts compiled into the library: name and text, in name order.
struct EmbeddedScript {
  const char* name;
  const char* text;
};
extern const EmbeddedScript kDemoScripts[];
extern const std::size_t kDemoScriptCount;

}  // namespace sandbox
