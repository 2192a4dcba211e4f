// The text LOB routines and the character set conversions work on: units
// of a CLOB are characters of UTF-8 text, of a BLOB bytes as hexadecimal
// digits, and malformed bytes become the replacement character.
#include <gtest/gtest.h>

#include "sandbox/plsql/DbmsLob.h"
#include "sandbox/plsql/supplied/CharacterSets.h"

namespace sandbox::plsql {
namespace {

const std::string kText =
    "a\xC3\xA9\xE2\x82\xAC"
    "b";  // "aé€b"

TEST(LobUnitsTest, ClobUnitsAreCharactersAndBlobUnitsBytes) {
  EXPECT_EQ(LobUnits(kText, false), 4u);
  EXPECT_EQ(LobUnits("0A0B0C", true), 3u);
  EXPECT_EQ(LobPiece(kText, 1, 2, false), "\xC3\xA9\xE2\x82\xAC");
  EXPECT_EQ(LobPiece(kText, 3, 100, false), "b");
  EXPECT_EQ(LobPiece(kText, 9, 1, false), "");
  EXPECT_EQ(LobPiece("0A0B0C", 1, 5, true), "0B0C");
}

TEST(LobUnitsTest, OverwriteReplacesWholeCharactersAndFillsGaps) {
  // A one-byte character over a three-byte one, and the other way round.
  EXPECT_EQ(LobOverwrite(kText, 2, "x", false), "a\xC3\xA9xb");
  EXPECT_EQ(LobOverwrite(kText, 0, "\xE2\x82\xAC", false),
            "\xE2\x82\xAC\xC3\xA9\xE2\x82\xAC"
            "b");
  // Past the end: blanks, or zero bytes.
  EXPECT_EQ(LobOverwrite("ab", 4, "z", false), "ab  z");
  EXPECT_EQ(LobOverwrite("0A", 2, "FF", true), "0A00FF");
  // Longer than what is left: the value grows.
  EXPECT_EQ(LobOverwrite("0A0B", 1, "FFEE", true), "0AFFEE");
}

std::string Encode(const std::string& text, const std::string& charset, bool& lossy) {
  lossy = false;
  return EncodeText(text, charset, lossy);
}

std::string Decode(const std::string& bytes, const std::string& charset, bool& lossy) {
  lossy = false;
  std::string text;
  DecodeText(bytes, charset, text, lossy);
  return text;
}

TEST(CharacterSetTest, SupplementaryCharactersTakeSurrogatesWhereTheSetUsesThem) {
  const std::string clef = "\xF0\x9D\x84\x9E";  // U+1D11E
  bool lossy = false;
  EXPECT_EQ(Encode(clef, "AL16UTF16", lossy), std::string("\xD8\x34\xDD\x1E", 4));
  EXPECT_EQ(Encode(clef, "UTF8", lossy), "\xED\xA0\xB4\xED\xB4\x9E");
  EXPECT_EQ(Encode(clef, "AL32UTF8", lossy), clef);
  EXPECT_FALSE(lossy);
  for (const char* set : {"AL16UTF16", "UTF8", "AL32UTF8"})
    EXPECT_EQ(Decode(Encode(kText + clef, set, lossy), set, lossy), kText + clef) << set;
}

TEST(CharacterSetTest, WhatASetCannotHoldIsReplacedAndReported) {
  bool lossy = false;
  EXPECT_EQ(Encode(kText, "WE8ISO8859P1", lossy),
            "a\xE9\xBF"
            "b");
  EXPECT_TRUE(lossy);
  EXPECT_EQ(Encode(kText, "US7ASCII", lossy), "a??b");
  EXPECT_TRUE(lossy);
  // A lone continuation byte and a cut-off sequence.
  EXPECT_EQ(Decode("a\x80z\xE2\x82", "AL32UTF8", lossy), "a\xEF\xBF\xBDz\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_TRUE(lossy);
  EXPECT_EQ(Decode(std::string("\x00\xE9\x00", 3), "AL16UTF16", lossy),
            std::string("\xC3\xA9\xEF\xBF\xBD"));
  EXPECT_TRUE(lossy);
  EXPECT_EQ(KnownCharacterSet("american_america.we8iso8859p1"), "WE8ISO8859P1");
  EXPECT_EQ(KnownCharacterSet(""), "AL32UTF8");
  EXPECT_EQ(KnownCharacterSet("JA16SJIS"), "");
  EXPECT_EQ(CharacterSetName(0), "AL32UTF8");
  EXPECT_EQ(CharacterSetName(2000), "AL16UTF16");
}

}  // namespace
}  // namespace sandbox::plsql
