// Exact decimal numbers of the sandbox (see DecimalNumber.h).
#include "sandbox/server/values/DecimalNumber.h"

#include <cctype>
#include <cstdlib>

namespace sandbox {

namespace {

constexpr std::size_t MaximumDigits = 40;
constexpr std::size_t DoubleDigits = 15;
constexpr std::size_t PositionalLimit = 40;
// Decimal digits of the largest 64-bit integer, 9223372036854775807.
constexpr std::size_t Int64Digits = 19;

// Rounds digits (half away from zero) to at most MaximumDigits.
void Round(DecimalNumber& number) {
  if (number.digits.size() <= MaximumDigits) {
    return;
  }
  const bool up = number.digits[MaximumDigits] >= '5';
  number.digits.resize(MaximumDigits);
  if (up) {
    std::size_t i = MaximumDigits;
    while (i > 0 && number.digits[i - 1] == '9') {
      number.digits[--i] = '0';
    }
    if (i == 0) {
      number.digits.insert(number.digits.begin(), '1');
      number.digits.pop_back();
      ++number.exponent;
    } else {
      ++number.digits[i - 1];
    }
  }
  while (!number.digits.empty() && number.digits.back() == '0') {
    number.digits.pop_back();
  }
}

}  // namespace

std::optional<DecimalNumber> DecimalNumber::Parse(std::string_view text) {
  std::size_t i = 0, end = text.size();
  while (i < end && std::isspace(static_cast<unsigned char>(text[i]))) {
    ++i;
  }
  while (end > i && std::isspace(static_cast<unsigned char>(text[end - 1]))) {
    --end;
  }
  DecimalNumber number;
  if (i < end && (text[i] == '-' || text[i] == '+')) {
    number.negative = text[i++] == '-';
  }
  std::string all;
  int pointPosition = -1;
  bool anyDigit = false;
  for (; i < end; ++i) {
    const char c = text[i];
    if (std::isdigit(static_cast<unsigned char>(c))) {
      all += c;
      anyDigit = true;
    } else if (c == '.' && pointPosition < 0) {
      pointPosition = static_cast<int>(all.size());
    } else {
      break;
    }
  }
  if (!anyDigit) {
    return std::nullopt;
  }
  long scale = 0;
  if (i < end && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    const std::string rest(text.substr(i, end - i));
    char* stop = nullptr;
    scale = std::strtol(rest.c_str(), &stop, 10);
    if (rest.empty() || stop == rest.c_str() || *stop != '\0' || scale > 1000 || scale < -1000) {
      return std::nullopt;
    }
    i = end;
  }
  if (i != end) {
    return std::nullopt;
  }
  if (pointPosition < 0) {
    pointPosition = static_cast<int>(all.size());
  }
  const std::size_t first = all.find_first_not_of('0');
  if (first == std::string::npos) {
    return DecimalNumber{};
  }
  number.digits = all.substr(first);
  number.exponent = pointPosition - static_cast<int>(first) + static_cast<int>(scale);
  while (number.digits.back() == '0') {
    number.digits.pop_back();
  }
  Round(number);
  return number;
}

std::string DecimalNumber::CanonicalText() const {
  if (digits.empty()) {
    return "0";
  }
  std::string text;
  const int count = static_cast<int>(digits.size());
  if (exponent <= 0) {
    text = "." + std::string(static_cast<std::size_t>(-exponent), '0') + digits;
  } else if (exponent >= count) {
    text = digits + std::string(static_cast<std::size_t>(exponent - count), '0');
  } else {
    text = digits.substr(0, static_cast<std::size_t>(exponent)) + "." +
           digits.substr(static_cast<std::size_t>(exponent));
  }
  if (text.size() > PositionalLimit) {
    const int power = exponent - 1;
    text = digits.substr(0, 1);
    if (count > 1) {
      text += "." + digits.substr(1);
    }
    text += power < 0 ? "E-" : "E+";
    text += std::to_string(power < 0 ? -power : power);
  }
  return negative ? "-" + text : text;
}

bool DecimalNumber::FitsSqliteNumber() const {
  if (digits.size() <= DoubleDigits) {
    return true;
  }
  // An integer of up to 18 digits always fits 64 bits; 19 digits only below 2^63.
  const bool integer = exponent >= static_cast<int>(digits.size());
  if (!integer || exponent > static_cast<int>(Int64Digits)) {
    return false;
  }
  if (exponent < static_cast<int>(Int64Digits)) {
    return true;
  }
  const std::string whole =
      digits + std::string(static_cast<std::size_t>(exponent) - digits.size(), '0');
  return whole < "9223372036854775807" || whole == "9223372036854775807";
}

std::string DecimalNumber::OracleBytes() const {
  if (digits.empty())
    return std::string(1, static_cast<char>(0x80));
  // 0.digits * 10^exponent as 0.pairs * 100^exponent100.
  const bool odd = exponent % 2 != 0;
  std::string pairs = (odd ? "0" : "") + digits;
  if (pairs.size() % 2)
    pairs += '0';
  const int exponent100 = (exponent + (odd ? 1 : 0)) / 2;
  std::string bytes(1, static_cast<char>(negative ? 63 - exponent100 : 192 + exponent100));
  for (std::size_t i = 0; i < pairs.size(); i += 2) {
    const int pair = (pairs[i] - '0') * 10 + (pairs[i + 1] - '0');
    bytes += static_cast<char>(negative ? 101 - pair : pair + 1);
  }
  if (negative && bytes.size() < 21)
    bytes += static_cast<char>(102);
  return bytes;
}

std::optional<DecimalNumber> DecimalNumber::FromOracleBytes(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > 22)
    return std::nullopt;
  const auto head = static_cast<unsigned char>(bytes[0]);
  if (head == 0x80)
    return bytes.size() == 1 ? std::optional<DecimalNumber>(DecimalNumber{}) : std::nullopt;
  DecimalNumber number;
  number.negative = head < 0x80;
  if (number.negative && bytes.size() > 1 && static_cast<unsigned char>(bytes.back()) == 102)
    bytes.remove_suffix(1);
  std::string digits;
  for (std::size_t i = 1; i < bytes.size(); ++i) {
    const int b = static_cast<unsigned char>(bytes[i]);
    const int pair = number.negative ? 101 - b : b - 1;
    if (pair < 0 || pair > 99)
      return std::nullopt;
    digits += static_cast<char>('0' + pair / 10);
    digits += static_cast<char>('0' + pair % 10);
  }
  const int exponent100 = number.negative ? 63 - head : head - 192;
  number.exponent = exponent100 * 2;
  const std::size_t first = digits.find_first_not_of('0');
  if (first == std::string::npos)
    return std::nullopt;
  number.exponent -= static_cast<int>(first);
  digits.erase(0, first);
  digits.erase(digits.find_last_not_of('0') + 1);
  number.digits = digits;
  return number;
}

std::string SqliteNumberLiteral(const std::string& literal) {
  const auto number = DecimalNumber::Parse(literal);
  if (!number || number->digits.size() <= DoubleDigits) {
    return literal;
  }
  if (number->FitsSqliteNumber()) {
    return number->CanonicalText();  // plain integer digits, which SQLite keeps in 64 bits
  }
  static constexpr char Hex[] = "0123456789ABCDEF";
  std::string blob = "X'";
  for (const char c : number->CanonicalText()) {
    blob += Hex[static_cast<unsigned char>(c) >> 4];
    blob += Hex[static_cast<unsigned char>(c) & 0xF];
  }
  return blob + "'";
}

}  // namespace sandbox
