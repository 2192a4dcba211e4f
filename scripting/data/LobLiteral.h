// LobLiteral: LOB values written so that a script puts them back whole
// within Oracle's limits: a character literal in SQL holds at most 4000
// bytes and a RAW at most 2000, a PL/SQL string 32767, and script lines are
// kept short for the tools that run them. Small values are expressions of an
// INSERT; larger ones are built in a variable of an anonymous block, one
// chunk per statement.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace lob_literal {

// The largest values written inline in an INSERT statement.
inline constexpr unsigned InlineClobCharacters = 8192;  // 32 KB at 4 bytes a character
inline constexpr unsigned InlineBlobBytes = 2000;       // one RAW literal
// The bytes of one chunk statement of a block (read at once from the value).
inline constexpr std::size_t ClobChunkBytes = 32000;
inline constexpr std::size_t BlobChunkBytes = 16000;  // 32000 hexadecimal digits

// The inline expression of a non-empty CLOB value: TO_CLOB('...') pieces of
// at most 1000 bytes joined by "||" at the start of a new line.
std::string InlineClob(std::string_view text);
// The inline expression of a non-empty BLOB value of at most InlineBlobBytes:
// TO_BLOB(HEXTORAW('...' || '...')).
std::string InlineBlob(std::string_view bytes);

// The variable that holds the value of the 0-based column in a block.
std::string BlockVariable(std::size_t column);
// The declaration line of that variable.
std::string BlockDeclaration(std::size_t column, bool characters);
// The statement line that adds chunk to the variable; the first chunk
// assigns it.
std::string ChunkStatement(std::size_t column, std::string_view chunk, bool characters, bool first);

// A LONG or LONG RAW value whose literal would pass the 4,000 bytes of an
// SQL literal is bound from a variable of the block (LONG for text, RAW for
// LONG RAW), which holds at most LongestBlockLong bytes; the value arrives as
// text or as hexadecimal digits and is added LongChunkBytes of them a
// statement.
inline constexpr std::size_t LongestLongLiteral = 4000;
inline constexpr std::size_t LongestBlockLong = 32760;
inline constexpr std::size_t LongChunkBytes = 8000;

std::string LongVariable(std::size_t column);
std::string LongDeclaration(std::size_t column, bool characters);
// The statement line that adds chunk (text, or hexadecimal digits) to the
// variable; the first chunk assigns it.
std::string LongChunkStatement(std::size_t column, std::string_view chunk, bool characters,
                               bool first);

}  // namespace lob_literal
