// What reaches a terminal: control characters of names, values and paths
// shown visibly in messages, the progress line and a report on a terminal,
// while report files keep every byte; and a phase's full bar is drawn.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "app/TerminalProgress.h"
#include "app/TerminalSafeStream.h"
#include "engine/ReportFile.h"
#include "engine/TerminalSafeText.h"
#include "tests/app/PseudoTerminal.h"

namespace {

const std::string Retitle = "T\x1b]0;owned\x07";

TEST(TerminalSafeTextTest, ControlCharactersAreShownAndLineBreaksKept) {
  EXPECT_EQ(TerminalSafeText(Retitle), "T\\x1b]0;owned\\x07");
  EXPECT_EQ(TerminalSafeText("a\r\nb\tc\n"), "a\r\nb\tc\n");
  EXPECT_EQ(TerminalSafeText("over\rwrite\x7f"), "over\\x0dwrite\\x7f");
  // C1 controls in UTF-8 (CSI is U+009B); other characters stay.
  EXPECT_EQ(TerminalSafeText("a\xc2\x9b"
                             "2J \xc3\x84rger \xc2\xa0"),
            "a\\u009b2J \xc3\x84rger \xc2\xa0");
  EXPECT_EQ(TerminalSafeText(std::string("nul\0end", 7)), "nul\\x00end");
  EXPECT_EQ(TerminalSafeText("trailing\xc2"), "trailing\xc2");
}

TEST(TerminalSafeTextTest, MessagesPassLineByLineWithControlsShown) {
  std::ostringstream target;
  {
    TerminalSafeStream errors(target);
    errors << "table " << Retitle << " failed\n";
    EXPECT_EQ(target.str(), "table T\\x1b]0;owned\\x07 failed\n");
    errors << "half a line \x1b";
    EXPECT_EQ(target.str(), "table T\\x1b]0;owned\\x07 failed\n");
    errors.flush();
    EXPECT_EQ(target.str(), "table T\\x1b]0;owned\\x07 failed\nhalf a line \\x1b");
    errors << " and the rest";
  }
  EXPECT_EQ(target.str(), "table T\\x1b]0;owned\\x07 failed\nhalf a line \\x1b and the rest");
}

TEST(TerminalSafeTextTest, ProgressLineShowsControlsAndAFullBarAtOnce) {
  EXPECT_EQ(TerminalProgress::FormatLine("Analyzing Tables", "table: " + Retitle, 10, 0, 200),
            "00:00:00  10%  Analyzing Tables: table: T\\x1b]0;owned\\x07");

  PseudoTerminal tty;
  TerminalProgress progress(tty.terminal, false);
  // Drawn at 0%; a full bar right after, within the redraw interval, is
  // drawn at once rather than left for a tick that may never come.
  progress.SetRange(0, 10);
  progress.SetPosition(10);
  const std::string written = Drain(tty.controller);
  ASSERT_NE(written.rfind("\r\033[K"), std::string::npos);
  EXPECT_NE(written.substr(written.rfind("\r\033[K")).find("100%"), std::string::npos) << written;
}

TEST(TerminalSafeTextTest, ReportOnATerminalIsEscapedAndAFileKeepsEveryByte) {
  const std::string line = "INSERT INTO T VALUES ('" + Retitle + "');\r\n";
  PseudoTerminal tty;
  std::fflush(stdout);
  const int saved = ::dup(STDOUT_FILENO);
  ::dup2(tty.terminal, STDOUT_FILENO);
  {
    ReportFile report;
    ASSERT_TRUE(report.Create(ReportFile::StandardOutputName));
    ASSERT_TRUE(report.Write(line));
    ASSERT_TRUE(report.Close());
  }
  ::dup2(saved, STDOUT_FILENO);
  ::close(saved);
  EXPECT_EQ(Drain(tty.controller), "INSERT INTO T VALUES ('T\\x1b]0;owned\\x07');\r\n");

  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("terminal-safety-" + std::to_string(::getpid()));
  {
    ReportFile report;
    ASSERT_TRUE(report.Create(path.string()));
    ASSERT_TRUE(report.Write(line));
    ASSERT_TRUE(report.Close());
  }
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  EXPECT_EQ(text.str(), line);
  std::filesystem::remove(path);
}

}  // namespace
