// Literals of every value kind, comment removal, the FROM clause and its
// table, the kept head of a rebuilt query, and ignored-column patterns.
#include <gtest/gtest.h>

#include "scripting/data/DataQueryText.h"
#include "scripting/data/ValueLiteral.h"

namespace {

const LiteralFormats Formats{"MM/DD/YYYY HH24:MI:SS", "YYYY-MM-DD HH24:MI:SS.FF9",
                             "YYYY-MM-DD HH24:MI:SS.FF9 TZR"};

std::string Literal(std::string_view value, int type) {
  return FormatValue(value, type, Formats);
}

TEST(ValueLiteralTest, EmptyIsNullForEveryKind) {
  for (const int type :
       {1, 2, 8, 12, 23, 24, 96, 100, 101, 104, 112, 113, 114, 187, 188, 189, 190, 232}) {
    EXPECT_EQ(Literal("", type), "NULL") << type;
  }
}

TEST(ValueLiteralTest, CharacterKindsAreQuotedWithApostrophesDoubled) {
  EXPECT_EQ(Literal("Customer's Care", 1), "'Customer''s Care'");
  EXPECT_EQ(Literal("''", 96), "''''''");
  EXPECT_EQ(Literal("two\r\nlines", 8), "'two\r\nlines'");
  EXPECT_EQ(Literal("Zürich €", 1), "'Zürich €'");
  EXPECT_EQ(Literal("-lob not shown-", 112), "'-lob not shown-'");
  // ROWID text must be a literal, or the INSERT would not parse.
  EXPECT_EQ(Literal("AAAR3sAAEAAAACXAAA", 104), "'AAAR3sAAEAAAACXAAA'");
  EXPECT_EQ(Literal("AAAR3sAAEAAAACXAAA", 11), "'AAAR3sAAEAAAACXAAA'");
}

// Text whose literal a script tool would cut short or run as commands is
// written as quoted pieces with CHR(10) for its line breaks; other line
// breaks stay in the literal.
TEST(ValueLiteralTest, LinesAScriptToolWouldTakeForItsOwnArePiecedTogether) {
  EXPECT_EQ(Literal("a\n\nb", 1), "'a'\r\n|| CHR(10)\r\n|| CHR(10)\r\n|| 'b'");
  EXPECT_EQ(Literal("x\n /\ny", 1), "'x'\r\n|| CHR(10)\r\n|| ' /'\r\n|| CHR(10)\r\n|| 'y'");
  EXPECT_EQ(Literal("x\n.\ny", 96), "'x'\r\n|| CHR(10)\r\n|| '.'\r\n|| CHR(10)\r\n|| 'y'");
  EXPECT_EQ(Literal("ends;\nit's", 8), "'ends;'\r\n|| CHR(10)\r\n|| 'it''s'");
  EXPECT_EQ(Literal("x\n#start", 1), "'x'\r\n|| CHR(10)\r\n|| '#start'");
  EXPECT_EQ(Literal("\n\n", 1), "CHR(10)\r\n|| CHR(10)");
  // The first line follows other text and the last one ends in more: these
  // stand as they are.
  EXPECT_EQ(Literal("#1\nlast;", 1), "'#1\nlast;'");
  EXPECT_EQ(Literal("a\n/", 1), "'a\n/'");
  EXPECT_EQ(Literal("a\n", 1), "'a\n'");
  EXPECT_EQ(Literal("a \n b\n-- c", 1), "'a \n b\n-- c'");
  // Longer than a script line may safely be: pieces, not cut inside a
  // character.
  const std::string longText = std::string(999, 'x') + "\xc3\xa9" + "y";
  EXPECT_EQ(Literal(longText, 1), "'" + std::string(999, 'x') + "'\r\n|| '\xc3\xa9y'");
  EXPECT_EQ(Literal(std::string(1000, 'z'), 1), "'" + std::string(1000, 'z') + "'");
}

TEST(ValueLiteralTest, TemporalKindsNameTheirFormats) {
  EXPECT_EQ(Literal("02/04/1996 05:11:09", 12),
            "to_date('02/04/1996 05:11:09','MM/DD/YYYY HH24:MI:SS')");
  EXPECT_EQ(Literal("2024-01-31 10:00:00.123456789", 187),
            "to_timestamp('2024-01-31 10:00:00.123456789','YYYY-MM-DD HH24:MI:SS.FF9')");
  EXPECT_EQ(Literal("2024-01-31 10:00:00.5", 232),
            "to_timestamp('2024-01-31 10:00:00.5','YYYY-MM-DD HH24:MI:SS.FF9')");
  EXPECT_EQ(Literal("2024-01-31 10:00:00.000000001 +02:00", 188),
            "to_timestamp_tz('2024-01-31 10:00:00.000000001 +02:00','YYYY-MM-DD "
            "HH24:MI:SS.FF9 TZR')");
  EXPECT_EQ(Literal("+01-02", 189), "to_yminterval('+01-02')");
  EXPECT_EQ(Literal("+03 04:05:06.700000", 190), "to_dsinterval('+03 04:05:06.700000')");
}

TEST(ValueLiteralTest, NumbersRawAndLobPlaceholders) {
  EXPECT_EQ(Literal("-.000000000000000000000000000001", 2), "-.000000000000000000000000000001");
  EXPECT_EQ(Literal("12345678901234567890123456789012345678", 2),
            "12345678901234567890123456789012345678");
  EXPECT_EQ(Literal("00FF", 23), "hextoraw('00FF')");
  EXPECT_EQ(Literal("0A0B", 24), "hextoraw('0A0B')");
  EXPECT_EQ(Literal("-lob not shown-", 113), "EMPTY_BLOB()");
  EXPECT_EQ(Literal("-lob not shown-", 114), "NULL");
}

TEST(ValueLiteralTest, BinaryFloatingSpecialValuesUseTheNamedConstants) {
  EXPECT_EQ(Literal("1.5E+000", 101), "1.5E+000");
  EXPECT_EQ(Literal("Inf", 101), "binary_double_infinity");
  EXPECT_EQ(Literal("-Inf", 101), "-binary_double_infinity");
  EXPECT_EQ(Literal("Nan", 101), "binary_double_nan");
  EXPECT_EQ(Literal("-Inf", 100), "-binary_float_infinity");
  EXPECT_EQ(Literal("NaN", 21), "binary_float_nan");
}

TEST(StripBlockCommentsTest, CommentsGoUnlessTheFirstIsAHint) {
  EXPECT_EQ(StripBlockComments("select /* a */ x /* b */ from t"), "select   x   from t");
  EXPECT_EQ(StripBlockComments("select /*+ index(t) */ x /* b */ from t"),
            "select /*+ index(t) */ x /* b */ from t");
  EXPECT_EQ(StripBlockComments("select x from t /* unclosed"), "select x from t ");
  EXPECT_EQ(StripBlockComments("select '/* text */' from t"), "select '/* text */' from t");
  EXPECT_EQ(StripBlockComments("select x\n/* two\nlines */from t"), "select x\n from t");
}

TEST(DataQueryTextTest, FromKeywordInAnyCaseOutsideQuotesAndParentheses) {
  const std::string upper = "SELECT * FROM EMP";
  EXPECT_EQ(FindFromKeyword(upper), 9u);
  EXPECT_EQ(TargetTableAfter(upper, FindFromKeyword(upper)), "EMP");
  const std::string nested =
      "select 'a from b', (select max(x) from u) m, from_date\nFrom\tdemo.emp e where 1 = 1";
  EXPECT_EQ(TargetTableAfter(nested, FindFromKeyword(nested)), "DEMO.EMP");
  const std::string quoted = "select * from app.\"my table\", other";
  EXPECT_EQ(TargetTableAfter(quoted, FindFromKeyword(quoted)), "APP.\"my table\"");
  EXPECT_EQ(FindFromKeyword("select 1 as fromage"), std::string::npos);
}

TEST(DataQueryTextTest, HeadKeepsHintAndDistinct) {
  const std::string hinted = "select /*+ full(t) */ distinct a from t";
  EXPECT_EQ(SelectHead(hinted, FindFromKeyword(hinted)), "select /*+ full(t) */ distinct");
  const std::string with = "with w as (select a from t) SELECT a from w";
  EXPECT_EQ(SelectHead(with, FindFromKeyword(with)), "with w as (select a from t) SELECT");
}

TEST(DataQueryTextTest, NamesArePlainOnlyWhenUpperCaseIdentifiers) {
  EXPECT_EQ(SqlName("EMP_1$"), "EMP_1$");
  EXPECT_EQ(SqlName("emp"), "\"emp\"");
  EXPECT_EQ(SqlName("MY TABLE"), "\"MY TABLE\"");
  EXPECT_EQ(SqlName("1ST"), "\"1ST\"");
  EXPECT_EQ(QuotedName("a\"b"), "\"a\"\"b\"");
  EXPECT_EQ(DoublePercents("like 'A%' or '%%'"), "like 'A%%' or '%%%%'");
}

TEST(IsColumnIgnoredTest, ExactNamesAndOnePercentPattern) {
  const std::vector<std::string> patterns = {"LAST_UPDATE", "audit%", "%_TS", "X%Y"};
  EXPECT_TRUE(IsColumnIgnored("last_update", patterns));
  EXPECT_FALSE(IsColumnIgnored("LAST_UPDATED", patterns));
  EXPECT_TRUE(IsColumnIgnored("AUDIT_USER", patterns));
  EXPECT_TRUE(IsColumnIgnored("Audit", patterns));
  EXPECT_TRUE(IsColumnIgnored("CREATED_TS", patterns));
  EXPECT_TRUE(IsColumnIgnored("XY", patterns));
  EXPECT_FALSE(IsColumnIgnored("XAY_", patterns));
  // Prefix and suffix may not overlap.
  EXPECT_FALSE(IsColumnIgnored("X", {"X%X"}));
  EXPECT_FALSE(IsColumnIgnored("NAME", {}));
}

}  // namespace
