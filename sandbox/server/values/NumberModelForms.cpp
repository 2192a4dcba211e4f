// TO_CHAR's number models that are a form of their own rather than a
// layout of digits: hexadecimal (X), Roman numerals (RN), scientific
// notation (EEEE) and text minimum (TM).
#include "sandbox/server/values/NumberModelForms.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "sandbox/server/values/DecimalNumber.h"
#include "sandbox/server/values/NumberText.h"

namespace sandbox {
namespace {

std::string Upper(const std::string& text) {
  std::string upper = text;
  for (char& c : upper)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

// "XXXX", "0XXX", "xxxx": the rounded value in base 16, right aligned
// behind a blank that stands where a sign would, zeros filling where the
// model starts with them. Negative values and values too wide are '#'s.
std::optional<std::string> HexText(double value, const std::string& model, bool fillMode) {
  std::size_t zeros = 0;
  while (zeros < model.size() && model[zeros] == '0')
    ++zeros;
  bool lower = false;
  for (std::size_t i = zeros; i < model.size(); ++i) {
    if (model[i] != 'X' && model[i] != 'x')
      return std::nullopt;
    lower = lower || model[i] == 'x';
  }
  if (zeros == model.size())
    return std::nullopt;
  const double rounded = std::round(value);
  const std::string overflow(model.size() + 1, '#');
  if (rounded < 0 || rounded >= 18446744073709551616.0)
    return overflow;
  char digits[32];
  std::snprintf(digits, sizeof digits, lower ? "%llx" : "%llX",
                static_cast<unsigned long long>(rounded));
  std::string text = digits;
  if (text.size() > model.size())
    return overflow;
  const std::size_t pad = model.size() - text.size();
  const std::size_t zeroPad = pad > model.size() - zeros ? pad - (model.size() - zeros) : 0;
  text = std::string(zeroPad, '0') + text;
  if (zeros > 0)  // a leading 0 fills every position up to the model's width
    text = std::string(model.size() - text.size(), '0') + text;
  if (fillMode)
    return text;
  return std::string(model.size() + 1 - text.size(), ' ') + text;
}

// "RN" or "rn": 1 to 3999 in Roman numerals, right aligned in fifteen
// characters; anything else is fifteen '#'s.
std::string RomanText(double value, bool lower, bool fillMode) {
  const double rounded = std::round(value);
  if (rounded < 1 || rounded > 3999)
    return std::string(15, '#');
  static const struct {
    int value;
    const char* letters;
  } kNumerals[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"},
                   {90, "XC"},  {50, "L"},   {40, "XL"}, {10, "X"},   {9, "IX"},
                   {5, "V"},    {4, "IV"},   {1, "I"}};
  int rest = static_cast<int>(rounded);
  std::string text;
  for (const auto& numeral : kNumerals)
    for (; rest >= numeral.value; rest -= numeral.value)
      text += numeral.letters;
  if (lower)
    for (char& c : text)
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return fillMode ? text : std::string(15 - text.size(), ' ') + text;
}

// A value's magnitude as mantissa digits and a power of ten, the mantissa
// rounded half away from zero to fracDigits places, as Oracle rounds:
// "1.23" and 3 for 1234.5 to two places.
std::pair<std::string, int> Scientific(double value, std::size_t fracDigits) {
  const auto number = DecimalNumber::Parse(CanonicalNumberText(value));
  if (!number || number->digits.empty())
    return {"0" + (fracDigits ? "." + std::string(fracDigits, '0') : std::string()), 0};
  std::string digits = number->digits;
  int exponent = number->exponent - 1;
  const bool up = digits.size() > fracDigits + 1 && digits[fracDigits + 1] >= '5';
  digits.resize(fracDigits + 1, '0');
  if (up) {
    std::size_t i = digits.size();
    while (i > 0 && digits[i - 1] == '9')
      digits[--i] = '0';
    if (i == 0) {
      digits.insert(0, 1, '1');
      digits.pop_back();
      ++exponent;
    } else {
      ++digits[i - 1];
    }
  }
  return {digits.substr(0, 1) + (fracDigits ? "." + digits.substr(1) : std::string()), exponent};
}

std::string ExponentText(int exponent) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
  return buffer;
}

// "9.99EEEE": one digit before the point and as many after it as the model
// has, in a field two wider than the model (a sign and a third exponent
// digit).
std::optional<std::string> ScientificText(double value, const std::string& model, bool fillMode) {
  const std::string mantissaModel = model.substr(0, model.size() - 4);
  const std::size_t point = mantissaModel.find('.');
  const std::string before = mantissaModel.substr(0, point);
  const std::string after = point == std::string::npos ? "" : mantissaModel.substr(point + 1);
  if (before.empty() || before.find_first_not_of("90") != std::string::npos ||
      after.find_first_not_of("90") != std::string::npos)
    return std::nullopt;
  const auto [mantissa, exponent] = Scientific(value, after.size());
  std::string text = (value < 0 ? "-" : "") + mantissa + ExponentText(exponent);
  if (fillMode || text.size() >= model.size() + 2)
    return text;
  return std::string(model.size() + 2 - text.size(), ' ') + text;
}

// "TM", "TM9" and "TME": the fewest characters that give the value back,
// in scientific notation for TME or past 64 characters.
std::string TextMinimum(double value, bool scientific) {
  const std::string plain = CanonicalNumberText(value);
  if (!scientific && plain.size() <= 64)
    return plain;
  const auto number = DecimalNumber::Parse(plain);
  const std::size_t significant = number ? number->digits.size() : 0;
  const auto [mantissa, exponent] = Scientific(value, significant > 1 ? significant - 1 : 0);
  return (value < 0 ? "-" : "") + mantissa + ExponentText(exponent);
}

}  // namespace

std::optional<std::optional<std::string>> FormatNumberForm(double value,
                                                           const std::string& format) {
  std::string model = format;
  bool fillMode = false;
  if (model.size() >= 2 && Upper(model.substr(0, 2)) == "FM") {
    fillMode = true;
    model = model.substr(2);
  }
  const std::string upper = Upper(model);
  if (upper == "TM" || upper == "TM9" || upper == "TME")
    return std::optional<std::string>(TextMinimum(value, upper == "TME"));
  if (upper == "RN")
    return std::optional<std::string>(RomanText(value, model == "rn", fillMode));
  if (upper.find('X') != std::string::npos)
    return HexText(value, model, fillMode);
  if (upper.size() > 4 && upper.compare(upper.size() - 4, 4, "EEEE") == 0)
    return ScientificText(value, upper, fillMode);
  return std::nullopt;
}

}  // namespace sandbox
