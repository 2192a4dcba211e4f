// Character functions over Unicode text: UPPER, LOWER, INITCAP and their
// NLS_ forms, NCHR, ASCIISTR, UNISTR and SOUNDEX. Text is UTF-8; the
// national character set's UTF-16 shows in ASCIISTR and UNISTR escapes.
#include <optional>
#include <string>
#include <vector>

#include "sandbox/server/functions/OracleFunctions.h"
#include "sandbox/server/values/TextCase.h"
#include "sandbox/server/values/Utf8.h"

namespace sandbox {

namespace {

std::u32string Decode(const std::string& text) {
  std::u32string out;
  for (std::size_t i = 0, length = 0; i < text.size(); i += length)
    out += DecodeUtf8(text, i, length);
  return out;
}

// UPPER, LOWER and INITCAP, and NLS_UPPER, NLS_LOWER and NLS_INITCAP with
// their NLS_SORT argument.
void ChangeCase(sqlite3_context* ctx, int argc, sqlite3_value** argv, CaseChange change) {
  if (AnyNull(argc, argv))
    return sqlite3_result_null(ctx);
  const auto rules = argc > 1 ? ReadCaseRules(TextArg(argv[1])) : CaseRules::Binary;
  if (!rules)
    return ResultOraError(ctx, "ORA-12702: invalid NLS parameter string used in SQL function");
  ResultText(ctx, ChangeTextCase(TextArg(argv[0]), change, *rules));
}
void Upper(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  ChangeCase(ctx, argc, argv, CaseChange::Upper);
}
void Lower(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  ChangeCase(ctx, argc, argv, CaseChange::Lower);
}
void InitCap(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
  ChangeCase(ctx, argc, argv, CaseChange::Initial);
}

// NCHR(n): the character of code n in the national character set (UTF-16).
void Nchr(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
    return sqlite3_result_null(ctx);
  const auto code = NumberArg(ctx, argv[0]);
  if (!code)
    return;
  if (*code < 0 || *code > 0xFFFF || (*code >= 0xD800 && *code < 0xE000))
    return ResultOraError(ctx, "ORA-01428: argument is out of range");
  std::string out;
  AppendUtf8(out, static_cast<char32_t>(*code));
  // NCHR(0) is one NUL character, not an empty string.
  sqlite3_result_text(ctx, out.data(), static_cast<int>(out.size()), SQLITE_TRANSIENT);
}

std::string Hex4(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "\\%04X", value & 0xFFFF);
  return text;
}

// ASCIISTR(text): ASCII stays, a backslash and every other character become
// \XXXX, UTF-16 code units in hexadecimal.
void AsciiStr(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
    return sqlite3_result_null(ctx);
  std::string out;
  for (const char32_t c : Decode(TextArg(argv[0]))) {
    if (c < 0x80 && c != '\\')
      out += static_cast<char>(c);
    else if (c < 0x10000)
      out += Hex4(c);
    else
      out += Hex4(0xD800 + ((c - 0x10000) >> 10)) + Hex4(0xDC00 + ((c - 0x10000) & 0x3FF));
  }
  ResultText(ctx, out);
}

// UNISTR(text): \XXXX escapes (UTF-16, surrogate pairs joined) and \\.
void UniStr(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
    return sqlite3_result_null(ctx);
  const std::string text = TextArg(argv[0]);
  auto bad = [&] {
    ResultOraError(
        ctx, "ORA-30186: '\\' must be followed by four hexadecimal characters or another '\\'");
  };
  auto unit = [&](std::size_t at, unsigned& value) {
    if (at + 5 > text.size() || text[at] != '\\')
      return false;
    value = 0;
    for (std::size_t k = at + 1; k < at + 5; ++k) {
      const char c = text[k];
      if (!std::isxdigit(static_cast<unsigned char>(c)))
        return false;
      value = value * 16 + static_cast<unsigned>(std::isdigit(static_cast<unsigned char>(c))
                                                     ? c - '0'
                                                     : std::toupper(c) - 'A' + 10);
    }
    return true;
  };
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] != '\\') {
      out += text[i++];
      continue;
    }
    if (i + 1 < text.size() && text[i + 1] == '\\') {
      out += '\\';
      i += 2;
      continue;
    }
    unsigned high = 0, low = 0;
    if (!unit(i, high))
      return bad();
    i += 5;
    if (high >= 0xD800 && high < 0xDC00 && unit(i, low) && low >= 0xDC00 && low < 0xE000) {
      AppendUtf8(out, 0x10000 + ((high - 0xD800) << 10) + (low - 0xDC00));
      i += 5;
    } else {
      AppendUtf8(out, high);
    }
  }
  ResultText(ctx, out);
}

// SOUNDEX(text): the first letter and three digits of the consonants that
// follow, equal neighbours (also across H and W) written once.
void Soundex(sqlite3_context* ctx, int, sqlite3_value** argv) {
  if (sqlite3_value_type(argv[0]) == SQLITE_NULL)
    return sqlite3_result_null(ctx);
  static const char kCodes[] = "01230120022455012623010202";  // A..Z, 0 for vowels, H, W, Y
  std::string out;
  char previous = 0;
  for (const char raw : TextArg(argv[0])) {
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(raw)));
    if (c < 'A' || c > 'Z')
      continue;
    const char code = kCodes[c - 'A'];
    if (out.empty()) {
      out += c;
    } else if (code != '0' && code != previous) {
      out += code;
      if (out.size() == 4)
        break;
    }
    if (c != 'H' && c != 'W')
      previous = code;
  }
  if (out.empty())
    return sqlite3_result_null(ctx);
  out.resize(4, '0');
  ResultText(ctx, out);
}

}  // namespace

void RegisterTextFunctions(sqlite3* db, SqlFunctionContext* context) {
  static const FunctionEntry kFunctions[] = {
      {"upper", 1, Upper, true},         {"lower", 1, Lower, true},
      {"initcap", 1, InitCap, true},     {"nls_upper", 1, Upper, true},
      {"nls_upper", 2, Upper, true},     {"nls_lower", 1, Lower, true},
      {"nls_lower", 2, Lower, true},     {"nls_initcap", 1, InitCap, true},
      {"nls_initcap", 2, InitCap, true}, {"nchr", 1, Nchr, true},
      {"asciistr", 1, AsciiStr, true},   {"unistr", 1, UniStr, true},
      {"soundex", 1, Soundex, true},
  };
  RegisterFunctions(db, context, kFunctions);
}

}  // namespace sandbox
