// Lines a command-line SQL tool reads as its own, and statements kept from them.
#include "scripting/data/ToolLines.h"

#include "scripting/data/ValueLiteral.h"

namespace {

constexpr std::size_t LongestToolLine = 2499;
// The bytes of pieces given to the CLOB in one assignment: a VARCHAR2
// expression of PL/SQL holds 32,767.
constexpr std::size_t AssignmentBytes = 16000;

std::string_view Trimmed(std::string_view line) {
  const std::size_t begin = line.find_first_not_of(" \t\r");
  if (begin == std::string_view::npos) {
    return {};
  }
  return line.substr(begin, line.find_last_not_of(" \t\r") + 1 - begin);
}

}  // namespace

bool ToolTakesLine(std::string_view line, bool sql) {
  const std::string_view bare = Trimmed(line);
  return line.size() > LongestToolLine || (!line.empty() && line.front() == '#') || bare == "/" ||
         bare == "." || (sql && (bare.empty() || bare.back() == ';'));
}

bool ToolReadsWhole(std::string_view statement, bool sql) {
  std::size_t begin = 0;
  for (std::size_t end = statement.find('\n'); end != std::string_view::npos;
       end = statement.find('\n', begin)) {
    if (ToolTakesLine(statement.substr(begin, end - begin), sql)) {
      return false;
    }
    begin = end + 1;
  }
  return !ToolTakesLine(statement.substr(begin), sql);
}

std::string ExecutedStatementBlock(std::string_view statement) {
  std::string out = "DECLARE\r\n  lv_statement CLOB;\r\nBEGIN\r\n  lv_statement := ";
  std::size_t assigned = 0;  // bytes of the current assignment
  bool first = true;
  const auto term = [&](std::string_view piece, bool quoted) {
    if (assigned >= AssignmentBytes) {
      out += ";\r\n  lv_statement := lv_statement\r\n  || ";
      assigned = 0;
    } else if (!first) {
      out += "\r\n  || ";
    }
    first = false;
    out += quoted ? QuotedLiteral(piece) : std::string(piece);
    assigned += piece.size();
  };
  for (std::size_t at = 0; at < statement.size();) {
    const char c = statement[at];
    if (c == '\n' || c == '\r') {
      term(c == '\n' ? "CHR(10)" : "CHR(13)", false);
      ++at;
      continue;
    }
    const std::size_t lineEnd = std::min(statement.find_first_of("\r\n", at), statement.size());
    const std::string_view line = statement.substr(at, lineEnd - at);
    const std::size_t pieceEnd = TextPieceEnd(line, 0);
    term(line.substr(0, pieceEnd), true);
    at += pieceEnd;
  }
  return out + ";\r\n  EXECUTE IMMEDIATE lv_statement;\r\nEND;\r\n/\r\n";
}

std::string ToolSafeStatement(std::string_view statement, bool sql, std::string_view terminator) {
  if (ToolReadsWhole(statement, sql)) {
    return std::string(statement) + std::string(terminator);
  }
  return ExecutedStatementBlock(statement);
}
