// Alternative quoting of text literals (see AlternativeQuote.h).
#include "sandbox/server/sql/AlternativeQuote.h"

namespace sandbox {

std::optional<AlternativeQuote> AlternativeQuoteAt(std::string_view text, std::size_t at) {
  std::size_t q = at;
  if (q < text.size() && (text[q] == 'N' || text[q] == 'n'))
    ++q;
  if (q + 2 >= text.size() || (text[q] != 'q' && text[q] != 'Q') || text[q + 1] != '\'')
    return std::nullopt;
  const char open = text[q + 2];
  // A blank, a tab or a line break cannot delimit the text.
  if (open == ' ' || open == '\t' || open == '\n' || open == '\r')
    return std::nullopt;
  const char close = open == '['   ? ']'
                     : open == '{' ? '}'
                     : open == '<' ? '>'
                     : open == '(' ? ')'
                                   : open;
  AlternativeQuote quote;
  quote.textBegin = q + 3;
  for (std::size_t i = quote.textBegin; i + 1 < text.size(); ++i) {
    if (text[i] == close && text[i + 1] == '\'') {
      quote.textEnd = i;
      quote.next = i + 2;
      quote.terminated = true;
      return quote;
    }
  }
  quote.textEnd = quote.next = text.size();
  return quote;
}

}  // namespace sandbox
