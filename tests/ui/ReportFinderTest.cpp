// Find over the report with the continue-from-top question.
#include <gtest/gtest.h>

#include <QPlainTextEdit>

#include "ui/ReportFinder.h"

namespace {

class ReportFinderTest : public ::testing::Test {
 protected:
  ReportFinderTest()
      : finder(
            editor, findFromTop,
            [this](const QString& question) {
              questions.append(question);
              return answerYes;
            },
            [this](const QString& text) { notices.append(text); }) {
    editor.setPlainText("first line\nthe Target is here\nlast line");
  }

  int SelectionStart() const { return editor.textCursor().selectionStart(); }

  QPlainTextEdit editor;
  int findFromTop = 0;
  bool answerYes = true;
  QStringList questions;
  QStringList notices;
  ReportFinder finder;
};

TEST_F(ReportFinderTest, FirstSearchStartsAtTopWhereverTheCaretIs) {
  editor.moveCursor(QTextCursor::End);
  finder.Begin();
  ASSERT_TRUE(finder.FindNext("target", {}));
  EXPECT_EQ(editor.textCursor().selectedText(), "Target");
  EXPECT_EQ(findFromTop, 0);
  EXPECT_TRUE(questions.isEmpty());
}

TEST_F(ReportFinderTest, TextFoundOnceAsksToContinueAndSelectsItAgain) {
  finder.Begin();
  ASSERT_TRUE(finder.FindNext("target", {}));
  const int first = SelectionStart();

  ASSERT_TRUE(finder.FindNext("target", {}));
  ASSERT_EQ(questions.size(), 1);
  EXPECT_EQ(questions.first(), ReportFinder::ContinueQuestion);
  EXPECT_EQ(SelectionStart(), first);
  EXPECT_EQ(findFromTop, 0);
}

TEST_F(ReportFinderTest, AnsweringNoKeepsTheSelection) {
  finder.Begin();
  ASSERT_TRUE(finder.FindNext("line", {}));
  ASSERT_TRUE(finder.FindNext("line", {}));
  const int second = SelectionStart();
  answerYes = false;
  EXPECT_FALSE(finder.FindNext("line", {}));
  EXPECT_EQ(questions.size(), 1);
  EXPECT_EQ(SelectionStart(), second);
  EXPECT_TRUE(notices.isEmpty());
}

TEST_F(ReportFinderTest, MissingTextIsReported) {
  finder.Begin();
  EXPECT_FALSE(finder.FindNext("absent", {}));
  EXPECT_EQ(notices, QStringList{ReportFinder::NotFoundText});
  EXPECT_EQ(findFromTop, 1);

  // After a hit: one message, no question, and the hit stays selected.
  ASSERT_TRUE(finder.FindNext("target", {}));
  const int hit = SelectionStart();
  EXPECT_FALSE(finder.FindNext("absent", {}));
  EXPECT_TRUE(questions.isEmpty());
  EXPECT_EQ(notices.size(), 2);
  EXPECT_EQ(SelectionStart(), hit);
}

TEST_F(ReportFinderTest, HonoursMatchCaseAndWholeWord) {
  finder.Begin();
  EXPECT_FALSE(finder.FindNext("target", QTextDocument::FindCaseSensitively));
  finder.Begin();
  EXPECT_TRUE(finder.FindNext("Target", QTextDocument::FindCaseSensitively));
  finder.Begin();
  EXPECT_FALSE(finder.FindNext("Targ", QTextDocument::FindWholeWords));
}

TEST_F(ReportFinderTest, HitFarDownIsScrolledAwayFromTheEdge) {
  QStringList lines;
  for (int index = 0; index < 400; ++index) {
    lines << QString("line %1").arg(index);
  }
  lines[300] = "the Target far down";
  editor.setPlainText(lines.join('\n'));
  editor.resize(400, 300);
  editor.show();
  finder.Begin();
  ASSERT_TRUE(finder.FindNext("target", {}));
  const int top = editor.cursorRect().top();
  const int height = editor.viewport()->height();
  EXPECT_GT(top, height / 4);
  EXPECT_LT(top, height * 3 / 4);
}

}  // namespace
