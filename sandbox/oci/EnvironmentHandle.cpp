// The NLS_LANG check of environment creation.
#include "sandbox/oci/EnvironmentHandle.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace sandbox::oci {

bool NlsLangIsUsable() {
  const char* value = std::getenv("NLS_LANG");
  if (value == nullptr || *value == '\0')
    return true;
  std::string text = value;
  std::size_t dot = text.find('.');
  if (dot != std::string::npos) {
    std::string charset = text.substr(dot + 1);
    if (charset.empty())
      return false;
    for (unsigned char c : charset) {
      if (!std::isalnum(c))
        return false;
    }
    text.erase(dot);
  }
  // Language and territory names are words, possibly with blanks ("SIMPLIFIED CHINESE").
  for (unsigned char c : text) {
    if (!std::isalnum(c) && c != ' ' && c != '_' && c != '-')
      return false;
  }
  return text.find('_') == text.rfind('_');
}

}  // namespace sandbox::oci
