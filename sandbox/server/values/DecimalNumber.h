// Oracle NUMBER values kept exactly: a decimal as sign, significant digits
// and exponent, read from any numeric text and written in Oracle's canonical
// text form. SQLite holds a number as INTEGER or REAL when that is exact and
// otherwise as a BLOB of its canonical text, which its NUMERIC affinity
// leaves untouched.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sandbox {

struct DecimalNumber {
  bool negative = false;
  std::string digits;  // significant digits, no leading or trailing zeros; empty for zero
  int exponent = 0;    // value = 0.digits * 10^exponent

  // Reads "[+-]digits[.digits][(e|E)[+-]digits]" with blanks around it,
  // rounded to the 40 significant digits a NUMBER holds.
  static std::optional<DecimalNumber> Parse(std::string_view text);
  // TO_CHAR(n) without a format: positional up to 40 characters ("12.5",
  // "-.001", "100"), else scientific ("1E+125", "-1.5E-130").
  std::string CanonicalText() const;
  // True when a double holds the value exactly enough to give it back
  // (at most 15 significant digits) or it is an integer of 64 bits.
  bool FitsSqliteNumber() const;
  // The bytes Oracle stores a NUMBER in: an exponent byte, then base-100
  // digits (complemented, and ended by 102, when negative).
  std::string OracleBytes() const;
  // The value of such bytes; nullopt for bytes no NUMBER has.
  static std::optional<DecimalNumber> FromOracleBytes(std::string_view bytes);
};

// The SQLite form of a numeric literal of Oracle SQL: the literal itself when
// SQLite keeps its value, else a BLOB literal of its canonical text.
std::string SqliteNumberLiteral(const std::string& literal);

}  // namespace sandbox
