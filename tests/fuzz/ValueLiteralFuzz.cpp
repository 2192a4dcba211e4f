// Fuzz target: fetched values written as literals. Whatever text a column
// value holds, its literal stays one expression: quotes balance, nothing
// outside them can end the statement or start a comment, no line of it would
// end the statement in a script tool, and a quoted value (or one in quoted
// pieces joined by "||" with CHR(10) for its line breaks) reads back as the
// very text that was fetched.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "scripting/data/ValueLiteral.h"

namespace {

// Every type code the formatter tells apart, and two it does not know.
constexpr int TypeCodes[] = {1,   2,   3,   4,   5,   8,   9,   11,  12,  21,  22,  23,
                             24,  94,  95,  96,  97,  100, 101, 104, 112, 113, 114, 155,
                             156, 184, 187, 188, 189, 190, 208, 232, 6,   250};

bool AllowedOutsideQuotes(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || c == ',' ||
         c == '(' || c == ')' || c == '+' || c == '-' || c == '|' || c == ' ' || c == '\r' ||
         c == '\n';
}

// No line of literal is one that a script tool takes for the end of the
// statement or a command: blank, "/" or "." alone, ending in ";" or
// beginning with "#".
bool HasNoToolLines(const std::string& literal) {
  std::size_t begin = 0;
  for (std::size_t end = literal.find('\n'); end != std::string::npos;
       end = literal.find('\n', begin)) {
    std::string line = literal.substr(begin, end - begin);
    const std::size_t last = line.find_last_not_of(" \t\r");
    line.erase(last == std::string::npos ? 0 : last + 1);
    const std::size_t first = line.find_first_not_of(" \t");
    line.erase(0, first == std::string::npos ? line.size() : first);
    const std::string next = literal.substr(end + 1, 1);
    if (line.empty() || line == "/" || line == "." || line.back() == ';' || next == "#") {
      return false;
    }
    begin = end + 1;
  }
  return true;
}

// One expression: balanced quotes, no "--" and only literal characters
// outside them.
bool IsOneExpression(const std::string& literal) {
  bool quoted = false;
  char previous = '\0';
  for (const char c : literal) {
    if (c == '\'') {
      quoted = !quoted;
    } else if (!quoted && (!AllowedOutsideQuotes(c) || (c == '-' && previous == '-'))) {
      return false;
    }
    previous = quoted ? '\0' : c;
  }
  return !quoted;
}

// The text of quoted pieces and CHR(10) terms joined by "||".
std::string Unquoted(const std::string& literal) {
  std::string text;
  bool quoted = false;
  for (std::size_t i = 0; i < literal.size(); ++i) {
    if (literal[i] == '\'') {
      if (quoted && i + 1 < literal.size() && literal[i + 1] == '\'') {
        text += '\'';
        ++i;  // the doubled quote
      } else {
        quoted = !quoted;
      }
    } else if (quoted) {
      text += literal[i];
    } else if (literal.compare(i, 7, "CHR(10)") == 0) {
      text += '\n';
      i += 6;
    }
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const int type = TypeCodes[data[0] % std::size(TypeCodes)];
  const std::string value(reinterpret_cast<const char*>(data + 1), size - 1);
  const LiteralFormats formats{"MM/DD/YYYY HH24:MI:SS", "MM/DD/YYYY HH24:MI:SS.FF9",
                               "MM/DD/YYYY HH24:MI:SS.FF9 TZR"};
  const std::string literal = FormatValue(value, type, formats);
  if (!IsOneExpression(literal)) {
    std::abort();
  }
  if (value.empty() && literal != "NULL") {
    std::abort();
  }
  const bool text = !literal.empty() && (literal.front() == '\'' || literal.front() == 'C');
  if (!value.empty() && text && (Unquoted(literal) != value || !HasNoToolLines(literal))) {
    std::abort();
  }
  return 0;
}
