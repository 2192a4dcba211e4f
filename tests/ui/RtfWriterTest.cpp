// RTF output of the report: colours, underline, font and escaping.
#include <gtest/gtest.h>

#include <QTextCursor>
#include <QTextDocument>

#include "ui/RtfWriter.h"

namespace {

void Insert(QTextDocument& document, const QString& text, QColor colour, bool underline = false) {
  QTextCursor cursor(&document);
  cursor.movePosition(QTextCursor::End);
  QTextCharFormat format;
  format.setForeground(colour);
  format.setFontUnderline(underline);
  cursor.insertText(text, format);
}

// The RTF text with escaped braces and backslashes removed, so that the group
// structure can be counted.
int GroupBalance(QByteArray rtf) {
  rtf.replace("\\\\", "").replace("\\{", "").replace("\\}", "");
  int depth = 0;
  for (char c : rtf) {
    if (c == '{') {
      ++depth;
    } else if (c == '}') {
      if (--depth < 0) {
        return -1;
      }
    }
  }
  return depth;
}

class RtfWriterTest : public ::testing::Test {
 protected:
  RtfWriterTest() {
    QFont font("Courier New");
    font.setPointSizeF(8.5);
    document.setDefaultFont(font);
  }
  QTextDocument document;
};

TEST_F(RtfWriterTest, KeepsColoursUnderlineAndFont) {
  Insert(document, "banner\n", QColor(0x09, 0xA5, 0x2E));
  Insert(document, "name", QColor(0x2A, 0x2A, 0xFF), true);
  Insert(document, " again", QColor(0x09, 0xA5, 0x2E));
  const QByteArray rtf = RtfWriter::Write(document);

  EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi"));
  EXPECT_TRUE(rtf.contains("{\\fonttbl{\\f0"));
  EXPECT_TRUE(rtf.contains(" Courier New;}"));
  // One entry per distinct colour, in first-use order after the automatic colour.
  EXPECT_TRUE(rtf.contains("{\\colortbl ;\\red9\\green165\\blue46;\\red42\\green42\\blue255;}"));
  EXPECT_TRUE(rtf.contains("{\\f0\\fs17\\cf1 banner}\\par\n"));
  EXPECT_TRUE(rtf.contains("{\\f0\\fs17\\cf2\\ul name}"));
  EXPECT_TRUE(rtf.contains("{\\f0\\fs17\\cf1  again}"));
  EXPECT_EQ(GroupBalance(rtf), 0);
}

TEST_F(RtfWriterTest, EscapesControlCharactersAndNonAscii) {
  Insert(document, QString::fromUtf8("C:\\dir {x} caf\u00e9 \u20ac \U0001F600\tend"), Qt::black);
  const QByteArray rtf = RtfWriter::Write(document);

  EXPECT_TRUE(rtf.contains("C:\\\\dir \\{x\\} caf\\u233? \\u8364? \\u-10179?\\u-8704?\\tab end"))
      << rtf.constData();
  EXPECT_EQ(GroupBalance(rtf), 0);
  for (char c : rtf) {
    EXPECT_GE(static_cast<unsigned char>(c), 0x0A);
    EXPECT_LT(static_cast<unsigned char>(c), 0x80);
  }
}

TEST_F(RtfWriterTest, EmptyDocumentIsStillAValidStream) {
  const QByteArray rtf = RtfWriter::Write(document);
  EXPECT_TRUE(rtf.contains(" Courier New;}"));
  EXPECT_EQ(GroupBalance(rtf), 0);
  EXPECT_FALSE(rtf.contains("\\par\n"));
}

TEST_F(RtfWriterTest, BoldItalicAndAnotherFontAreNamed) {
  QTextCursor cursor(&document);
  QTextCharFormat format;
  format.setFontFamilies({"Helvetica"});
  format.setFontPointSize(12);
  format.setFontWeight(QFont::Bold);
  format.setFontItalic(true);
  cursor.insertText("plain", QTextCharFormat());
  cursor.insertText("styled", format);
  const QByteArray rtf = RtfWriter::Write(document);
  EXPECT_TRUE(rtf.contains("{\\f0\\fs17 plain}"));
  EXPECT_TRUE(rtf.contains("{\\f1\\fs24\\b\\i styled}"));
  EXPECT_TRUE(rtf.contains(" Helvetica;}"));
}

}  // namespace
