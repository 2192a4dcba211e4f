// ToolLines: text from the dictionary or the data written so that a
// command-line SQL tool running the report keeps it whole. Such a tool reads
// some lines as its own whatever they quote: a line of only "/" or "." ends
// the statement, a line beginning with "#" is a command of the tool, a line
// past 2,499 bytes is refused, and in SQL (not PL/SQL) a blank line ends the
// statement unrun and a line ending in ";" ends it.
#pragma once

#include <string>
#include <string_view>

// Whether the tool takes line (without its line break), entered as a line of
// a statement after the first, for its own; sql: the statement is not PL/SQL.
bool ToolTakesLine(std::string_view line, bool sql);

// Whether statement (without its terminator) stands in a script as it is.
bool ToolReadsWhole(std::string_view statement, bool sql);

// statement run by EXECUTE IMMEDIATE from an anonymous block, its text built
// in a CLOB from quoted pieces on lines of their own, each line break (LF or
// CR) a CHR term; the block ends with its "/" line.
std::string ExecutedStatementBlock(std::string_view statement);

// statement followed by terminator when it stands in a script as it is, else
// ExecutedStatementBlock(statement).
std::string ToolSafeStatement(std::string_view statement, bool sql, std::string_view terminator);
