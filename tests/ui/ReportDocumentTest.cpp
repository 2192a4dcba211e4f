// The report document: saving as rich text and text, the unsaved-report
// question, the font command and printing.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QWidget>

#include "ScriptedPrompts.h"
#include "config/MemorySettingsStore.h"
#include "engine/ReportModel.h"
#include "engine/RunFlags.h"
#include "ui/CTallyfoldDoc.h"
#include "ui/CTallyfoldView.h"

namespace {

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ReportDocumentTest : public ::testing::Test {
 protected:
  ReportDocumentTest() { flags.ReportSaved = 0; }

  void WriteReport() {
    model.Append("/* banner */\r\n", CommentColour, false);
    model.Append("SOURCE {DB}\r\n", NameColour, true);
    model.Append("last line", NoticeColour, false);
  }

  QTemporaryDir dir;
  QWidget window;
  ReportModel model;
  CTallyfoldView view{model, &window};
  RunFlags flags;
  MemorySettingsStore store;
  ScriptedPrompts prompts;
  CTallyfoldDoc document{window, view, model, flags, store, prompts};
};

TEST_F(ReportDocumentTest, EmptyReportIsMarkedSavedWithoutAFileDialog) {
  document.SaveReport();
  EXPECT_EQ(flags.ReportSaved, 1);
  EXPECT_EQ(prompts.FileDialogsShown(), 0);
}

TEST_F(ReportDocumentTest, SavesRichTextForAnRtfExtensionInAnyCase) {
  WriteReport();
  const QString path = dir.filePath("report.Rtf");
  prompts.ChooseFile(path);
  document.SaveReport();

  EXPECT_EQ(flags.ReportSaved, 1);
  const QByteArray rtf = ReadFile(path);
  EXPECT_TRUE(rtf.startsWith("{\\rtf1"));
  EXPECT_TRUE(rtf.endsWith("}\n"));
  EXPECT_TRUE(rtf.contains("\\ul SOURCE \\{DB\\}"));
  EXPECT_TRUE(rtf.contains("\\red42\\green42\\blue255;"));
}

TEST_F(ReportDocumentTest, SavesPlainTextLineByLineWithItsLineBreaks) {
  WriteReport();
  const std::string longLine(12000, 'x');
  model.Append("\r\n" + longLine, TextColour, false);
  const QString path = dir.filePath("report.txt");
  prompts.ChooseFile(path);
  document.SaveReport();

  EXPECT_EQ(flags.ReportSaved, 1);
  EXPECT_EQ(ReadFile(path).toStdString(),
            "/* banner */\r\nSOURCE {DB}\r\nlast line\r\n" + longLine);
}

TEST_F(ReportDocumentTest, SaveCommandOnAnEmptyReportSaysThereIsNothingToSave) {
  document.SaveReportCommand();
  EXPECT_EQ(prompts.FileDialogsShown(), 0);
  EXPECT_TRUE(prompts.WasShown("There is nothing to save: the report is empty."));
}

TEST_F(ReportDocumentTest, SaveCommandAsksEvenWhenTheReportIsSaved) {
  WriteReport();
  flags.ReportSaved = 1;
  prompts.ChooseFile(dir.filePath("again.txt"));
  document.SaveReportCommand();
  EXPECT_EQ(prompts.FileDialogsShown(), 1);
  EXPECT_TRUE(QFile::exists(dir.filePath("again.txt")));
}

TEST_F(ReportDocumentTest, CancelledOrFailedSaveLeavesTheReportUnsaved) {
  WriteReport();
  prompts.ChooseFile("");
  document.SaveReport();
  EXPECT_EQ(flags.SaveCancelled, 1);
  EXPECT_EQ(flags.ReportSaved, 0);

  prompts.ChooseFile(dir.filePath("missing/report.rtf"));
  document.SaveReport();
  EXPECT_TRUE(prompts.WasShown(CTallyfoldDoc::OpenFailedText));
  EXPECT_EQ(flags.ReportSaved, 0);
  EXPECT_EQ(flags.SaveCancelled, 1);

  prompts.ChooseFile("/dev/full");
  document.SaveReport();
  EXPECT_TRUE(prompts.WasShown(CTallyfoldDoc::SaveFailedText));
  EXPECT_EQ(flags.ReportSaved, 0);
}

TEST_F(ReportDocumentTest, UnsavedQuestionDecidesWhetherTheReportMayClose) {
  WriteReport();
  prompts.Answer(MessageAnswer::Cancel);
  EXPECT_FALSE(document.CanCloseReport());
  EXPECT_EQ(prompts.Messages().last(), CTallyfoldDoc::UnsavedQuestion);

  prompts.Answer(MessageAnswer::No);
  EXPECT_TRUE(document.CanCloseReport());

  prompts.Answer(MessageAnswer::Yes);
  prompts.ChooseFile("");
  EXPECT_FALSE(document.CanCloseReport());

  // A save that fails after a file was chosen keeps the report too.
  prompts.Answer(MessageAnswer::Yes);
  prompts.ChooseFile(dir.filePath("missing/report.txt"));
  EXPECT_FALSE(document.CanCloseReport());

  prompts.Answer(MessageAnswer::Yes);
  prompts.ChooseFile(dir.filePath("kept.txt"));
  EXPECT_TRUE(document.CanCloseReport());
  EXPECT_EQ(flags.ReportSaved, 1);
  EXPECT_TRUE(QFile::exists(dir.filePath("kept.txt")));
}

TEST_F(ReportDocumentTest, SavedReportClosesEvenAfterAnEarlierCancelledDialog) {
  WriteReport();
  flags.ReportSaved = 1;
  flags.SaveCancelled = 1;
  const int shown = static_cast<int>(prompts.Messages().size());
  EXPECT_TRUE(document.CanCloseReport());
  EXPECT_EQ(prompts.Messages().size(), shown);
}

TEST_F(ReportDocumentTest, FontCommandStoresTheEightKeysAndRestylesTheReport) {
  WriteReport();
  view.CatchUp();
  QFont chosen("DejaVu Serif");
  chosen.setPointSizeF(11);
  chosen.setItalic(true);
  prompts.ChooseFontOnce(chosen);
  document.FontCommand();

  for (const char* key : {"bCharSet", "bPitchAndFamily", "cbSize", "dwEffects", "dwMask",
                          "szFaceName", "yHeight", "yOffset"}) {
    EXPECT_TRUE(store.Contains("Settings", key)) << key;
  }
  EXPECT_EQ(store.GetString("Settings", "szFaceName", ""), "DejaVu Serif");
  EXPECT_EQ(store.GetInt("Settings", "yHeight", 0), 220);
  EXPECT_EQ(view.ReportFont().family(), "DejaVu Serif");
  QTextCursor cursor(view.document());
  cursor.setPosition(2);
  EXPECT_TRUE(cursor.charFormat().fontItalic());

  // Cancel changes nothing.
  store.ClearWriteLog();
  document.FontCommand();
  EXPECT_TRUE(store.WriteLog().empty());
}

TEST_F(ReportDocumentTest, PrintCommandPrintsOnTheChosenPrinter) {
  WriteReport();
  const QString pdf = dir.filePath("report.pdf");
  document.PrintCommand();
  EXPECT_FALSE(QFile::exists(pdf));
  prompts.PrintTo(pdf);
  document.PrintCommand();
  EXPECT_TRUE(ReadFile(pdf).startsWith("%PDF"));
  EXPECT_TRUE(prompts.Messages().isEmpty());
}

}  // namespace
