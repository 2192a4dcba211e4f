// Splitting and building the connect strings of the logon dialogs and of
// configuration files.
#include "scripting/connection/ConnectStringParts.h"

ConnectStringParts SplitLogonText(const std::string& text) {
  ConnectStringParts parts;
  std::string rest = text;
  const std::size_t at = rest.find('@');
  if (at != std::string::npos && at > 0) {
    parts.Database = rest.substr(at + 1);
    rest.erase(at);
  }
  const std::size_t slash = rest.find('/');
  if (slash != std::string::npos) {
    parts.Password = rest.substr(slash + 1);
    rest.erase(slash);
  }
  parts.User = rest;
  return parts;
}

ConnectStringParts ParseConnectString(const std::string& connectString) {
  const std::size_t colon = connectString.find(':');
  if (colon == std::string::npos || colon == 0 || colon > connectString.find_first_of("@/")) {
    return SplitLogonText(connectString);
  }
  ConnectStringParts parts = SplitLogonText(connectString.substr(colon + 1));
  parts.Schema = connectString.substr(0, colon);
  return parts;
}

std::string ConnectStringWithoutPassword(const std::string& connectString) {
  const ConnectStringParts parts = ParseConnectString(connectString);
  std::string text = parts.Schema.empty() ? parts.User : parts.Schema + ":" + parts.User;
  return parts.Database.empty() ? text : text + "@" + parts.Database;
}

std::string BuildConnectString(const std::string& schema, const std::string& user,
                               const std::string& password, bool passwordSaved,
                               const std::string& database) {
  std::string text;
  if (!schema.empty()) {
    text = schema + ":";
  }
  text += user;
  if (passwordSaved) {
    text += "/" + password;
  }
  return text + "@" + database;
}
