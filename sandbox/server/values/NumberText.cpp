// Oracle's number-to-text conversions.
#include "sandbox/server/values/NumberText.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "sandbox/server/values/DecimalNumber.h"
#include "sandbox/server/values/NumberModelForms.h"

namespace sandbox {

std::string CanonicalIntegerText(long long value) {
  return std::to_string(value);
}

std::string CanonicalNumberText(double value) {
  if (std::isnan(value) || std::isinf(value))
    return value < 0 ? "-~" : "~";
  if (std::fabs(value) < 1e15 && value == std::floor(value))
    return CanonicalIntegerText(static_cast<long long>(value));
  // The shortest text that reads back as the same double is the decimal the
  // value was made from when it has at most fifteen digits; otherwise fifteen
  // significant digits give it back (and undo binary noise of arithmetic).
  char buffer[64];
  const std::to_chars_result shortest = std::to_chars(buffer, buffer + sizeof buffer, value);
  auto number = DecimalNumber::Parse(
      std::string_view(buffer, static_cast<std::size_t>(shortest.ptr - buffer)));
  if (!number || number->digits.size() > 15) {
    std::snprintf(buffer, sizeof buffer, "%.15g", value);
    number = DecimalNumber::Parse(buffer);
  }
  return number ? number->CanonicalText() : std::string(buffer);
}

std::optional<double> ParseNumber(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
    ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
    --end;
  if (begin == end)
    return std::nullopt;
  const std::string trimmed = text.substr(begin, end - begin);
  bool digit = false;
  for (char c : trimmed) {
    if (std::isdigit(static_cast<unsigned char>(c)))
      digit = true;
    else if (c != '.' && c != '-' && c != '+' && c != 'e' && c != 'E')
      return std::nullopt;
  }
  if (!digit)
    return std::nullopt;
  char* stop = nullptr;
  const double value = std::strtod(trimmed.c_str(), &stop);
  if (stop == nullptr || *stop != '\0')
    return std::nullopt;
  return value;
}

std::optional<std::string> NormaliseNumberText(const std::string& text) {
  // Normalised as decimal text, so that numbers of more digits than a double
  // holds keep every digit.
  const auto number = DecimalNumber::Parse(text);
  if (!number)
    return std::nullopt;
  return number->CanonicalText();
}

namespace {

// A non-negative value as "int.frac" with fracDigits places, rounded half
// away from zero on its decimal digits as Oracle rounds a NUMBER (0.125 to
// two places is 0.13, where a double's printf gives 0.12).
std::string FixedDigits(double value, std::size_t fracDigits) {
  const auto number = DecimalNumber::Parse(CanonicalNumberText(value));
  if (!number || number->digits.empty())
    return "0" + (fracDigits ? "." + std::string(fracDigits, '0') : std::string());
  const std::string& d = number->digits;
  const int e = number->exponent;
  std::string whole = e > 0 ? d.substr(0, static_cast<std::size_t>(e)) : "0";
  whole.resize(std::max<std::size_t>(whole.size(), e > 0 ? static_cast<std::size_t>(e) : 1), '0');
  std::string fraction = e < 0 ? std::string(static_cast<std::size_t>(-e), '0') + d
                         : static_cast<std::size_t>(e) < d.size()
                             ? d.substr(static_cast<std::size_t>(e))
                             : "";
  const bool up = fraction.size() > fracDigits && fraction[fracDigits] >= '5';
  fraction.resize(fracDigits, '0');
  std::string all = whole + fraction;
  if (up) {
    std::size_t i = all.size();
    while (i > 0 && all[i - 1] == '9')
      all[--i] = '0';
    if (i == 0)
      all.insert(0, 1, '1');
    else
      ++all[i - 1];
  }
  const std::size_t wholeSize = all.size() - fracDigits;
  return all.substr(0, wholeSize) + (fracDigits ? "." + all.substr(wholeSize) : std::string());
}

}  // namespace

std::optional<std::string> FormatNumber(double value, const std::string& format) {
  if (auto form = FormatNumberForm(value, format))
    return *form;
  std::string model;
  bool fillMode = false, sign = false, trailingSign = false, trailingMinus = false,
       brackets = false, dollar = false, blankZero = false;
  std::size_t scaleDigits = 0;  // the 9s after V: the value is shown times 10^n
  bool afterV = false;
  for (std::size_t i = 0; i < format.size(); ++i) {
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(format[i])));
    const char next =
        i + 1 < format.size()
            ? static_cast<char>(std::toupper(static_cast<unsigned char>(format[i + 1])))
            : '\0';
    const bool last = i + 1 == format.size();
    if (c == 'F' && next == 'M') {
      fillMode = true;
      ++i;
    } else if (c == 'M' && next == 'I' && i + 2 == format.size()) {
      trailingMinus = true;
      ++i;
    } else if (c == 'P' && next == 'R' && i + 2 == format.size()) {
      brackets = true;
      ++i;
    } else if (c == 'S' && (model.empty() || last) && !sign) {
      sign = true;
      trailingSign = !model.empty();
    } else if (c == '$') {
      dollar = true;
    } else if (c == 'B') {
      blankZero = true;
    } else if (c == 'V' && !afterV && model.find('.') == std::string::npos) {
      afterV = true;
    } else if (afterV && (c == '9' || c == '0')) {
      ++scaleDigits;
    } else if (c == '9' || c == '0' || c == '.' || c == ',') {
      model += c;
    } else if (c == 'D') {
      model += '.';
    } else if (c == 'G') {
      model += ',';
    } else {
      return std::nullopt;
    }
  }
  if (sign && (trailingMinus || brackets))
    return std::nullopt;
  // V shows the value times ten to the number of 9s after it, rounded, as
  // one integer.
  if (afterV) {
    value = std::round(value * std::pow(10.0, static_cast<double>(scaleDigits)));
    model += std::string(scaleDigits, '9');
  }
  const std::size_t point = model.find('.');
  const std::string intModel = model.substr(0, point);
  const std::string fracModel = point == std::string::npos ? "" : model.substr(point + 1);
  std::size_t fracDigits = 0, intDigits = 0;
  for (char c : fracModel)
    if (c == '9' || c == '0')
      ++fracDigits;
  for (char c : intModel)
    if (c == '9' || c == '0')
      ++intDigits;

  const std::string digits = FixedDigits(std::fabs(value), fracDigits);
  const std::size_t dot = digits.find('.');
  std::string intPart = digits.substr(0, dot);
  const std::string fracPart = dot == std::string::npos ? "" : digits.substr(dot + 1);
  if (intPart == "0")
    intPart.clear();
  const bool negative = value < 0 && digits.find_first_not_of("0.") != std::string::npos;
  // Too wide: a '#' for every position of the model and its sign.
  if (intPart.size() > intDigits)
    return std::string(model.size() + 1, '#');

  // Lay the integer digits into the model from the right.
  std::string intText;
  std::size_t digitIndex = intPart.size();
  const std::size_t firstZero = intModel.find('0');
  for (std::size_t m = intModel.size(); m-- > 0;) {
    const char mc = intModel[m];
    if (mc == ',') {
      intText.insert(
          0, digitIndex > 0 || (firstZero != std::string::npos && m > firstZero) ? "," : " ");
      continue;
    }
    if (digitIndex > 0) {
      intText.insert(0, 1, intPart[--digitIndex]);
    } else if (firstZero != std::string::npos && m >= firstZero) {
      intText.insert(0, 1, '0');
    } else {
      intText.insert(0, 1, ' ');
    }
  }
  if (blankZero && intPart.empty())
    intText.assign(intText.size(), ' ');
  else if (intText.find_first_not_of(' ') == std::string::npos && fracDigits == 0)
    intText.back() = '0';
  std::string text = intText;
  if (point != std::string::npos) {
    std::string fraction = fracPart;
    // FM drops the zeros that trailing 9s of the fraction would show.
    for (std::size_t k = fracModel.size();
         fillMode && k-- > 0 && fracModel[k] == '9' && !fraction.empty() && fraction.back() == '0';)
      fraction.pop_back();
    text += "." + fraction;
  }
  if (dollar) {
    const std::size_t firstDigit = text.find_first_not_of(' ');
    text.insert(firstDigit == std::string::npos ? text.size() : firstDigit, "$");
  }
  // A leading sign has a position of its own, filled just before the
  // first digit: TO_CHAR(-5, '999') is '  -5'.
  const std::string signText = negative ? "-" : (sign ? "+" : " ");
  if (trailingMinus) {
    text += negative ? "-" : " ";
  } else if (trailingSign) {
    text += signText;
  } else if (brackets) {
    // PR: a negative value in angle brackets, a positive one in blanks.
    text.insert(0, " ");
    const std::size_t firstDigit = text.find_first_not_of(' ');
    text[firstDigit == std::string::npos ? 0 : firstDigit - 1] = negative ? '<' : ' ';
    text += negative ? ">" : " ";
  } else {
    text.insert(0, " ");
    const std::size_t firstDigit = text.find_first_not_of(' ');
    text[firstDigit == std::string::npos ? 0 : firstDigit - 1] = signText[0];
  }
  if (fillMode) {
    const std::size_t first = text.find_first_not_of(' ');
    const std::size_t last = text.find_last_not_of(' ');
    text = first == std::string::npos ? "" : text.substr(first, last - first + 1);
  }
  return text;
}

}  // namespace sandbox
