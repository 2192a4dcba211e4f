// The value of one column of the current row of a query, as the server hands
// it to a session: numbers canonical, dates in their stored form, timestamps
// and intervals in the session's formats, RAW as bytes.
#include "sandbox/server/ColumnValues.h"

#include <algorithm>
#include <cctype>

#include "sandbox/server/values/DateFormat.h"
#include "sandbox/server/values/DateTimeValue.h"
#include "sandbox/server/values/NumberText.h"

namespace sandbox {

namespace {

bool HexBytes(const std::string& hex, std::string& bytes) {
  if (hex.size() % 2)
    return false;
  bytes.clear();
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const std::string pair = hex.substr(i, 2);
    if (!std::isxdigit(static_cast<unsigned char>(pair[0])) ||
        !std::isxdigit(static_cast<unsigned char>(pair[1])))
      return false;
    bytes += static_cast<char>(std::stoi(pair, nullptr, 16));
  }
  return true;
}

// Timestamps, intervals and binary floats as their character form in the
// session's formats; fromValue: the column's type is read from the value
// (arithmetic of unknown kind).
std::optional<Value> TemporalValue(const std::string& stored, const ColumnInfo& info,
                                   bool fromValue, const SqlFunctionContext& session) {
  auto formatted = [&](const std::string& model, const DateParts& parts, int digits) {
    const auto format = DateFormat::Parse(model);
    return Value::Text(format ? format->Format(parts, digits) : stored);
  };
  std::uint16_t type = info.dataType;
  int leading = info.precision, fraction = info.scale;
  if (fromValue) {
    leading = fraction = 9;
    switch (TemporalKindOf(stored)) {
      case TemporalKind::Date:
        return Value::Date(stored);
      case TemporalKind::Timestamp:
        type = 187;
        break;
      case TemporalKind::TimestampTz:
        type = 188;
        break;
      case TemporalKind::YearMonth:
        type = 189;
        break;
      case TemporalKind::DaySecond:
        type = 190;
        break;
      case TemporalKind::None:
        return std::nullopt;
    }
  }
  switch (type) {
    case 187:
    case 188:
    case 232: {
      auto parts = ReadTimestamp(stored);
      if (!parts)
        return std::nullopt;
      if (type == 232)
        *parts = InZone(*parts, session.timeZone);
      return formatted(type == 188 ? session.timestampTzFormat : session.timestampFormat, *parts,
                       fraction);
    }
    case 189:
      if (const auto months = ReadYearMonth(stored))
        return Value::Text(YearMonthText(*months, leading));
      return std::nullopt;
    case 190:
      if (const auto nanos = ReadDaySecond(stored))
        return Value::Text(DaySecondText(*nanos, leading, fraction));
      return std::nullopt;
    case 100:
    case 101:
      if (const auto number = ReadBinaryNumber(stored))
        return Value::Number(BinaryNumberText(*number, type == 100));
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

}  // namespace

Value ColumnValue(sqlite3_stmt* statement, int column, const ColumnInfo& info, bool fromValue,
                  const SqlFunctionContext& session) {
  const int type = sqlite3_column_type(statement, column);
  if (type == SQLITE_NULL)
    return Value::Null();
  if (fromValue || info.dataType == 100 || info.dataType == 101 ||
      (info.dataType >= 187 && info.dataType <= 190) || info.dataType == 232) {
    const std::string stored =
        type == SQLITE_FLOAT
            ? BinaryNumberText(sqlite3_column_double(statement, column), false)
            : std::string(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)),
                          static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
    if (auto value = TemporalValue(stored, info, fromValue, session))
      return *value;
  }
  if (type == SQLITE_INTEGER)
    return Value::Number(CanonicalIntegerText(sqlite3_column_int64(statement, column)));
  if (type == SQLITE_FLOAT)
    return Value::Number(CanonicalNumberText(sqlite3_column_double(statement, column)));
  const char* data = static_cast<const char*>(sqlite3_column_blob(statement, column));
  std::string bytes(data ? data : "",
                    static_cast<std::size_t>(sqlite3_column_bytes(statement, column)));
  if (type == SQLITE_BLOB && info.dataType == 2) {
    // A number of more digits than SQLite keeps, stored as its text.
    if (auto number = NormaliseNumberText(bytes))
      return Value::Number(*number);
  }
  if (type == SQLITE_TEXT && (info.dataType == 23 || info.dataType == 24)) {
    // Oracle reads hex text given for a RAW column as the bytes it spells.
    std::string raw;
    if (HexBytes(bytes, raw))
      return Value::Binary(std::move(raw));
  }
  if (type == SQLITE_BLOB || info.dataType == 23 || info.dataType == 24 || info.dataType == 113)
    return Value::Binary(std::move(bytes));
  // An empty CLOB is a value of length zero, unlike an empty VARCHAR2.
  if (info.dataType == 112 && bytes.empty())
    return Value{Value::Kind::Text, std::string()};
  if (info.dataType == 12 && IsIsoDate(bytes))
    return Value::Date(std::move(bytes));
  if (info.dataType == 2) {
    if (auto number = NormaliseNumberText(bytes))
      return Value::Number(*number);
  }
  if (info.dataType == 96 && info.charLength > 0) {
    const auto characters =
        static_cast<std::size_t>(std::count_if(bytes.begin(), bytes.end(), [](char c) {
          return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        }));
    if (characters < info.charLength)
      bytes.append(info.charLength - characters, ' ');
  } else if (info.dataType == 96 && bytes.size() < info.dataSize) {
    bytes.resize(info.dataSize, ' ');
  }
  return Value::Text(std::move(bytes));
}

}  // namespace sandbox
