// Fuzz target: Oracle patterns translated for PCRE2. A pattern the
// translation accepts (either way of treating blanks) must compile in PCRE2
// in the mode the server uses, and a refused one names one of Oracle's
// pattern errors.
#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "sandbox/server/functions/RegexpPattern.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view pattern(reinterpret_cast<const char*>(data), size);
  for (const bool ignoreWhitespace : {false, true}) {
    const sandbox::RegexpTranslation translated =
        sandbox::TranslateRegexpPattern(pattern, ignoreWhitespace);
    if (translated.errorCode != 0) {
      if (translated.errorCode < 12725 || translated.errorCode > 12733)
        std::abort();
      continue;
    }
    int error = 0;
    PCRE2_SIZE offset = 0;
    pcre2_code* code = pcre2_compile(
        reinterpret_cast<PCRE2_SPTR>(translated.pattern.data()), translated.pattern.size(),
        PCRE2_UTF | PCRE2_UCP | PCRE2_MATCH_INVALID_UTF | PCRE2_DOLLAR_ENDONLY, &error, &offset,
        nullptr);
    // Text that is no valid UTF-8 may be refused, and so may patterns past
    // PCRE2's size or nesting limits (the server's ORA-12733); nothing else.
    const bool badText = error <= PCRE2_ERROR_UTF8_ERR1 && error >= PCRE2_ERROR_UTF8_ERR21;
    const bool tooLarge =
        error == PCRE2_ERROR_PATTERN_TOO_LARGE || error == PCRE2_ERROR_PARENTHESES_NEST_TOO_DEEP;
    if (code == nullptr && !badText && !tooLarge)
      std::abort();
    pcre2_code_free(code);
  }
  return 0;
}
