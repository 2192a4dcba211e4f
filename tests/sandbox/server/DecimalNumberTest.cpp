// Exact NUMBER values: canonical text of every form, and values of more
// digits than a double holds stored and compared without loss.
#include <gtest/gtest.h>

#include "sandbox/server/values/DecimalNumber.h"
#include "sandbox/server/values/NumberText.h"
#include "tests/sandbox/server/ServerTestSession.h"

namespace sandbox::test {
namespace {

using Rows = std::vector<std::string>;

std::string Canonical(const std::string& text) {
  const auto number = DecimalNumber::Parse(text);
  return number ? number->CanonicalText() : "invalid";
}

TEST(DecimalNumberTest, CanonicalTextAsOracleWritesIt) {
  EXPECT_EQ(Canonical("12.50"), "12.5");
  EXPECT_EQ(Canonical("-0.5"), "-.5");
  EXPECT_EQ(Canonical("+007"), "7");
  EXPECT_EQ(Canonical("0.000"), "0");
  EXPECT_EQ(Canonical(" 1e3 "), "1000");
  EXPECT_EQ(Canonical("1e125"), "1E+125");
  EXPECT_EQ(Canonical("-1.5e-130"), "-1.5E-130");
  EXPECT_EQ(Canonical("-0.000000000000000000000000000001"), "-.000000000000000000000000000001");
  EXPECT_EQ(Canonical("12345678901234567890123456789012345678"),
            "12345678901234567890123456789012345678");
  // Forty digits are kept; the forty-first rounds.
  EXPECT_EQ(Canonical("0.99999999999999999999999999999999999999995"), "1");
  EXPECT_EQ(Canonical("1.2.3"), "invalid");
  EXPECT_EQ(Canonical("e5"), "invalid");
  EXPECT_EQ(Canonical("5e"), "invalid");
}

std::string Hex(const std::string& bytes) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (const char c : bytes) {
    hex += kDigits[static_cast<unsigned char>(c) >> 4];
    hex += kDigits[static_cast<unsigned char>(c) & 15];
  }
  return hex;
}

TEST(DecimalNumberTest, OracleBytesAreBase100DigitsAndReadBack) {
  EXPECT_EQ(Hex(DecimalNumber::Parse("0")->OracleBytes()), "80");
  EXPECT_EQ(Hex(DecimalNumber::Parse("1")->OracleBytes()), "C102");
  EXPECT_EQ(Hex(DecimalNumber::Parse("-1")->OracleBytes()), "3E6466");
  EXPECT_EQ(Hex(DecimalNumber::Parse("0.05")->OracleBytes()), "C006");
  for (const char* text : {"0", "1", "-1", "100", "12.5", "-.05", "123456789012345678901234567890",
                           "1E+125", "-1.5E-130", ".000001", "-99.99"}) {
    const auto bytes = DecimalNumber::Parse(text)->OracleBytes();
    const auto back = DecimalNumber::FromOracleBytes(bytes);
    ASSERT_TRUE(back.has_value()) << text;
    EXPECT_EQ(back->CanonicalText(), Canonical(text)) << text;
  }
  // A digit byte outside 1 .. 100, trailing bytes after zero, nothing.
  EXPECT_FALSE(DecimalNumber::FromOracleBytes(std::string("\xC1\x00", 2)).has_value());
  EXPECT_FALSE(DecimalNumber::FromOracleBytes(std::string("\x80\x01", 2)).has_value());
  EXPECT_FALSE(DecimalNumber::FromOracleBytes("").has_value());
}

TEST(DecimalNumberTest, DoublesGiveTheDecimalTheyWereMadeFrom) {
  EXPECT_EQ(CanonicalNumberText(0.1), ".1");
  EXPECT_EQ(CanonicalNumberText(0.1 + 0.2), ".3");
  EXPECT_EQ(CanonicalNumberText(1e-30), ".000000000000000000000000000001");
  EXPECT_EQ(CanonicalNumberText(-2.5e-300), "-2.5E-300");
  EXPECT_EQ(CanonicalNumberText(1234567890.12), "1234567890.12");
  EXPECT_EQ(SqliteNumberLiteral("12.5"), "12.5");
  EXPECT_EQ(SqliteNumberLiteral("1234567890123456789"), "1234567890123456789");
  EXPECT_EQ(SqliteNumberLiteral("12345678901234567890"),
            "X'3132333435363738393031323334353637383930'");
}

TEST(DecimalNumberTest, LongNumbersAreStoredComparedAndBoundExactly) {
  ServerTestSession s;
  s.Exec("create table n (v number)");
  s.Exec("insert into n values (12345678901234567890123456789012345678)");
  s.Exec("insert into n values (-98765432109876543210.123456789012345678)");
  s.Exec("insert into n values (0.5)");
  EXPECT_EQ(s.Rows("select v from n"), (Rows{"12345678901234567890123456789012345678",
                                             "-98765432109876543210.123456789012345678", ".5"}));
  EXPECT_EQ(s.Value1("select count(*) from n where v = 12345678901234567890123456789012345678"),
            "1");
  EXPECT_EQ(s.Value1("select count(*) from n where v = 12345678901234567890123456789012345679"),
            "0");
}

}  // namespace
}  // namespace sandbox::test
