// ScriptSplitter: cuts a SQL script into statements as a command-line SQL tool
// reads it. A statement ends with ";" outside literals and comments, or with
// a line holding only "/"; PL/SQL blocks and stored units (which contain ";")
// end only with "/". The tool reads some lines before it looks at quotes or
// comments: a "/" line runs the statement, a "." line ends it unrun, and in
// SQL (not PL/SQL) a blank line ends it unrun unless SET SQLBLANKLINES ON
// came before, and a line ending in ";" ends it inside a literal too; a line
// beginning with "#" inside a statement is a command of the tool. Until SET
// DEFINE OFF, "&name" (and "&&name") in a statement takes the value DEFINE
// gave the name, or nothing, as when the tool's prompt for it is answered
// with nothing; a note says so. Comment lines and REM and REMARK lines
// between statements are skipped; the tool's own commands between
// statements (SET, DEFINE, SPOOL, WHENEVER, PROMPT, SHOW, COLUMN, @file ...)
// come back marked as such, and EXIT or QUIT ends the script.
#pragma once

#include <string>
#include <vector>

namespace sandbox::tools {

struct ScriptStatement {
  std::string text;          // without the ending ";" or "/"
  int line = 0;              // line (from 1) on which the statement begins
  bool toolCommand = false;  // a command of the SQL tool, not sent to the server
  bool note = false;         // what the tool says about the script, not a statement
};

std::vector<ScriptStatement> SplitScript(const std::string& script);

}  // namespace sandbox::tools
