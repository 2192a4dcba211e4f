// Text work on data queries.
#include "scripting/data/DataQueryText.h"

#include <cctype>

#include "scripting/data/ValueLiteral.h"
#include "scripting/source/OracleNames.h"

namespace {

bool IsNameCharacter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '#' ||
         (static_cast<unsigned char>(c) & 0x80) != 0;
}

std::string UpperAscii(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return upper;
}

// Calls visit(position, depth) for every character outside literals and
// quoted names; stops when visit returns true and returns that position.
template <typename Visit>
std::size_t ScanOutsideQuotes(std::string_view text, Visit visit) {
  int depth = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\'' || c == '"') {
      const std::size_t close = text.find(c, i + 1);
      if (close == std::string_view::npos) {
        return std::string_view::npos;
      }
      i = close;
      continue;
    }
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      --depth;
    } else if (visit(i, depth)) {
      return i;
    }
  }
  return std::string_view::npos;
}

bool IsWordAt(std::string_view text, std::size_t i, std::string_view word) {
  if (i + word.size() > text.size() || (i > 0 && IsNameCharacter(text[i - 1])) ||
      (i + word.size() < text.size() && IsNameCharacter(text[i + word.size()]))) {
    return false;
  }
  for (std::size_t k = 0; k < word.size(); ++k) {
    if (std::toupper(static_cast<unsigned char>(text[i + k])) != word[k]) {
      return false;
    }
  }
  return true;
}

std::size_t SkipSpace(std::string_view text, std::size_t i) {
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) {
    ++i;
  }
  return i;
}

}  // namespace

std::string StripBlockComments(const std::string& text) {
  std::string result = text;
  while (true) {
    // A "/*" inside a literal or a quoted name is text.
    const std::size_t open = ScanOutsideQuotes(
        result, [&result](std::size_t i, int) { return result.compare(i, 2, "/*") == 0; });
    if (open == std::string::npos || (open + 2 < result.size() && result[open + 2] == '+')) {
      return result;
    }
    const std::size_t close = result.find("*/", open + 2);
    if (close == std::string::npos) {
      result.erase(open);
      return result;
    }
    result = result.substr(0, open) + " " + result.substr(close + 2);
  }
}

std::string DoublePercents(std::string_view text) {
  std::string doubled;
  AppendDoubling(doubled, text, '%');
  return doubled;
}

std::string QuotedName(std::string_view name) {
  std::string quoted = "\"";
  AppendDoubling(quoted, name, '"');
  return quoted + "\"";
}

std::string SqlName(std::string_view name) {
  return IsPlainName(name) ? std::string(name) : QuotedName(name);
}

std::size_t FindFromKeyword(std::string_view query) {
  return ScanOutsideQuotes(query, [query](std::size_t i, int depth) {
    return depth == 0 && IsWordAt(query, i, "FROM");
  });
}

std::string TargetTableAfter(std::string_view query, std::size_t from) {
  std::size_t i = SkipSpace(query, from + 4);
  std::string table;
  while (i < query.size()) {
    const char c = query[i];
    if (c == '"') {
      const std::size_t close = query.find('"', i + 1);
      const std::size_t end = close == std::string_view::npos ? query.size() : close + 1;
      table.append(query.substr(i, end - i));
      i = end;
    } else if (IsNameCharacter(c) || c == '.' || c == '@') {
      table += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      ++i;
    } else {
      break;
    }
  }
  return table;
}

std::string SelectHead(std::string_view query, std::size_t from) {
  const std::string_view before = query.substr(0, from);
  std::size_t select = std::string_view::npos;
  ScanOutsideQuotes(before, [&](std::size_t i, int depth) {
    if (depth == 0 && IsWordAt(before, i, "SELECT")) {
      select = i;
    }
    return false;
  });
  if (select == std::string_view::npos) {
    return {};
  }
  std::size_t end = select + 6;
  std::size_t next = SkipSpace(before, end);
  if (before.substr(next, 3) == "/*+") {
    const std::size_t close = before.find("*/", next + 3);
    if (close != std::string_view::npos) {
      end = close + 2;
      next = SkipSpace(before, end);
    }
  }
  for (const std::string_view word : {"DISTINCT", "UNIQUE", "ALL"}) {
    if (IsWordAt(before, next, word)) {
      end = next + word.size();
      break;
    }
  }
  return std::string(query.substr(0, end));
}

bool IsColumnIgnored(const std::string& name, const std::vector<std::string>& patterns) {
  const std::string upper = UpperAscii(name);
  for (const std::string& raw : patterns) {
    const std::string pattern = UpperAscii(raw);
    const std::size_t percent = pattern.find('%');
    if (percent == std::string::npos) {
      if (upper == pattern) {
        return true;
      }
      continue;
    }
    const std::string_view prefix = std::string_view(pattern).substr(0, percent);
    const std::string_view suffix = std::string_view(pattern).substr(percent + 1);
    if (upper.size() >= prefix.size() + suffix.size() && upper.starts_with(prefix) &&
        upper.ends_with(suffix)) {
      return true;
    }
  }
  return false;
}
