// Oracle's text form of numbers: what TO_CHAR(n) without a format gives
// ("100", "12.5", ".5", "-.25"), and TO_CHAR(n, 'format') for the common
// format models.
#pragma once

#include <optional>
#include <string>

namespace sandbox {

std::string CanonicalNumberText(double value);
std::string CanonicalIntegerText(long long value);
// Normalises numeric text ("0.50" -> ".5", "+3" -> "3"); nullopt when text
// is not a number (Oracle's ORA-01722).
std::optional<std::string> NormaliseNumberText(const std::string& text);
std::optional<double> ParseNumber(const std::string& text);
// TO_CHAR(value, format) for models of 9, 0, '.', ',', 'D', 'G', 'FM', 'S'
// (leading or trailing), '$', 'B', 'V', 'MI' and 'PR', and the forms X, RN,
// EEEE and TM; nullopt for a model it cannot use (L, C and U among them).
std::optional<std::string> FormatNumber(double value, const std::string& format);

// The characters TO_NUMBER's NLS parameter may set: NLS_NUMERIC_CHARACTERS
// (decimal and group) and NLS_CURRENCY.
struct NumberSymbols {
  char decimal = '.';
  char group = ',';
  std::string currency = "$";
};
// TO_NUMBER(text, format): text read by a model of 9, 0, ',', '.', 'D',
// 'G', 'FM', 'S', 'MI', 'PR', '$', 'L' or one of X and 0 (hexadecimal).
// The number's canonical text; nullopt when the model is not one of these
// (badModel set, ORA-01481) or the text does not fit it (ORA-01722).
std::optional<std::string> ReadFormattedNumber(const std::string& text, const std::string& format,
                                               const NumberSymbols& symbols, bool& badModel);

}  // namespace sandbox
