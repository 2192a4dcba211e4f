// Splits a SQL script into statements the way SQL*Plus reads it: a SQL
// statement ends with ";" at the end of a line, a PL/SQL unit or block
// (CREATE PROCEDURE ... , BEGIN, DECLARE) with a line holding only "/".
#pragma once

#include <string>
#include <vector>

namespace sandbox {

struct ScriptStatement {
  std::string text;  // without the ending ";" of a SQL statement; a PL/SQL unit keeps its own
  int line = 0;      // 1-based line where the statement starts
};

std::vector<ScriptStatement> SplitScript(const std::string& script);

// True when text opens a PL/SQL unit or block, which only "/" ends.
bool IsPlsqlUnit(const std::string& text);

}  // namespace sandbox
