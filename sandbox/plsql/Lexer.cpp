// The PL/SQL tokenizer.
#include "sandbox/plsql/Lexer.h"
#include "sandbox/server/sql/AlternativeQuote.h"

#include <cctype>
#include <cstring>

namespace sandbox::plsql {

namespace {

bool IsIdentStart(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) != 0;
}
bool IsIdentPart(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '$' || c == '#';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string Upper(std::string s) {
  for (char& c : s)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

class Scanner {
 public:
  Scanner(const std::string& source, bool directives) : src_(source), directives_(directives) {}

  bool Run(std::vector<Token>& tokens, LexError& error) {
    while (true) {
      if (!SkipBlanksAndComments(error))
        return false;
      Token t;
      t.line = line_;
      t.column = Column();
      t.offset = pos_;
      if (pos_ >= src_.size()) {
        tokens.push_back(t);
        return true;
      }
      if (!Next(t, error))
        return false;
      t.length = pos_ - t.offset;
      tokens.push_back(std::move(t));
    }
  }

 private:
  int Column() const { return static_cast<int>(pos_ - lineStart_) + 1; }
  char At(size_t i) const { return i < src_.size() ? src_[i] : '\0'; }

  void Advance() {
    if (src_[pos_] == '\n') {
      ++line_;
      lineStart_ = pos_ + 1;
    }
    ++pos_;
  }

  bool SkipBlanksAndComments(LexError& error) {
    while (pos_ < src_.size()) {
      const char c = src_[pos_];
      if (std::isspace(static_cast<unsigned char>(c)) != 0) {
        Advance();
      } else if (c == '-' && At(pos_ + 1) == '-') {
        while (pos_ < src_.size() && src_[pos_] != '\n')
          Advance();
      } else if (c == '/' && At(pos_ + 1) == '*') {
        const int startLine = line_, startColumn = Column();
        Advance();
        Advance();
        while (pos_ < src_.size() && !(src_[pos_] == '*' && At(pos_ + 1) == '/'))
          Advance();
        if (pos_ >= src_.size()) {
          error = {startLine, startColumn, "PLS-00111: end-of-file in comment"};
          return false;
        }
        Advance();
        Advance();
      } else {
        break;
      }
    }
    return true;
  }

  bool Next(Token& t, LexError& error) {
    const char c = src_[pos_];
    if (const auto quoted = AlternativeQuoteAt(src_, pos_)) {
      if (!quoted->terminated) {
        error = UnterminatedText(t);
        return false;
      }
      while (pos_ < quoted->next)
        Advance();
      t.kind = Token::Kind::String;
      t.text = src_.substr(quoted->textBegin, quoted->textEnd - quoted->textBegin);
      return true;
    }
    if (IsIdentStart(c)) {
      while (pos_ < src_.size() && IsIdentPart(src_[pos_]))
        Advance();
      t.kind = Token::Kind::Identifier;
      t.text = Upper(src_.substr(t.offset, pos_ - t.offset));
      return true;
    }
    if (IsDigit(c) || (c == '.' && IsDigit(At(pos_ + 1)))) {
      ScanNumber();
      t.kind = Token::Kind::Number;
      t.text = src_.substr(t.offset, pos_ - t.offset);
      return true;
    }
    if (c == '\'')
      return ScanString(t, error);
    if (c == '$' && directives_ && ScanDirective(t))
      return true;
    if (c == '"') {
      Advance();
      const size_t start = pos_;
      while (pos_ < src_.size() && src_[pos_] != '"' && src_[pos_] != '\n')
        Advance();
      if (pos_ >= src_.size() || src_[pos_] != '"' || pos_ == start) {
        error = {t.line, t.column,
                 "PLS-00114: identifier '" + src_.substr(start, pos_ - start) +
                     "' too long or not terminated"};
        return false;
      }
      t.kind = Token::Kind::QuotedIdentifier;
      t.text = src_.substr(start, pos_ - start);
      Advance();
      return true;
    }
    if (c == ':' && (IsIdentStart(At(pos_ + 1)) || IsDigit(At(pos_ + 1)))) {
      Advance();
      const size_t start = pos_;
      while (pos_ < src_.size() && IsIdentPart(src_[pos_]))
        Advance();
      t.kind = Token::Kind::Bind;
      t.text = Upper(src_.substr(start, pos_ - start));
      return true;
    }
    static const char* const kTwoCharSymbols[] = {
        ":=", "..", "||", "<=", ">=", "<>", "!=", "^=", "~=", "=>", "**", "<<", ">>"};
    for (const char* symbol : kTwoCharSymbols) {
      if (c == symbol[0] && At(pos_ + 1) == symbol[1]) {
        Advance();
        Advance();
        t.kind = Token::Kind::Symbol;
        t.text = symbol;
        return true;
      }
    }
    if (std::strchr("+-*/=<>();,.%:@", c) != nullptr) {
      Advance();
      t.kind = Token::Kind::Symbol;
      t.text = std::string(1, c);
      return true;
    }
    error = {t.line, t.column,
             std::string("PLS-00103: Encountered the symbol \"") + c +
                 "\" when expecting one of the following:\n\n   begin declare"};
    return false;
  }

  // $WORD for the selection directives, $$NAME for an inquiry directive.
  bool ScanDirective(Token& t) {
    const bool inquiry = At(pos_ + 1) == '$';
    const size_t start = pos_ + (inquiry ? 2 : 1);
    if (!IsIdentStart(At(start)))
      return false;
    size_t end = start;
    while (IsIdentPart(At(end)))
      ++end;
    const std::string word = Upper(src_.substr(start, end - start));
    static const char* const kDirectives[] = {"IF", "THEN", "ELSIF", "ELSE", "END", "ERROR"};
    bool known = inquiry;
    for (const char* d : kDirectives)
      known = known || word == d;
    if (!known)
      return false;
    while (pos_ < end)
      Advance();
    t.kind = inquiry ? Token::Kind::Inquiry : Token::Kind::Directive;
    t.text = word;
    return true;
  }

  void ScanNumber() {
    while (IsDigit(At(pos_)))
      Advance();
    // "1..10" is a range, not the number "1." followed by ".10".
    if (At(pos_) == '.' && At(pos_ + 1) != '.') {
      Advance();
      while (IsDigit(At(pos_)))
        Advance();
    }
    if ((At(pos_) == 'e' || At(pos_) == 'E') &&
        (IsDigit(At(pos_ + 1)) ||
         ((At(pos_ + 1) == '+' || At(pos_ + 1) == '-') && IsDigit(At(pos_ + 2))))) {
      Advance();
      Advance();
      while (IsDigit(At(pos_)))
        Advance();
    }
  }

  // A text literal that runs to the end of the source.
  static LexError UnterminatedText(const Token& t) {
    return {t.line, t.column,
            "PLS-00103: Encountered the symbol \"end-of-file\" when "
            "expecting one of the following:\n\n   '"};
  }

  bool ScanString(Token& t, LexError& error) {
    Advance();
    std::string value;
    while (true) {
      if (pos_ >= src_.size()) {
        error = UnterminatedText(t);
        return false;
      }
      if (src_[pos_] == '\'') {
        if (At(pos_ + 1) != '\'')
          break;
        Advance();
      }
      value += src_[pos_];
      Advance();
    }
    Advance();
    t.kind = Token::Kind::String;
    t.text = std::move(value);
    return true;
  }

  const std::string& src_;
  const bool directives_;
  size_t pos_ = 0;
  size_t lineStart_ = 0;
  int line_ = 1;
};

}  // namespace

bool Tokenize(const std::string& source, std::vector<Token>& tokens, LexError& error,
              bool directives) {
  tokens.clear();
  return Scanner(source, directives).Run(tokens, error);
}

}  // namespace sandbox::plsql
