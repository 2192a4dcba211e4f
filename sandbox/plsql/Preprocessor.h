// Conditional compilation: $IF / $ELSIF / $ELSE / $END select the text the
// compiler reads, $ERROR stops the compilation, and inquiry directives
// ($$PLSQL_UNIT, $$PLSQL_LINE ...) become literals. Text left out is blanked
// with its line breaks kept, so every line of the result is the line of the
// source it came from and errors name the lines as written.
#pragma once

#include <string>

#include "sandbox/plsql/Lexer.h"
#include "sandbox/plsql/PlValue.h"

namespace sandbox::plsql {

// The unit whose text is compiled; an anonymous block has no name.
struct UnitIdentity {
  std::string owner;
  std::string name;
  std::string type;  // PROCEDURE, FUNCTION, PACKAGE, PACKAGE BODY
};

// text receives what the compiler reads; false with error set for a $ERROR
// that is selected, a condition that is no static boolean expression or
// directives that do not pair up.
bool Preprocess(const std::string& source, const UnitIdentity& unit, std::string& text,
                LexError& error);

// The same selection with the directives and inquiries blanked as well, so
// that every character keeps its offset in source: for readers that report
// positions of the text as written.
bool BlankUnselected(const std::string& source, const UnitIdentity& unit, std::string& text,
                     LexError& error);

// DBMS_DB_VERSION.member as release 19 declares it; false for no such member.
bool DbmsDbVersion(const std::string& member, PlValue& value);

}  // namespace sandbox::plsql
