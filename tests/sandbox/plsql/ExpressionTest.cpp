// Expressions with Oracle semantics: NULL and the empty string, three-valued
// logic, arithmetic and number text, and the built-in functions.
#include <gtest/gtest.h>

#include "BlockRunner.h"
#include "FakeSession.h"

namespace sandbox::plsql::testing {
namespace {

class ExpressionTest : public ::testing::Test {
 protected:
  // The text PUT_LINE prints for an expression; "<null>" for an empty line.
  std::string Print(const std::string& expression) {
    BlockResult r = RunBlock(session_, "begin dbms_output.put_line(" + expression + "); end;");
    if (!r.ok)
      return r.Error();
    if (r.lines.size() != 1)
      return "<" + std::to_string(r.lines.size()) + " lines>";
    return r.lines[0].empty() ? "<null>" : r.lines[0];
  }
  // "T", "F" or "N" (unknown) for a condition.
  std::string Truth(const std::string& condition) {
    BlockResult r =
        RunBlock(session_, "begin if " + condition +
                               " then dbms_output.put_line('T'); elsif not (" + condition +
                               ") then dbms_output.put_line('F'); else "
                               "dbms_output.put_line('N'); end if; end;");
    if (!r.ok)
      return r.Error();
    return r.lines.empty() ? "?" : r.lines[0];
  }
  FakeSession session_;
};

TEST_F(ExpressionTest, EmptyStringIsNullAndComparisonsWithNullAreUnknown) {
  EXPECT_EQ(Truth("'' is null"), "T");
  EXPECT_EQ(Truth("'' = ''"), "N");
  EXPECT_EQ(Truth("length('') > 80"), "N");
  EXPECT_EQ(Truth("null <> 1"), "N");
  EXPECT_EQ(Truth("1 in (2, null)"), "N");
  EXPECT_EQ(Truth("1 in (1, null)"), "T");
  EXPECT_EQ(Truth("1 not in (2, null)"), "N");
  EXPECT_EQ(Truth("null between 1 and 2"), "N");
  EXPECT_EQ(Truth("5 not between 1 and 2"), "T");
  EXPECT_EQ(Print("length('')"), "<null>");
  EXPECT_EQ(Print("nvl(length(''), -1)"), "-1");
  EXPECT_EQ(Print("'a' || null || 'b'"), "ab");
  EXPECT_EQ(Print("1 + null"), "<null>");
}

TEST_F(ExpressionTest, ThreeValuedAndOr) {
  EXPECT_EQ(Truth("null = 1 and 1 = 2"), "F");
  EXPECT_EQ(Truth("null = 1 and 1 = 1"), "N");
  EXPECT_EQ(Truth("null = 1 or 1 = 1"), "T");
  EXPECT_EQ(Truth("null = 1 or 1 = 2"), "N");
  EXPECT_EQ(Truth("not (1 = 2)"), "T");
  EXPECT_EQ(Truth("1 = 1 and 2 = 2 or 1 = 2"), "T");
}

TEST_F(ExpressionTest, ArithmeticAndNumberText) {
  EXPECT_EQ(Print("1 + 2 * 3"), "7");
  EXPECT_EQ(Print("(1 + 2) * 3"), "9");
  EXPECT_EQ(Print("-0.5"), "-.5");
  EXPECT_EQ(Print("10 / 4"), "2.5");
  EXPECT_EQ(Print("2 ** 10"), "1024");
  EXPECT_EQ(Print("0.1 + 0.2"), ".3");
  EXPECT_EQ(Print("1 / 3"), ".333333333333333333");
  EXPECT_EQ(Print("1 - 1"), "0");
  EXPECT_EQ(Print("'x' || 12.50"), "x12.5");
  EXPECT_EQ(Print("1 / 0"), "ORA-01476: divisor is equal to zero\nORA-06512: at line 1");
  EXPECT_EQ(Print("'12' + 1"), "13");
  EXPECT_EQ(Print("'a' + 1"),
            "ORA-06502: PL/SQL: numeric or value error: character to number conversion "
            "error\nORA-06512: at line 1");
}

TEST_F(ExpressionTest, ComparisonsAndLike) {
  EXPECT_EQ(Truth("'abc' like 'a%'"), "T");
  EXPECT_EQ(Truth("'abc' like 'a_c'"), "T");
  EXPECT_EQ(Truth("'abc' like 'a_'"), "F");
  EXPECT_EQ(Truth("'SYS_C001' like 'SYS%'"), "T");
  EXPECT_EQ(Truth("'A_B' like 'A\\_B' escape '\\'"), "T");
  EXPECT_EQ(Truth("'AXB' like 'A\\_B' escape '\\'"), "F");
  EXPECT_EQ(Truth("'X IS NOT NULL' like '%IS NOT NULL'"), "T");
  EXPECT_EQ(Truth("'abc' not like 'b%'"), "T");
  EXPECT_EQ(Truth("10 > 9"), "T");
  EXPECT_EQ(Truth("'10' > '9'"), "F");  // text compares byte by byte
  EXPECT_EQ(Truth("'a ' = 'a'"), "T");  // literals compare blank-padded
  EXPECT_EQ(Truth("2 != 3 and 2 ^= 3 and 2 <> 3"), "T");
}

TEST_F(ExpressionTest, TextFunctions) {
  EXPECT_EQ(Print("length('abc')"), "3");
  EXPECT_EQ(Print("substr('abcdef', 2, 3)"), "bcd");
  EXPECT_EQ(Print("substr('abcdef', 0, 2)"), "ab");
  EXPECT_EQ(Print("substr('abcdef', -2)"), "ef");
  EXPECT_EQ(Print("substr('abc', 5)"), "<null>");
  EXPECT_EQ(Print("instr('a b c', ' ')"), "2");
  EXPECT_EQ(Print("instr('a b c', ' ', -1)"), "4");
  EXPECT_EQ(Print("instr('abcabc', 'c', 1, 2)"), "6");
  EXPECT_EQ(Print("instr('abc', 'z')"), "0");
  EXPECT_EQ(Print("'[' || rtrim('ab   ') || ']'"), "[ab]");
  EXPECT_EQ(Print("ltrim('xxab', 'x')"), "ab");
  EXPECT_EQ(Print("'[' || trim('  ab  ') || ']'"), "[ab]");
  EXPECT_EQ(Print("'[' || rpad(' ', 4) || ']'"), "[    ]");
  EXPECT_EQ(Print("rpad('ab', 5, '*')"), "ab***");
  EXPECT_EQ(Print("lpad('7', 3, '0')"), "007");
  EXPECT_EQ(Print("lpad('abcdef', 3)"), "abc");
  EXPECT_EQ(Print("upper('aBc') || lower('DeF')"), "ABCdef");
  EXPECT_EQ(Print("replace('a-b-c', '-', '+')"), "a+b+c");
  EXPECT_EQ(Print("replace('a-b-c', '-')"), "abc");
}

TEST_F(ExpressionTest, TranslateMapsCharactersByPlaceAndDropsThoseWithoutOne) {
  EXPECT_EQ(Print("translate('a-b_c', '-_', '+')"), "a+bc");
  EXPECT_EQ(Print("translate('abcabc', 'abc', 'cab')"), "cabcab");
  // The first occurrence in the list wins; characters are whole UTF-8 ones.
  EXPECT_EQ(Print("translate('aa', 'aa', 'xy')"), "xx");
  EXPECT_EQ(Print("translate('caf\xC3\xA9', '\xC3\xA9', 'e')"), "cafe");
  EXPECT_EQ(Print("translate('abc', 'abc', 'x')"), "x");
  EXPECT_EQ(Print("translate('ab', 'ab', '')"), "<null>");
  EXPECT_EQ(Print("translate(null, 'a', 'b')"), "<null>");
  EXPECT_EQ(Print("translate('abc', 'abc', null)"), "<null>");
}

TEST_F(ExpressionTest, NumberAndConversionFunctions) {
  EXPECT_EQ(Print("mod(2097152, 1048576)"), "0");
  EXPECT_EQ(Print("mod(-11, 4)"), "-3");
  EXPECT_EQ(Print("mod(5, 0)"), "5");
  EXPECT_EQ(Print("to_char(2097152 / 1048576) || 'M'"), "2M");
  EXPECT_EQ(Print("to_char(65536 / 1024) || 'K'"), "64K");
  EXPECT_EQ(Print("trunc(7.89)"), "7");
  EXPECT_EQ(Print("trunc(7.89, 1)"), "7.8");
  EXPECT_EQ(Print("round(2.5)"), "3");
  EXPECT_EQ(Print("round(-2.5)"), "-3");
  EXPECT_EQ(Print("round(3.14159, 2)"), "3.14");
  EXPECT_EQ(Print("to_number('  42 ') + 1"), "43");
  EXPECT_EQ(Print("to_char(5, '009')"), " 005");
  EXPECT_EQ(Print("to_char(-5, '999')"), "  -5");
  EXPECT_EQ(Print("to_char(1234.5, 'FM9,999.00')"), "1,234.50");
  EXPECT_EQ(Print("to_char(1.5, 'FM999.99')"), "1.5");
  EXPECT_EQ(Print("to_char(1000, '99')"), "###");
  EXPECT_EQ(Print("to_char(to_number('1e3'))"), "1000");
}

TEST_F(ExpressionTest, NvlAndDecode) {
  EXPECT_EQ(Print("nvl(null, 'x')"), "x");
  EXPECT_EQ(Print("nvl('', 0)"), "0");
  EXPECT_EQ(Print("decode('P', 'C', 'CHECK', 'P', 'PRIMARY KEY', 'other')"), "PRIMARY KEY");
  EXPECT_EQ(Print("decode('X', 'C', 'CHECK', 'X')"), "X");
  EXPECT_EQ(Print("decode('X', 'C', 'CHECK')"), "<null>");
  EXPECT_EQ(Print("decode(null, null, 'both null', 'differ')"), "both null");
  EXPECT_EQ(Print("decode(nvl(null, 'NOT'), 'UNIQUE', 'UNIQUE ', '') || 'INDEX'"), "INDEX");
}

TEST_F(ExpressionTest, SqlcodeAndSqlerrmOutsideHandlers) {
  EXPECT_EQ(Print("sqlcode"), "0");
  EXPECT_EQ(Print("sqlerrm"), "ORA-0000: normal, successful completion");
  EXPECT_EQ(Print("sqlerrm(100)"), "ORA-01403: no data found");
  EXPECT_EQ(Print("sqlerrm(-1476)"), "ORA-01476: divisor is equal to zero");
  EXPECT_EQ(Print("sqlerrm(-20001)"), "ORA-20001: ");
}

TEST_F(ExpressionTest, DatesPrintInTheirFormat) {
  EXPECT_EQ(Print("to_char(trunc(sysdate) - trunc(sysdate))"), "0");
  EXPECT_EQ(Print("to_char(trunc(sysdate), 'HH24:MI:SS')"), "00:00:00");
}

}  // namespace
}  // namespace sandbox::plsql::testing
