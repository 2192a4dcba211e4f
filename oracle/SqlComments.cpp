// Line-comment search and removal (see SqlComments.h).
#include "oracle/SqlComments.h"

#include <array>
#include <cctype>
#include <string_view>
#include <vector>

namespace {

bool IsRemarkSeparator(char c) {
  return c == ' ' || c == '\t' || c == '\n';
}

bool IsRemarkAt(const std::string& upper, std::size_t i) {
  return upper.compare(i, 3, "REM") == 0 && (i == 0 || IsRemarkSeparator(upper[i - 1])) &&
         (i + 3 == upper.size() || IsRemarkSeparator(upper[i + 3]));
}

// True for every character that belongs to a quoted literal or identifier.
// Quotes inside comments open nothing, so comments are skipped on the way.
std::vector<bool> QuotedCharacters(const std::string& upper) {
  std::vector<bool> quoted(upper.size(), false);
  char quote = '\0';
  for (std::size_t i = 0; i < upper.size(); ++i) {
    const char c = upper[i];
    if (quote != '\0') {
      quoted[i] = true;
      if (c == quote) {
        quote = '\0';
      }
    } else if (c == '\'' || c == '"') {
      quote = c;
      quoted[i] = true;
    } else if (upper.compare(i, 2, "--") == 0 || IsRemarkAt(upper, i)) {
      const std::size_t lineEnd = upper.find('\n', i);
      if (lineEnd == std::string::npos) {
        break;
      }
      i = lineEnd;
    }
  }
  return quoted;
}

// First occurrence of pattern whose character at markerOffset is not quoted.
std::size_t FindUnquoted(const std::string& upper, const std::vector<bool>& quoted,
                         std::string_view pattern, std::size_t markerOffset) {
  for (std::size_t at = upper.find(pattern); at != std::string::npos;
       at = upper.find(pattern, at + 1)) {
    if (!quoted[at + markerOffset]) {
      return at;
    }
  }
  return std::string::npos;
}

}  // namespace

int FindSqlCommentStart(const std::string& text) {
  std::string upper = text;
  for (char& c : upper) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  const std::vector<bool> quoted = QuotedCharacters(upper);

  const std::size_t dashes = FindUnquoted(upper, quoted, "--", 0);
  if (dashes != std::string::npos) {
    return static_cast<int>(dashes);
  }
  // Tried pattern by pattern, not by position.
  static constexpr std::array<std::string_view, 9> remarkPatterns = {
      "\nREM ", " REM ", "\tREM ", "\nREM\t", " REM\t", "\tREM\t", "\nREM\n", " REM\n", "\tREM\n"};
  for (std::string_view pattern : remarkPatterns) {
    const std::size_t at = FindUnquoted(upper, quoted, pattern, 1);
    if (at != std::string::npos) {
      return static_cast<int>(at + 1);
    }
  }
  if (upper == "REM" || upper.starts_with("REM ") || upper.starts_with("REM\t") ||
      upper.starts_with("REM\n")) {
    return 0;
  }
  return -1;
}

std::string StripSqlComments(const std::string& text) {
  std::string result = text;
  for (int start = FindSqlCommentStart(result); start >= 0; start = FindSqlCommentStart(result)) {
    const auto commentStart = static_cast<std::size_t>(start);
    const std::size_t lineEnd = result.find('\n', commentStart);
    if (lineEnd == std::string::npos) {
      return result.substr(0, commentStart);
    }
    result = result.substr(0, commentStart) + " " + result.substr(lineEnd + 1);
  }
  return result;
}
