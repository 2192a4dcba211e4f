// Run-time values of the PL/SQL interpreter and their number text.
#include "sandbox/plsql/PlValue.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace sandbox::plsql {

namespace {
constexpr int kSignificantDigits = 18;
}

PlValue PlValue::Text(std::string text, bool fixedChar) {
  PlValue v;
  if (text.empty())
    return v;  // the empty string is NULL
  v.kind_ = Kind::Text;
  v.text_ = std::move(text);
  v.fixedChar_ = fixedChar;
  return v;
}

PlValue PlValue::EmptyLob() {
  PlValue v;
  v.kind_ = Kind::Text;
  return v;
}

PlValue PlValue::WithLob(std::shared_ptr<const LobLocation> location, bool open) const {
  PlValue v = *this;
  v.location_ = std::move(location);
  v.lobOpen_ = open;
  return v;
}

PlValue PlValue::Number(long double number) {
  PlValue v;
  v.kind_ = Kind::Number;
  v.number_ = number == 0 ? 0 : number;  // no negative zero
  return v;
}

PlValue PlValue::Boolean(bool b) {
  PlValue v;
  v.kind_ = Kind::Boolean;
  v.boolean_ = b;
  return v;
}

PlValue PlValue::Date(std::string iso) {
  PlValue v;
  v.kind_ = Kind::Date;
  v.text_ = std::move(iso);
  return v;
}

std::string FormatNumber(long double number) {
  if (number == 0 || !std::isfinite(number))
    return "0";
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*Le", kSignificantDigits - 1, number);
  // buffer: [-]d.ddddde[+-]xx
  std::string s(buffer);
  const bool negative = s[0] == '-';
  if (negative)
    s.erase(0, 1);
  const auto ePos = s.find('e');
  const int exponent = std::atoi(s.c_str() + ePos + 1);
  std::string digits = s.substr(0, 1) + s.substr(2, ePos - 2);
  while (digits.size() > 1 && digits.back() == '0')
    digits.pop_back();
  std::string out;
  if (exponent >= 40 || exponent < -40) {
    out = digits.substr(0, 1);
    if (digits.size() > 1)
      out += "." + digits.substr(1);
    char exp[16];
    std::snprintf(exp, sizeof exp, "E%+03d", exponent);
    out += exp;
  } else if (exponent < 0) {
    out = "." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
  } else {
    const auto intDigits = static_cast<size_t>(exponent + 1);
    if (digits.size() <= intDigits) {
      out = digits + std::string(intDigits - digits.size(), '0');
    } else {
      out = digits.substr(0, intDigits) + "." + digits.substr(intDigits);
    }
  }
  return negative ? "-" + out : out;
}

bool ParseNumber(const std::string& text, long double& number) {
  size_t begin = text.find_first_not_of(" \t\n\r");
  if (begin == std::string::npos)
    return false;
  size_t end = text.find_last_not_of(" \t\n\r") + 1;
  std::string core = text.substr(begin, end - begin);
  // Oracle accepts digits, one point, a sign and an exponent; strtold would
  // also take hex, "inf" and "nan", which Oracle rejects.
  bool sawDigit = false;
  for (size_t i = 0; i < core.size(); ++i) {
    const char c = core[i];
    if (c >= '0' && c <= '9') {
      sawDigit = true;
    } else if (c != '.' && c != '+' && c != '-' && c != 'e' && c != 'E') {
      return false;
    }
  }
  if (!sawDigit)
    return false;
  char* stop = nullptr;
  number = std::strtold(core.c_str(), &stop);
  return stop == core.c_str() + core.size() && std::isfinite(number);
}

PlValue BinaryFromSql(const Value& value) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(value.text.size() * 2);
  for (const char c : value.text) {
    hex += kDigits[static_cast<unsigned char>(c) >> 4];
    hex += kDigits[static_cast<unsigned char>(c) & 15];
  }
  return PlValue::Text(hex);
}

PlValue FromSqlValue(const Value& value) {
  switch (value.kind) {
    case Value::Kind::Null:
      return {};
    case Value::Kind::Number: {
      long double n = 0;
      if (ParseNumber(value.text, n))
        return PlValue::Number(n);
      return PlValue::Text(value.text);
    }
    case Value::Kind::Date:
      return PlValue::Date(value.text);
    case Value::Kind::Binary:
      // Zero bytes, or a text of no characters that is not NULL: an empty
      // LOB column's value.
      return value.text.empty() ? PlValue::EmptyLob() : BinaryFromSql(value);
    case Value::Kind::Text:
      break;
  }
  return value.text.empty() ? PlValue::EmptyLob() : PlValue::Text(value.text);
}

std::vector<PlValue> FromSqlRow(const std::vector<Value>& row) {
  std::vector<PlValue> values;
  values.reserve(row.size());
  for (const Value& v : row)
    values.push_back(FromSqlValue(v));
  return values;
}

Value ToSqlValue(const PlValue& value) {
  switch (value.kind()) {
    case PlValue::Kind::Null:
      return Value::Null();
    case PlValue::Kind::Number:
      return Value::Number(FormatNumber(value.number()));
    case PlValue::Kind::Date:
      return Value::Date(value.text());
    case PlValue::Kind::Boolean:
      // SQL has no boolean; callers refuse to bind one before this point.
      return Value::Null();
    case PlValue::Kind::Text:
      break;
  }
  return Value::Text(value.text());
}

}  // namespace sandbox::plsql
