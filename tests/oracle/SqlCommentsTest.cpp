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
