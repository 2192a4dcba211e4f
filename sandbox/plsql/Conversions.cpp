// Implicit conversions, comparisons and assignment checks of PL/SQL values.
#include "sandbox/plsql/Conversions.h"

#include <cmath>

#include "sandbox/plsql/DateTime.h"
#include "sandbox/plsql/PlError.h"

namespace sandbox::plsql {

std::string TextOf(const PlValue& value, const Session& session) {
  switch (value.kind()) {
    case PlValue::Kind::Null:
      return {};
    case PlValue::Kind::Number:
      return FormatNumber(value.number());
    case PlValue::Kind::Date:
      return session.ToText(Value::Date(value.text()));
    case PlValue::Kind::Boolean:
      throw ValueError("a BOOLEAN cannot be converted to text");
    case PlValue::Kind::Text:
      break;
  }
  return value.text();
}

long double NumberOf(const PlValue& value) {
  switch (value.kind()) {
    case PlValue::Kind::Number:
      return value.number();
    case PlValue::Kind::Text: {
      long double n = 0;
      if (ParseNumber(value.text(), n))
        return n;
      break;
    }
    default:
      break;
  }
  throw ValueError("character to number conversion error");
}

PlValue DateOf(const PlValue& value) {
  if (value.kind() == PlValue::Kind::Date || value.IsNull())
    return value;
  long double days = 0;
  if (value.kind() == PlValue::Kind::Text && DaysOfDate(value.text(), days)) {
    return PlValue::Date(DateOfDays(days));
  }
  throw MakeError(1861, "literal does not match format string");
}

namespace {

PlValue CoerceNumber(long double n, const TypeSpec& type) {
  if (type.precision == 0 && type.scale == 0)
    return PlValue::Number(n);
  const long double factor = std::pow(10.0L, static_cast<long double>(type.scale));
  long double rounded = std::round(n * factor) / factor;
  if (type.precision > 0) {
    const long double limit =
        std::pow(10.0L, static_cast<long double>(type.precision - type.scale));
    if (std::fabs(rounded) >= limit)
      throw ValueError("number precision too large");
  }
  if (type.ranged && (rounded < static_cast<long double>(type.low) ||
                      rounded > static_cast<long double>(type.high)))
    throw PredefinedError(6502);
  return PlValue::Number(rounded);
}

}  // namespace

PlValue Coerce(const PlValue& value, const TypeSpec& type, const Session& session) {
  if (value.IsNull())
    return value;
  switch (type.base) {
    case TypeSpec::Base::Varchar2: {
      if (value.kind() == PlValue::Kind::Text &&
          (value.text().empty() ||
           (type.length == 0 && (value.location() != nullptr || value.lobOpen()))))
        return value;  // an empty LOB, or a locator kept by a LOB variable
      std::string text = TextOf(value, session);
      if (type.length > 0 && text.size() > static_cast<size_t>(type.length)) {
        if (type.binary)
          throw ValueError("raw variable length too long");
        throw BufferTooSmall();
      }
      return PlValue::Text(std::move(text));
    }
    case TypeSpec::Base::Char: {
      std::string text = TextOf(value, session);
      if (type.length > 0) {
        if (text.size() > static_cast<size_t>(type.length))
          throw BufferTooSmall();
        text.resize(static_cast<size_t>(type.length), ' ');
      }
      return PlValue::Text(std::move(text), true);
    }
    case TypeSpec::Base::Number:
      if (value.kind() == PlValue::Kind::Boolean || value.kind() == PlValue::Kind::Date) {
        throw ValueError("character to number conversion error");
      }
      return CoerceNumber(NumberOf(value), type);
    case TypeSpec::Base::Boolean:
      if (value.kind() != PlValue::Kind::Boolean) {
        throw ValueError("character to boolean conversion error");
      }
      return value;
    case TypeSpec::Base::Date:
      return DateOf(value);
    case TypeSpec::Base::Record:
    case TypeSpec::Base::Collection:
    case TypeSpec::Base::RefCursor:
    case TypeSpec::Base::Json:
      break;
  }
  return value;
}

int CompareValues(const PlValue& a, const PlValue& b) {
  using Kind = PlValue::Kind;
  if (a.kind() == Kind::Boolean || b.kind() == Kind::Boolean) {
    if (a.kind() != b.kind())
      throw ValueError("character to boolean conversion error");
    return static_cast<int>(a.boolean()) - static_cast<int>(b.boolean());
  }
  if (a.kind() == Kind::Number || b.kind() == Kind::Number) {
    const long double x = NumberOf(a), y = NumberOf(b);
    return x < y ? -1 : (x > y ? 1 : 0);
  }
  if (a.kind() == Kind::Date || b.kind() == Kind::Date) {
    const std::string x = DateOf(a).text(), y = DateOf(b).text();
    return x.compare(y) < 0 ? -1 : (x == y ? 0 : 1);
  }
  std::string x = a.text(), y = b.text();
  if (a.fixedChar() && b.fixedChar()) {
    // Blank-padded semantics: trailing blanks do not count.
    x.erase(x.find_last_not_of(' ') + 1);
    y.erase(y.find_last_not_of(' ') + 1);
  }
  const int c = x.compare(y);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace sandbox::plsql
