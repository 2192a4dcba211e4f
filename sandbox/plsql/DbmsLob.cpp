// DBMS_LOB over text and hexadecimal values.
#include "sandbox/plsql/DbmsLob.h"

#include <cctype>
#include <cmath>
#include <optional>

#include "sandbox/plsql/Conversions.h"
#include "sandbox/plsql/PlError.h"

namespace sandbox::plsql {

namespace {

long double Characters(const std::string& text) {
  long double count = 0;
  for (const unsigned char c : text) {
    if ((c & 0xC0) != 0x80)
      ++count;
  }
  return count;
}

// The first count characters of UTF-8 text.
std::string FirstCharacters(const std::string& text, long double count) {
  std::size_t end = 0;
  for (long double taken = 0; end < text.size() && taken < count; ++taken) {
    ++end;
    while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
      ++end;
  }
  return text.substr(0, end);
}

const BuiltinInfo kLobBuiltins[] = {
    {"TO_CLOB", 1, 1, false},
    {"TO_NCLOB", 1, 1, false},
    {"TO_BLOB", 1, 1, false},
    {"HEXTORAW", 1, 1, false},
};

PlError ArgumentError() {
  return MakeError(21560, "argument 2 is null, invalid, or out of range");
}

}  // namespace

const BuiltinInfo* FindLobBuiltin(const std::string& name) {
  for (const BuiltinInfo& builtin : kLobBuiltins) {
    if (name == builtin.name)
      return &builtin;
  }
  return nullptr;
}

bool IsBinaryExpr(const Expr& expr) {
  if (expr.kind == Expr::Kind::Variable)
    return expr.variable != nullptr && expr.variable->type.binary;
  if (expr.kind == Expr::Kind::JsonMethod)  // a JSON document's TO_BLOB
    return expr.name == "TO_BLOB";
  return expr.kind == Expr::Kind::Builtin && (expr.name == "TO_BLOB" || expr.name == "HEXTORAW");
}

PlValue HexToRaw(const PlValue& text) {
  if (text.IsNull())
    return {};
  std::string digits = text.text();
  for (char& c : digits) {
    if (!std::isxdigit(static_cast<unsigned char>(c)))
      throw MakeError(1465, "invalid hex number");
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return PlValue::Text(digits.size() % 2 ? "0" + digits : digits);
}

Value BinaryToSql(const PlValue& value) {
  if (value.IsNull())
    return Value::Null();
  const PlValue digits = HexToRaw(value);
  const std::string& hex = digits.text();
  std::string bytes;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
  return Value::Binary(bytes);
}

PlValue LobAppend(const PlValue& dest, const PlValue& src) {
  if (dest.IsNull())
    throw MakeError(22275, "invalid LOB locator specified");
  if (src.IsNull())
    return dest;
  return PlValue::Text(dest.text() + src.text());
}

PlValue LobWriteAppend(const PlValue& lob, const PlValue& amount, const PlValue& buffer,
                       bool binary) {
  if (lob.IsNull())
    throw MakeError(22275, "invalid LOB locator specified");
  if (amount.IsNull() || buffer.IsNull())
    throw ArgumentError();
  const long double count = std::trunc(NumberOf(amount));
  const std::string& text = buffer.text();
  const long double available =
      binary ? static_cast<long double>(text.size() / 2) : Characters(text);
  if (count < 1 || count > available)
    throw ArgumentError();
  const std::string part =
      binary ? text.substr(0, static_cast<std::size_t>(count) * 2) : FirstCharacters(text, count);
  return PlValue::Text(lob.text() + part);
}

namespace {

// A whole number argument of DBMS_LOB's functions; nullopt when NULL.
std::optional<long long> WholeArgument(const PlValue& value) {
  if (value.IsNull())
    return std::nullopt;
  return static_cast<long long>(std::floor(NumberOf(value)));
}

// Byte offset of the character at index (0-based) of UTF-8 text; the
// text's size when it has fewer characters.
std::size_t CharacterOffset(const std::string& text, long long index) {
  std::size_t at = 0;
  for (long long i = 0; i < index && at < text.size(); ++i) {
    ++at;
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
      ++at;
  }
  return at;
}

}  // namespace

PlValue LobSubstr(const PlValue& lob, const PlValue& amount, const PlValue& offset, bool binary) {
  const auto count = WholeArgument(amount), from = WholeArgument(offset);
  if (lob.IsNull() || !count || !from || *count < 1 || *count > 32767 || *from < 1)
    return {};
  const std::string& text = lob.text();
  if (binary) {
    const std::size_t begin = static_cast<std::size_t>(*from - 1) * 2;
    return begin >= text.size() ? PlValue() : PlValue::Text(text.substr(begin, *count * 2));
  }
  const std::size_t begin = CharacterOffset(text, *from - 1);
  const std::size_t end = begin + CharacterOffset(text.substr(begin), *count);
  return PlValue::Text(text.substr(begin, end - begin));
}

PlValue LobInstr(const PlValue& lob, const PlValue& pattern, const PlValue& offset,
                 const PlValue& nth, bool binary) {
  const auto from = WholeArgument(offset), occurrence = WholeArgument(nth);
  if (lob.IsNull() || pattern.IsNull() || !from || !occurrence || *from < 1 || *occurrence < 1)
    return {};
  const std::string& text = lob.text();
  const std::string& wanted = pattern.text();
  const std::size_t unit = binary ? 2 : 1;
  std::size_t at =
      binary ? static_cast<std::size_t>(*from - 1) * 2 : CharacterOffset(text, *from - 1);
  for (long long found = 0; at <= text.size(); ++at) {
    at = text.find(wanted, at);
    if (at == std::string::npos)
      return PlValue::Number(0);
    if (binary && at % 2 != 0)
      continue;  // a match must start on a byte
    if (++found == *occurrence)
      return PlValue::Number(binary ? static_cast<long double>(at / unit + 1)
                                    : Characters(text.substr(0, at)) + 1);
  }
  return PlValue::Number(0);
}

PlValue LobLength(const PlValue& lob, bool binary) {
  if (lob.IsNull())
    return {};
  return PlValue::Number(binary ? static_cast<long double>(lob.text().size() / 2)
                                : Characters(lob.text()));
}

}  // namespace sandbox::plsql
