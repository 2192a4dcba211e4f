// Fuzz target: fetched values written as literals. Whatever text a column
// value holds, its literal stays one expression: quotes balance, nothing
// outside them can end the statement or start a comment, and a quoted value
// reads back as the very text that was fetched.
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
         c == '(' || c == ')' || c == '+' || c == '-';
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

std::string Unquoted(const std::string& literal) {
  std::string text;
  for (std::size_t i = 1; i + 1 < literal.size(); ++i) {
    text += literal[i];
    if (literal[i] == '\'') {
      ++i;  // the doubled quote
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
  if (!value.empty() && !literal.empty() && literal.front() == '\'' && Unquoted(literal) != value) {
    std::abort();
  }
  return 0;
}
