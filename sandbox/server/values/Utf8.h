// UTF-8, the text encoding of the sandbox's database (AL32UTF8).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sandbox {

// Appends the UTF-8 bytes of a Unicode code point.
inline void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// The code point of the character at text[at] and its length in bytes; a
// byte that starts no valid character counts as itself.
inline char32_t DecodeUtf8(std::string_view text, std::size_t at, std::size_t& length) {
  const auto lead = static_cast<unsigned char>(text[at]);
  const std::size_t size = lead < 0x80    ? 1
                           : lead >= 0xF0 ? 4
                           : lead >= 0xE0 ? 3
                           : lead >= 0xC0 ? 2
                                          : 1;
  length = 1;
  if (size == 1 || at + size > text.size())
    return lead;
  char32_t code = lead & (0x7F >> size);
  for (std::size_t k = 1; k < size; ++k) {
    const auto next = static_cast<unsigned char>(text[at + k]);
    if ((next & 0xC0) != 0x80)
      return lead;
    code = (code << 6) | (next & 0x3F);
  }
  length = size;
  return code;
}

// Byte offsets of the start of each character, then the text's size:
// character functions count characters, as Oracle does in AL32UTF8.
inline std::vector<std::size_t> CharacterStarts(const std::string& text) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < text.size(); ++i)
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80)
      starts.push_back(i);
  starts.push_back(text.size());
  return starts;
}

}  // namespace sandbox
