// Fuzz target: the sandbox server's SQL tokenizer. Tokens follow one another
// inside the text without overlapping, each is the text it stands for (a
// word as written, a string, N'...' too, with its doubled quotes undone, or
// q'<...>' without its delimiters, a quoted name without its quotes), and an
// unclosed quote or comment is reported at an offset inside the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "sandbox/server/sql/SqlToken.h"

namespace {

std::string Doubled(const std::string& text) {
  std::string out;
  for (const char c : text) {
    out += c;
    if (c == '\'') {
      out += c;
    }
  }
  return out;
}

// q'Xtext'X form: [ { < ( close with ] } > ), any other delimiter with itself.
bool IsAlternativeQuoted(const std::string& written, const std::string& text) {
  std::size_t q = written.size() > 0 && (written[0] == 'N' || written[0] == 'n') ? 1 : 0;
  if (written.size() < q + 5 || (written[q] != 'q' && written[q] != 'Q') || written[q + 1] != '\'')
    return false;
  const char open = written[q + 2];
  const char close = open == '['   ? ']'
                     : open == '{' ? '}'
                     : open == '<' ? '>'
                     : open == '(' ? ')'
                                   : open;
  return written.substr(q + 3) == text + close + "'";
}

bool StandsFor(const sandbox::SqlToken& token, const std::string& written) {
  using Type = sandbox::SqlToken::Type;
  switch (token.type) {
    case Type::Word:
    case Type::Number:
    case Type::Symbol:
      return written == token.text;
    case Type::String: {
      // A national literal (N'...') is the same text.
      const std::string literal = "'" + Doubled(token.text) + "'";
      return written == literal || written == "N" + literal || written == "n" + literal ||
             IsAlternativeQuoted(written, token.text);
    }
    case Type::QuotedName:
      return written == "\"" + token.text + "\"";
    case Type::Bind:
      return written.size() >= 2 && written[0] == ':';
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string sql(reinterpret_cast<const char*>(data), size);
  std::vector<sandbox::SqlToken> tokens;
  std::size_t errorOffset = size;
  if (!sandbox::TokenizeSql(sql, tokens, errorOffset)) {
    if (errorOffset >= size) {
      std::abort();
    }
    return 0;
  }
  std::size_t previousEnd = 0;
  for (const sandbox::SqlToken& token : tokens) {
    if (token.offset < previousEnd || token.end <= token.offset || token.end > size ||
        !StandsFor(token, sql.substr(token.offset, token.end - token.offset))) {
      std::abort();
    }
    previousEnd = token.end;
  }
  return 0;
}
