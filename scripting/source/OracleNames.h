// How a dictionary name is written into a generated statement: as it stands
// when Oracle would read it back unchanged without quotes, else in double
// quotes (lower case, blanks, a leading digit or underscore, other signs, a
// reserved word). Every quoting of names goes by these rules.
#pragma once

#include <string>
#include <string_view>

// True for a name of upper-case letters, digits, "_", "$" and "#" that begins
// with a letter and is not a word Oracle reserves.
bool IsPlainName(std::string_view name);
// name, or name in double quotes when it is not plain.
std::string StatementName(const std::string& name);

// A role as GRANT names it: the roles Oracle itself defines under reserved
// words (CONNECT, RESOURCE) by their bare names, which GRANT accepts, any
// other as StatementName writes it.
std::string RoleName(const std::string& name);
