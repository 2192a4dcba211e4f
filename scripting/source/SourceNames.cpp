// Quoting of dictionary names and the owner prefix of trigger descriptions.
#include "scripting/source/SourceNames.h"

#include <algorithm>
#include <string_view>

namespace {

bool IsUpperLetter(char c) {
  return c >= 'A' && c <= 'Z';
}

bool IsPlainNameCharacter(char c) {
  return IsUpperLetter(c) || (c >= '0' && c <= '9') || c == '_' || c == '$' || c == '#';
}

// Letters of an identifier as typed, in any case; bytes of multi-byte
// characters count as letters.
bool IsTypedLetter(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || byte >= 0x80;
}

bool IsTypedNameCharacter(char c) {
  return IsTypedLetter(c) || IsPlainNameCharacter(c);
}

bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// Position just past the identifier that starts at position at of text, or
// npos when none starts there.
std::size_t EndOfIdentifier(const std::string& text, std::size_t at) {
  if (at >= text.size() || (text[at] != '"' && !IsTypedLetter(text[at]))) {
    return std::string::npos;
  }
  if (text[at] == '"') {
    const std::size_t close = text.find('"', at + 1);
    return close == std::string::npos || close == at + 1 ? std::string::npos : close + 1;
  }
  while (at < text.size() && IsTypedNameCharacter(text[at])) {
    ++at;
  }
  return at;
}

std::size_t SkipWhiteSpace(const std::string& text, std::size_t at) {
  while (at < text.size() && IsWhiteSpace(text[at])) {
    ++at;
  }
  return at;
}

// Position after the word at position at of text when it is word (upper
// case, compared without regard to case) and ends there; npos otherwise.
std::size_t AfterWord(const std::string& text, std::size_t at, std::string_view word) {
  if (text.size() - std::min(at, text.size()) < word.size()) {
    return std::string::npos;
  }
  for (std::size_t i = 0; i < word.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[at + i]);
    if ((c >= 'a' && c <= 'z' ? c - 32 : c) != static_cast<unsigned char>(word[i])) {
      return std::string::npos;
    }
  }
  const std::size_t end = at + word.size();
  return end < text.size() && IsTypedNameCharacter(text[end]) ? std::string::npos : end;
}

}  // namespace

std::string WithoutOwnerPrefix(const std::string& description) {
  const std::size_t ownerEnd = EndOfIdentifier(description, 0);
  if (ownerEnd == std::string::npos) {
    return description;
  }
  const std::size_t dot = SkipWhiteSpace(description, ownerEnd);
  if (dot >= description.size() || description[dot] != '.') {
    return description;
  }
  const std::size_t name = SkipWhiteSpace(description, dot + 1);
  return EndOfIdentifier(description, name) == std::string::npos ? description
                                                                 : description.substr(name);
}

std::string UnitWithoutOwnerPrefix(const std::string& source, const std::string& dictionaryType) {
  std::size_t at = SkipWhiteSpace(source, 0);
  for (const std::string_view attribute : {"EDITIONABLE", "NONEDITIONABLE"}) {
    const std::size_t after = AfterWord(source, at, attribute);
    if (after != std::string::npos) {
      at = SkipWhiteSpace(source, after);
    }
  }
  std::string_view keywords = dictionaryType;
  while (!keywords.empty()) {
    const std::size_t blank = keywords.find(' ');
    at = AfterWord(source, at, keywords.substr(0, blank));
    if (at == std::string::npos) {
      return source;
    }
    at = SkipWhiteSpace(source, at);
    keywords = blank == std::string_view::npos ? std::string_view() : keywords.substr(blank + 1);
  }
  return source.substr(0, at) + WithoutOwnerPrefix(source.substr(at));
}
