// Report output in screen, file and auto-save mode: exact file contents, the
// thresholds, and every failure with its text.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "config/MemorySettingsStore.h"
#include "engine/ReportModel.h"
#include "engine/ReportOutput.h"
#include "engine/RunFlags.h"
#include "engine/RunSettings.h"
#include "tests/engine/TestRunHost.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

class ReportOutputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "report-output-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    directory_ = pattern;
    settings_.ReportFileName = (directory_ / "report.sql").string();
  }
  void TearDown() override { fs::remove_all(directory_); }

  void Counted(const std::string& text) { output_.OutputLine(text, NameColour, false, true); }
  void Uncounted(const std::string& text) { output_.OutputLine(text, NameColour, false, false); }

  fs::path directory_;
  MemorySettingsStore store_;
  RunSettings settings_;
  RunFlags flags_;
  ReportModel model_;
  TestRunHost host_;
  ReportOutput output_{model_, settings_, flags_, host_, store_};
};

TEST_F(ReportOutputTest, ScreenModeAppendsWithColourAndUnderline) {
  output_.OutputLine("CREATE TABLE ", CommentColour, false, true);
  output_.OutputLine("EMP", AlertColour, true, true);
  const std::vector<TextRun> expected = {{"CREATE TABLE ", CommentColour, false},
                                         {"EMP", AlertColour, true}};
  EXPECT_EQ(model_.Runs(), expected);
  EXPECT_TRUE(host_.Messages().empty());
}

TEST_F(ReportOutputTest, PrepareReportClearsAndAppliesTheStoredFormat) {
  Counted("old text");
  ReportCharFormat stored;
  stored.faceName = "Liberation Mono";
  stored.size = 0;
  stored.Save(store_);
  output_.PrepareReport();
  EXPECT_TRUE(model_.IsEmpty());
  EXPECT_EQ(model_.CharFormat().faceName, "Liberation Mono");
  EXPECT_EQ(model_.CharFormat().size, ReportCharFormat::RecordSize);
}

TEST_F(ReportOutputTest, FileModeWritesExactlyTheTextAndSwitchesAutoSaveOff) {
  settings_.ReportToFile = 1;
  settings_.AutoSave = 1;
  ASSERT_TRUE(output_.OpenReportFile());
  EXPECT_EQ(settings_.AutoSave, 0);
  Counted("INSERT INTO EMP ");
  output_.OutputLine("(1)", AlertColour, true, false);
  Counted(";\r\n");
  ASSERT_TRUE(output_.CloseReportFile());
  EXPECT_EQ(ReadFile(settings_.ReportFileName), "INSERT INTO EMP (1);\r\n");
  EXPECT_TRUE(model_.IsEmpty());
  EXPECT_TRUE(host_.Messages().empty());

  // A file left over from an earlier run is emptied.
  ASSERT_TRUE(output_.OpenReportFile());
  Counted("second");
  ASSERT_TRUE(output_.CloseReportFile());
  EXPECT_EQ(ReadFile(settings_.ReportFileName), "second");
}

TEST_F(ReportOutputTest, FileInMissingDirectoryFallsBackToTheScreen) {
  settings_.ReportFileName = (directory_ / "missing" / "report.sql").string();
  settings_.ReportToFile = 1;
  EXPECT_FALSE(output_.OpenReportFile());
  EXPECT_EQ(settings_.ReportToFile, 0);
  ASSERT_EQ(host_.Messages().size(), 1u);
  EXPECT_EQ(host_.Messages()[0], "Could not open file " + settings_.ReportFileName +
                                     ": No such file or directory. Output will be sent to the "
                                     "screen.");
  Counted("on screen");
  EXPECT_EQ(model_.Text(), "on screen");
}

TEST_F(ReportOutputTest, FullDiskInFileModeLosesNoText) {
  settings_.ReportFileName = "/dev/full";
  settings_.ReportToFile = 1;
  ASSERT_TRUE(output_.OpenReportFile());
  // More than one buffer's worth, so the failure comes in the middle of the run.
  std::string expected;
  for (int i = 0; i < 4000; ++i) {
    const std::string line = "INSERT INTO EMP VALUES (" + std::to_string(i) + ");\r\n";
    output_.OutputLine(line, i % 2 ? NameColour : CommentColour, false, true);
    expected += line;
  }
  EXPECT_EQ(settings_.ReportToFile, 0);
  EXPECT_EQ(flags_.ReportSaved, 0);
  ASSERT_EQ(host_.Messages().size(), 1u);
  EXPECT_EQ(host_.Messages()[0],
            "Could not save line to file. Output will continue on the screen.");
  EXPECT_EQ(model_.Text(), expected);
  EXPECT_EQ(model_.Runs()[1], (TextRun{"INSERT INTO EMP VALUES (1);\r\n", NameColour, false}));
  EXPECT_TRUE(output_.CloseReportFile());
}

TEST_F(ReportOutputTest, FullDiskFoundWhenTheFileIsClosed) {
  settings_.ReportFileName = "/dev/full";
  settings_.ReportToFile = 1;
  ASSERT_TRUE(output_.OpenReportFile());
  Counted("last lines\r\n");
  flags_.ReportSaved = 1;
  EXPECT_FALSE(output_.CloseReportFile());
  EXPECT_EQ(model_.Text(), "last lines\r\n");
  EXPECT_EQ(flags_.ReportSaved, 0);
  EXPECT_EQ(host_.Messages().size(), 1u);
}

TEST_F(ReportOutputTest, AutoSaveAtOneLineSavesOnCountedCallsOnly) {
  settings_.AutoSave = 1;
  settings_.AutoSaveLines = 1;
  Counted("a");  // one line: not more than the threshold
  EXPECT_EQ(model_.Text(), "a");
  Counted("\r\n");
  EXPECT_TRUE(model_.IsEmpty());
  EXPECT_EQ(ReadFile(settings_.ReportFileName), "a\r\n");
  EXPECT_EQ(flags_.ReportSaved, 1);

  flags_.ReportSaved = 0;
  Uncounted("b\r\n");
  Uncounted("c\r\n");
  EXPECT_EQ(model_.Text(), "b\r\nc\r\n");
  Counted("d");
  EXPECT_TRUE(model_.IsEmpty());
  EXPECT_EQ(ReadFile(settings_.ReportFileName), "a\r\nb\r\nc\r\nd");
  EXPECT_EQ(host_.EventsStartingWith("saving ").size(), 2u);
}

TEST_F(ReportOutputTest, AutoSaveWritesLongLinesWhole) {
  settings_.AutoSave = 1;
  const std::string longLine = "INSERT INTO DOCS VALUES ('" + std::string(12000, 'x') + "');\r\n";
  Counted(longLine);
  Counted(longLine);
  ASSERT_TRUE(output_.AutoSaveReport());
  EXPECT_EQ(ReadFile(settings_.ReportFileName), longLine + longLine);
}

TEST_F(ReportOutputTest, AutoSaveOfAnEmptyReportOnlyMarksItSaved) {
  flags_.ReportSaved = 0;
  EXPECT_TRUE(output_.AutoSaveReport());
  EXPECT_EQ(flags_.ReportSaved, 1);
  EXPECT_FALSE(fs::exists(settings_.ReportFileName));
  EXPECT_FALSE(output_.AutoSaveFileStarted());
}

TEST_F(ReportOutputTest, FirstAutoSaveOfTheNextRunEmptiesTheFile) {
  settings_.AutoSave = 1;
  Counted("first run\r\n");
  ASSERT_TRUE(output_.AutoSaveReport());
  Counted("more\r\n");
  ASSERT_TRUE(output_.AutoSaveReport());
  EXPECT_EQ(ReadFile(settings_.ReportFileName), "first run\r\nfirst run\r\nmore\r\n");
  output_.ForgetAutoSaveFile();
  output_.PrepareReport();
  Counted("second run");
  ASSERT_TRUE(output_.AutoSaveReport());
  EXPECT_EQ(ReadFile(settings_.ReportFileName), "second run");
}

TEST_F(ReportOutputTest, AutoSaveIntoMissingDirectoryReportsAndRetries) {
  settings_.AutoSave = 1;
  settings_.AutoSaveLines = 1;
  settings_.ReportFileName = (directory_ / "missing" / "report.sql").string();
  const std::string failure =
      "\r\n\r\nCould not auto save to file (create): " + settings_.ReportFileName + "\r\n\r\n";
  Counted("line\r\n");
  EXPECT_EQ(model_.Text(), "line\r\n" + failure);
  EXPECT_EQ(model_.Runs().back(), (TextRun{failure, AlertColour, false}));
  Counted("next\r\n");
  EXPECT_EQ(model_.Text(), "line\r\n" + failure + "next\r\n" + failure);
  EXPECT_TRUE(host_.Messages().empty());
}

TEST_F(ReportOutputTest, AutoSaveOnFullDiskKeepsTheScreenAndRetries) {
  settings_.AutoSave = 1;
  settings_.AutoSaveLines = 1;
  settings_.ReportFileName = "/dev/full";
  const std::string failure =
      "\r\n\r\nCould not auto save to file (write): /dev/full: Disk is full.\r\n\r\n";
  Counted("line\r\n");
  EXPECT_EQ(model_.Text(), "line\r\n" + failure);
  const std::string question =
      "The file could not be saved, the disk is full.\nPlease make some space and press OK to "
      "continue.";
  EXPECT_EQ(host_.Messages(), std::vector<std::string>{question});
  Counted("next\r\n");
  EXPECT_EQ(host_.Messages().size(), 2u);
  EXPECT_EQ(model_.Text(), "line\r\n" + failure + "next\r\n" + failure);
}

// A write that fails part-way through must not leave a partial copy in the
// file: the retry writes the whole report again.
TEST_F(ReportOutputTest, FailedAutoSaveLeavesNoPartialCopyForTheRetry) {
  settings_.AutoSave = 1;
  settings_.AutoSaveLines = 3;
  std::string report;
  for (int i = 0; i < 3; ++i) {
    report += "INSERT INTO EMP VALUES (" + std::to_string(i) + ", 'a fairly long name');\r\n";
  }
  Uncounted(report);

  rlimit original{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &original), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limited = original;
  limited.rlim_cur = 100;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  Counted("x");  // four lines: over the threshold
  setrlimit(RLIMIT_FSIZE, &original);
  std::signal(SIGXFSZ, previousHandler);

  const std::string failure =
      "\r\n\r\nCould not auto save to file (write): " + settings_.ReportFileName + "\r\n\r\n";
  EXPECT_EQ(model_.Text(), report + "x" + failure);
  EXPECT_EQ(host_.Messages().back(),
            "Could not auto save to file (write): " + settings_.ReportFileName);
  EXPECT_EQ(ReadFile(settings_.ReportFileName), "");

  const std::string saved = model_.Text() + "y";
  Counted("y");
  EXPECT_TRUE(model_.IsEmpty());
  EXPECT_EQ(ReadFile(settings_.ReportFileName), saved);
}

}  // namespace
