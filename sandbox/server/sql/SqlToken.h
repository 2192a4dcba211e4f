// Tokens of Oracle SQL text: the dialect layer reads statements as token
// lists so that quoted identifiers, string literals, comments and binds are
// never mistaken for one another.
#pragma once

#include <string>
#include <vector>

namespace sandbox {

struct SqlToken {
  enum class Type {
    Word,        // unquoted identifier or keyword; text as written
    QuotedName,  // "Name": text without the quotes, case kept
    String,      // 'text': text with '' already undone
    Number,      // 12, 1.5, .5, 1e3
    Bind,        // :name or :1; text is the name in upper case
    Symbol,      // operators and punctuation: ( ) , . ; || != <= >= <> := =>
  };
  Type type = Type::Symbol;
  std::string text;
  std::size_t offset = 0;  // byte offset of the token in the statement
  std::size_t end = 0;     // byte offset just past the token

  bool IsWord(const char* upperWord) const;  // case-insensitive keyword test
  bool IsSymbol(const char* symbol) const { return type == Type::Symbol && text == symbol; }
  std::string Upper() const;  // the name as Oracle stores it
};

// Splits sql into tokens, dropping white space and comments. Returns false
// with errorOffset set when a quote or comment is not closed.
bool TokenizeSql(const std::string& sql, std::vector<SqlToken>& tokens, std::size_t& errorOffset);

std::string ToUpperAscii(std::string text);

}  // namespace sandbox
