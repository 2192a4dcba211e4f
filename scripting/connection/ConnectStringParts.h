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

// Splits "user[/password][@database]" as Oracle's own clients do: the
// database follows the last "@" outside double quotes when that is not the
// first character, so a password may hold "@"; the password follows the first
// "/" outside double quotes (a text starting with "/" thus has an empty user).
// A password written whole in double quotes ("Pa@ss") loses its quotes.
ConnectStringParts SplitLogonText(const std::string& text);

// The same after taking off a schema prefix: the text before the first ":"
// outside double quotes when that is not the first character and stands
// before the first "@" and the first "/". So "user/pw@host:1521/service",
// "user@file:/path" and passwords with ":" keep their colons. The prefix is
// kept as written ("demo", "\"Mixed\"").
ConnectStringParts ParseConnectString(const std::string& connectString);

// The schema a prefix names, as the dictionary spells it: an unquoted name
// folded to upper case, a double-quoted one as written without its quotes.
std::string SchemaNameOfPrefix(const std::string& prefix);

// Builds "[schema:]user[/password]@database"; the schema goes in front when
// it is not empty (in double quotes when an unquoted prefix would not fold to
// it), the password only when passwordSaved.
std::string BuildConnectString(const std::string& schema, const std::string& user,
                               const std::string& password, bool passwordSaved,
                               const std::string& database);
