// The report view catching up with the report model.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTextBlock>

#include "engine/ReportModel.h"
#include "ui/CTallyfoldView.h"

namespace {

QTextCharFormat FormatAt(const QTextDocument& document, int position) {
  QTextCursor cursor(const_cast<QTextDocument*>(&document));
  cursor.setPosition(position + 1);
  return cursor.charFormat();
}

class ReportViewTest : public ::testing::Test {
 protected:
  ReportModel model;
  CTallyfoldView view{model, nullptr};
};

TEST_F(ReportViewTest, ShowsRunsWithColoursUnderlineAndLinesWithoutCarriageReturns) {
  model.Append("/***\r\n*  Date\r\n", CommentColour, false);
  model.Append("DEMO", NameColour, true);
  view.CatchUp();

  EXPECT_EQ(view.toPlainText(), "/***\n*  Date\nDEMO");
  EXPECT_EQ(view.document()->blockCount(), 3);
  const QTextCharFormat banner = FormatAt(*view.document(), 0);
  EXPECT_EQ(banner.foreground().color(), QColor(0x09, 0xA5, 0x2E));
  EXPECT_FALSE(banner.fontUnderline());
  const QTextCharFormat name = FormatAt(*view.document(), 13);
  EXPECT_EQ(name.foreground().color(), QColor(0x2A, 0x2A, 0xFF));
  EXPECT_TRUE(name.fontUnderline());
}

TEST_F(ReportViewTest, RunTextGoesToTheEndWhereverTheCaretIs) {
  model.Append("line one\r\nline two\r\n", CommentColour, false);
  view.CatchUp();
  QTextCursor caret = view.textCursor();
  caret.setPosition(4);
  caret.setPosition(7, QTextCursor::KeepAnchor);
  view.setTextCursor(caret);

  model.Append("line three\r\n", NameColour, false);
  view.CatchUp();
  EXPECT_EQ(view.toPlainText(), "line one\nline two\nline three\n");
  EXPECT_EQ(view.textCursor().selectedText(), " on");

  view.MoveCaretToEnd();
  EXPECT_TRUE(view.textCursor().atEnd());
}

TEST_F(ReportViewTest, ClearAndNewFormatApplyToTheWholeReport) {
  model.Append("old text\r\n", CommentColour, false);
  view.CatchUp();
  model.Clear();
  model.Append("new text", AlertColour, false);
  ReportCharFormat format;
  format.SetFont("DejaVu Sans", 12, true, false);
  model.SetCharFormat(format);
  view.CatchUp();

  EXPECT_EQ(view.toPlainText(), "new text");
  EXPECT_EQ(view.ReportFont().family(), "DejaVu Sans");
  EXPECT_DOUBLE_EQ(view.ReportFont().pointSizeF(), 12.0);
  const QTextCharFormat shown = FormatAt(*view.document(), 0);
  EXPECT_DOUBLE_EQ(shown.fontPointSize(), 12.0);
  EXPECT_EQ(shown.fontWeight(), QFont::Bold);
  // The run keeps its own colour under the new font.
  EXPECT_EQ(shown.foreground().color(), QColor(0xFF, 0x00, 0x00));
}

TEST_F(ReportViewTest, TimerShowsALongReportInOrderAcrossSeveralTicks) {
  const int lines = static_cast<int>(CTallyfoldView::RunsPerTick) + 5000;
  for (int i = 0; i < lines; ++i) {
    model.Append(std::to_string(i) + "\r\n", i % 2 ? NameColour : CommentColour, false);
  }
  QElapsedTimer timer;
  timer.start();
  QApplication::processEvents();
  while (view.document()->blockCount() <= lines && timer.elapsed() < 10000) {
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  ASSERT_EQ(view.document()->blockCount(), lines + 1);
  EXPECT_EQ(view.document()->findBlockByNumber(lines - 1).text(), QString::number(lines - 1));
  EXPECT_EQ(view.document()->findBlockByNumber(12345).text(), "12345");
  EXPECT_FALSE(view.HasPendingRuns());
}

TEST_F(ReportViewTest, ClearDropsRunsNotYetShown) {
  for (int i = 0; i < 100; ++i) {
    model.Append("old\r\n", i % 2 ? NameColour : CommentColour, false);
  }
  view.CatchUp(10);
  ASSERT_TRUE(view.HasPendingRuns());
  model.Clear();
  model.Append("after the clear", NameColour, false);
  view.CatchUp();
  EXPECT_EQ(view.toPlainText(), "after the clear");
}

TEST_F(ReportViewTest, DefaultFontIsCourierNewAtEightAndAHalfPoints) {
  EXPECT_EQ(view.ReportFont().family(), "Courier New");
  EXPECT_DOUBLE_EQ(view.ReportFont().pointSizeF(), 8.5);
  EXPECT_TRUE(view.isReadOnly());
  EXPECT_EQ(view.lineWrapMode(), QPlainTextEdit::NoWrap);
  EXPECT_FALSE(view.isUndoRedoEnabled());
}

}  // namespace

namespace {

// Where the text after a tab starts, against eight blanks of the font.
TEST_F(ReportViewTest, TabStopsFallEveryEightBlanksOfTheReportFont) {
  model.Append(",DESCRIPTION\tVARCHAR2(200)\r\n,ID\tNUMBER\r\n12345678X", CommentColour, false);
  for (const double points : {8.5, 20.0, 31.0}) {
    ReportCharFormat format;
    format.SetFont("DejaVu Sans Mono", points, false, false);
    model.SetCharFormat(format);
    view.CatchUp();
    QTextCursor cursor(view.document());
    const auto xAt = [&](int block, int column) {
      cursor.setPosition(view.document()->findBlockByNumber(block).position() + column);
      return view.cursorRect(cursor).left();
    };
    EXPECT_EQ(xAt(1, 4), xAt(2, 8)) << points;                        // ",ID" then a tab
    EXPECT_NEAR(xAt(0, 13), xAt(2, 8) * 2 - xAt(2, 0), 1) << points;  // past the first stop
  }
}

}  // namespace
