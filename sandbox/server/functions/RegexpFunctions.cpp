// REGEXP_LIKE, REGEXP_REPLACE, REGEXP_SUBSTR, REGEXP_INSTR and REGEXP_COUNT
// over PCRE2. Positions count UTF-8 characters; a statement compiles each
// pattern once (SQLite keeps it with the pattern argument).
#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <cmath>
#include <memory>
#include <optional>
#include <string>

#include "sandbox/server/functions/OracleFunctions.h"
#include "sandbox/server/functions/RegexpPattern.h"
#include "sandbox/server/values/Utf8.h"

namespace sandbox {

namespace {

struct CodeDeleter {
  void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct MatchDataDeleter {
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};

// A compiled pattern with the text and match parameter it was made from.
struct CompiledPattern {
  std::string pattern;
  std::string parameter;
  std::unique_ptr<pcre2_code, CodeDeleter> code;
  std::unique_ptr<pcre2_match_data, MatchDataDeleter> data;
};
using SharedPattern = std::shared_ptr<CompiledPattern>;

void DeleteCached(void* cached) {
  std::unique_ptr<SharedPattern> owned(static_cast<SharedPattern*>(cached));
}

// The match parameter's options: i, c, n, m and x; the last of i and c wins.
// ORA-01760 for any other letter.
bool ReadParameter(sqlite3_context* ctx, const std::string& text, uint32_t& options,
                   bool& ignoreWhitespace) {
  options = PCRE2_UTF | PCRE2_UCP | PCRE2_MATCH_INVALID_UTF | PCRE2_DOLLAR_ENDONLY;
  ignoreWhitespace = false;
  for (char c : text) {
    switch (c) {
      case 'i':
        options |= PCRE2_CASELESS;
        break;
      case 'c':
        options &= ~PCRE2_CASELESS;
        break;
      case 'n':
        options |= PCRE2_DOTALL;
        break;
      case 'm':
        options |= PCRE2_MULTILINE;
        options &= ~PCRE2_DOLLAR_ENDONLY;
        break;
      case 'x':
        ignoreWhitespace = true;
        break;
      default:
        ResultOraError(ctx, "ORA-01760: illegal argument for function");
        return false;
    }
  }
  return true;
}

// The pattern of argument index, compiled with parameter; null after an error.
SharedPattern PatternOf(sqlite3_context* ctx, sqlite3_value** argv, int index,
                        const std::string& parameter) {
  const std::string pattern = TextArg(argv[index]);
  if (auto* cached = static_cast<SharedPattern*>(sqlite3_get_auxdata(ctx, index));
      cached != nullptr && (*cached)->pattern == pattern && (*cached)->parameter == parameter)
    return *cached;
  uint32_t options = 0;
  bool ignoreWhitespace = false;
  if (!ReadParameter(ctx, parameter, options, ignoreWhitespace))
    return nullptr;
  const RegexpTranslation translated = TranslateRegexpPattern(pattern, ignoreWhitespace);
  if (translated.errorCode != 0) {
    ResultOraError(ctx, RegexpErrorMessage(translated.errorCode));
    return nullptr;
  }
  int error = 0;
  PCRE2_SIZE offset = 0;
  auto compiled = std::make_shared<CompiledPattern>();
  compiled->pattern = pattern;
  compiled->parameter = parameter;
  compiled->code.reset(pcre2_compile(reinterpret_cast<PCRE2_SPTR>(translated.pattern.data()),
                                     translated.pattern.size(), options, &error, &offset, nullptr));
  if (!compiled->code) {
    ResultOraError(ctx, RegexpErrorMessage(error == PCRE2_ERROR_MISSING_SQUARE_BRACKET ? 12726
                                           : error == PCRE2_ERROR_PATTERN_TOO_LARGE ||
                                                   error == PCRE2_ERROR_PARENTHESES_NEST_TOO_DEEP
                                               ? 12733
                                               : 12725));
    return nullptr;
  }
  compiled->data.reset(pcre2_match_data_create_from_pattern(compiled->code.get(), nullptr));
  if (!compiled->data) {
    sqlite3_result_error_nomem(ctx);
    return nullptr;
  }
  // SQLite owns the cached copy and may drop it at once; this call keeps its own.
  sqlite3_set_auxdata(ctx, index, std::make_unique<SharedPattern>(compiled).release(),
                      DeleteCached);
  return compiled;
}

long long CharacterAt(const std::vector<std::size_t>& starts, std::size_t byte) {
  return static_cast<long long>(std::lower_bound(starts.begin(), starts.end(), byte) -
                                starts.begin());
}

// One match: byte ranges of the whole match (0) and its groups.
struct Match {
  std::size_t begin = 0, end = 0;
  const PCRE2_SIZE* groups = nullptr;
  int groupCount = 0;  // groups set in this match, the whole match included

  bool Group(int n, std::size_t& from, std::size_t& to) const {
    if (n >= groupCount || groups[2 * n] == PCRE2_UNSET)
      return false;
    from = groups[2 * n];
    to = groups[2 * n + 1];
    return true;
  }
};

// Walks the matches of a pattern over a text from a byte offset; after an
// empty match the next search starts one character further.
class Matches {
 public:
  Matches(const CompiledPattern& pattern, const std::string& text,
          const std::vector<std::size_t>& starts, std::size_t from)
      : pattern_(pattern), text_(text), starts_(starts), from_(from) {}

  bool Next(Match& match) {
    if (from_ > text_.size())
      return false;
    const int found = pcre2_match(pattern_.code.get(), reinterpret_cast<PCRE2_SPTR>(text_.data()),
                                  text_.size(), from_, 0, pattern_.data.get(), nullptr);
    if (found <= 0)
      return false;
    const PCRE2_SIZE* groups = pcre2_get_ovector_pointer(pattern_.data.get());
    match = {groups[0], groups[1], groups, found};
    if (match.end > match.begin) {
      from_ = match.end;
    } else {
      const long long next = CharacterAt(starts_, match.end) + 1;
      from_ = next < static_cast<long long>(starts_.size())
                  ? starts_[static_cast<std::size_t>(next)]
                  : text_.size() + 1;
    }
    return true;
  }

 private:
  const CompiledPattern& pattern_;
  const std::string& text_;
  const std::vector<std::size_t>& starts_;
  std::size_t from_;
};

bool IsNull(sqlite3_value* value) {
  return sqlite3_value_type(value) == SQLITE_NULL;
}

// A whole-number argument with its range: ORA-01428 outside it.
std::optional<long long> CountArg(sqlite3_context* ctx, sqlite3_value* value, long long lowest,
                                  long long highest = 1LL << 40) {
  const auto number = NumberArg(ctx, value);
  if (!number)
    return std::nullopt;
  const double whole = std::trunc(*number);
  if (whole < static_cast<double>(lowest) || whole > static_cast<double>(highest)) {
    const std::string message = "ORA-01428: argument '" + TextArg(value) + "' is out of range";
    ResultOraError(ctx, message.c_str());
    return std::nullopt;
  }
  return static_cast<long long>(whole);
}

// The source, pattern, start position and compiled pattern of a call.
struct Call {
  std::string text;
  std::vector<std::size_t> starts;
  std::size_t from = 0;  // byte offset of the start position
  SharedPattern pattern;
};

// Reads the arguments every REGEXP_ function shares; false when the result is
// set already (NULL or an error). positionAt and parameterAt are argument
// indexes, -1 when absent.
bool ReadCall(sqlite3_context* ctx, int argc, sqlite3_value** argv, int positionAt, int parameterAt,
              Call& call) {
  call.text = TextArg(argv[0]);
  call.starts = CharacterStarts(call.text);
  if (positionAt >= 0 && positionAt < argc) {
    const auto position = CountArg(ctx, argv[positionAt], 1);
    if (!position)
      return false;
    const auto index = static_cast<std::size_t>(*position - 1);
    call.from = index < call.starts.size() ? call.starts[index] : call.text.size() + 1;
  }
  const std::string parameter =
      parameterAt >= 0 && parameterAt < argc ? TextArg(argv[parameterAt]) : "";
  call.pattern = PatternOf(ctx, argv, 1, parameter);
  return call.pattern != nullptr;
}

bool NullSourceOrPattern(sqlite3_context* ctx, sqlite3_value** argv) {
  if (IsNull(argv[0]) || IsNull(argv[1])) {
    sqlite3_result_null(ctx);
    return true;
  }
  return false;
}

void RegexpLike(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  Call call;
  if (NullSourceOrPattern(ctx, argv) || !ReadCall(ctx, argc, argv, -1, 2, call))
    return;
  Match match;
  sqlite3_result_int(ctx, Matches(*call.pattern, call.text, call.starts, 0).Next(match) ? 1 : 0);
}

// The nth match (from 1) at or after the call's position.
bool NthMatch(const Call& call, long long occurrence, Match& match) {
  Matches matches(*call.pattern, call.text, call.starts, call.from);
  for (long long k = 0; k < occurrence; ++k)
    if (!matches.Next(match))
      return false;
  return true;
}

// REGEXP_REPLACE(source, pattern [, replacement [, position [, occurrence
// [, parameter]]]]): \1 to \9 in the replacement stand for the groups; a NULL
// pattern leaves the source as it is.
void RegexpReplace(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (IsNull(argv[0])) {
    sqlite3_result_null(ctx);
    return;
  }
  if (IsNull(argv[1])) {
    sqlite3_result_value(ctx, argv[0]);
    return;
  }
  Call call;
  if (!ReadCall(ctx, argc, argv, 3, 5, call))
    return;
  long long occurrence = 0;
  if (argc > 4) {
    const auto n = CountArg(ctx, argv[4], 0);
    if (!n)
      return;
    occurrence = *n;
  }
  const std::string replacement = argc > 2 ? TextArg(argv[2]) : "";
  std::string out = call.text.substr(0, std::min(call.from, call.text.size()));
  std::size_t copied = out.size();
  Matches matches(*call.pattern, call.text, call.starts, call.from);
  Match match;
  for (long long k = 1; matches.Next(match); ++k) {
    if (occurrence != 0 && k < occurrence)
      continue;
    out.append(call.text, copied, match.begin - copied);
    for (std::size_t i = 0; i < replacement.size(); ++i) {
      const char c = replacement[i];
      if (c == '\\' && i + 1 < replacement.size() && replacement[i + 1] >= '0' &&
          replacement[i + 1] <= '9') {
        std::size_t from = 0, to = 0;
        if (match.Group(replacement[++i] - '0', from, to))
          out.append(call.text, from, to - from);
      } else if (c == '\\' && i + 1 < replacement.size() && replacement[i + 1] == '\\') {
        out += '\\';
        ++i;
      } else {
        out += c;
      }
    }
    copied = match.end;
    if (occurrence != 0)
      break;
  }
  if (copied < call.text.size())
    out.append(call.text, copied);
  ResultText(ctx, out);
}

// REGEXP_SUBSTR(source, pattern [, position [, occurrence [, parameter
// [, group]]]])
void RegexpSubstr(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (NullSourceOrPattern(ctx, argv))
    return;
  Call call;
  if (!ReadCall(ctx, argc, argv, 2, 4, call))
    return;
  const auto occurrence = argc > 3 ? CountArg(ctx, argv[3], 1) : 1;
  const auto group = argc > 5 ? CountArg(ctx, argv[5], 0, 9) : 0;
  if (!occurrence || !group)
    return;
  Match match;
  std::size_t from = 0, to = 0;
  if (!NthMatch(call, *occurrence, match) || !match.Group(static_cast<int>(*group), from, to))
    sqlite3_result_null(ctx);
  else
    ResultText(ctx, call.text.substr(from, to - from));
}

// REGEXP_INSTR(source, pattern [, position [, occurrence [, return_option
// [, parameter [, group]]]]]): the character position of the match, or of
// the character after it for return option 1; 0 when there is none.
void RegexpInstr(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (NullSourceOrPattern(ctx, argv))
    return;
  Call call;
  if (!ReadCall(ctx, argc, argv, 2, 5, call))
    return;
  const auto occurrence = argc > 3 ? CountArg(ctx, argv[3], 1) : 1;
  const auto after = argc > 4 ? CountArg(ctx, argv[4], 0) : 0;
  const auto group = argc > 6 ? CountArg(ctx, argv[6], 0, 9) : 0;
  if (!occurrence || !after || !group)
    return;
  Match match;
  std::size_t from = 0, to = 0;
  if (!NthMatch(call, *occurrence, match) || !match.Group(static_cast<int>(*group), from, to)) {
    sqlite3_result_int(ctx, 0);
    return;
  }
  sqlite3_result_int64(ctx, CharacterAt(call.starts, *after > 0 ? to : from) + 1);
}

// REGEXP_COUNT(source, pattern [, position [, parameter]])
void RegexpCount(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  if (NullSourceOrPattern(ctx, argv))
    return;
  Call call;
  if (!ReadCall(ctx, argc, argv, 2, 3, call))
    return;
  Matches matches(*call.pattern, call.text, call.starts, call.from);
  Match match;
  long long count = 0;
  while (matches.Next(match))
    ++count;
  sqlite3_result_int64(ctx, count);
}

}  // namespace

void RegisterRegexpFunctions(sqlite3* db, SqlFunctionContext* context) {
  static const struct {
    const char* name;
    int lowest, highest;
    void (*function)(sqlite3_context*, int, sqlite3_value**);
  } kFunctions[] = {
      {"regexp_like", 2, 3, RegexpLike},     {"regexp_replace", 2, 6, RegexpReplace},
      {"regexp_substr", 2, 6, RegexpSubstr}, {"regexp_instr", 2, 7, RegexpInstr},
      {"regexp_count", 2, 4, RegexpCount},
  };
  for (const auto& entry : kFunctions)
    for (int count = entry.lowest; count <= entry.highest; ++count)
      sqlite3_create_function_v2(db, entry.name, count, SQLITE_UTF8 | SQLITE_DETERMINISTIC, context,
                                 entry.function, nullptr, nullptr, nullptr);
}

}  // namespace sandbox
