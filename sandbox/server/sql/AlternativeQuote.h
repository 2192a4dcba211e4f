// Oracle's alternative quoting of text literals: q'[it's]', Q'{...}',
// nq'<...>', where the text runs to its delimiter followed by a quote. The
// delimiters [ { < ( close with ] } > ); any other character closes with
// itself. SQL's and PL/SQL's lexers both read them.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace sandbox {

struct AlternativeQuote {
  std::size_t textBegin = 0;  // the literal's text, without delimiters
  std::size_t textEnd = 0;
  std::size_t next = 0;     // just past the closing quote
  bool terminated = false;  // false: the text ran to the end (ORA-01756)
};

// The literal that starts at `at` (its q, or the N before it), or nullopt
// when none does. The caller makes sure `at` starts a token.
std::optional<AlternativeQuote> AlternativeQuoteAt(std::string_view text, std::size_t at);

}  // namespace sandbox
