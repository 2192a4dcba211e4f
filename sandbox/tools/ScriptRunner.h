// ScriptRunner: executes the statements of a script through the OCI entry
// points of a logged-on ClientConnection. Query rows are printed one per
// line with their columns separated by "|"; each failing statement is
// reported as "SCRIPT:LINE: ORA-nnnnn: text" ("LINE: ..." without a script name).
// Commands of the SQL tool itself are not run: a note names each one.
#pragma once

#include <iostream>
#include <ostream>
#include <string>
#include <vector>

#include "sandbox/tools/ClientConnection.h"
#include "sandbox/tools/OciLibrary.h"
#include "sandbox/tools/ScriptSplitter.h"

namespace sandbox::tools {

class ScriptRunner {
 public:
  ScriptRunner(const OciLibrary& oci, ClientConnection& connection, std::ostream& rows,
               std::ostream& errors, std::ostream& notes = std::cerr);

  // Runs every statement in order, going on after failures; returns how many failed.
  int Run(const std::string& scriptName, const std::vector<ScriptStatement>& statements);

 private:
  bool RunStatement(const ScriptStatement& statement);
  bool RunQuery(OCIStmt* statement);
  void Report(const std::string& scriptName, int line);

  const OciLibrary& oci_;
  ClientConnection& connection_;
  std::ostream& rows_;
  std::ostream& errors_;
  std::ostream& notes_;
};

}  // namespace sandbox::tools
