// DbmsLob: the LOB values of the interpreter, counted in characters or
// bytes, and DBMS_LOB's functions over them, with TO_CLOB, TO_BLOB and
// HEXTORAW. A CLOB is held as its text; a BLOB, like a RAW
// value in PL/SQL, as the upper-case hexadecimal text of its bytes, and is
// bound to SQL as bytes.
#pragma once

#include <cstddef>
#include <string>

#include "sandbox/plsql/Ast.h"
#include "sandbox/plsql/Builtins.h"
#include "sandbox/plsql/PlValue.h"

namespace sandbox::plsql {

// DBMS_LOB.LOBMAXSIZE: the most an amount or offset may be.
inline constexpr long double kLobMaxSize = 18446744073709551615.0L;

// TO_CLOB, TO_NCLOB, TO_BLOB and HEXTORAW among the built-in functions;
// nullptr for another name.
const BuiltinInfo* FindLobBuiltin(const std::string& name);

// Whether expr gives a binary value: a BLOB or RAW variable, TO_BLOB,
// HEXTORAW or a supplied function whose result is RAW.
bool IsBinaryExpr(const Expr& expr);

// HEXTORAW: the digits in upper case, led by a zero when their count is odd;
// ORA-01465 for a character that is not a hexadecimal digit.
PlValue HexToRaw(const PlValue& text);
// The SQL value of a binary PL/SQL value (its bytes).
Value BinaryToSql(const PlValue& value);
// The bytes of hexadecimal digits, and the digits of bytes.
inline std::string RawBytes(const std::string& hex) {
  return BinaryToSql(PlValue::Text(hex)).text;
}
inline std::string RawHex(const std::string& bytes) {
  return BinaryFromSql(Value::Binary(bytes)).text();
}

// A LOB's contents counted in its units: characters of a CLOB (UTF-8
// text), bytes of a BLOB (two hexadecimal digits each).
std::size_t LobUnits(const std::string& text, bool binary);
// Where unit index (0-based) starts in text; text.size() past its end.
std::size_t LobUnitOffset(const std::string& text, std::size_t index, bool binary);
// Units [from, from + count) of text, fewer at its end.
std::string LobPiece(const std::string& text, std::size_t from, std::size_t count, bool binary);
// count blanks, or count zero bytes of a BLOB.
std::string LobFiller(std::size_t count, bool binary);
// text with piece written over it from unit at, which may lie past its end:
// the gap is filled as LobFiller fills it.
std::string LobOverwrite(const std::string& text, std::size_t at, const std::string& piece,
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
