// The character sets the supplied packages convert text to and from:
// AL32UTF8 (the database's, which keeps text as UTF-8), UTF8, AL16UTF16
// (big-endian UTF-16, the national character set), WE8ISO8859P1 and
// US7ASCII, by Oracle's name or number.
#pragma once

#include <string>

namespace sandbox::plsql {

// The name of character set id (0: the database's); empty for one not kept.
std::string CharacterSetName(int id);
// A character set's name in upper case when it is one of those kept; for
// an NLS_LANG form ("AMERICAN_AMERICA.AL32UTF8") the part after the dot.
// Empty for any other, and the database's for an empty name.
std::string KnownCharacterSet(const std::string& name);

// UTF-8 text as the bytes of charset. A character the set lacks becomes its
// replacement character and sets lossy.
std::string EncodeText(const std::string& text, const std::string& charset, bool& lossy);
// Bytes of charset as UTF-8 text (appended to text). A byte sequence that
// is no character becomes the replacement character and sets lossy.
void DecodeText(const std::string& bytes, const std::string& charset, std::string& text,
                bool& lossy);

}  // namespace sandbox::plsql
