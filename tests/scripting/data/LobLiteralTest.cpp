// LOB values as script text: pieces short enough for a script line and for
// Oracle's literal limits, never cutting a character in two, apostrophes
// doubled, every byte value written as two digits.
#include <gtest/gtest.h>

#include "scripting/data/LobLiteral.h"

namespace {

using namespace lob_literal;

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  std::size_t begin = 0;
  for (std::size_t at = text.find(separator); at != std::string::npos;
       at = text.find(separator, begin)) {
    parts.push_back(text.substr(begin, at - begin));
    begin = at + separator.size();
  }
  parts.push_back(text.substr(begin));
  return parts;
}

TEST(LobLiteralTest, ClobPiecesKeepCharactersWholeAndDoubleApostrophes) {
  // 999 single bytes, then a two-byte character across the 1000-byte mark.
  const std::string text = std::string(999, 'a') + "\xC3\xBC" + "b'c";
  const std::vector<std::string> pieces = Split(InlineClob(text), "\r\n|| ");
  ASSERT_EQ(pieces.size(), 2u);
  EXPECT_EQ(pieces[0], "TO_CLOB('" + std::string(999, 'a') + "')");
  EXPECT_EQ(pieces[1],
            "TO_CLOB('\xC3\xBC"
            "b''c')");
  // Every piece holds at most 1000 bytes of the value.
  const std::string big(4500, 'x');
  for (const std::string& piece : Split(InlineClob(big), "\r\n|| ")) {
    EXPECT_LE(piece.size(), 1000u + 11u);
  }
  EXPECT_EQ(Split(InlineClob(big), "\r\n|| ").size(), 5u);
}

TEST(LobLiteralTest, BlobPiecesWriteEveryByteValue) {
  std::string bytes;
  for (int value = 0; value < 256; ++value) {
    bytes += static_cast<char>(value);
  }
  const std::string inline256 = InlineBlob(bytes);
  ASSERT_EQ(inline256.substr(0, 20), "TO_BLOB(HEXTORAW('00");
  EXPECT_NE(inline256.find("7F80"), std::string::npos);
  EXPECT_EQ(inline256.substr(inline256.size() - 7), "FEFF'))");
  EXPECT_EQ(inline256.size(), std::string("TO_BLOB(HEXTORAW(''))").size() + 512);
  // 600 bytes: a line of 500 bytes and one of 100, joined in the expression.
  const std::string twoLines = InlineBlob(std::string(600, '\x0A'));
  const std::vector<std::string> parts = Split(twoLines, "'\r\n|| '");
  ASSERT_EQ(parts.size(), 2u);
  std::string hundred;
  for (int i = 0; i < 100; ++i) {
    hundred += "0A";
  }
  EXPECT_EQ(parts[0].size(), std::string("TO_BLOB(HEXTORAW('").size() + 1000);
  EXPECT_EQ(parts[1], hundred + "'))");
}

TEST(LobLiteralTest, ChunkStatementsAssignThenAppend) {
  EXPECT_EQ(BlockDeclaration(1, true), "  lob_2 CLOB;\r\n");
  EXPECT_EQ(BlockDeclaration(0, false), "  lob_1 BLOB;\r\n");
  EXPECT_EQ(ChunkStatement(1, "it's", true, true), "  lob_2 := TO_CLOB('it''s');\r\n");
  EXPECT_EQ(ChunkStatement(1, "more", true, false),
            "  DBMS_LOB.APPEND(lob_2, TO_CLOB('more'));\r\n");
  EXPECT_EQ(ChunkStatement(0, std::string("\x00\xFF", 2), false, true),
            "  lob_1 := TO_BLOB(HEXTORAW('00FF'));\r\n");
  EXPECT_EQ(ChunkStatement(0, std::string("\x01\x02\x03", 3), false, false),
            "  DBMS_LOB.WRITEAPPEND(lob_1, 3, HEXTORAW('010203'));\r\n");
}

}  // namespace

namespace {

// LONG RAW chunks arrive as hexadecimal digits: the first assigns the RAW
// variable, later ones are concatenated as RAW, never through text.
TEST(LobLiteralTest, LongRawChunksBuildARawVariable) {
  using namespace lob_literal;
  EXPECT_EQ(LongDeclaration(2, false), "  long_3 RAW(32760);\r\n");
  EXPECT_EQ(LongDeclaration(0, true), "  long_1 LONG;\r\n");
  const std::string digits = std::string(1000, 'A') + "0F";
  EXPECT_EQ(LongChunkStatement(2, digits, false, true),
            "  long_3 := HEXTORAW('" + std::string(1000, 'A') + "'\r\n|| '0F');\r\n");
  EXPECT_EQ(LongChunkStatement(2, "0F", false, false),
            "  long_3 := UTL_RAW.CONCAT(long_3, HEXTORAW('0F'));\r\n");
  EXPECT_EQ(LongChunkStatement(0, "it's", true, false), "  long_1 := long_1 || 'it''s';\r\n");
}

}  // namespace
