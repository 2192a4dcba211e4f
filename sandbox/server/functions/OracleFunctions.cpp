// Oracle SQL functions registered on each SQLite connection of the server.
#include "sandbox/server/functions/OracleFunctions.h"
#include "sandbox/server/values/Utf8.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>
#include <vector>

#include "sandbox/server/values/DateFormat.h"
#include "sandbox/server/values/DateRounding.h"
#include "sandbox/server/values/DateTimeValue.h"
#include "sandbox/server/values/NumberText.h"
#include "sandbox/server/values/RowIdText.h"

namespace sandbox {

SqlFunctionContext& ContextOf(sqlite3_context* ctx) {
  return *static_cast<SqlFunctionContext*>(sqlite3_user_data(ctx));
}

void ResultText(sqlite3_context* ctx, const std::string& text) {
  if (text.empty())
    sqlite3_result_null(ctx);
  else
    sqlite3_result_text(ctx, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

void ResultNumber(sqlite3_context* ctx, double value) {
  if (std::fabs(value) < 9e15 && value == std::floor(value))
    sqlite3_result_int64(ctx, static_cast<sqlite3_int64>(value));
  else
    sqlite3_result_double(ctx, value);
}

void ResultOraError(sqlite3_context* ctx, const char* message) {
  sqlite3_result_error(ctx, message, -1);
}

// Numeric argument with Oracle's implicit conversion of text (ORA-01722).
std::optional<double> NumberArg(sqlite3_context* ctx, sqlite3_value* value) {
  switch (sqlite3_value_type(value)) {
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
      return sqlite3_value_double(value);
    case SQLITE_NULL:
      return std::nullopt;
    default: {
      std::string text;
      OracleTextOf(value, text);
      const auto number = ParseNumber(text);
      if (!number)
        ResultOraError(ctx, "ORA-01722: invalid number");
      return number;
    }
  }
}

bool AnyNull(int argc, sqlite3_value** argv) {
  for (int i = 0; i < argc; ++i)
    if (sqlite3_value_type(argv[i]) == SQLITE_NULL)
      return true;
  return false;
}

std::string TextArg(sqlite3_value* value) {
  std::string text;
  OracleTextOf(value, text);
  return text;
}

namespace {

// Text as units of one character each (or one byte each for byte semantics).
std::vector<std::string> Units(const std::string& text, bool bytes) {
  std::vector<std::string> units;
  if (bytes) {
    for (char c : text)
      units.emplace_back(1, c);
    return units;
  }
  const auto starts = CharacterStarts(text);
  for (std::size_t i = 0; i + 1 < starts.size(); ++i)
    units.push_back(text.substr(starts[i], starts[i + 1] - starts[i]));
  return units;
}

std::string Joined(const std::vector<std::string>& units, std::size_t from, std::size_t count) {
  std::string text;
  for (std::size_t i = from; i < units.size() && i < from + count; ++i)
    text += units[i];
  return text;
}

void Nvl(sqlite3_context* ctx, int, sqlite3_value** argv) {
  sqlite3_result_value(ctx, sqlite3_value_type(argv[0]) == SQLITE_NULL ? argv[1] : argv[0]);
}

void Nvl2(sqlite3_context* ctx, int, sqlite3_value** argv) {
  sqlite3_result_value(ctx, sqlite3_value_type(argv[0]) == SQLITE_NULL ? argv[2] : argv[1]);
}

bool SameValue(sqlite3_value* a, sqlite3_value* b) {
  const int ta = sqlite3_value_type(a), tb = sqlite3_value_type(b);
  if (ta == SQLITE_NULL || tb == SQLITE_NULL)
    return ta == tb;  // DECODE matches NULL to NULL
  const bool numericA = ta == SQLITE_INTEGER || ta == SQLITE_FLOAT;
  const bool numericB = tb == SQLITE_INTEGER || tb == SQLITE_FLOAT;
  if (numericA || numericB) {
    const auto na =
        numericA ? std::optional<double>(sqlite3_value_double(a)) : ParseNumber(TextArg(a));
    const auto nb =
        numericB ? std::optional<double>(sqlite3_value_double(b)) : ParseNumber(TextArg(b));
    return na && nb && *na == *nb;
  }
  return TextArg(a) == TextArg(b);
}

void Decode(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (argc < 3) {
    ResultOraError(ctx, "ORA-00938: not enough arguments for function");
    return;
  }
  for (int i = 1; i + 1 < argc; i += 2) {
    if (SameValue(argv[0], argv[i])) {
      sqlite3_result_value(ctx, argv[i + 1]);
      return;
    }
  }
  if (argc % 2 == 0)
    sqlite3_result_value(ctx, argv[argc - 1]);
  else
    sqlite3_result_null(ctx);
}

// SUBSTR counts from 1; position 0 is taken as 1 and a negative position
// counts back from the end.
void SubstrOf(sqlite3_context* ctx, int argc, sqlite3_value** argv, bool bytes) {
  if (AnyNull(argc, argv)) {
    sqlite3_result_null(ctx);
    return;
  }
  const std::vector<std::string> units = Units(TextArg(argv[0]), bytes);
  const auto position = NumberArg(ctx, argv[1]);
  if (!position)
    return;
  long long start = static_cast<long long>(std::trunc(*position));
  const long long size = static_cast<long long>(units.size());
  if (start == 0)
    start = 1;
  if (start < 0)
    start = size + start + 1;
  if (start < 1 || start > size) {
    sqlite3_result_null(ctx);
    return;
  }
  long long length = size - start + 1;
  if (argc > 2) {
    const auto requested = NumberArg(ctx, argv[2]);
    if (!requested)
      return;
    if (*requested < 1) {
      sqlite3_result_null(ctx);
      return;
    }
    length = std::min(length, static_cast<long long>(std::trunc(*requested)));
  }
  ResultText(ctx,
             Joined(units, static_cast<std::size_t>(start - 1), static_cast<std::size_t>(length)));
}
void Substr(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  SubstrOf(ctx, argc, argv, false);
}
void SubstrB(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  SubstrOf(ctx, argc, argv, true);
}

void Reverse(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  std::vector<std::string> units = Units(TextArg(argv[0]), false);
  std::reverse(units.begin(), units.end());
  ResultText(ctx, Joined(units, 0, units.size()));
}

void LengthOf(sqlite3_context* ctx, sqlite3_value** argv, bool bytes) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  const std::string text = TextArg(argv[0]);
  if (text.empty())
    sqlite3_result_null(ctx);
  else
    sqlite3_result_int64(
        ctx, static_cast<sqlite3_int64>(bytes ? text.size() : CharacterStarts(text).size() - 1));
}
void Length(sqlite3_context* ctx, int, sqlite3_value** argv) {
  LengthOf(ctx, argv, false);
}
void LengthB(sqlite3_context* ctx, int, sqlite3_value** argv) {
  LengthOf(ctx, argv, true);
}

void Trim(sqlite3_context* ctx, int argc, sqlite3_value** argv, bool left, bool right) {
  if (AnyNull(argc, argv)) {
    sqlite3_result_null(ctx);
    return;
  }
  const std::string text = TextArg(argv[0]);
  const std::string set = argc > 1 ? TextArg(argv[1]) : " ";
  std::size_t begin = 0, end = text.size();
  if (left)
    while (begin < end && set.find(text[begin]) != std::string::npos)
      ++begin;
  if (right)
    while (end > begin && set.find(text[end - 1]) != std::string::npos)
      --end;
  ResultText(ctx, text.substr(begin, end - begin));
}
void RTrim(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  Trim(ctx, argc, argv, false, true);
}
void LTrim(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  Trim(ctx, argc, argv, true, false);
}
void BothTrim(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  Trim(ctx, argc, argv, true, true);
}

void Pad(sqlite3_context* ctx, int argc, sqlite3_value** argv, bool left) {
  if (AnyNull(argc, argv)) {
    sqlite3_result_null(ctx);
    return;
  }
  const std::vector<std::string> text = Units(TextArg(argv[0]), false);
  const auto width = NumberArg(ctx, argv[1]);
  if (!width)
    return;
  const std::vector<std::string> fill = Units(argc > 2 ? TextArg(argv[2]) : " ", false);
  const std::size_t target = *width < 0 ? 0 : static_cast<std::size_t>(*width);
  if (text.size() >= target || fill.empty()) {
    ResultText(ctx, Joined(text, 0, target));
    return;
  }
  std::string padding;
  for (std::size_t i = 0; i < target - text.size(); ++i)
    padding += fill[i % fill.size()];
  const std::string body = Joined(text, 0, text.size());
  ResultText(ctx, left ? padding + body : body + padding);
}
void LPad(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  Pad(ctx, argc, argv, true);
}
void RPad(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  Pad(ctx, argc, argv, false);
}

void InstrOf(sqlite3_context* ctx, int argc, sqlite3_value** argv, bool bytes) {
  if (AnyNull(argc, argv)) {
    sqlite3_result_null(ctx);
    return;
  }
  const std::string text = TextArg(argv[0]), search = TextArg(argv[1]);
  const std::vector<std::size_t> starts =
      bytes ? std::vector<std::size_t>() : CharacterStarts(text);
  long long start = 1, occurrence = 1;
  if (argc > 2) {
    const auto s = NumberArg(ctx, argv[2]);
    if (!s)
      return;
    start = static_cast<long long>(*s);
  }
  if (argc > 3) {
    const auto o = NumberArg(ctx, argv[3]);
    if (!o)
      return;
    occurrence = static_cast<long long>(*o);
  }
  if (start == 0 || occurrence < 1) {
    sqlite3_result_int64(ctx, 0);
    return;
  }
  long long found = 0;
  // Positions count characters: start moves to its character's byte, and a
  // match found reports its character's number.
  auto byteOf = [&](long long character) {
    if (bytes || character < 0)
      return character;
    const auto index = static_cast<std::size_t>(character);
    return static_cast<long long>(index < starts.size() ? starts[index] : text.size() + 1);
  };
  auto characterOf = [&](long long byte) {
    if (bytes)
      return byte;
    return static_cast<long long>(
        std::lower_bound(starts.begin(), starts.end(), static_cast<std::size_t>(byte)) -
        starts.begin());
  };
  if (start > 0) {
    std::size_t at = static_cast<std::size_t>(byteOf(start - 1));
    for (long long k = 0; k < occurrence; ++k, ++at) {
      at = text.find(search, at);
      if (at == std::string::npos)
        break;
      if (k + 1 == occurrence)
        found = characterOf(static_cast<long long>(at)) + 1;
    }
  } else {
    const long long count =
        bytes ? static_cast<long long>(text.size()) : static_cast<long long>(starts.size()) - 1;
    long long at = count + start < 0 ? -1 : byteOf(count + start);
    for (long long k = 0; k < occurrence && at >= 0; ++k, --at) {
      const std::size_t hit = text.rfind(search, static_cast<std::size_t>(at));
      if (hit == std::string::npos)
        break;
      at = static_cast<long long>(hit);
      if (k + 1 == occurrence)
        found = characterOf(at) + 1;
    }
  }
  sqlite3_result_int64(ctx, found);
}
void Instr(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  InstrOf(ctx, argc, argv, false);
}
void InstrB(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  InstrOf(ctx, argc, argv, true);
}

// TRANSLATE(text, from, to): each character of from becomes the one at its
// place in to, or goes when to is shorter; NULL when any argument is.
void Translate(sqlite3_context* ctx, int, sqlite3_value** argv) {
  for (int k = 0; k < 3; ++k)
    if (sqlite3_value_type(argv[k]) == SQLITE_NULL || TextArg(argv[k]).empty()) {
      sqlite3_result_null(ctx);
      return;
    }
  const std::string out = TranslateText(TextArg(argv[0]), TextArg(argv[1]), TextArg(argv[2]));
  if (out.empty())
    sqlite3_result_null(ctx);
  else
    ResultText(ctx, out);
}

void Replace(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  std::string text = TextArg(argv[0]);
  const std::string search = argc > 1 ? TextArg(argv[1]) : "";
  const std::string replacement = argc > 2 ? TextArg(argv[2]) : "";
  if (!search.empty()) {
    for (std::size_t at = text.find(search); at != std::string::npos;
         at = text.find(search, at + replacement.size())) {
      text.replace(at, search.size(), replacement);
    }
  }
  ResultText(ctx, text);
}

// The || operator: NULL operands count as empty strings, and an empty result
// is NULL.
void Concat(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  std::string text;
  for (int i = 0; i < argc; ++i)
    text += TextArg(argv[i]);
  ResultText(ctx, text);
}

void Mod(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (AnyNull(argc, argv)) {
    sqlite3_result_null(ctx);
    return;
  }
  const auto m = NumberArg(ctx, argv[0]);
  if (!m)
    return;
  const auto n = NumberArg(ctx, argv[1]);
  if (!n)
    return;
  ResultNumber(ctx, *n == 0 ? *m : *m - *n * std::trunc(*m / *n));
}

void RoundOrTrunc(sqlite3_context* ctx, int argc, sqlite3_value** argv, bool round) {
  if (AnyNull(argc, argv)) {
    sqlite3_result_null(ctx);
    return;
  }
  // A date or timestamp gives a DATE at the start of the model's unit.
  if (sqlite3_value_type(argv[0]) == SQLITE_TEXT) {
    if (const auto date = ReadTimestamp(TextArg(argv[0]))) {
      const auto result = RoundDate(*date, argc > 1 ? TextArg(argv[1]) : "DD", round);
      if (!result)
        ResultOraError(ctx, "ORA-01821: date format not recognized");
      else
        ResultText(ctx, result->ToIso());
      return;
    }
  }
  const auto value = NumberArg(ctx, argv[0]);
  if (!value)
    return;
  double places = 0;
  if (argc > 1) {
    const auto p = NumberArg(ctx, argv[1]);
    if (!p)
      return;
    places = std::trunc(*p);
  }
  const double scale = std::pow(10.0, places);
  const double scaled = *value * scale;
  ResultNumber(ctx, (round ? std::round(scaled) : std::trunc(scaled)) / scale);
}
void Round(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  RoundOrTrunc(ctx, argc, argv, true);
}
void Trunc(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  RoundOrTrunc(ctx, argc, argv, false);
}

void UnaryMath(sqlite3_context* ctx, sqlite3_value** argv, double (*op)(double)) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  const auto value = NumberArg(ctx, argv[0]);
  if (value)
    ResultNumber(ctx, op(*value));
}
void Floor(sqlite3_context* ctx, int, sqlite3_value** argv) {
  UnaryMath(ctx, argv, std::floor);
}
void Ceil(sqlite3_context* ctx, int, sqlite3_value** argv) {
  UnaryMath(ctx, argv, std::ceil);
}
void Sign(sqlite3_context* ctx, int, sqlite3_value** argv) {
  UnaryMath(ctx, argv, [](double v) { return v > 0 ? 1.0 : (v < 0 ? -1.0 : 0.0); });
}

void ToNumber(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  const auto value = NumberArg(ctx, argv[0]);
  if (value)
    ResultNumber(ctx, *value);
}

void ToChar(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  const int type = sqlite3_value_type(argv[0]);
  const std::string text = TextArg(argv[0]);
  const std::string model = argc > 1 ? TextArg(argv[1]) : "";
  if (type == SQLITE_TEXT && IsIsoDate(text)) {
    const auto format = DateFormat::Parse(argc > 1 ? model : ContextOf(ctx).dateFormat);
    if (!format) {
      ResultOraError(ctx, "ORA-01821: date format not recognized");
      return;
    }
    ResultText(ctx, format->Format(*DateParts::FromIso(text)));
    return;
  }
  if (const TemporalKind kind = type == SQLITE_TEXT ? TemporalKindOf(text) : TemporalKind::None;
      kind == TemporalKind::Timestamp || kind == TemporalKind::TimestampTz) {
    const SqlFunctionContext& session = ContextOf(ctx);
    const auto format =
        DateFormat::Parse(argc > 1                          ? model
                          : kind == TemporalKind::Timestamp ? session.timestampFormat
                                                            : session.timestampTzFormat);
    if (!format) {
      ResultOraError(ctx, "ORA-01821: date format not recognized");
      return;
    }
    ResultText(ctx, format->Format(*ReadTimestamp(text)));
    return;
  }
  if (argc < 2) {
    ResultText(ctx, type == SQLITE_TEXT ? text : TextArg(argv[0]));
    return;
  }
  const auto value = NumberArg(ctx, argv[0]);
  if (!value)
    return;
  const auto formatted = FormatNumber(*value, model);
  if (!formatted) {
    ResultOraError(ctx, "ORA-01481: invalid number format model");
    return;
  }
  ResultText(ctx, *formatted);
}

void ToDate(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (AnyNull(argc, argv)) {
    sqlite3_result_null(ctx);
    return;
  }
  const std::string text = TextArg(argv[0]);
  if (argc == 1 && IsIsoDate(text)) {
    ResultText(ctx, text);
    return;
  }
  const auto format = DateFormat::Parse(argc > 1 ? TextArg(argv[1]) : ContextOf(ctx).dateFormat);
  if (!format) {
    ResultOraError(ctx, "ORA-01821: date format not recognized");
    return;
  }
  const auto date = format->Read(text);
  if (!date) {
    ResultOraError(ctx, "ORA-01861: literal does not match format string");
    return;
  }
  ResultText(ctx, date->ToIso());
}

// DATE and TIMESTAMP literals: ORA-01861 unless they hold a valid date.
void DateLiteral(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const std::string text = TextArg(argv[0]);
  if (!IsIsoDate(text)) {
    ResultOraError(ctx, "ORA-01861: literal does not match format string");
    return;
  }
  ResultText(ctx, text);
}

void SysDate(sqlite3_context* ctx, int, sqlite3_value**) {
  ResultText(ctx, DateParts::Now().ToIso());
}

void User(sqlite3_context* ctx, int, sqlite3_value**) {
  ResultText(ctx, ContextOf(ctx).userName);
}

// The event attribute functions (ORA_SYSEVENT, ORA_DICT_OBJ_NAME ...) by the
// name after "ORA_": NULL outside a system trigger, apart from the session's
// own LOGIN_USER, DATABASE_NAME and INSTANCE_NUM.
void EventAttribute(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const SqlFunctionContext& context = ContextOf(ctx);
  const std::string name = TextArg(argv[0]);
  const SystemEvent& event = context.systemEvent;
  if (name == "SERVER_ERROR_DEPTH") {
    ResultNumber(ctx, static_cast<double>(event.errors.size()));
    return;
  }
  const std::string value = name == "SYSEVENT"         ? event.name
                            : name == "DICT_OBJ_TYPE"  ? event.objectType
                            : name == "DICT_OBJ_OWNER" ? event.objectOwner
                            : name == "DICT_OBJ_NAME"  ? event.objectName
                            : name == "LOGIN_USER"     ? context.userName
                            : name == "DATABASE_NAME"  ? context.databaseName
                            : name == "INSTANCE_NUM"   ? std::string("1")
                                                       : std::string();
  if (value.empty())
    sqlite3_result_null(ctx);
  else if (name == "INSTANCE_NUM")
    ResultNumber(ctx, 1);
  else
    ResultText(ctx, value);
}

// ORA_SERVER_ERROR(n) and ORA_SERVER_ERROR_MSG(n): the code and the message
// at position n (from 1) of a SERVERERROR trigger's error stack; 0 and NULL
// past its end or outside one.
void ServerError(sqlite3_context* ctx, sqlite3_value** argv, bool message) {
  const std::vector<SystemEvent::Error>& errors = ContextOf(ctx).systemEvent.errors;
  const sqlite3_int64 n = sqlite3_value_int64(argv[0]);
  const bool found = sqlite3_value_type(argv[0]) != SQLITE_NULL && n >= 1 &&
                     n <= static_cast<sqlite3_int64>(errors.size());
  const SystemEvent::Error* at = found ? &errors[static_cast<std::size_t>(n - 1)] : nullptr;
  if (message && at == nullptr)
    sqlite3_result_null(ctx);
  else if (message)
    ResultText(ctx, at->message);
  else
    ResultNumber(ctx, at == nullptr ? 0 : at->code);
}
void ServerErrorCode(sqlite3_context* ctx, int, sqlite3_value** argv) {
  ServerError(ctx, argv, false);
}
void ServerErrorMessage(sqlite3_context* ctx, int, sqlite3_value** argv) {
  ServerError(ctx, argv, true);
}

std::string SessionAttributeOf(const SqlFunctionContext& context, const std::string& name) {
  if (context.sessionAttributes == nullptr)
    return {};
  const auto found = context.sessionAttributes->find(name);
  return found == context.sessionAttributes->end() ? std::string() : found->second;
}

// SYS_CONTEXT('USERENV', parameter [, length]): the session's values, as in
// PL/SQL; a namespace no application context set gives NULL.
void SysContext(sqlite3_context* ctx, int, sqlite3_value** argv) {
  auto upper = [](std::string text) {
    for (char& c : text)
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
  };
  if (upper(TextArg(argv[0])) != "USERENV") {
    sqlite3_result_null(ctx);
    return;
  }
  const SqlFunctionContext& context = ContextOf(ctx);
  const std::string name = upper(TextArg(argv[1]));
  if (name == "CURRENT_SCHEMA")
    ResultText(ctx, context.currentSchema);
  else if (name == "CURRENT_USER")
    ResultText(ctx, context.currentUser.empty() ? context.userName : context.currentUser);
  else if (name == "SESSION_USER" || name == "AUTHENTICATED_IDENTITY")
    ResultText(ctx, context.userName);
  else if (name == "DB_NAME" || name == "DB_UNIQUE_NAME" || name == "INSTANCE_NAME" ||
           name == "SERVICE_NAME" || name == "CON_NAME")
    ResultText(ctx, context.databaseName);
  else if (const char* fixed = FixedUserEnvValue(name))
    ResultText(ctx, fixed);
  else if (name == "SESSIONID" || name == "SID")
    ResultText(ctx, std::to_string(context.sessionId));
  else if (name == "MODULE" || name == "ACTION" || name == "CLIENT_INFO" ||
           name == "CLIENT_IDENTIFIER")
    ResultText(ctx, SessionAttributeOf(context, name));
  else if (name == "NLS_DATE_FORMAT")
    ResultText(ctx, context.dateFormat);
  else
    ResultOraError(ctx, "ORA-02003: invalid USERENV parameter");
}

void SequenceValue(sqlite3_context* ctx, sqlite3_value** argv, bool next) {
  SqlFunctionContext& context = ContextOf(ctx);
  std::string value, error;
  if (!context.sequenceValue ||
      !context.sequenceValue(TextArg(argv[0]), TextArg(argv[1]), next, value, error)) {
    ResultOraError(ctx, error.empty() ? "ORA-02289: sequence does not exist" : error.c_str());
    return;
  }
  const auto number = ParseNumber(value);
  ResultNumber(ctx, number ? *number : 0);
}
void NextVal(sqlite3_context* ctx, int, sqlite3_value** argv) {
  SequenceValue(ctx, argv, true);
}
void CurrVal(sqlite3_context* ctx, int, sqlite3_value** argv) {
  SequenceValue(ctx, argv, false);
}

void IntervalPartition(sqlite3_context* ctx, int, sqlite3_value** argv) {
  SqlFunctionContext& context = ContextOf(ctx);
  std::string error;
  if (context.intervalPartition &&
      !context.intervalPartition(TextArg(argv[0]), TextArg(argv[1]), TextArg(argv[2]),
                                 TextArg(argv[3]), error)) {
    ResultOraError(ctx, error.c_str());
    return;
  }
  sqlite3_result_null(ctx);
}

void Chr(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const auto code = NumberArg(ctx, argv[0]);
  if (!code)
    return;
  const char c = static_cast<char>(static_cast<int>(*code) & 0xFF);
  sqlite3_result_text(ctx, &c, 1, SQLITE_TRANSIENT);
}

void Ascii(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const std::string text = TextArg(argv[0]);
  if (text.empty())
    sqlite3_result_null(ctx);
  else
    sqlite3_result_int(ctx, static_cast<unsigned char>(text[0]));
}

void GreatestOrLeast(sqlite3_context* ctx, int argc, sqlite3_value** argv, bool greatest) {
  if (AnyNull(argc, argv)) {
    sqlite3_result_null(ctx);
    return;
  }
  int best = 0;
  for (int i = 1; i < argc; ++i) {
    const bool numeric = sqlite3_value_type(argv[0]) == SQLITE_INTEGER ||
                         sqlite3_value_type(argv[0]) == SQLITE_FLOAT;
    bool better;
    if (numeric)
      better = greatest ? sqlite3_value_double(argv[i]) > sqlite3_value_double(argv[best])
                        : sqlite3_value_double(argv[i]) < sqlite3_value_double(argv[best]);
    else
      better = greatest ? TextArg(argv[i]) > TextArg(argv[best])
                        : TextArg(argv[i]) < TextArg(argv[best]);
    if (better)
      best = i;
  }
  sqlite3_result_value(ctx, argv[best]);
}
void Greatest(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  GreatestOrLeast(ctx, argc, argv, true);
}
void Least(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  GreatestOrLeast(ctx, argc, argv, false);
}

// HEXTORAW: '0AFF' becomes the two bytes 0x0A 0xFF (ORA-01465 for other text).
void HexToRaw(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  std::string bytes;
  if (!HexToBytes(TextArg(argv[0]), bytes)) {
    ResultOraError(ctx, "ORA-01465: invalid hex number");
    return;
  }
  sqlite3_result_blob(ctx, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
}

std::string HexDigits(const unsigned char* data, int size) {
  static const char digits[] = "0123456789ABCDEF";
  std::string hex;
  for (int i = 0; i < size && data != nullptr; ++i) {
    hex += digits[data[i] >> 4];
    hex += digits[data[i] & 15];
  }
  return hex;
}

void RawToHex(sqlite3_context* ctx, int, sqlite3_value** argv) {
  // Character text becomes RAW as HEXTORAW reads it (ORA-01465 for other text).
  const bool text = sqlite3_value_type(argv[0]) == SQLITE_TEXT;
  std::string converted;
  if (text && !HexToBytes(TextArg(argv[0]), converted)) {
    ResultOraError(ctx, "ORA-01465: invalid hex number");
    return;
  }
  const auto* data = text ? reinterpret_cast<const unsigned char*>(converted.data())
                          : static_cast<const unsigned char*>(sqlite3_value_blob(argv[0]));
  const int size = text ? static_cast<int>(converted.size()) : sqlite3_value_bytes(argv[0]);
  ResultText(ctx, HexDigits(data, size));
}

// A scalar as an attribute of an object value (JSON text) holds it: RAW
// bytes as their hex digits, which RAWTOHEX and HEXTORAW read back.
void ObjectAttributeValue(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) != SQLITE_BLOB) {
    sqlite3_result_value(ctx, argv[0]);
    return;
  }
  ResultText(ctx, HexDigits(static_cast<const unsigned char*>(sqlite3_value_blob(argv[0])),
                            sqlite3_value_bytes(argv[0])));
}

// A BFILE locator is kept as its directory and file name.
void BFileName(sqlite3_context* ctx, int, sqlite3_value** argv) {
  ResultText(ctx, TextArg(argv[0]) + "/" + TextArg(argv[1]));
}

// Called by a hierarchical query for a row that is already its own ancestor.
void ConnectByLoop(sqlite3_context* ctx, int, sqlite3_value**) {
  ResultOraError(ctx, "ORA-01436: CONNECT BY loop in user data");
}

// A date text as a DATE column takes it: the internal form, or text in the
// session's NLS_DATE_FORMAT (which a trigger then turns into the internal form).
std::optional<std::string> SessionDate(sqlite3_context* ctx, const std::string& text) {
  if (IsIsoDate(text))
    return text;
  if (const auto timestamp = ReadTimestamp(text))
    return timestamp->ToIso();  // a timestamp stored as a DATE loses its fraction
  const auto format = DateFormat::Parse(ContextOf(ctx).dateFormat);
  const auto date = format ? format->Read(text) : std::nullopt;
  if (!date)
    return std::nullopt;
  return date->ToIso();
}

void DateIn(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  const auto date = SessionDate(ctx, TextArg(argv[0]));
  if (!date) {
    ResultOraError(ctx, "ORA-01861: literal does not match format string");
    return;
  }
  ResultText(ctx, *date);
}

void IsInternalDate(sqlite3_context* ctx, int, sqlite3_value** argv) {
  sqlite3_result_int(
      ctx, sqlite3_value_type(argv[0]) == SQLITE_TEXT && IsIsoDate(TextArg(argv[0])) ? 1 : 0);
}

// The column check of every stored value:
// ora_check_value(value, kind, size, precision, scale, owner, table, column).
void CheckValue(sqlite3_context* ctx, int, sqlite3_value** argv) {
  const int type = sqlite3_value_type(argv[0]);
  if (type == SQLITE_NULL) {
    sqlite3_result_int(ctx, 1);
    return;
  }
  const std::string kind = TextArg(argv[1]);
  const long long size = sqlite3_value_int64(argv[2]);
  const int precision = sqlite3_value_int(argv[3]);
  const int scale = sqlite3_value_int(argv[4]);
  const std::string where =
      "\"" + TextArg(argv[5]) + "\".\"" + TextArg(argv[6]) + "\".\"" + TextArg(argv[7]) + "\"";
  std::string message;
  if (kind == "C" || kind == "R" || kind == "CH") {
    const std::string text = TextArg(argv[0]);
    long long actual = kind == "R" && type == SQLITE_BLOB ? sqlite3_value_bytes(argv[0])
                       : kind == "R"                      ? (text.size() + 1) / 2
                                                          : static_cast<long long>(text.size());
    if (kind == "CH")  // UTF-8 characters: every byte that does not continue one
      actual = std::count_if(text.begin(), text.end(),
                             [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; });
    if (actual > size)
      message = ContextOf(ctx).release == "19" ? "ORA-12899: value too large for column " + where +
                                                     " (actual: " + std::to_string(actual) +
                                                     ", maximum: " + std::to_string(size) + ")"
                                               : "ORA-01401: inserted value too large for column";
  } else if (kind == "N") {
    std::optional<double> number;
    if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
      number = sqlite3_value_double(argv[0]);
    else
      number = ParseNumber(TextArg(argv[0]));
    if (!number)
      message = "ORA-01722: invalid number";
    else if (precision > 0) {
      const double scaled = std::round(std::fabs(*number) * std::pow(10.0, scale));
      if (scaled >= std::pow(10.0, precision))
        message = "ORA-01438: value larger than specified precision allowed for this column";
    }
  } else if (kind == "D" && !(type == SQLITE_TEXT && SessionDate(ctx, TextArg(argv[0])))) {
    message = "ORA-01861: literal does not match format string";
  } else if (kind.size() == 1 && std::string("TZLYSFB").find(kind[0]) != std::string::npos) {
    ConvertStoredValue(ctx, argv[0], kind[0], precision, scale, message);
  }
  if (!message.empty()) {
    ResultOraError(ctx, message.c_str());
    return;
  }
  sqlite3_result_int(ctx, 1);
}

// The right operand of "/": ORA-01476 when it is zero.
void Divisor(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
    sqlite3_result_null(ctx);
    return;
  }
  const auto value = NumberArg(ctx, argv[0]);
  if (!value)
    return;
  if (*value == 0) {
    ResultOraError(ctx, "ORA-01476: divisor is equal to zero");
    return;
  }
  sqlite3_result_value(ctx, argv[0]);
}

const FunctionEntry kFunctions[] = {
    {"nvl", 2, Nvl, true},
    {"nvl2", 3, Nvl2, true},
    {"decode", -1, Decode, true},
    {"substr", 2, Substr, true},
    {"substr", 3, Substr, true},
    {"length", 1, Length, true},
    {"lengthb", 1, LengthB, true},
    {"substrb", 2, SubstrB, true},
    {"substrb", 3, SubstrB, true},
    {"instrb", 2, InstrB, true},
    {"instrb", 3, InstrB, true},
    {"instrb", 4, InstrB, true},
    {"reverse", 1, Reverse, true},
    {"rtrim", 1, RTrim, true},
    {"rtrim", 2, RTrim, true},
    {"ltrim", 1, LTrim, true},
    {"ltrim", 2, LTrim, true},
    {"trim", 1, BothTrim, true},
    {"trim", 2, BothTrim, true},
    {"lpad", 2, LPad, true},
    {"lpad", 3, LPad, true},
    {"rpad", 2, RPad, true},
    {"rpad", 3, RPad, true},
    {"instr", 2, Instr, true},
    {"instr", 3, Instr, true},
    {"instr", 4, Instr, true},
    {"replace", 2, Replace, true},
    {"replace", 3, Replace, true},
    {"ora_concat", -1, Concat, true},
    {"concat", 2, Concat, true},
    {"mod", 2, Mod, true},
    {"round", 1, Round, true},
    {"round", 2, Round, true},
    {"trunc", 1, Trunc, true},
    {"trunc", 2, Trunc, true},
    {"floor", 1, Floor, true},
    {"ceil", 1, Ceil, true},
    {"sign", 1, Sign, true},
    {"to_number", 1, ToNumber, true},
    {"to_char", 1, ToChar, false},
    {"to_char", 2, ToChar, true},
    // The national character set is AL16UTF16; its text is kept as UTF-8.
    {"to_nchar", 1, ToChar, false},
    {"to_nchar", 2, ToChar, true},
    {"translate", 3, Translate, true},
    {"to_date", 1, ToDate, false},
    {"to_date", 2, ToDate, true},
    {"ora_sysdate", 0, SysDate, false},
    {"ora_user", 0, User, false},
    {"ora_event_attribute", 1, EventAttribute, false},
    {"ora_server_error", 1, ServerErrorCode, false},
    {"ora_server_error_msg", 1, ServerErrorMessage, false},
    {"sys_context", 2, SysContext, false},
    {"sys_context", 3, SysContext, false},
    {"ora_nextval", 2, NextVal, false},
    {"ora_currval", 2, CurrVal, false},
    {"ora_interval_partition", 4, IntervalPartition, false},
    {"chr", 1, Chr, true},
    {"ascii", 1, Ascii, true},
    {"greatest", -1, Greatest, true},
    {"least", -1, Least, true},
    {"hextoraw", 1, HexToRaw, true},
    {"ora_check_value", 8, CheckValue, true},
    {"ora_divisor", 1, Divisor, true},
    {"ora_date_in", 1, DateIn, false},
    {"ora_is_internal_date", 1, IsInternalDate, true},
    {"ora_to_date_literal", 1, DateLiteral, true},
    {"rawtohex", 1, RawToHex, true},
    {"ora_object_attribute", 1, ObjectAttributeValue, true},
    {"bfilename", 2, BFileName, true},
    {"ora_rowid", 1, RowIdFunction, true},
    {"ora_connect_by_loop", 0, ConnectByLoop, false},
};

}  // namespace

const char* FixedUserEnvValue(const std::string& name) {
  static const struct {
    const char* name;
    const char* value;
  } values[] = {
      {"DB_DOMAIN", nullptr},
      {"INSTANCE", "1"},
      {"ISDBA", "FALSE"},
      {"LANG", "US"},
      {"LANGUAGE", "AMERICAN_AMERICA.AL32UTF8"},
      {"NLS_TERRITORY", "AMERICA"},
      {"NLS_CALENDAR", "GREGORIAN"},
      {"NLS_SORT", "BINARY"},
      {"HOST", "localhost"},
      {"SERVER_HOST", "localhost"},
      {"OS_USER", "oracle"},
      {"TERMINAL", "unknown"},
      {"IP_ADDRESS", "127.0.0.1"},
      {"NETWORK_PROTOCOL", "tcp"},
      {"AUTHENTICATION_METHOD", "PASSWORD"},
      {"CURRENT_EDITION_NAME", "ORA$BASE"},
      {"DATABASE_ROLE", "PRIMARY"},
  };
  for (const auto& value : values)
    if (name == value.name)
      return value.value != nullptr ? value.value : "";
  return nullptr;
}

bool HexToBytes(const std::string& hex, std::string& bytes) {
  auto nibble = [](char c) {
    if (c >= '0' && c <= '9')
      return c - '0';
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
  };
  // An odd count of digits reads as if led by a zero, as Oracle does.
  const std::string digits = hex.size() % 2 ? "0" + hex : hex;
  bytes.clear();
  bytes.reserve(digits.size() / 2);
  for (std::size_t i = 0; i < digits.size(); i += 2) {
    const int high = nibble(digits[i]), low = nibble(digits[i + 1]);
    if (high < 0 || low < 0)
      return false;
    bytes += static_cast<char>(high * 16 + low);
  }
  return true;
}

bool OracleTextOf(sqlite3_value* value, std::string& text) {
  switch (sqlite3_value_type(value)) {
    case SQLITE_NULL:
      text.clear();
      return false;
    case SQLITE_INTEGER:
      text = CanonicalIntegerText(sqlite3_value_int64(value));
      return true;
    case SQLITE_FLOAT:
      text = CanonicalNumberText(sqlite3_value_double(value));
      return true;
    default: {
      const unsigned char* raw = sqlite3_value_text(value);
      text.assign(raw ? reinterpret_cast<const char*>(raw) : "",
                  static_cast<std::size_t>(sqlite3_value_bytes(value)));
      return true;
    }
  }
}

void RegisterOracleFunctions(sqlite3* db, SqlFunctionContext* context) {
  RegisterDateTimeFunctions(db, context);
  RegisterQueryFunctions(db, context);
  RegisterLobFunctions(db, context);
  RegisterStoredFunctionCall(db, context);
  RegisterCalendarFunctions(db, context);
  RegisterRegexpFunctions(db, context);
  RegisterNumberFunctions(db, context);
  RegisterTextFunctions(db, context);
  RegisterMultisetFunctions(db, context);
  RegisterValueBytesFunctions(db, context);
  RegisterSessionFunctions(db, context);
  RegisterFunctions(db, context, kFunctions);
}

std::string TranslateText(const std::string& text, const std::string& from, const std::string& to) {
  const std::vector<std::string> fromUnits = Units(from, false);
  const std::vector<std::string> toUnits = Units(to, false);
  std::string out;
  for (const std::string& unit : Units(text, false)) {
    const auto at = std::find(fromUnits.begin(), fromUnits.end(), unit);
    if (at == fromUnits.end())
      out += unit;
    else if (static_cast<std::size_t>(at - fromUnits.begin()) < toUnits.size())
      out += toUnits[static_cast<std::size_t>(at - fromUnits.begin())];
  }
  return out;
}

}  // namespace sandbox
