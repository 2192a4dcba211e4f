// Line-comment search and removal (see SqlComments.h).
#include "oracle/SqlComments.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string_view>
#include <vector>

namespace {

bool IsRemarkSeparator(char c) {
  return c == ' ' || c == '\t' || c == '\n';
}

// A remark is the word REM (any case) after the start of the text or a
// separator and before a separator; the text "REM" alone is one too.
bool IsRemarkAt(std::string_view text, std::size_t i) {
  if (text.size() - i < 3 || std::toupper(static_cast<unsigned char>(text[i])) != 'R' ||
      std::toupper(static_cast<unsigned char>(text[i + 1])) != 'E' ||
      std::toupper(static_cast<unsigned char>(text[i + 2])) != 'M') {
    return false;
  }
  if (i > 0 && !IsRemarkSeparator(text[i - 1])) {
    return false;
  }
  return i + 3 < text.size() ? IsRemarkSeparator(text[i + 3]) : i == 0;
}

bool IsLineCommentAt(std::string_view text, std::size_t i) {
  return text.compare(i, 2, "--") == 0 || IsRemarkAt(text, i);
}

// Walks text once, telling quoted literals and identifiers and block comments
// (whose markers and quotes are plain text) from the rest. Calls
// onLineComment(i) at each line comment outside them; it returns where the
// walk goes on. Calls onText(i, inert) for every other character, inert
// when it lies inside quotes or a block comment.
template <typename LineComment, typename Text>
void WalkSql(std::string_view text, LineComment onLineComment, Text onText) {
  char quote = '\0';
  bool inBlock = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quote != '\0') {
      quote = c == quote ? '\0' : quote;
      onText(i, true);
    } else if (inBlock) {
      if (text.compare(i, 2, "*/") == 0) {
        onText(i++, true);
        inBlock = false;
      }
      onText(i, true);
    } else if (c == '\'' || c == '"') {
      quote = c;
      onText(i, true);
    } else if (text.compare(i, 2, "/*") == 0) {
      inBlock = true;
      onText(i++, true);
      onText(i, true);
    } else if (IsLineCommentAt(text, i)) {
      i = onLineComment(i);
    } else {
      onText(i, false);
    }
  }
}

// First occurrence of pattern whose character at markerOffset is a comment
// marker outside quotes and block comments.
std::size_t FindMarker(const std::string& upper, const std::vector<bool>& inert,
                       std::string_view pattern, std::size_t markerOffset) {
  for (std::size_t at = upper.find(pattern); at != std::string::npos;
       at = upper.find(pattern, at + 1)) {
    if (!inert[at + markerOffset]) {
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
  // Line comment text stays marked as not inert (the patterns below are
  // looked for in it too), but its quotes open nothing.
  std::vector<bool> inert(upper.size(), false);
  WalkSql(
      upper, [&](std::size_t i) { return std::min(upper.find('\n', i), upper.size()); },
      [&](std::size_t i, bool quoted) { inert[i] = quoted; });

  const std::size_t dashes = FindMarker(upper, inert, "--", 0);
  if (dashes != std::string::npos) {
    return static_cast<int>(dashes);
  }
  // Tried pattern by pattern, not by position.
  static constexpr std::array<std::string_view, 9> remarkPatterns = {
      "\nREM ", " REM ", "\tREM ", "\nREM\t", " REM\t", "\tREM\t", "\nREM\n", " REM\n", "\tREM\n"};
  for (std::string_view pattern : remarkPatterns) {
    const std::size_t at = FindMarker(upper, inert, pattern, 1);
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
  // One pass: each comment, up to and including its line feed, becomes one
  // blank, so a comment never reaches into the line after it.
  std::string result;
  result.reserve(text.size());
  WalkSql(
      text,
      [&](std::size_t i) {
        const std::size_t lineEnd = text.find('\n', i);
        if (lineEnd == std::string::npos) {
          return text.size();  // the comment runs to the end
        }
        result += ' ';
        return lineEnd;
      },
      [&](std::size_t i, bool) { result += text[i]; });
  return result;
}
