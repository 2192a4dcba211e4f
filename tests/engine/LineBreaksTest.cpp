// Report text in one line-break style: the program's text follows the
// style, the server's text keeps its bytes in the LF style, and table data
// keeps every byte inside its quoted literals.
#include "engine/LineBreaks.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Convert(LineBreakConverter& converter, std::string_view text,
                    TextOrigin origin = TextOrigin::Program) {
  return std::string(converter.Convert(text, origin));
}

TEST(LineBreaksTest, LfStyleEndsTheProgramsLinesInLfAndKeepsServerTextAsStored) {
  LineBreakConverter converter;
  converter.Reset(LineBreakStyle::Lf);
  EXPECT_EQ(Convert(converter, "a\r\n\r\nb\r\n"), "a\n\nb\n");
  EXPECT_EQ(Convert(converter, "lone\rcr\n"), "lone\rcr\n");
  // A line the server holds with CR LF is part of the object's text.
  EXPECT_EQ(Convert(converter, "begin\r\n  null;  \t\nend;", TextOrigin::Server),
            "begin\r\n  null;  \t\nend;");
}

TEST(LineBreaksTest, CrLfStyleTurnsEveryLoneLfIntoCrLfAlsoAcrossPieces) {
  LineBreakConverter converter;
  converter.Reset(LineBreakStyle::CrLf);
  EXPECT_EQ(Convert(converter, "view\nas select 1\r\n", TextOrigin::Server),
            "view\r\nas select 1\r\n");
  EXPECT_EQ(Convert(converter, "\n\n"), "\r\n\r\n");
  // The CR that ended the last piece and this LF are one line break.
  EXPECT_EQ(Convert(converter, "line\r"), "line\r");
  EXPECT_EQ(Convert(converter, "\nnext"), "\nnext");
  EXPECT_EQ(Convert(converter, "\n"), "\r\n");
}

TEST(LineBreaksTest, DataValuesKeepLineBreaksInsideLiteralsInEitherStyle) {
  const std::string values = "('it''s\r\na', 'b\nc', 3);\r\n|| 'x'\n";
  LineBreakConverter lf;
  lf.Reset(LineBreakStyle::Lf);
  EXPECT_EQ(Convert(lf, values, TextOrigin::DataValues), "('it''s\r\na', 'b\nc', 3);\n|| 'x'\n");
  LineBreakConverter crlf;
  crlf.Reset(LineBreakStyle::CrLf);
  EXPECT_EQ(Convert(crlf, values, TextOrigin::DataValues),
            "('it''s\r\na', 'b\nc', 3);\r\n|| 'x'\r\n");
}

}  // namespace
