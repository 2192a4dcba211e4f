// TO_NUMBER with a format model: the number formats TO_CHAR writes, read
// back. The model says where signs, currency and separators may stand and
// how many digits fit before and after the decimal character.
#include <cctype>

#include "sandbox/server/values/DecimalNumber.h"
#include "sandbox/server/values/NumberText.h"

namespace sandbox {

namespace {

struct NumberModel {
  bool hex = false;
  std::size_t hexDigits = 0;
  bool leadingSign = false, trailingSign = false, trailingMinus = false, brackets = false;
  bool dollar = false, currency = false, groups = false, point = false;
  std::size_t intDigits = 0, fracDigits = 0;
};

bool StartsWithAt(const std::string& text, std::size_t at, const char* word) {
  for (std::size_t k = 0; word[k] != '\0'; ++k)
    if (at + k >= text.size() || text[at + k] != word[k])
      return false;
  return true;
}

std::optional<NumberModel> ReadModel(const std::string& format) {
  std::string model;
  for (char c : format)
    model += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  NumberModel m;
  if (StartsWithAt(model, 0, "FM"))
    model.erase(0, 2);
  if (!model.empty() && model.find_first_not_of("X0") == std::string::npos &&
      model.find('X') != std::string::npos) {
    m.hex = true;
    m.hexDigits = model.size();
    return m;
  }
  for (std::size_t i = 0; i < model.size(); ++i) {
    const char c = model[i];
    const bool last = i + 1 == model.size();
    if (c == 'S' && i == 0) {
      m.leadingSign = true;
    } else if (c == 'S' && last) {
      m.trailingSign = true;
    } else if (StartsWithAt(model, i, "MI") && i + 2 == model.size()) {
      m.trailingMinus = true;
      ++i;
    } else if (StartsWithAt(model, i, "PR") && i + 2 == model.size()) {
      m.brackets = true;
      ++i;
    } else if (c == '$') {
      m.dollar = true;
    } else if (c == 'L') {
      m.currency = true;
    } else if (c == '9' || c == '0') {
      ++(m.point ? m.fracDigits : m.intDigits);
    } else if ((c == ',' || c == 'G') && !m.point) {
      m.groups = true;
    } else if ((c == '.' || c == 'D') && !m.point) {
      m.point = true;
    } else {
      return std::nullopt;
    }
  }
  if ((m.leadingSign || m.trailingSign) + m.trailingMinus + m.brackets > 1)
    return std::nullopt;
  return m;
}

std::optional<std::string> ReadHex(const std::string& text, const NumberModel& model) {
  if (text.empty() || text.size() > model.hexDigits || text.size() > 15)
    return std::nullopt;
  long long value = 0;
  for (char c : text) {
    if (!std::isxdigit(static_cast<unsigned char>(c)))
      return std::nullopt;
    value = value * 16 + (std::isdigit(static_cast<unsigned char>(c))
                              ? c - '0'
                              : std::toupper(static_cast<unsigned char>(c)) - 'A' + 10);
  }
  return std::to_string(value);
}

bool TakePrefix(std::string& text, const std::string& prefix) {
  if (prefix.empty() || text.compare(0, prefix.size(), prefix) != 0)
    return false;
  text.erase(0, prefix.size());
  return true;
}

bool TakeSuffix(std::string& text, char c) {
  if (text.empty() || text.back() != c)
    return false;
  text.pop_back();
  return true;
}

}  // namespace

std::optional<std::string> ReadFormattedNumber(const std::string& raw, const std::string& format,
                                               const NumberSymbols& symbols, bool& badModel) {
  const auto model = ReadModel(format);
  badModel = !model;
  if (!model)
    return std::nullopt;
  const std::size_t first = raw.find_first_not_of(' ');
  std::string text = first == std::string::npos ? "" : raw.substr(first);
  while (!text.empty() && text.back() == ' ')
    text.pop_back();
  if (model->hex)
    return ReadHex(text, *model);
  bool negative = false;
  if (model->brackets) {
    if (TakePrefix(text, "<")) {
      if (!TakeSuffix(text, '>'))
        return std::nullopt;
      negative = true;
    }
  } else if (model->trailingMinus || model->trailingSign) {
    negative = TakeSuffix(text, '-');
    if (!negative && !TakeSuffix(text, '+') && model->trailingSign)
      return std::nullopt;
  } else {
    negative = TakePrefix(text, "-");
    if (!negative && !TakePrefix(text, "+") && model->leadingSign)
      return std::nullopt;
  }
  if (model->dollar)
    TakePrefix(text, "$");
  if (model->currency)
    TakePrefix(text, symbols.currency);
  std::string intPart, fracPart;
  bool seenPoint = false;
  for (char c : text) {
    if (c == symbols.decimal && model->point && !seenPoint)
      seenPoint = true;
    else if (c == symbols.group && model->groups && !seenPoint && !intPart.empty())
      continue;
    else if (std::isdigit(static_cast<unsigned char>(c)))
      (seenPoint ? fracPart : intPart) += c;
    else
      return std::nullopt;
  }
  const std::size_t significant = intPart.find_first_not_of('0');
  const std::size_t intDigits = significant == std::string::npos ? 0 : intPart.size() - significant;
  if ((intPart.empty() && fracPart.empty()) || intDigits > model->intDigits ||
      fracPart.size() > model->fracDigits)
    return std::nullopt;
  const auto number =
      DecimalNumber::Parse((negative ? "-" : "") + (intPart.empty() ? "0" : intPart) +
                           (fracPart.empty() ? "" : "." + fracPart));
  if (!number)
    return std::nullopt;
  return number->CanonicalText();
}

}  // namespace sandbox
