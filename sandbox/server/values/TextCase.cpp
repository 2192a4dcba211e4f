// Case mapping of UTF-8 text by Unicode's simple rules, as UPPER, LOWER and
// INITCAP and their NLS_ forms change it, in SQL and in PL/SQL alike.
#include "sandbox/server/values/TextCase.h"

#include <locale.h>

#include <cctype>
#include <clocale>
#include <cwctype>

#include "sandbox/server/values/Utf8.h"

namespace sandbox {

namespace {

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

}  // namespace

std::string ChangeTextCase(const std::string& source, CaseChange change, CaseRules rules) {
  std::u32string text;
  for (std::size_t i = 0, length = 0; i < source.size(); i += length)
    text += DecodeUtf8(source, i, length);
  std::string out;
  bool wordStart = true;
  for (std::size_t k = 0; k < text.size(); ++k) {
    const char32_t c = text[k];
    const bool upper = change == CaseChange::Upper || (change == CaseChange::Initial && wordStart);
    if (rules == CaseRules::Dutch && change == CaseChange::Initial && wordStart &&
        (c == 'i' || c == 'I') && k + 1 < text.size() &&
        (text[k + 1] == 'j' || text[k + 1] == 'J')) {
      out += "IJ";
      ++k;
      wordStart = false;
      continue;
    }
    AppendCased(out, c, upper, rules);
    wordStart = !IsAlphanumeric(c);
  }
  return out;
}

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

}  // namespace sandbox
