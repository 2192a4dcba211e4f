// ValueLiteral: one fetched column value, as the client's text form of it,
// written as an Oracle literal that puts the same value back. The type code
// is the external type the server described for the column.
#pragma once

#include <string>
#include <string_view>

// The session formats that fetched temporal text is in; literals name the
// same formats so that the text reads back exactly.
struct LiteralFormats {
  std::string Date;
  std::string Timestamp;
  std::string TimestampWithZone;
};

// External type codes the data scripts tell apart.
namespace ValueType {
inline constexpr int Char = 1;
inline constexpr int Number = 2;
inline constexpr int Long = 8;
inline constexpr int RowId = 11;
inline constexpr int Date = 12;
inline constexpr int BinaryFloat = 21;
inline constexpr int BinaryDouble = 22;
inline constexpr int Raw = 23;
inline constexpr int LongRaw = 24;
inline constexpr int Char96 = 96;
inline constexpr int NativeFloat = 100;
inline constexpr int NativeDouble = 101;
inline constexpr int RowIdDescriptor = 104;
inline constexpr int Clob = 112;
inline constexpr int Blob = 113;
inline constexpr int Bfile = 114;
inline constexpr int Timestamp = 187;
inline constexpr int TimestampWithZone = 188;
inline constexpr int IntervalYearToMonth = 189;
inline constexpr int IntervalDayToSecond = 190;
inline constexpr int UniversalRowId = 208;
inline constexpr int TimestampWithLocalZone = 232;
}  // namespace ValueType

// Appends text to out with every c doubled (the escape of quotes in SQL and
// of "%" for the statement layer).
void AppendDoubling(std::string& out, std::string_view text, char c);
// text as a character literal: in apostrophes, inner apostrophes doubled.
std::string QuotedLiteral(std::string_view text);

// The end of the piece of text that starts at begin: at most longest bytes,
// not inside a UTF-8 sequence. A piece of LongestTextPiece bytes is short
// enough for a script line even when every apostrophe is doubled.
inline constexpr std::size_t LongestTextPiece = 1000;
std::size_t TextPieceEnd(std::string_view text, std::size_t begin,
                         std::size_t longest = LongestTextPiece);

// Appends text as a character expression that a script tool reads back
// whole: its quoted literal, or, when that would not stand in a script as it
// is, quoted pieces joined by "||" on lines of their own, each line break
// written as CHR(10). A literal cannot stand as it is when it is longer than
// a piece, or when a line of it would end the statement or run as a command
// of the tool: a line that ends in ";", a blank line, a line of nothing but
// "/" or ".", or one that begins with "#".
void AppendTextLiteral(std::string& out, std::string_view text);

// True for the LOB kinds whose contents are not scripted (112 to 114).
bool IsLobType(int typeCode);

// Appends the literal of value (empty: NULL) to out.
void AppendValueLiteral(std::string& out, std::string_view value, int typeCode,
                        const LiteralFormats& formats);
std::string FormatValue(std::string_view value, int typeCode, const LiteralFormats& formats);
