// A value as the PL/SQL interpreter holds it at run time: NULL, text, number,
// boolean or date, with Oracle's conversions between them and the sandbox's
// SQL values. Numbers are long double; their text is Oracle's canonical
// TO_CHAR form, limited to 18 significant digits.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sandbox/server/Server.h"

namespace sandbox::plsql {

// Where a LOB value lives when it is a locator of a table row: selected
// FOR UPDATE or returned by DML, writes through it change the row. A LOB
// without one is temporary.
struct LobLocation {
  std::string table;   // as the statement named it
  std::string column;  // as the statement named it
  std::string rowId;   // empty when the row is not locked (ORA-22920 on a write)
  bool binary = false;
};

class PlValue {
 public:
  enum class Kind { Null, Text, Number, Boolean, Date };

  PlValue() = default;
  static PlValue Text(std::string text, bool fixedChar = false);
  static PlValue Number(long double number);
  static PlValue Boolean(bool b);
  static PlValue Date(std::string iso);  // "YYYY-MM-DD HH24:MI:SS"
  // A LOB of length 0 (DBMS_LOB.CREATETEMPORARY): empty text that is not NULL.
  static PlValue EmptyLob();

  Kind kind() const { return kind_; }
  bool IsNull() const { return kind_ == Kind::Null; }
  const std::string& text() const { return text_; }  // Text and Date
  long double number() const { return number_; }
  bool boolean() const { return boolean_; }
  // Text that came from a CHAR variable or a literal: compared blank-padded
  // with another such text, as Oracle compares CHAR values.
  bool fixedChar() const { return fixedChar_; }
  // The row a LOB locator points at; null for a temporary LOB and any
  // other value.
  const std::shared_ptr<const LobLocation>& location() const { return location_; }
  // DBMS_LOB.OPEN was called on the LOB and CLOSE not yet.
  bool lobOpen() const { return lobOpen_; }
  // The same LOB with new contents (or a new open state): a locator stays
  // one.
  PlValue WithLob(std::shared_ptr<const LobLocation> location, bool open) const;

 private:
  Kind kind_ = Kind::Null;
  std::string text_;
  long double number_ = 0;
  bool boolean_ = false;
  bool fixedChar_ = false;
  std::shared_ptr<const LobLocation> location_;
  bool lobOpen_ = false;
};

// Canonical decimal text of a number as TO_CHAR(n) gives it: "12.5", "-.5".
std::string FormatNumber(long double number);
// Parses Oracle number text (blanks around it allowed); false if it is none.
bool ParseNumber(const std::string& text, long double& number);

// A binary SQL value as PL/SQL holds it (RAW and BLOB alike): the upper-case
// hexadecimal digits of its bytes.
PlValue BinaryFromSql(const Value& value);
PlValue FromSqlValue(const Value& value);
std::vector<PlValue> FromSqlRow(const std::vector<Value>& row);
Value ToSqlValue(const PlValue& value);

}  // namespace sandbox::plsql
