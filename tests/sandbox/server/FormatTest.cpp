// Number and date texts, script splitting: the conversions whose slips
// would show in every scripted value.
#include <gtest/gtest.h>

#include <algorithm>

#include "sandbox/server/sql/ScriptSplitter.h"
#include "sandbox/server/values/DateFormat.h"
#include "sandbox/server/values/NumberText.h"

namespace sandbox {
namespace {

TEST(NumberTextTest, CanonicalTexts) {
  EXPECT_EQ(CanonicalNumberText(1.0), "1");
  EXPECT_EQ(CanonicalNumberText(0.5), ".5");
  EXPECT_EQ(CanonicalNumberText(-0.25), "-.25");
  EXPECT_EQ(CanonicalNumberText(12.5), "12.5");
  EXPECT_EQ(CanonicalNumberText(2147483645.0), "2147483645");
  EXPECT_EQ(NormaliseNumberText("0010.500").value_or("?"), "10.5");
  EXPECT_FALSE(NormaliseNumberText("12a"));
  EXPECT_EQ(FormatNumber(1234.5, "9999.99").value_or("?"), " 1234.50");
  EXPECT_EQ(FormatNumber(-3, "FM000").value_or("?"), "-003");
  // One # for every position of the model and one for its sign.
  EXPECT_EQ(FormatNumber(12345, "999").value_or("?"), "####");
  EXPECT_EQ(FormatNumber(-5, "999").value_or("?"), "  -5");
  EXPECT_EQ(FormatNumber(1.5, "FM999.99").value_or("?"), "1.5");
  EXPECT_EQ(FormatNumber(1.5, "FM999.00").value_or("?"), "1.50");
}

// The models that are a form of their own, and the fixed-point elements
// that move or replace the sign.
TEST(NumberTextTest, FormsAndSignElements) {
  EXPECT_EQ(FormatNumber(255, "XX").value_or("?"), " FF");
  EXPECT_EQ(FormatNumber(255.4, "FMxxxx").value_or("?"), "ff");
  EXPECT_EQ(FormatNumber(10, "0XXX").value_or("?"), " 000A");
  EXPECT_EQ(FormatNumber(-1, "XX").value_or("?"), "###");
  EXPECT_EQ(FormatNumber(4096, "XX").value_or("?"), "###");
  EXPECT_FALSE(FormatNumber(1, "9X"));
  EXPECT_EQ(FormatNumber(1994, "RN").value_or("?"), "        MCMXCIV");
  EXPECT_EQ(FormatNumber(4, "FMrn").value_or("?"), "iv");
  EXPECT_EQ(FormatNumber(4000, "RN").value_or("?"), std::string(15, '#'));
  // Mantissas round half away from zero on decimal digits, as NUMBERs do.
  EXPECT_EQ(FormatNumber(123, "9.9EEEE").value_or("?"), "  1.2E+02");
  EXPECT_EQ(FormatNumber(1e123, "9.9EEEE").value_or("?"), " 1.0E+123");
  EXPECT_EQ(FormatNumber(-0.00125, "FM9.99EEEE").value_or("?"), "-1.25E-03");
  EXPECT_EQ(FormatNumber(9.96, "9.9EEEE").value_or("?"), "  1.0E+01");
  EXPECT_EQ(FormatNumber(1234.5, "TM").value_or("?"), "1234.5");
  EXPECT_EQ(FormatNumber(1234.5, "TME").value_or("?"), "1.2345E+03");
  EXPECT_EQ(FormatNumber(12.345, "99V99").value_or("?"), " 1235");
  EXPECT_EQ(FormatNumber(-5, "999PR").value_or("?"), "  <5>");
  EXPECT_EQ(FormatNumber(5, "999PR").value_or("?"), "   5 ");
  EXPECT_EQ(FormatNumber(-1234567890, "9999999999S").value_or("?"), "1234567890-");
  EXPECT_EQ(FormatNumber(5, "S999").value_or("?"), "  +5");
  EXPECT_EQ(FormatNumber(0, "B999").value_or("?"), "    ");
  EXPECT_FALSE(FormatNumber(5, "S999MI"));
  EXPECT_FALSE(FormatNumber(5, "L999"));
}

TEST(DateFormatTest, FormatsAndReads) {
  const DateParts date{2009, 11, 3, 7, 5, 9, 0, {}};
  EXPECT_EQ(DateFormat::Parse("DD-MON-RR")->Format(date), "03-NOV-09");
  EXPECT_EQ(DateFormat::Parse("Month DD, YYYY")->Format(date), "November  03, 2009");
  EXPECT_EQ(DateFormat::Parse("fmMonth DD, YYYY")->Format(date), "November 3, 2009");
  EXPECT_EQ(DateFormat::Parse("DY HH24:MI:SS")->Format(date), "TUE 07:05:09");
  EXPECT_FALSE(DateFormat::Parse("DD-XYZ"));
  EXPECT_FALSE(DateFormat::Parse(""));
  EXPECT_EQ(DateFormat::Parse("DD-MON-YYYY")->Read("03-nov-2009")->ToIso(), "2009-11-03 00:00:00");
  EXPECT_EQ(DateFormat::Parse("DD/MM/YYYY HH:MI PM")->Read("31/12/1999 11:30 pm")->ToIso(),
            "1999-12-31 23:30:00");
  EXPECT_FALSE(DateFormat::Parse("DD-MM-YYYY")->Read("31-02-2001"));
  EXPECT_FALSE(DateFormat::Parse("DD-MM-YYYY")->Read("01-01-2001 extra"));
  EXPECT_EQ(DateFormat::Parse("DD-MON-RR")->Read("01-JAN-49")->year, 2049);
  EXPECT_EQ(DateFormat::Parse("DD-MON-RR")->Read("01-JAN-50")->year, 1950);
}

TEST(ScriptSplitterTest, SemicolonsSlashesQuotesAndUnits) {
  const auto statements = SplitScript(
      "-- heading\n"
      "create table t (a varchar2(10));\n"
      "insert into t values ('semi; colon');\n"
      "insert into t values ('multi\nline;');\n"
      "create or replace procedure p is\nbegin\n  null;\nend;\n/\n"
      "select *\n  from t\n/\n");
  ASSERT_EQ(statements.size(), 5u);
  EXPECT_EQ(statements[0].text, "create table t (a varchar2(10))");
  EXPECT_EQ(statements[1].text, "insert into t values ('semi; colon')");
  EXPECT_EQ(statements[2].text, "insert into t values ('multi\nline;')");
  EXPECT_EQ(statements[3].text, "create or replace procedure p is\nbegin\n  null;\nend;");
  EXPECT_EQ(statements[3].line, 6);
  EXPECT_EQ(statements[4].text, "select *\n  from t");
}

// The kind of a statement is told by its leading words, even when they span
// lines; a long unit keeps every line.
TEST(ScriptSplitterTest, LeadingWordsOverLinesAndALongUnit) {
  std::string body = "create or\n  replace\npackage body big is\n";
  for (int i = 0; i < 4000; ++i) {
    body += "  procedure p" + std::to_string(i) + " is begin null; end;\n";
  }
  body += "end;\n/\ncreate\ntable u (b number);\n";
  const auto statements = SplitScript(body);
  ASSERT_EQ(statements.size(), 2u);
  EXPECT_EQ(std::count(statements[0].text.begin(), statements[0].text.end(), '\n'), 4003);
  EXPECT_EQ(statements[1].text, "create\ntable u (b number)");
  EXPECT_EQ(statements[1].line, 4006);
  EXPECT_TRUE(IsPlsqlUnit("create or replace editionable trigger x"));
  EXPECT_FALSE(IsPlsqlUnit("create or"));
}

}  // namespace
}  // namespace sandbox
