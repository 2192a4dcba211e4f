// LOB values as inline expressions and block statements.
#include "scripting/data/LobLiteral.h"

#include "scripting/data/ValueLiteral.h"

namespace lob_literal {

namespace {

// One line of hexadecimal digits: short enough for a script line.
constexpr std::size_t BlobPieceBytes = 500;
constexpr const char* PieceSeparator = "\r\n|| ";

// Quoted pieces of text, each wrapped as before + piece + after.
std::string ClobPieces(std::string_view text, const char* before, const char* after) {
  std::string out;
  for (std::size_t begin = 0; begin < text.size();) {
    const std::size_t end = TextPieceEnd(text, begin);
    if (begin > 0) {
      out += PieceSeparator;
    }
    out += before;
    AppendTextLiteral(out, text.substr(begin, end - begin));
    out += after;
    begin = end;
  }
  return out;
}

// Quoted pieces of hexadecimal digits joined into one string expression.
std::string DigitPieces(std::string_view digits) {
  std::string out;
  for (std::size_t begin = 0; begin < digits.size(); begin += 2 * BlobPieceBytes) {
    out += begin == 0 ? "'" : std::string("'") + PieceSeparator + "'";
    out += digits.substr(begin, 2 * BlobPieceBytes);
  }
  return out + "'";
}

std::string HexPieces(std::string_view bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(2 * bytes.size());
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    text += digits[byte >> 4];
    text += digits[byte & 15];
  }
  return DigitPieces(text);
}

}  // namespace

std::string InlineClob(std::string_view text) {
  return ClobPieces(text, "TO_CLOB(", ")");
}

std::string InlineBlob(std::string_view bytes) {
  return "TO_BLOB(HEXTORAW(" + HexPieces(bytes) + "))";
}

std::string BlockVariable(std::size_t column) {
  return "lob_" + std::to_string(column + 1);
}

std::string BlockDeclaration(std::size_t column, bool characters) {
  return "  " + BlockVariable(column) + (characters ? " CLOB;\r\n" : " BLOB;\r\n");
}

std::string ChunkStatement(std::size_t column, std::string_view chunk, bool characters,
                           bool first) {
  const std::string variable = BlockVariable(column);
  if (characters) {
    const std::string value = "TO_CLOB(" + ClobPieces(chunk, "", "") + ")";
    return first ? "  " + variable + " := " + value + ";\r\n"
                 : "  DBMS_LOB.APPEND(" + variable + ", " + value + ");\r\n";
  }
  const std::string value = "HEXTORAW(" + HexPieces(chunk) + ")";
  return first ? "  " + variable + " := TO_BLOB(" + value + ");\r\n"
               : "  DBMS_LOB.WRITEAPPEND(" + variable + ", " + std::to_string(chunk.size()) + ", " +
                     value + ");\r\n";
}

std::string LongVariable(std::size_t column) {
  return "long_" + std::to_string(column + 1);
}

std::string LongDeclaration(std::size_t column, bool characters) {
  return "  " + LongVariable(column) + (characters ? " LONG;\r\n" : " RAW(32760);\r\n");
}

std::string LongChunkStatement(std::size_t column, std::string_view chunk, bool characters,
                               bool first) {
  const std::string variable = LongVariable(column);
  if (characters) {
    const std::string value = ClobPieces(chunk, "", "");
    return "  " + variable + " := " + (first ? "" : variable + " || ") + value + ";\r\n";
  }
  const std::string value = "HEXTORAW(" + DigitPieces(chunk) + ")";
  return first ? "  " + variable + " := " + value + ";\r\n"
               : "  " + variable + " := UTL_RAW.CONCAT(" + variable + ", " + value + ");\r\n";
}

}  // namespace lob_literal
