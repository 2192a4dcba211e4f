// Splitting and building the connect strings of the logon dialogs and of
// configuration files.
#include "scripting/connection/ConnectStringParts.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr char Quote = '"';

// Where separator stands outside double quotes, first or last; npos if not.
std::size_t FindOutsideQuotes(const std::string& text, char separator, bool last) {
  std::size_t found = std::string::npos;
  bool quoted = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == Quote) {
      quoted = !quoted;
    } else if (!quoted && text[i] == separator) {
      if (!last) {
        return i;
      }
      found = i;
    }
  }
  return found;
}

bool IsWhollyQuoted(const std::string& text) {
  return text.size() >= 2 && text.front() == Quote && text.back() == Quote &&
         text.find(Quote, 1) == text.size() - 1;
}

std::string WithoutQuotes(const std::string& text) {
  return IsWhollyQuoted(text) ? text.substr(1, text.size() - 2) : text;
}

// True when an unquoted prefix would fold to this very name.
bool SpelledUnquoted(const std::string& schema) {
  return !schema.empty() && std::isalpha(static_cast<unsigned char>(schema.front())) &&
         std::all_of(schema.begin(), schema.end(), [](unsigned char c) {
           return std::isupper(c) || std::isdigit(c) || c == '_' || c == '$' || c == '#';
         });
}

}  // namespace

ConnectStringParts SplitLogonText(const std::string& text) {
  ConnectStringParts parts;
  std::string rest = text;
  const std::size_t at = FindOutsideQuotes(rest, '@', true);
  if (at != std::string::npos && at > 0) {
    parts.Database = rest.substr(at + 1);
    rest.erase(at);
  }
  const std::size_t slash = FindOutsideQuotes(rest, '/', false);
  if (slash != std::string::npos) {
    parts.Password = WithoutQuotes(rest.substr(slash + 1));
    rest.erase(slash);
  }
  parts.User = rest;
  return parts;
}

ConnectStringParts ParseConnectString(const std::string& connectString) {
  const std::size_t colon = FindOutsideQuotes(connectString, ':', false);
  const std::size_t at = FindOutsideQuotes(connectString, '@', false);
  const std::size_t slash = FindOutsideQuotes(connectString, '/', false);
  if (colon == std::string::npos || colon == 0 || colon > std::min(at, slash)) {
    return SplitLogonText(connectString);
  }
  ConnectStringParts parts = SplitLogonText(connectString.substr(colon + 1));
  parts.Schema = connectString.substr(0, colon);
  return parts;
}

std::string SchemaNameOfPrefix(const std::string& prefix) {
  if (IsWhollyQuoted(prefix)) {
    return WithoutQuotes(prefix);
  }
  std::string name = prefix;
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return name;
}

std::string BuildConnectString(const std::string& schema, const std::string& user,
                               const std::string& password, bool passwordSaved,
                               const std::string& database) {
  std::string text;
  if (!schema.empty()) {
    text = (SpelledUnquoted(schema) ? schema : Quote + schema + Quote) + ":";
  }
  text += user;
  if (passwordSaved) {
    text += "/" + password;
  }
  return text + "@" + database;
}
