// Portable, unique file names for the objects of a split report.
#include "engine/ObjectFileName.h"

#include <cstdint>
#include <cstdio>

namespace {

// Room for an extension and a suffix within the 255 bytes of common file
// systems.
constexpr std::size_t LongestEncodedName = 200;
constexpr std::size_t KeptWhenShortened = 180;

bool IsPlain(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

std::string Hex(unsigned char byte) {
  char text[4];
  std::snprintf(text, sizeof text, "%%%02X", byte);
  return text;
}

std::uint64_t Fnv1a(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ull;
  }
  return hash;
}

bool IsReservedOnWindows(std::string_view name) {
  static constexpr std::string_view Reserved[] = {"CON", "PRN", "AUX", "NUL"};
  for (const std::string_view reserved : Reserved) {
    if (name == reserved) {
      return true;
    }
  }
  return name.size() == 4 && (name.substr(0, 3) == "COM" || name.substr(0, 3) == "LPT") &&
         name[3] >= '0' && name[3] <= '9';
}

}  // namespace

std::string ObjectFileName(std::string_view objectName) {
  std::string encoded;
  for (const char c : objectName) {
    const auto byte = static_cast<unsigned char>(c);
    if (IsPlain(byte)) {
      encoded += c;
    } else if (byte >= 'a' && byte <= 'z') {
      encoded += '^';
      encoded += c;
    } else {
      encoded += Hex(byte);
    }
  }
  if (encoded.empty()) {
    return "%";  // no object has an empty name; still a usable file name
  }
  if (IsReservedOnWindows(encoded)) {
    encoded = Hex(static_cast<unsigned char>(encoded[0])) + encoded.substr(1);
  }
  if (encoded.size() > LongestEncodedName) {
    std::size_t keep = KeptWhenShortened;
    // Never cut an escape in two.
    while (keep > 0 && (encoded[keep - 1] == '^' || encoded[keep - 1] == '%' ||
                        (keep > 1 && encoded[keep - 2] == '%'))) {
      --keep;
    }
    char hash[24];
    std::snprintf(hash, sizeof hash, "~%016llX",
                  static_cast<unsigned long long>(Fnv1a(objectName)));
    encoded = encoded.substr(0, keep) + hash;
  }
  return encoded;
}
