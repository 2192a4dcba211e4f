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

// True for the LOB kinds whose contents are not scripted (112 to 114).
bool IsLobType(int typeCode);

// Appends the literal of value (empty: NULL) to out.
void AppendValueLiteral(std::string& out, std::string_view value, int typeCode,
                        const LiteralFormats& formats);
std::string FormatValue(std::string_view value, int typeCode, const LiteralFormats& formats);
