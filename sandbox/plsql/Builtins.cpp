// The built-in SQL functions of PL/SQL.
#include "sandbox/plsql/Builtins.h"
#include "sandbox/server/values/Utf8.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <utility>

#include "sandbox/plsql/Conversions.h"
#include "sandbox/plsql/DateTime.h"
#include "sandbox/plsql/DbmsLob.h"
#include "sandbox/server/functions/OracleFunctions.h"
#include "sandbox/server/values/DateRounding.h"
#include "sandbox/server/values/NumberText.h"
#include "sandbox/server/values/TextCase.h"

namespace sandbox::plsql {

namespace {

const BuiltinInfo kBuiltins[] = {
    {"LENGTH", 1, 1, false},    {"SUBSTR", 2, 3, false},    {"INSTR", 2, 4, false},
    {"RTRIM", 1, 2, false},     {"LTRIM", 1, 2, false},     {"TRIM", 1, 1, false},
    {"RPAD", 2, 3, false},      {"LPAD", 2, 3, false},      {"UPPER", 1, 1, false},
    {"LOWER", 1, 1, false},     {"TO_CHAR", 1, 2, false},   {"TO_NUMBER", 1, 2, false},
    {"MOD", 2, 2, false},       {"NVL", 2, 2, false},       {"DECODE", 3, -1, false},
    {"REPLACE", 2, 3, false},   {"TRUNC", 1, 2, false},     {"ROUND", 1, 2, false},
    {"SQLCODE", 0, 0, true},    {"SQLERRM", 0, 1, true},    {"ABS", 1, 1, false},
    {"FLOOR", 1, 1, false},     {"CEIL", 1, 1, false},      {"CHR", 1, 1, false},
    {"ASCII", 1, 1, false},     {"GREATEST", 1, -1, false}, {"LEAST", 1, -1, false},
    {"NVL2", 3, 3, false},      {"SYSDATE", 0, 0, true},    {"USER", 0, 0, true},
    {"INSERTING", 0, 0, true},  {"UPDATING", 0, 1, true},   {"DELETING", 0, 0, true},
    {"TRANSLATE", 3, 3, false},
};

// The event attribute functions of system triggers.
const BuiltinInfo kEventAttributes[] = {
    {"ORA_SYSEVENT", 0, 0, true},          {"ORA_DICT_OBJ_NAME", 0, 0, true},
    {"ORA_DICT_OBJ_TYPE", 0, 0, true},     {"ORA_DICT_OBJ_OWNER", 0, 0, true},
    {"ORA_LOGIN_USER", 0, 0, true},        {"ORA_DATABASE_NAME", 0, 0, true},
    {"ORA_INSTANCE_NUM", 0, 0, true},      {"ORA_SERVER_ERROR", 1, 1, false},
    {"ORA_SERVER_ERROR_MSG", 1, 1, false}, {"ORA_SERVER_ERROR_DEPTH", 0, 0, true},
    {"ORA_IS_SERVERERROR", 1, 1, false},
};

bool AnyNull(const std::vector<PlValue>& args) {
  for (const PlValue& a : args) {
    if (a.IsNull())
      return true;
  }
  return false;
}

long long IntegerOf(const PlValue& v) {
  const long double n = std::trunc(NumberOf(v));
  if (std::fabs(n) > 9.0e18L)
    throw ValueError("number precision too large");
  return static_cast<long long>(n);
}

// LPAD and RPAD to width characters.
std::string Pad(const std::string& text, long long width, const std::string& fill, bool left) {
  const auto target = static_cast<size_t>(width);
  const std::vector<size_t> starts = CharacterStarts(text);
  if (starts.size() - 1 >= target)
    return text.substr(0, starts[target]);
  const std::vector<size_t> fillStarts = CharacterStarts(fill);
  const size_t fillLength = fillStarts.size() - 1;
  if (fillLength == 0)
    return {};  // a NULL fill makes the result NULL
  std::string padding;
  for (size_t i = 0, needed = target - (starts.size() - 1); i < needed; ++i) {
    const size_t c = i % fillLength;
    padding += fill.substr(fillStarts[c], fillStarts[c + 1] - fillStarts[c]);
  }
  return left ? padding + text : text + padding;
}

std::string TrimSet(const std::string& text, const std::string& set, bool leading, bool trailing) {
  size_t begin = 0, end = text.size();
  if (leading) {
    while (begin < end && set.find(text[begin]) != std::string::npos)
      ++begin;
  }
  if (trailing) {
    while (end > begin && set.find(text[end - 1]) != std::string::npos)
      --end;
  }
  return text.substr(begin, end - begin);
}

long long Instr(const std::string& text, const std::string& sought, long long start,
                long long occurrence) {
  if (start == 0 || occurrence <= 0)
    return 0;
  const auto length = static_cast<long long>(text.size());
  long long found = 0;
  if (start > 0) {
    for (long long i = start - 1; i + static_cast<long long>(sought.size()) <= length; ++i) {
      if (text.compare(static_cast<size_t>(i), sought.size(), sought) == 0 &&
          ++found == occurrence) {
        return i + 1;
      }
    }
  } else {
    for (long long i = length + start; i >= 0; --i) {
      if (i + static_cast<long long>(sought.size()) <= length &&
          text.compare(static_cast<size_t>(i), sought.size(), sought) == 0 &&
          ++found == occurrence) {
        return i + 1;
      }
    }
  }
  return 0;
}

long double RoundTo(long double n, long long places, bool truncate) {
  const long double factor = std::pow(10.0L, static_cast<long double>(places));
  const long double scaled = n * factor;
  // Oracle rounds halves away from zero; std::round does the same.
  return (truncate ? std::trunc(scaled) : std::round(scaled)) / factor;
}

// An event attribute function by the name after "ORA_": NULL outside a
// system trigger, apart from the session's own user, database and instance.
PlValue EventAttribute(const std::string& name, Session& session) {
  if (name == "LOGIN_USER")
    return PlValue::Text(session.UserName());
  if (name == "DATABASE_NAME")
    return PlValue::Text(session.GetDatabase().Name());
  if (name == "INSTANCE_NUM")
    return PlValue::Number(1);
  const SystemEvent* event = session.FiringSystemEvent();
  if (event == nullptr)
    return {};
  const std::string& value = name == "SYSEVENT"         ? event->name
                             : name == "DICT_OBJ_TYPE"  ? event->objectType
                             : name == "DICT_OBJ_OWNER" ? event->objectOwner
                                                        : event->objectName;
  return value.empty() ? PlValue() : PlValue::Text(value);
}

// The error stack of a SERVERERROR trigger's event: ORA_SERVER_ERROR(n),
// ORA_SERVER_ERROR_MSG(n), ORA_SERVER_ERROR_DEPTH and ORA_IS_SERVERERROR(code);
// an empty stack outside one.
PlValue ServerErrorAttribute(const std::string& name, const std::vector<PlValue>& args,
                             const Session& session) {
  const SystemEvent* event = session.FiringSystemEvent();
  const std::vector<SystemEvent::Error> none;
  const auto& errors = event != nullptr ? event->errors : none;
  if (name == "ORA_SERVER_ERROR_DEPTH")
    return PlValue::Number(static_cast<long double>(errors.size()));
  if (args[0].IsNull())
    return name == "ORA_IS_SERVERERROR" ? PlValue::Boolean(false) : PlValue();
  const long long number = IntegerOf(args[0]);
  if (name == "ORA_IS_SERVERERROR")
    return PlValue::Boolean(
        std::any_of(errors.begin(), errors.end(), [&](const auto& e) { return e.code == number; }));
  const bool found = number >= 1 && number <= static_cast<long long>(errors.size());
  const SystemEvent::Error* at = found ? &errors[static_cast<size_t>(number - 1)] : nullptr;
  if (name == "ORA_SERVER_ERROR")
    return PlValue::Number(at != nullptr ? at->code : 0);
  return at != nullptr ? PlValue::Text(at->message) : PlValue();
}

// SQLERRM(code): the message of an error code as SQLCODE gives it.
std::string MessageOf(long long code) {
  if (code == 0)
    return "ORA-0000: normal, successful completion";
  if (code == 1)
    return "User-Defined Exception";
  if (code == 100)
    code = -1403;
  char buffer[96];
  if (code > 0) {
    std::snprintf(buffer, sizeof buffer, "-%lld: non-ORACLE exception ", code);
    return buffer;
  }
  // Messages of errors that statements give, with their substitutions
  // empty, as SQLERRM(-SQL%BULK_EXCEPTIONS(i).ERROR_CODE) shows them.
  static const std::pair<long long, const char*> kStatementErrors[] = {
      {1, "ORA-00001: unique constraint (.) violated"},
      {1400, "ORA-01400: cannot insert NULL into ()"},
      {1407, "ORA-01407: cannot update () to NULL"},
      {1438, "ORA-01438: value larger than specified precision allowed for this column"},
      {2290, "ORA-02290: check constraint (.) violated"},
      {2291, "ORA-02291: integrity constraint (.) violated - parent key not found"},
      {2292, "ORA-02292: integrity constraint (.) violated - child record found"},
      {12899, "ORA-12899: value too large for column  (actual: , maximum: )"},
      {24381, "ORA-24381: error(s) in array DML"}};
  for (const auto& [known, text] : kStatementErrors) {
    if (-code == known)
      return text;
  }
  if (code >= -999999) {
    const PlError known = PredefinedError(static_cast<int>(-code));
    if (!known.message.empty())
      return known.SqlErrm();
  }
  if (code <= -20000 && code >= -20999) {
    std::snprintf(buffer, sizeof buffer, "ORA%06lld: ", code);
  } else {
    std::snprintf(buffer, sizeof buffer,
                  "ORA%06lld: Message %lld not found;  product=RDBMS; facility=ORA", code, -code);
  }
  return buffer;
}

}  // namespace

const BuiltinInfo* FindBuiltin(const std::string& name) {
  for (const BuiltinInfo& b : kBuiltins) {
    if (name == b.name)
      return &b;
  }
  for (const BuiltinInfo& b : kEventAttributes) {
    if (name == b.name)
      return &b;
  }
  return FindLobBuiltin(name);
}

PlValue CallBuiltin(const std::string& name, const std::vector<PlValue>& args,
                    const BuiltinContext& context) {
  const Session& session = context.session;
  auto text = [&](size_t i) { return TextOf(args[i], session); };
  auto number = [&](size_t i) { return NumberOf(args[i]); };

  if (name == "SQLCODE") {
    return PlValue::Number(context.handledError ? context.handledError->SqlCode() : 0);
  }
  if (name == "SQLERRM") {
    if (args.empty()) {
      return PlValue::Text(context.handledError ? context.handledError->SqlErrm()
                                                : "ORA-0000: normal, successful completion");
    }
    if (args[0].IsNull())
      return {};
    return PlValue::Text(MessageOf(IntegerOf(args[0])));
  }
  if (name == "SYSDATE")
    return PlValue::Date(CurrentDate());
  if (name == "TO_CLOB" || name == "TO_NCLOB")
    return args[0].IsNull() ? PlValue() : PlValue::Text(text(0));
  if (name == "TO_BLOB" || name == "HEXTORAW")
    return HexToRaw(args[0]);
  if (name == "USER")
    return PlValue::Text(session.UserName());
  // The trigger predicates: FALSE outside a trigger, as on Oracle.
  if (name == "INSERTING" || name == "DELETING")
    return PlValue::Boolean(session.TriggerFiredBy(name.substr(0, 6), ""));
  if (name == "UPDATING")
    return PlValue::Boolean(!(args.size() == 1 && args[0].IsNull()) &&
                            session.TriggerFiredBy("UPDATE", args.empty() ? "" : text(0)));
  if (name.rfind("ORA_SERVER_ERROR", 0) == 0 || name == "ORA_IS_SERVERERROR")
    return ServerErrorAttribute(name, args, session);
  if (name.rfind("ORA_", 0) == 0)
    return EventAttribute(name.substr(4), context.session);
  if (name == "TRANSLATE")
    return AnyNull(args) ? PlValue() : PlValue::Text(TranslateText(text(0), text(1), text(2)));
  if (name == "NVL")
    return args[0].IsNull() ? args[1] : args[0];
  if (name == "NVL2")
    return args[0].IsNull() ? args[2] : args[1];
  if (name == "DECODE") {
    // DECODE treats two NULLs as equal, unlike "=".
    for (size_t i = 1; i + 1 < args.size(); i += 2) {
      const bool bothNull = args[0].IsNull() && args[i].IsNull();
      if (bothNull ||
          (!args[0].IsNull() && !args[i].IsNull() && CompareValues(args[0], args[i]) == 0)) {
        return args[i + 1];
      }
    }
    return args.size() % 2 == 0 ? args.back() : PlValue();
  }
  if (name == "REPLACE") {
    if (args[0].IsNull())
      return {};
    const std::string source = text(0);
    if (args[1].IsNull())
      return PlValue::Text(source);
    const std::string from = text(1);
    const std::string to = args.size() > 2 && !args[2].IsNull() ? text(2) : "";
    std::string out;
    for (size_t i = 0; i < source.size();) {
      if (source.compare(i, from.size(), from) == 0) {
        out += to;
        i += from.size();
      } else {
        out += source[i++];
      }
    }
    return PlValue::Text(out);
  }
  if (AnyNull(args))
    return {};
  if (name == "LENGTH")
    return PlValue::Number(static_cast<long double>(CharacterStarts(text(0)).size() - 1));
  if (name == "UPPER" || name == "LOWER")
    return PlValue::Text(
        sandbox::ChangeTextCase(
            text(0), name == "UPPER" ? sandbox::CaseChange::Upper : sandbox::CaseChange::Lower),
        args[0].fixedChar());
  if (name == "SUBSTR") {
    const std::string s = text(0);
    const std::vector<size_t> starts = CharacterStarts(s);
    long long start = IntegerOf(args[1]);
    const auto length = static_cast<long long>(starts.size() - 1);
    if (start == 0)
      start = 1;
    if (start < 0)
      start += length + 1;
    if (start < 1 || start > length)
      return {};
    long long count = length - start + 1;
    if (args.size() > 2) {
      const long long wanted = IntegerOf(args[2]);
      if (wanted < 1)
        return {};
      count = std::min(count, wanted);
    }
    const size_t begin = starts[static_cast<size_t>(start - 1)];
    return PlValue::Text(s.substr(begin, starts[static_cast<size_t>(start - 1 + count)] - begin));
  }
  if (name == "INSTR") {
    const long long start = args.size() > 2 ? IntegerOf(args[2]) : 1;
    const long long occurrence = args.size() > 3 ? IntegerOf(args[3]) : 1;
    if (occurrence <= 0) {
      throw MakeError(1428, "argument '" + std::to_string(occurrence) + "' is out of range");
    }
    // The search runs over bytes from the byte where the start character
    // begins; a match of whole characters begins on a character.
    const std::string s = text(0);
    const std::vector<size_t> starts = CharacterStarts(s);
    const auto length = static_cast<long long>(starts.size() - 1);
    const long long character = start < 0 ? length + start + 1 : start;
    if (start == 0 || character < 1 || character > length)
      return PlValue::Number(0);
    const auto byte = static_cast<long long>(starts[static_cast<size_t>(character - 1)]) + 1;
    const long long byteStart = start < 0 ? byte - static_cast<long long>(s.size()) - 1 : byte;
    const long long found = Instr(s, text(1), byteStart, occurrence);
    if (found == 0)
      return PlValue::Number(0);
    const auto at = std::lower_bound(starts.begin(), starts.end(), static_cast<size_t>(found - 1));
    return PlValue::Number(static_cast<long double>(at - starts.begin() + 1));
  }
  if (name == "RTRIM" || name == "LTRIM") {
    const std::string set = args.size() > 1 ? text(1) : " ";
    return PlValue::Text(TrimSet(text(0), set, name == "LTRIM", name == "RTRIM"));
  }
  if (name == "TRIM")
    return PlValue::Text(TrimSet(text(0), " ", true, true));
  if (name == "RPAD" || name == "LPAD") {
    const long long width = IntegerOf(args[1]);
    if (width <= 0)
      return {};
    const std::string fill = args.size() > 2 ? text(2) : " ";
    return PlValue::Text(Pad(text(0), width, fill, name == "LPAD"));
  }
  if (name == "TO_CHAR") {
    if (args.size() == 1)
      return PlValue::Text(text(0));
    const std::string format = text(1);
    if (args[0].kind() == PlValue::Kind::Date) {
      std::string out;
      if (!FormatDate(args[0].text(), format, out)) {
        throw MakeError(1821, "date format not recognized");
      }
      return PlValue::Text(out);
    }
    // The number models are SQL's (values/NumberText).
    const auto formatted = sandbox::FormatNumber(static_cast<double>(number(0)), format);
    if (!formatted)
      throw ValueError("invalid number format model");
    return PlValue::Text(*formatted);
  }
  if (name == "TO_NUMBER") {
    if (args.size() == 1)
      return PlValue::Number(number(0));
    std::string s = text(0);
    std::string cleaned;
    for (char c : s) {
      if (c != ',' && c != '$' && c != ' ')
        cleaned += c;
    }
    return PlValue::Number(NumberOf(PlValue::Text(cleaned)));
  }
  if (name == "MOD") {
    const long double m = number(0), n = number(1);
    return PlValue::Number(n == 0 ? m : std::fmod(m, n));
  }
  if (name == "TRUNC" || name == "ROUND") {
    if (args[0].kind() == PlValue::Kind::Date) {
      const auto date = DateParts::FromIso(args[0].text());
      const auto result =
          date ? RoundDate(*date, args.size() > 1 ? text(1) : "DD", name == "ROUND") : std::nullopt;
      if (!result)
        throw MakeError(1821, "date format not recognized");
      return PlValue::Date(result->ToIso());
    }
    const long long places = args.size() > 1 ? IntegerOf(args[1]) : 0;
    return PlValue::Number(RoundTo(number(0), places, name == "TRUNC"));
  }
  if (name == "ABS")
    return PlValue::Number(std::fabs(number(0)));
  if (name == "FLOOR")
    return PlValue::Number(std::floor(number(0)));
  if (name == "CEIL")
    return PlValue::Number(std::ceil(number(0)));
  if (name == "CHR")
    return PlValue::Text(std::string(1, static_cast<char>(IntegerOf(args[0]) & 0xFF)));
  if (name == "ASCII") {
    return PlValue::Number(static_cast<unsigned char>(text(0)[0]));
  }
  if (name == "GREATEST" || name == "LEAST") {
    PlValue best = args[0];
    for (size_t i = 1; i < args.size(); ++i) {
      const int c = CompareValues(args[i], best);
      if ((name == "GREATEST" && c > 0) || (name == "LEAST" && c < 0))
        best = args[i];
    }
    return best;
  }
  throw MakeError(6550, "PLS-00201: identifier '" + name + "' must be declared");
}

}  // namespace sandbox::plsql
