// ScriptSplitter: cuts a SQL script into statements as a command-line SQL tool
// reads it. A statement ends with ";" outside literals and comments, or with
// a line holding only "/"; PL/SQL blocks and stored units (which contain ";")
// end only with "/". Comment lines and REM, REMARK and PROMPT lines between
// statements are skipped.
#pragma once

#include <string>
#include <vector>

namespace sandbox::tools {

struct ScriptStatement {
  std::string text;  // without the ending ";" or "/"
  int line = 0;      // line (from 1) on which the statement begins
};

std::vector<ScriptStatement> SplitScript(const std::string& script);

}  // namespace sandbox::tools
