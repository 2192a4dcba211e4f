// Splits PL/SQL block text into tokens with their line and column, dropping
// comments. Identifiers are upper-cased unless quoted; string literals keep
// their value with doubled quotes undone.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

namespace sandbox::plsql {

struct Token {
  enum class Kind {
    Identifier,
    QuotedIdentifier,
    Number,
    String,
    Bind,
    Symbol,
    Directive,  // $IF, $THEN, $ELSIF, $ELSE, $END, $ERROR: text without the "$"
    Inquiry,    // $$NAME: text NAME
    End
  };
  Kind kind = Kind::End;
  std::string text;  // upper-cased identifier, literal value, bind name, symbol
  int line = 1;
  int column = 1;
  size_t offset = 0;  // the token's source text: [offset, offset + length)
  size_t length = 0;

  bool Is(const char* word) const {
    return (kind == Kind::Identifier || kind == Kind::Symbol) && text == word;
  }
  bool IsAny(std::initializer_list<const char*> words) const {
    for (const char* w : words) {
      if (Is(w))
        return true;
    }
    return false;
  }
};

struct LexError {
  int line = 0;
  int column = 0;
  std::string message;  // the PLS text
};

// Returns false with error set for an unterminated literal or comment or a
// character PL/SQL does not know. Conditional compilation's directives are
// tokens only with directives set; the compiler reads text they have left.
bool Tokenize(const std::string& source, std::vector<Token>& tokens, LexError& error,
              bool directives = false);

}  // namespace sandbox::plsql
