// PlaceholderScanner: a small lexer over Oracle SQL and PL/SQL text.
#include "sandbox/oci/PlaceholderScanner.h"

#include <cctype>

namespace sandbox::oci {
namespace {

bool IsNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '#';
}

char Closing(char open) {
  switch (open) {
    case '[':
      return ']';
    case '{':
      return '}';
    case '(':
      return ')';
    case '<':
      return '>';
    default:
      return open;
  }
}

}  // namespace

std::string PlaceholderName(const std::string& placeholder) {
  std::string name;
  std::size_t start = !placeholder.empty() && placeholder.front() == ':' ? 1 : 0;
  for (std::size_t i = start; i < placeholder.size(); ++i) {
    name += static_cast<char>(std::toupper(static_cast<unsigned char>(placeholder[i])));
  }
  return name;
}

std::vector<std::string> ScanPlaceholders(const std::string& text) {
  std::vector<std::string> names;
  const std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    char c = text[i];
    if (c == '-' && i + 1 < n && text[i + 1] == '-') {
      std::size_t end = text.find('\n', i);
      i = end == std::string::npos ? n : end + 1;
    } else if (c == '/' && i + 1 < n && text[i + 1] == '*') {
      std::size_t end = text.find("*/", i + 2);
      i = end == std::string::npos ? n : end + 2;
    } else if ((c == 'q' || c == 'Q') && i + 2 < n && text[i + 1] == '\'' &&
               (i == 0 || !IsNameChar(text[i - 1]))) {
      // q'[...]' literal: ends at the closing delimiter followed by a quote.
      char close = Closing(text[i + 2]);
      std::size_t j = i + 3;
      while (j + 1 < n && !(text[j] == close && text[j + 1] == '\''))
        ++j;
      i = j + 2;
    } else if (c == '\'' || c == '"') {
      // Doubled quotes inside a literal simply restart the scan at the next quote.
      std::size_t end = text.find(c, i + 1);
      i = end == std::string::npos ? n : end + 1;
    } else if (c == ':' && i + 1 < n && IsNameChar(text[i + 1]) && (i == 0 || text[i - 1] != ':')) {
      std::size_t j = i + 1;
      std::string name;
      while (j < n && IsNameChar(text[j])) {
        name += static_cast<char>(std::toupper(static_cast<unsigned char>(text[j])));
        ++j;
      }
      names.push_back(name);
      i = j;
    } else if (IsNameChar(c)) {
      // Skip whole words, so that a q inside a name is never taken for a literal.
      while (i < n && IsNameChar(text[i]))
        ++i;
    } else {
      ++i;
    }
  }
  return names;
}

}  // namespace sandbox::oci
