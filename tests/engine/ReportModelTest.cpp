// The report model: rich-edit line semantics, colour runs and view updates.
#include <gtest/gtest.h>

#include "engine/ReportModel.h"

namespace {

TEST(ReportModelLines, FollowRichEditSemantics) {
  ReportModel model;
  EXPECT_TRUE(model.IsEmpty());
  EXPECT_EQ(model.LineCount(), 1);
  EXPECT_EQ(model.Line(0), "");

  // A line break split over two calls still ends one line.
  model.Append("ab", NameColour, false);
  model.Append("c\r", NameColour, false);
  model.Append("\nd\r\n", CommentColour, false);
  EXPECT_EQ(model.LineCount(), 3);
  EXPECT_EQ(model.Line(0), "abc\r\n");
  EXPECT_EQ(model.Line(1), "d\r\n");
  EXPECT_EQ(model.Line(2), "");
  EXPECT_EQ(model.Line(3), "");
  EXPECT_EQ(model.Line(-1), "");
  EXPECT_EQ(model.Text(), "abc\r\nd\r\n");
  EXPECT_EQ(model.Length(), 8u);

  model.Clear();
  EXPECT_TRUE(model.IsEmpty());
  EXPECT_EQ(model.LineCount(), 1);
  model.Append("x", TextColour, false);
  EXPECT_EQ(model.Line(0), "x");
}

TEST(ReportModelRuns, MergeEqualNeighboursAndKeepAttributes) {
  ReportModel model;
  model.Append("one ", NameColour, false);
  model.Append("two ", NameColour, false);
  model.Append("three", NameColour, true);
  model.Append("!", AlertColour, true);
  const std::vector<TextRun> expected = {
      {"one two ", NameColour, false}, {"three", NameColour, true}, {"!", AlertColour, true}};
  EXPECT_EQ(model.Runs(), expected);
}

TEST(ReportModelUpdates, DeliverOnlyWhatChangedInBoundedPieces) {
  ReportModel model;
  ReportModel::Update first = model.TakeUpdate();
  EXPECT_TRUE(first.IsEmpty());

  ReportCharFormat format;
  format.faceName = "Mono";
  model.Clear();
  model.SetCharFormat(format);
  model.Append("abc", NameColour, false);
  model.Append("defg", CommentColour, false);
  ReportModel::Update partial = model.TakeUpdate(5);
  EXPECT_TRUE(partial.cleared);
  ASSERT_TRUE(partial.format.has_value());
  EXPECT_EQ(partial.format->faceName, "Mono");
  const std::vector<TextRun> firstPiece = {{"abc", NameColour, false},
                                           {"de", CommentColour, false}};
  EXPECT_EQ(partial.runs, firstPiece);

  ReportModel::Update rest = model.TakeUpdate();
  EXPECT_FALSE(rest.cleared);
  EXPECT_FALSE(rest.format.has_value());
  const std::vector<TextRun> secondPiece = {{"fg", CommentColour, false}};
  EXPECT_EQ(rest.runs, secondPiece);
  EXPECT_TRUE(model.TakeUpdate().IsEmpty());

  // A clear between two looks replaces what the view shows.
  model.Clear();
  model.Append("new", AlertColour, false);
  ReportModel::Update replaced = model.TakeUpdate();
  EXPECT_TRUE(replaced.cleared);
  const std::vector<TextRun> newText = {{"new", AlertColour, false}};
  EXPECT_EQ(replaced.runs, newText);
}

}  // namespace
