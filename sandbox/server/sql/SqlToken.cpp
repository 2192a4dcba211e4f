// Tokenizer of Oracle SQL text.
#include "sandbox/server/sql/SqlToken.h"

#include "sandbox/server/sql/AlternativeQuote.h"

#include <cctype>
#include <cstring>

namespace sandbox {

std::string ToUpperAscii(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

bool SqlToken::IsWord(const char* upperWord) const {
  if (type != Type::Word || text.size() != std::strlen(upperWord))
    return false;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(text[i])) != upperWord[i])
      return false;
  return true;
}

std::string SqlToken::Upper() const {
  return type == Type::QuotedName || type == Type::String ? text : ToUpperAscii(text);
}

namespace {

bool IsWordStart(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) || static_cast<unsigned char>(c) >= 0x80;
}
bool IsWordChar(char c) {
  return IsWordStart(c) || std::isdigit(static_cast<unsigned char>(c)) || c == '_' || c == '$' ||
         c == '#';
}
bool IsDigit(char c) {
  return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

bool TokenizeSql(const std::string& sql, std::vector<SqlToken>& tokens, std::size_t& errorOffset) {
  tokens.clear();
  const std::size_t n = sql.size();
  std::size_t i = 0;
  auto push = [&](SqlToken::Type type, std::string text, std::size_t at, std::size_t end) {
    tokens.push_back({type, std::move(text), at, end});
  };
  while (i < n) {
    const char c = sql[i];
    const std::size_t start = i;
    if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
      while (i < n && sql[i] != '\n')
        ++i;
    } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
      const std::size_t end = sql.find("*/", i + 2);
      if (end == std::string::npos) {
        errorOffset = start;
        return false;
      }
      i = end + 2;
    } else if (const auto quoted = AlternativeQuoteAt(sql, i)) {
      if (!quoted->terminated) {
        errorOffset = start;
        return false;
      }
      i = quoted->next;
      push(SqlToken::Type::String,
           sql.substr(quoted->textBegin, quoted->textEnd - quoted->textBegin), start, i);
    } else if (c == '\'' || ((c == 'N' || c == 'n') && i + 1 < n && sql[i + 1] == '\'')) {
      // N'...' is a national character literal: the same text, since every
      // value here is Unicode already.
      std::string text;
      i = sql.find('\'', i) + 1;
      for (;;) {
        if (i >= n) {
          errorOffset = start;
          return false;
        }
        if (sql[i] == '\'') {
          if (i + 1 < n && sql[i + 1] == '\'') {
            text += '\'';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        text += sql[i++];
      }
      push(SqlToken::Type::String, std::move(text), start, i);
    } else if (c == '"') {
      const std::size_t end = sql.find('"', i + 1);
      if (end == std::string::npos) {
        errorOffset = start;
        return false;
      }
      push(SqlToken::Type::QuotedName, sql.substr(i + 1, end - i - 1), start, end + 1);
      i = end + 1;
    } else if (IsWordStart(c)) {
      while (i < n && IsWordChar(sql[i]))
        ++i;
      push(SqlToken::Type::Word, sql.substr(start, i - start), start, i);
    } else if (IsDigit(c) || (c == '.' && i + 1 < n && IsDigit(sql[i + 1]))) {
      while (i < n && IsDigit(sql[i]))
        ++i;
      if (i < n && sql[i] == '.' && !(i + 1 < n && sql[i + 1] == '.')) {
        ++i;
        while (i < n && IsDigit(sql[i]))
          ++i;
      }
      if (i < n && (sql[i] == 'e' || sql[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (sql[j] == '+' || sql[j] == '-'))
          ++j;
        if (j < n && IsDigit(sql[j])) {
          i = j;
          while (i < n && IsDigit(sql[i]))
            ++i;
        }
      }
      push(SqlToken::Type::Number, sql.substr(start, i - start), start, i);
    } else if (c == ':' && i + 1 < n && (IsWordStart(sql[i + 1]) || IsDigit(sql[i + 1]))) {
      ++i;
      while (i < n && IsWordChar(sql[i]))
        ++i;
      push(SqlToken::Type::Bind, ToUpperAscii(sql.substr(start + 1, i - start - 1)), start, i);
    } else if (c == ':' && i + 1 < n && sql[i + 1] == '"') {
      const std::size_t end = sql.find('"', i + 2);
      if (end == std::string::npos) {
        errorOffset = start;
        return false;
      }
      push(SqlToken::Type::Bind, sql.substr(i + 2, end - i - 2), start, end + 1);
      i = end + 1;
    } else {
      static const char* const twoCharSymbols[] = {"||", "!=", "<=", ">=", "<>",
                                                   ":=", "=>", "^=", ".."};
      std::string symbol(1, c);
      for (const char* two : twoCharSymbols)
        if (i + 1 < n && c == two[0] && sql[i + 1] == two[1])
          symbol = two;
      i += symbol.size();
      push(SqlToken::Type::Symbol, std::move(symbol), start, i);
    }
  }
  return true;
}

}  // namespace sandbox
