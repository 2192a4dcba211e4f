// ConnectStringParts: the pieces of a logon text "[schema:]user[/password]@database"
// as configuration files and the login dialog's Username field carry them.
#pragma once

#include <string>

struct ConnectStringParts {
  std::string Schema;
  std::string User;
  std::string Password;
  std::string Database;
};

// Splits "user[/password][@database]": the database follows the first "@"
// when that is not the first character, the password the first "/" wherever
// it stands (a text starting with "/" thus has an empty user).
ConnectStringParts SplitLogonText(const std::string& text);

// The same after taking off a schema prefix: the text before the first ":"
// when that is not the first character and stands before the first "@" and
// the first "/". So "user/pw@host:1521/service", "user@file:/path" and
// passwords with ":" keep their colons.
ConnectStringParts ParseConnectString(const std::string& connectString);

// connectString with its password taken out, for messages.
std::string ConnectStringWithoutPassword(const std::string& connectString);

// Builds "[schema:]user[/password]@database"; the schema goes in front when
// it is not empty, the password only when passwordSaved.
std::string BuildConnectString(const std::string& schema, const std::string& user,
                               const std::string& password, bool passwordSaved,
                               const std::string& database);
