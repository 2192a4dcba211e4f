// Oracle's pattern language as PCRE2 patterns: where the two read the same
// text differently, and the errors Oracle gives for patterns it refuses.
#include "sandbox/server/functions/RegexpPattern.h"

#include <gtest/gtest.h>

namespace sandbox {
namespace {

std::string Pcre(std::string_view oracle, bool ignoreWhitespace = false) {
  const RegexpTranslation translated = TranslateRegexpPattern(oracle, ignoreWhitespace);
  EXPECT_EQ(translated.errorCode, 0) << oracle;
  return translated.pattern;
}

int ErrorOf(std::string_view oracle) {
  return TranslateRegexpPattern(oracle, false).errorCode;
}

TEST(RegexpPatternTest, BracketExpressionsKeepPosixMeaning) {
  EXPECT_EQ(Pcre("[[:alpha:]]+"), "[[:alpha:]]+");
  EXPECT_EQ(Pcre(R"([\d])"), R"([\\d])");  // a backslash inside brackets is itself
  EXPECT_EQ(Pcre("[]a]"), R"([\]a])");     // a leading ] is a member
  EXPECT_EQ(Pcre("[a-]"), R"([a\-])");
  EXPECT_EQ(Pcre("[^-z]"), R"([^\-z])");
  EXPECT_EQ(Pcre("[[=e=]x]"), "[ex]");
  EXPECT_EQ(Pcre("[[.-.]a]"), R"([\-a])");
  EXPECT_EQ(Pcre("[é-ü]"), "[é-ü]");  // ranges compare code points, not bytes
  // Marks are escaped: PCRE2 would read "[." or "[=" as a class of its own.
  EXPECT_EQ(Pcre("[.a=]"), R"([\.a\=])");
}

TEST(RegexpPatternTest, PerlExtensionsAndEscapes) {
  EXPECT_EQ(Pcre(R"(\d+\s\w*?)"), R"(\d+\s\w*?)");
  EXPECT_EQ(Pcre(R"((a)\1)"), R"((a)\g{1})");
  EXPECT_EQ(Pcre(R"((a)\10)"), R"((a)\g{1}0)");  // one digit: the reference, then a literal 0
  EXPECT_EQ(Pcre(R"(\i\.)"), R"(i\.)");          // an escaped letter without meaning is itself
  EXPECT_EQ(Pcre(R"(a\)"), R"(a\\)");
  EXPECT_EQ(Pcre(R"(\Aa\Z)"), R"(\Aa\Z)");
}

TEST(RegexpPatternTest, QuantifiersWithoutOperandOrStacked) {
  EXPECT_EQ(Pcre("*a"), R"(\*a)");
  EXPECT_EQ(Pcre("(+)"), R"((\+))");
  EXPECT_EQ(Pcre("a*+"), "(?:a*)+");  // not PCRE2's possessive a*+
  EXPECT_EQ(Pcre("(ab){2}*"), "(?:(ab){2})*");
  EXPECT_EQ(Pcre("a{2,3}?b{2,}c{3}"), "a{2,3}?b{2,}c{3}");
  EXPECT_EQ(Pcre("a{x}"), R"(a\{x\})");  // no interval: literal braces
  EXPECT_EQ(Pcre("ü*"), "ü*");
}

TEST(RegexpPatternTest, ExtendedModeDropsBlanksOutsideBrackets) {
  EXPECT_EQ(Pcre("a b\t[ c]", true), "ab[ c]");
  EXPECT_EQ(Pcre("a b"), "a b");
}

TEST(RegexpPatternTest, RefusedPatternsGiveOraclesErrors) {
  EXPECT_EQ(ErrorOf("(a"), 12725);
  EXPECT_EQ(ErrorOf("a)"), 12725);
  EXPECT_EQ(ErrorOf("[a"), 12726);
  EXPECT_EQ(ErrorOf("[]"), 12726);
  EXPECT_EQ(ErrorOf("[[:alpha:]"), 12726);
  EXPECT_EQ(ErrorOf(R"((a)\2)"), 12727);
  EXPECT_EQ(ErrorOf(R"(\0)"), 12727);
  EXPECT_EQ(ErrorOf("[z-a]"), 12728);
  EXPECT_EQ(ErrorOf("[[:letters:]]"), 12729);
  EXPECT_EQ(ErrorOf("[[=ab=]]"), 12730);
  EXPECT_EQ(ErrorOf("[[..]]"), 12731);
  EXPECT_EQ(ErrorOf("a{3,1}"), 12732);
  EXPECT_EQ(ErrorOf("a{70000}"), 12732);
  EXPECT_EQ(ErrorOf(std::string(513, 'a')), 12733);
  EXPECT_EQ(ErrorOf(std::string(512, 'a')), 0);
  EXPECT_STREQ(RegexpErrorMessage(12728), "ORA-12728: invalid range in regular expression");
}

}  // namespace
}  // namespace sandbox
