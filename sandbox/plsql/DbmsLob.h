// DbmsLob: the LOB values of the interpreter and the DBMS_LOB calls a
// restore script makes (APPEND, WRITEAPPEND, GETLENGTH), with TO_CLOB,
// TO_BLOB and HEXTORAW. A CLOB is held as its text; a BLOB, like a RAW
// value in PL/SQL, as the upper-case hexadecimal text of its bytes, and is
// bound to SQL as bytes.
#pragma once

#include <string>

#include "sandbox/plsql/Ast.h"
#include "sandbox/plsql/Builtins.h"
#include "sandbox/plsql/PlValue.h"

namespace sandbox::plsql {

// TO_CLOB, TO_NCLOB, TO_BLOB and HEXTORAW among the built-in functions;
// nullptr for another name.
const BuiltinInfo* FindLobBuiltin(const std::string& name);

// Whether expr gives a binary value: a BLOB variable, TO_BLOB or HEXTORAW.
bool IsBinaryExpr(const Expr& expr);

// HEXTORAW: the digits in upper case, led by a zero when their count is odd;
// ORA-01465 for a character that is not a hexadecimal digit.
PlValue HexToRaw(const PlValue& text);
// The SQL value of a binary PL/SQL value (its bytes).
Value BinaryToSql(const PlValue& value);

// DBMS_LOB.APPEND(dest, src): the new value of dest. ORA-22275 when dest is
// NULL (it locates no LOB).
PlValue LobAppend(const PlValue& dest, const PlValue& src);
// DBMS_LOB.WRITEAPPEND(lob, amount, buffer): amount characters (bytes of a
// BLOB) of buffer appended. ORA-21560 for an amount outside 1 .. the length
// of buffer.
PlValue LobWriteAppend(const PlValue& lob, const PlValue& amount, const PlValue& buffer,
                       bool binary);
// DBMS_LOB.GETLENGTH(lob): characters, or bytes of a BLOB; NULL for NULL.
PlValue LobLength(const PlValue& lob, bool binary);
// DBMS_LOB.SUBSTR(lob, amount, offset): amount characters (bytes of a BLOB)
// from offset; NULL for NULL, an amount outside 1 .. 32767 or an offset
// below 1, as Oracle gives them.
PlValue LobSubstr(const PlValue& lob, const PlValue& amount, const PlValue& offset, bool binary);
// DBMS_LOB.INSTR(lob, pattern, offset, nth): where the nth match at or after
// offset starts, 0 when there is none.
PlValue LobInstr(const PlValue& lob, const PlValue& pattern, const PlValue& offset,
                 const PlValue& nth, bool binary);

}  // namespace sandbox::plsql
