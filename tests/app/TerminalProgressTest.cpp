// The progress line against a pseudo-terminal and a pipe: drawn in place and
// cut to the terminal's width on the one, never a byte on the other.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>

#include "app/TerminalProgress.h"
#include "tests/app/PseudoTerminal.h"

namespace {

// The text after the last erase, as the terminal shows it.
std::string LastLine(const std::string& written) {
  const std::size_t erase = written.rfind("\r\033[K");
  return erase == std::string::npos ? written : written.substr(erase + 4);
}

TEST(TerminalProgressTest, LineNamesPhaseStatusShareAndTimeAndFitsTheWidth) {
  EXPECT_EQ(TerminalProgress::FormatLine("Analyzing Indexes", "Creating index script for table: T",
                                         25, 3723, 200),
            "01:02:03  25%  Analyzing Indexes: Creating index script for table: T");
  const std::string cut = TerminalProgress::FormatLine("Phase", "status", 5, 0, 16);
  EXPECT_EQ(cut, "00:00:00  5%  P");
  // A status with line breaks stays on one line; multi-byte names are cut
  // between characters, wide ones counted as two columns.
  EXPECT_EQ(TerminalProgress::FormatLine("P", "a\r\nb", 0, 0, 80), "00:00:00  0%  P: a  b");
  EXPECT_EQ(TerminalProgress::FormatLine("", "日本語の表", 0, 0, 21), "00:00:00  0%: 日本語");
  EXPECT_EQ(TerminalProgress::FormatLine("", "Ärger", 0, 0, 18), "00:00:00  0%: Ärg");
}

TEST(TerminalProgressTest, OnATerminalTheLineIsRewrittenInPlaceAndMessagesGoAbove) {
  PseudoTerminal tty(40);
  TerminalProgress progress(tty.terminal, false);
  ASSERT_TRUE(progress.Enabled());
  progress.SetPhase("Analyzing Constraints - Quillmark for Oracle");
  progress.SetRange(0, 4);
  progress.SetStatus("Creating constraint script for table: A_RATHER_LONG_TABLE_NAME");
  progress.Step();
  progress.Step();
  // Changes within 50 ms of a drawing wait for the next tick.
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  progress.Tick();
  std::string written = Drain(tty.controller);
  EXPECT_NE(written.find("\r\033[K"), std::string::npos);
  // Caption suffix gone; 39 columns at most, so the terminal never wraps.
  EXPECT_EQ(LastLine(written), "00:00:00  50%  Analyzing Constraints: C");

  progress.ClearLine();
  EXPECT_EQ(Drain(tty.controller), "\r\033[K");
  progress.Finish();
  progress.SetStatus("after the end");
  progress.Tick();
  EXPECT_EQ(Drain(tty.controller), "");
}

TEST(TerminalProgressTest, APipeOrAQuietRunGetsNoLineAndNoControlCharacters) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  ::fcntl(ends[0], F_SETFL, O_NONBLOCK);
  {
    TerminalProgress progress(ends[1], false);
    EXPECT_FALSE(progress.Enabled());
    progress.SetPhase("Analyzing Indexes - Quillmark for Oracle");
    progress.SetStatus("Creating index script for table: T");
    progress.Step();
    progress.Tick();
    progress.ClearLine();
    progress.Finish();
  }
  EXPECT_EQ(Drain(ends[0]), "");
  ::close(ends[0]);
  ::close(ends[1]);

  PseudoTerminal tty(80);
  TerminalProgress quiet(tty.terminal, true);
  EXPECT_FALSE(quiet.Enabled());
  quiet.SetStatus("anything");
  quiet.Tick();
  EXPECT_EQ(Drain(tty.controller), "");
}

}  // namespace
