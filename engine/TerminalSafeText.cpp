// Control characters made visible for terminals.
#include "engine/TerminalSafeText.h"

namespace {

constexpr char Hex[] = "0123456789abcdef";

bool KeptControl(std::string_view text, std::size_t i) {
  const char c = text[i];
  return c == '\n' || c == '\t' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n');
}

bool IsC0(unsigned char byte) {
  return byte < 0x20 || byte == 0x7F;
}

// The lead byte 0xC2 before 0x80 to 0x9F encodes a C1 control.
bool IsC1At(std::string_view text, std::size_t i) {
  return static_cast<unsigned char>(text[i]) == 0xC2 && i + 1 < text.size() &&
         static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
         static_cast<unsigned char>(text[i + 1]) <= 0x9F;
}

}  // namespace

std::string TerminalSafeText(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (IsC0(byte) && !KeptControl(text, i)) {
      shown += "\\x";
      shown += Hex[byte >> 4];
      shown += Hex[byte & 0xF];
    } else if (IsC1At(text, i)) {
      const auto control = static_cast<unsigned char>(text[++i]);
      shown += "\\u00";
      shown += Hex[control >> 4];
      shown += Hex[control & 0xF];
    } else {
      shown += text[i];
    }
  }
  return shown;
}
