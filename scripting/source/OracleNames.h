// How a dictionary name is written into a generated statement: as it stands
// when Oracle would read it back unchanged without quotes, else in double
// quotes (lower case, blanks, a leading digit or underscore, other signs).
#pragma once

#include <string>

// True for a name of upper-case letters, digits, "_", "$" and "#" that begins
// with a letter.
bool IsPlainName(const std::string& name);
// name, or name in double quotes when it is not plain.
std::string StatementName(const std::string& name);
