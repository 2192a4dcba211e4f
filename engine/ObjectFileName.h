// ObjectFileName: the file name (without extension) that holds one object of
// a split report. A plain upper-case identifier is its own name; any other
// byte is encoded, so that every name is portable and no two object names
// give the same file name, also on a case-insensitive file system: a
// lower-case letter x becomes "^x" (an upper-case letter never has a caret
// before it) and every other byte but A-Z, 0-9 and "_" becomes "%XX". A name
// whose encoding would be too long for a file system keeps its first part and
// ends with "~" and a hash of the whole name; names that Windows reserves
// (CON, NUL, COM1, ...) have their first letter encoded.
#pragma once

#include <string>
#include <string_view>

std::string ObjectFileName(std::string_view objectName);
