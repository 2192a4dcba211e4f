// Statement boundaries of SQL scripts.
#include "sandbox/server/sql/ScriptSplitter.h"

#include <cctype>
#include <optional>
#include <sstream>

#include "sandbox/server/sql/SqlToken.h"

namespace sandbox {

namespace {

std::string Trimmed(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
    ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
    --end;
  return text.substr(begin, end - begin);
}

// Scans one line, carrying quote and comment state across lines; returns the
// offset of a ";" that ends the line outside quotes and comments, or npos.
std::size_t EndingSemicolon(const std::string& line, bool& inQuote, bool& inComment) {
  std::size_t lastSemicolon = std::string::npos;
  bool contentAfter = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (inComment) {
      if (c == '*' && i + 1 < line.size() && line[i + 1] == '/') {
        inComment = false;
        ++i;
      }
      continue;
    }
    if (inQuote) {
      if (c == '\'')
        inQuote = false;
      continue;
    }
    if (c == '\'') {
      inQuote = true;
      contentAfter = true;
    } else if (c == '-' && i + 1 < line.size() && line[i + 1] == '-') {
      break;
    } else if (c == '/' && i + 1 < line.size() && line[i + 1] == '*') {
      inComment = true;
      ++i;
    } else if (c == ';') {
      lastSemicolon = i;
      contentAfter = false;
    } else if (!std::isspace(static_cast<unsigned char>(c))) {
      contentAfter = true;
    }
  }
  return contentAfter || inQuote || inComment ? std::string::npos : lastSemicolon;
}

bool IsSqlPlusCommand(const std::string& line) {
  std::istringstream words(line);
  std::string first;
  words >> first;
  first = ToUpperAscii(first);
  return first == "REM" || first == "REMARK" || first == "PROMPT" || first == "SET" ||
         first == "SPOOL" || first == "WHENEVER" || first == "EXIT" || first == "QUIT" ||
         first == "SHOW" || first == "@" || first.rfind("@", 0) == 0;
}

bool IsConnectCommand(const std::string& line) {
  std::istringstream words(line);
  std::string first;
  words >> first;
  first = ToUpperAscii(first);
  return first == "CONNECT" || first == "CONN";
}

}  // namespace

namespace {

// Whether text opens a PL/SQL unit, or nothing when its leading words are not
// all there yet (a longer text may still tell).
std::optional<bool> PlsqlUnitDecision(const std::string& text) {
  std::vector<SqlToken> tokens;
  std::size_t errorOffset = 0;
  TokenizeSql(text, tokens, errorOffset);
  std::size_t i = 0;
  if (i >= tokens.size())
    return std::nullopt;
  if (tokens[i].IsWord("BEGIN") || tokens[i].IsWord("DECLARE"))
    return true;
  if (!tokens[i].IsWord("CREATE"))
    return false;
  ++i;
  if (i < tokens.size() && tokens[i].IsWord("OR")) {
    if (i + 1 >= tokens.size())
      return std::nullopt;
    if (tokens[i + 1].IsWord("REPLACE"))
      i += 2;
  }
  while (i < tokens.size() &&
         (tokens[i].IsWord("EDITIONABLE") || tokens[i].IsWord("NONEDITIONABLE")))
    ++i;
  if (i >= tokens.size())
    return std::nullopt;
  const SqlToken& kind = tokens[i];
  return kind.IsWord("PROCEDURE") || kind.IsWord("FUNCTION") || kind.IsWord("PACKAGE") ||
         kind.IsWord("TYPE") || kind.IsWord("TRIGGER");
}

}  // namespace

bool IsPlsqlUnit(const std::string& text) {
  return PlsqlUnitDecision(text).value_or(false);
}

std::vector<ScriptStatement> SplitScript(const std::string& script) {
  std::vector<ScriptStatement> statements;
  std::istringstream lines(script);
  std::string line, current;
  int lineNumber = 0, startLine = 0;
  bool inQuote = false, inComment = false;
  // Whether the statement being read is a PL/SQL unit, once its leading
  // words have told: a unit is tokenised only until then, not at every line.
  std::optional<bool> plsqlUnit;
  auto finish = [&](std::string text) {
    if (!Trimmed(text).empty())
      statements.push_back({std::move(text), startLine});
    current.clear();
    plsqlUnit.reset();
    inQuote = inComment = false;
  };
  while (std::getline(lines, line)) {
    ++lineNumber;
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    const std::string trimmed = Trimmed(line);
    if (current.empty() && !inComment) {
      if (trimmed.empty() || trimmed.rfind("--", 0) == 0 || IsSqlPlusCommand(trimmed) ||
          trimmed == "/")
        continue;
      startLine = lineNumber;
      // CONNECT is a one-line command of its own, with or without ";".
      if (IsConnectCommand(trimmed)) {
        finish(trimmed.back() == ';' ? trimmed.substr(0, trimmed.size() - 1) : trimmed);
        continue;
      }
    }
    if (trimmed == "/" && !inQuote && !inComment) {
      finish(current);
      continue;
    }
    current += current.empty() ? line : "\n" + line;
    if (!plsqlUnit)
      plsqlUnit = PlsqlUnitDecision(current);
    const bool plsql = plsqlUnit.value_or(false);
    const std::size_t semicolon = EndingSemicolon(line, inQuote, inComment);
    if (!plsql && semicolon != std::string::npos) {
      // Cut the statement at its ending semicolon.
      const std::size_t cut = current.size() - (line.size() - semicolon);
      finish(current.substr(0, cut));
    }
  }
  finish(current);
  return statements;
}

}  // namespace sandbox
