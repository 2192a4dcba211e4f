// Tests of the line-comment search and removal applied to statement text.
#include <gtest/gtest.h>

#include "oracle/OracleSession.h"

TEST(SqlComments, FindsDashesBeforeAnyRemark) {
  EXPECT_EQ(OracleSession::FindCommentStart("select 1 from dual"), -1);
  EXPECT_EQ(OracleSession::FindCommentStart("select 1 -- one\nfrom dual"), 9);
  // "--" wins even when a remark comes earlier in the text.
  EXPECT_EQ(OracleSession::FindCommentStart("x\nREM a\ny -- b"), 10);
}

TEST(SqlComments, RemarkPatternsAreTriedInOrderAndIgnoreCase) {
  EXPECT_EQ(OracleSession::FindCommentStart("a\trem b"), 2);
  // " REM " is tried before "\tREM ", so it is reported although it comes later.
  EXPECT_EQ(OracleSession::FindCommentStart("a\tREM x\nb REM y"), 10);
  EXPECT_EQ(OracleSession::FindCommentStart("x\nRem\ny"), 2);
  EXPECT_EQ(OracleSession::FindCommentStart("REM"), 0);
  EXPECT_EQ(OracleSession::FindCommentStart("rem\tnote"), 0);
  EXPECT_EQ(OracleSession::FindCommentStart("select remark from t"), -1);
  EXPECT_EQ(OracleSession::FindCommentStart("REMARK"), -1);
}

TEST(SqlComments, StripReplacesEachCommentByOneBlank) {
  EXPECT_EQ(OracleSession::StripComments("select a -- first\nfrom t"), "select a  from t");
  EXPECT_EQ(OracleSession::StripComments("REM whole line"), "");
  EXPECT_EQ(OracleSession::StripComments("select a -- one\n, b -- two\nfrom t -- end"),
            "select a  , b  from t ");
  EXPECT_EQ(OracleSession::StripComments("REM heading\nselect 1\nrem more\nfrom dual"),
            " select 1\n from dual");
  EXPECT_EQ(OracleSession::StripComments("no comment"), "no comment");
}

TEST(SqlComments, MarkersInsideQuotesAreText) {
  const std::string literal = "select * from t where c like '%--%'\nand d = 1";
  EXPECT_EQ(OracleSession::FindCommentStart(literal), -1);
  EXPECT_EQ(OracleSession::StripComments(literal), literal);
  EXPECT_EQ(OracleSession::StripComments("select \"a -- b\" from t -- x\n"),
            "select \"a -- b\" from t  ");
  EXPECT_EQ(OracleSession::FindCommentStart("select 'it''s -- x' from t rem y"), 27);
  // An apostrophe inside a comment opens no literal.
  EXPECT_EQ(OracleSession::StripComments("select 1 -- don't\nfrom t -- x"), "select 1  from t ");
}

TEST(SqlComments, BlockCommentsHideNeitherLineCommentsNorQuotes) {
  // The apostrophe of "it's" is comment text: the later "--" is a comment.
  EXPECT_EQ(OracleSession::StripComments("a /* it's */ b -- c\n d"), "a /* it's */ b   d");
  EXPECT_EQ(OracleSession::FindCommentStart("a /* it's */ b -- c\n d"), 15);
  // Markers inside a block comment are its text; the comment stays whole.
  EXPECT_EQ(OracleSession::StripComments("select /* -- rem x */ 1 from dual"),
            "select /* -- rem x */ 1 from dual");
  EXPECT_EQ(OracleSession::FindCommentStart("x /* a\nREM b */ y"), -1);
  EXPECT_EQ(OracleSession::StripComments("x /* a\nb */ y -- z"), "x /* a\nb */ y ");
  // A block comment opened inside a literal or a line comment is no comment.
  EXPECT_EQ(OracleSession::StripComments("'/*' -- c\n*/"), "'/*'  */");
  EXPECT_EQ(OracleSession::StripComments("a -- /*\nb -- */\nc"), "a  b  c");
}

TEST(SqlComments, EachCommentEndsAtItsOwnLine) {
  // Removing one comment never lets another on the same line reach into the next.
  EXPECT_EQ(OracleSession::StripComments("x\tREM a REM b\nc"), "x\t c");
  EXPECT_EQ(OracleSession::StripComments("x REM a -- b\nc"), "x  c");

  std::string many;
  std::string expected;
  for (int i = 0; i < 8000; ++i) {
    many += "select " + std::to_string(i) + " -- comment ' with a quote\n";
    expected += "select " + std::to_string(i) + "  ";
  }
  EXPECT_EQ(OracleSession::StripComments(many), expected);
}
