// Names in generated statements.
#include "scripting/source/OracleNames.h"

#include <algorithm>

namespace {

bool IsUpperLetter(char c) {
  return c >= 'A' && c <= 'Z';
}

bool IsPlainNameCharacter(char c) {
  return IsUpperLetter(c) || (c >= '0' && c <= '9') || c == '_' || c == '$' || c == '#';
}

}  // namespace

bool IsPlainName(const std::string& name) {
  return !name.empty() && IsUpperLetter(name.front()) &&
         std::all_of(name.begin(), name.end(), IsPlainNameCharacter);
}

std::string StatementName(const std::string& name) {
  return IsPlainName(name) ? name : "\"" + name + "\"";
}
