// Conditional compilation: the text the compiler reads, and the errors of
// directives.
#include <gtest/gtest.h>

#include "sandbox/plsql/Preprocessor.h"

namespace sandbox::plsql::testing {
namespace {

std::string Selected(const std::string& source, const UnitIdentity& unit = {}) {
  std::string text;
  LexError error;
  EXPECT_TRUE(Preprocess(source, unit, text, error)) << error.message;
  return text;
}

LexError Failure(const std::string& source) {
  std::string text;
  LexError error;
  EXPECT_FALSE(Preprocess(source, {}, text, error)) << text;
  return error;
}

// The words left, in order, without the blanks.
std::string Words(const std::string& text) {
  std::string words;
  for (char c : text) {
    if (c != ' ')
      words += c;
  }
  return words;
}

TEST(PreprocessorTest, LeftOutTextIsBlankedWithItsLineBreaksKept) {
  const std::string source =
      "begin\n$if false $then x := 'a\nb';\n$else y := 1;\n$end\nz := 2; end;";
  const std::string text = Selected(source);
  EXPECT_EQ(Words(text), "begin\n\n\ny:=1;\n\nz:=2;end;");
  EXPECT_EQ(text.size(), source.size());
  EXPECT_EQ(text.find("y := 1;"), source.find("y := 1;"));
}

TEST(PreprocessorTest, InquiriesBecomeLiteralsOfTheUnit) {
  EXPECT_EQ(Selected("a := $$plsql_unit;\nb := $$PLSQL_LINE; c := $$flag;"),
            "a := NULL;\nb := 2; c := NULL;");
  EXPECT_EQ(Selected("a := $$plsql_unit || $$plsql_unit_owner;", {"O'K", "P", "PROCEDURE"}),
            "a := 'P' || 'O''K';");
  // Text without directives, dollar signs inside names included, is left alone.
  EXPECT_EQ(Selected("select sid from v$session"), "select sid from v$session");
}

TEST(PreprocessorTest, OnlyTheChosenBranchIsEvaluated) {
  // The first true branch wins; later conditions and nested directives of
  // branches left out are not evaluated, so their errors do not count.
  EXPECT_EQ(Words(Selected("$if 1 = 1 $then a $elsif 'x' $then b $else $error 'no' $end $end")),
            "a");
  EXPECT_EQ(Words(Selected("$if null $then a $elsif dbms_db_version.version > 18 $then "
                           "$if $$plsql_unit is not null $then b $else c $end $end")),
            "c");
}

TEST(PreprocessorTest, DirectivesThatDoNotPairUpOrDoNotEvaluateFail) {
  LexError error = Failure("begin\n  $error 'at ' || $$plsql_line $end\nend;");
  EXPECT_EQ(error.message, "PLS-00179: $ERROR: at 2");
  EXPECT_EQ(error.line, 2);
  EXPECT_EQ(error.column, 3);
  EXPECT_NE(Failure("$if true $then a").message.find("end-of-file"), std::string::npos);
  EXPECT_NE(Failure("$if true a $end").message.find("$then"), std::string::npos);
  EXPECT_NE(Failure("a $end").message.find("\"$END\""), std::string::npos);
  EXPECT_EQ(Failure("$if 3 $then a $end").message,
            "PLS-00174: a static boolean expression must be used");
  EXPECT_EQ(Failure("$if x > 1 $then a $end").message,
            "PLS-00174: a static boolean expression must be used");
  EXPECT_EQ(Failure("$if dbms_db_version.ver_le_13 $then a $end").message,
            "PLS-00302: component 'VER_LE_13' must be declared");
  // Deep nesting is refused rather than overflowing the stack.
  EXPECT_EQ(Failure("$if " + std::string(100000, '(') + "true" + std::string(100000, ')') +
                    " $then a $end")
                .message,
            "PLS-00123: program too large (Diana nodes)");
}

TEST(PreprocessorTest, ReleaseNineteenConstants) {
  PlValue v;
  ASSERT_TRUE(DbmsDbVersion("VERSION", v));
  EXPECT_EQ(v.number(), 19);
  ASSERT_TRUE(DbmsDbVersion("VER_LE_19", v));
  EXPECT_TRUE(v.boolean());
  ASSERT_TRUE(DbmsDbVersion("VER_LE_18", v));
  EXPECT_FALSE(v.boolean());
  EXPECT_FALSE(DbmsDbVersion("VER_LE_20", v));
}

}  // namespace
}  // namespace sandbox::plsql::testing
