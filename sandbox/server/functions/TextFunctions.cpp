// Character functions over Unicode text: UPPER, LOWER, INITCAP and their
// NLS_ forms, NCHR, ASCIISTR, UNISTR and SOUNDEX. Text is UTF-8; the
// national character set's UTF-16 shows in ASCIISTR and UNISTR escapes.
#include <locale.h>

#include <clocale>
#include <cwctype>
#include <optional>
#include <string>
#include <vector>

#include "sandbox/server/functions/OracleFunctions.h"
#include "sandbox/server/values/Utf8.h"

namespace sandbox {

namespace {

std::u32string Decode(const std::string& text) {
  std::u32string out;
  for (std::size_t i = 0, length = 0; i < text.size(); i += length)
    out += DecodeUtf8(text, i, length);
  return out;
}

// Case mapping by Unicode's simple rules, whatever the process's locale.
locale_t UnicodeLocale() {
  static const locale_t locale =
      newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
  return locale;
}

char32_t ToUpper(char32_t c) {
  if (c < 0x80 || UnicodeLocale() == nullptr)
    return c >= 'a' && c <= 'z' ? c - 32 : c;
  return static_cast<char32_t>(towupper_l(static_cast<wint_t>(c), UnicodeLocale()));
}
char32_t ToLower(char32_t c) {
  if (c < 0x80 || UnicodeLocale() == nullptr)
    return c >= 'A' && c <= 'Z' ? c + 32 : c;
  return static_cast<char32_t>(towlower_l(static_cast<wint_t>(c), UnicodeLocale()));
}
bool IsAlphanumeric(char32_t c) {
  if (c < 0x80 || UnicodeLocale() == nullptr)
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
  return iswalnum_l(static_cast<wint_t>(c), UnicodeLocale()) != 0;
}

enum class CaseChange { Upper, Lower, Initial };

// What an NLS_SORT changes in case mapping: German's sharp s (upper case SS),
// Dutch's IJ (capitalized together) and Turkish's dotted and dotless i.
enum class CaseRules { Binary, German, Dutch, Turkish };

// 'NLS_SORT = name', blanks and case free; nullopt for another parameter
// (ORA-12702). Sorts without case rules of their own map as BINARY does.
std::optional<CaseRules> ReadCaseRules(const std::string& text) {
  std::string compact;
  for (char c : text)
    if (c != ' ')
      compact += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (compact.rfind("NLS_SORT=", 0) != 0)
    return std::nullopt;
  const std::string sort = compact.substr(9);
  auto named = [&](const char* name) {
    return sort.rfind(name, 0) == 0 || sort.rfind(std::string("X") + name, 0) == 0;
  };
  return named("GERMAN")                            ? CaseRules::German
         : named("DUTCH")                           ? CaseRules::Dutch
         : named("TURKISH") || named("AZERBAIJANI") ? CaseRules::Turkish
                                                    : CaseRules::Binary;
}

void AppendCased(std::string& out, char32_t c, bool upper, CaseRules rules) {
  if (rules == CaseRules::Turkish && (c == 'i' || c == 'I' || c == 0x130 || c == 0x131)) {
    const bool dotted = c == 'i' || c == 0x130;
    AppendUtf8(out, upper ? (dotted ? 0x130 : 'I') : (dotted ? 'i' : 0x131));
  } else if (rules == CaseRules::German && upper && c == 0xDF) {
    out += "SS";
  } else {
    AppendUtf8(out, upper ? ToUpper(c) : ToLower(c));
  }
}

// UPPER, LOWER and INITCAP, and NLS_UPPER, NLS_LOWER and NLS_INITCAP with
// their NLS_SORT argument.
void ChangeCase(sqlite3_context* ctx, int argc, sqlite3_value** argv, CaseChange change) {
  if (AnyNull(argc, argv))
    return sqlite3_result_null(ctx);
  const auto rules = argc > 1 ? ReadCaseRules(TextArg(argv[1])) : CaseRules::Binary;
  if (!rules)
    return ResultOraError(ctx, "ORA-12702: invalid NLS parameter string used in SQL function");
  const std::u32string text = Decode(TextArg(argv[0]));
  std::string out;
  bool wordStart = true;
  for (std::size_t k = 0; k < text.size(); ++k) {
    const char32_t c = text[k];
    const bool upper = change == CaseChange::Upper || (change == CaseChange::Initial && wordStart);
    if (*rules == CaseRules::Dutch && change == CaseChange::Initial && wordStart &&
        (c == 'i' || c == 'I') && k + 1 < text.size() &&
        (text[k + 1] == 'j' || text[k + 1] == 'J')) {
      out += "IJ";
      ++k;
      wordStart = false;
      continue;
    }
    AppendCased(out, c, upper, *rules);
    wordStart = !IsAlphanumeric(c);
  }
  ResultText(ctx, out);
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
