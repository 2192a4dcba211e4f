// Oracle's regular expression language (POSIX extended expressions with
// Perl's \d \w \s classes and non-greedy quantifiers) written as a PCRE2
// pattern, with the ORA- error Oracle gives for a pattern it refuses.
#pragma once

#include <string>
#include <string_view>

namespace sandbox {

struct RegexpTranslation {
  std::string pattern;  // PCRE2 syntax, to be compiled in UTF mode
  int errorCode = 0;    // 12725 ... 12733 when Oracle refuses the pattern
};

// ignoreWhitespace is the 'x' match parameter: blanks of the pattern outside
// a bracket expression are left out.
RegexpTranslation TranslateRegexpPattern(std::string_view oracle, bool ignoreWhitespace);

// The message of a pattern error code ("ORA-12726: unmatched bracket in
// regular expression").
const char* RegexpErrorMessage(int errorCode);

}  // namespace sandbox
