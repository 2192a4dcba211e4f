// Conversions between UTF-8 text and the bytes of a few character sets,
// through code points.
#include "sandbox/plsql/supplied/CharacterSets.h"

#include "sandbox/server/values/Utf8.h"

#include <cctype>
#include <cstdint>
#include <vector>

namespace sandbox::plsql {

namespace {

struct CharacterSet {
  int id;
  const char* name;
};

constexpr CharacterSet kSets[] = {
    {873, "AL32UTF8"}, {871, "UTF8"}, {2000, "AL16UTF16"}, {31, "WE8ISO8859P1"}, {1, "US7ASCII"},
};

constexpr char32_t kReplacement = 0xFFFD;

// How many bytes follow a UTF-8 lead byte; -1 for a byte that leads none.
int ContinuationBytes(unsigned char lead) {
  if (lead < 0x80)
    return 0;
  if (lead < 0xC2)
    return -1;
  if (lead < 0xE0)
    return 1;
  if (lead < 0xF0)
    return 2;
  return lead < 0xF5 ? 3 : -1;
}

// The code points of UTF-8 bytes; a malformed sequence is one replacement
// character.
std::vector<char32_t> ReadUtf8(const std::string& bytes, bool& lossy) {
  std::vector<char32_t> points;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    const int extra = ContinuationBytes(lead);
    char32_t c = extra < 0 ? 0 : lead & (0x7F >> (extra + (extra > 0 ? 1 : 0)));
    bool ok = extra >= 0 && i + static_cast<std::size_t>(extra) < bytes.size();
    for (int k = 1; ok && k <= extra; ++k) {
      const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
      ok = (next & 0xC0) == 0x80;
      c = (c << 6) | (next & 0x3F);
    }
    if (!ok) {
      points.push_back(kReplacement);
      lossy = true;
      ++i;
      continue;
    }
    points.push_back(c);
    i += static_cast<std::size_t>(extra) + 1;
  }
  return points;
}

void PutUtf16(char16_t unit, std::string& out) {
  out += static_cast<char>(unit >> 8);
  out += static_cast<char>(unit & 0xFF);
}

}  // namespace

std::string CharacterSetName(int id) {
  if (id == 0)
    return "AL32UTF8";
  for (const CharacterSet& set : kSets)
    if (set.id == id)
      return set.name;
  return {};
}

std::string KnownCharacterSet(const std::string& name) {
  std::string upper;
  for (const char c : name.substr(name.find('.') == std::string::npos ? 0 : name.find('.') + 1))
    upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (upper.empty())
    return "AL32UTF8";
  for (const CharacterSet& set : kSets)
    if (upper == set.name)
      return upper;
  return {};
}

std::string EncodeText(const std::string& text, const std::string& charset, bool& lossy) {
  std::string out;
  for (const char32_t c : ReadUtf8(text, lossy)) {
    if (charset == "AL16UTF16") {
      if (c < 0x10000) {
        PutUtf16(static_cast<char16_t>(c), out);
      } else {
        PutUtf16(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)), out);
        PutUtf16(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)), out);
      }
    } else if (charset == "UTF8" && c >= 0x10000) {
      // Oracle's UTF8 writes a supplementary character as two surrogates.
      AppendUtf8(out, 0xD800 + ((c - 0x10000) >> 10));
      AppendUtf8(out, 0xDC00 + ((c - 0x10000) & 0x3FF));
    } else if (charset == "AL32UTF8" || charset == "UTF8") {
      AppendUtf8(out, c);
    } else {
      const char32_t most = charset == "US7ASCII" ? 0x7F : 0xFF;
      lossy = lossy || c > most;
      out += static_cast<char>(c <= most ? c : charset == "US7ASCII" ? '?' : 0xBF);
    }
  }
  return out;
}

void DecodeText(const std::string& bytes, const std::string& charset, std::string& text,
                bool& lossy) {
  if (charset == "AL16UTF16") {
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
      char32_t c =
          (static_cast<unsigned char>(bytes[i]) << 8) | static_cast<unsigned char>(bytes[i + 1]);
      if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size()) {
        const char32_t low = (static_cast<unsigned char>(bytes[i + 2]) << 8) |
                             static_cast<unsigned char>(bytes[i + 3]);
        if (low >= 0xDC00 && low < 0xE000) {
          c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
          i += 2;
        }
      }
      AppendUtf8(text, c);
    }
    if (bytes.size() % 2 != 0) {
      AppendUtf8(text, kReplacement);
      lossy = true;
    }
    return;
  }
  if (charset == "AL32UTF8" || charset == "UTF8") {
    const std::vector<char32_t> points = ReadUtf8(bytes, lossy);
    for (std::size_t i = 0; i < points.size(); ++i) {
      char32_t c = points[i];
      // UTF8's surrogate pairs stand for one supplementary character.
      if (c >= 0xD800 && c < 0xDC00 && i + 1 < points.size() && points[i + 1] >= 0xDC00 &&
          points[i + 1] < 0xE000)
        c = 0x10000 + ((c - 0xD800) << 10) + (points[++i] - 0xDC00);
      AppendUtf8(text, c);
    }
    return;
  }
  for (const char b : bytes) {
    const auto c = static_cast<unsigned char>(b);
    const bool fits = charset != "US7ASCII" || c < 0x80;
    lossy = lossy || !fits;
    AppendUtf8(text, fits ? c : kReplacement);
  }
}

}  // namespace sandbox::plsql
