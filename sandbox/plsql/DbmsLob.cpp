// DBMS_LOB over text and hexadecimal values.
#include "sandbox/plsql/DbmsLob.h"

#include <cctype>
#include <cmath>
#include <optional>

#include "sandbox/plsql/Conversions.h"
#include "sandbox/plsql/PlError.h"
#include "sandbox/plsql/supplied/SuppliedPackages.h"

namespace sandbox::plsql {

namespace {

const BuiltinInfo kLobBuiltins[] = {
    {"TO_CLOB", 1, 1, false},
    {"TO_NCLOB", 1, 1, false},
    {"TO_BLOB", 1, 1, false},
    {"HEXTORAW", 1, 1, false},
};

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
  if (expr.kind != Expr::Kind::Builtin)
    return false;
  if (expr.name == "TO_BLOB" || expr.name == "HEXTORAW")
    return true;
  const SuppliedRoutine* supplied =
      expr.name.find('.') != std::string::npos ? FindSupplied(expr.name) : nullptr;
  return supplied != nullptr && supplied->rawResult;
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

std::size_t LobUnits(const std::string& text, bool binary) {
  if (binary)
    return text.size() / 2;
  std::size_t count = 0;
  for (const unsigned char c : text)
    count += (c & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

std::size_t LobUnitOffset(const std::string& text, std::size_t index, bool binary) {
  if (binary)
    return index < text.size() / 2 ? index * 2 : text.size();
  std::size_t at = 0;
  for (std::size_t i = 0; i < index && at < text.size(); ++i) {
    ++at;
    while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
      ++at;
  }
  return at;
}

std::string LobPiece(const std::string& text, std::size_t from, std::size_t count, bool binary) {
  const std::size_t begin = LobUnitOffset(text, from, binary);
  const std::string rest = text.substr(begin);
  return rest.substr(0, LobUnitOffset(rest, count, binary));
}

std::string LobFiller(std::size_t count, bool binary) {
  return binary ? std::string(count * 2, '0') : std::string(count, ' ');
}

std::string LobOverwrite(const std::string& text, std::size_t at, const std::string& piece,
                         bool binary) {
  const std::size_t units = LobUnits(text, binary);
  if (at >= units)
    return text + LobFiller(at - units, binary) + piece;
  const std::size_t begin = LobUnitOffset(text, at, binary);
  const std::size_t end =
      begin + LobUnitOffset(text.substr(begin), LobUnits(piece, binary), binary);
  return text.substr(0, begin) + piece + text.substr(end);
}

namespace {

// A whole number argument of DBMS_LOB's functions; nullopt when NULL.
std::optional<long long> WholeArgument(const PlValue& value) {
  if (value.IsNull())
    return std::nullopt;
  return static_cast<long long>(std::floor(NumberOf(value)));
}

}  // namespace

PlValue LobSubstr(const PlValue& lob, const PlValue& amount, const PlValue& offset, bool binary) {
  const auto count = WholeArgument(amount), from = WholeArgument(offset);
  if (lob.IsNull() || !count || !from || *count < 1 || *count > 32767 || *from < 1)
    return {};
  return PlValue::Text(LobPiece(lob.text(), static_cast<std::size_t>(*from - 1),
                                static_cast<std::size_t>(*count), binary));
}

PlValue LobInstr(const PlValue& lob, const PlValue& pattern, const PlValue& offset,
                 const PlValue& nth, bool binary) {
  const auto from = WholeArgument(offset), occurrence = WholeArgument(nth);
  if (lob.IsNull() || pattern.IsNull() || !from || !occurrence || *from < 1 || *occurrence < 1)
    return {};
  const std::string& text = lob.text();
  const std::string& wanted = pattern.text();
  std::size_t at = LobUnitOffset(text, static_cast<std::size_t>(*from - 1), binary);
  for (long long found = 0; at <= text.size(); ++at) {
    at = text.find(wanted, at);
    if (at == std::string::npos)
      return PlValue::Number(0);
    if (binary && at % 2 != 0)
      continue;  // a match must start on a byte
    if (++found == *occurrence)
      return PlValue::Number(static_cast<long double>(LobUnits(text.substr(0, at), binary) + 1));
  }
  return PlValue::Number(0);
}

PlValue LobLength(const PlValue& lob, bool binary) {
  if (lob.IsNull())
    return {};
  return PlValue::Number(static_cast<long double>(LobUnits(lob.text(), binary)));
}

}  // namespace sandbox::plsql
