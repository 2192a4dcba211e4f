// The progress line of a headless run on a terminal.
#include "app/TerminalProgress.h"

#include <cstdio>
#include <cstdlib>

#include <sys/ioctl.h>
#include <unistd.h>

#include "engine/ReportText.h"
#include "engine/TerminalSafeText.h"

namespace {

constexpr auto RedrawInterval = std::chrono::milliseconds(50);
constexpr auto ClockInterval = std::chrono::seconds(1);
// Carriage return, then erase to the end of the line.
constexpr const char* EraseLine = "\r\033[K";

// Writes all of text, going on after interrupted or partial writes; a
// terminal that has gone away only loses the progress line.
void WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
    if (written <= 0) {
      return;
    }
    done += static_cast<std::size_t>(written);
  }
}

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The code point of the UTF-8 character starting at text[i] (malformed bytes
// count as themselves: a column each).
char32_t CodePointAt(const std::string& text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
  if (i + static_cast<std::size_t>(length) > text.size()) {
    return lead;
  }
  char32_t point = length == 1 ? lead : lead & (0x3F >> (length - 1));
  for (int k = 1; k < length; ++k) {
    point = (point << 6) | (byte(i + static_cast<std::size_t>(k)) & 0x3F);
  }
  return point;
}

// Terminals give East Asian wide characters and emoji two columns.
int Columns(char32_t point) {
  const bool wide =
      (point >= 0x1100 && point <= 0x115F) || (point >= 0x2E80 && point <= 0xA4CF) ||
      (point >= 0xAC00 && point <= 0xD7A3) || (point >= 0xF900 && point <= 0xFAFF) ||
      (point >= 0xFE30 && point <= 0xFE4F) || (point >= 0xFF00 && point <= 0xFF60) ||
      (point >= 0xFFE0 && point <= 0xFFE6) || (point >= 0x1F300 && point <= 0x1F64F) ||
      (point >= 0x1F900 && point <= 0x1F9FF) || (point >= 0x20000 && point <= 0x3FFFD);
  return wide ? 2 : 1;
}

// The part of text that fits into columns, cut between UTF-8 characters.
std::string CutToColumns(const std::string& text, int columns) {
  int used = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!IsContinuationByte(text[i])) {
      used += Columns(CodePointAt(text, i));
      if (used > columns) {
        return text.substr(0, i);
      }
    }
  }
  return text;
}

// Status texts may carry line breaks of the desktop's two-line label.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\r' || c == '\n' || c == '\t') {
      c = ' ';
    }
  }
  return text;
}

}  // namespace

TerminalProgress::TerminalProgress(int fd, bool quiet)
    : fd_(fd), enabled_(!quiet && ::isatty(fd) == 1) {}

std::string TerminalProgress::FormatLine(const std::string& phase, const std::string& status,
                                         int percent, long long elapsedSeconds, int width) {
  char clock[32];
  std::snprintf(clock, sizeof clock, "%02lld:%02lld:%02lld", elapsedSeconds / 3600,
                elapsedSeconds / 60 % 60, elapsedSeconds % 60);
  std::string line = clock;
  line += "  " + std::to_string(percent) + "%";
  // Names in the status could otherwise drive the terminal.
  if (!phase.empty()) {
    line += "  " + TerminalSafeText(OneLine(phase));
  }
  if (!status.empty()) {
    line += ": " + TerminalSafeText(OneLine(status));
  }
  return CutToColumns(line, width > 1 ? width - 1 : 0);
}

void TerminalProgress::SetPhase(const std::string& fullCaption) {
  const std::lock_guard lock(mutex_);
  const std::string suffix = CaptionFor("");
  std::string phase = fullCaption;
  if (phase.size() >= suffix.size() &&
      phase.compare(phase.size() - suffix.size(), suffix.size(), suffix) == 0) {
    phase.erase(phase.size() - suffix.size());
  }
  phase_ = phase;
  Changed();
}

void TerminalProgress::SetStatus(const std::string& text) {
  const std::lock_guard lock(mutex_);
  status_ = text;
  Changed();
}

void TerminalProgress::SetRange(int low, int high) {
  const std::lock_guard lock(mutex_);
  low_ = low;
  high_ = high;
  Changed();
}

void TerminalProgress::SetPosition(int position) {
  const std::lock_guard lock(mutex_);
  position_ = position;
  Changed();
}

void TerminalProgress::SetStep(int step) {
  const std::lock_guard lock(mutex_);
  step_ = step;
}

void TerminalProgress::Step() {
  const std::lock_guard lock(mutex_);
  position_ += step_;
  Changed();
}

void TerminalProgress::ClearLine() {
  const std::lock_guard lock(mutex_);
  if (shown_) {
    WriteAll(fd_, EraseLine);
    shown_ = false;
  }
  dirty_ = true;
}

void TerminalProgress::Tick() {
  const std::lock_guard lock(mutex_);
  if (!enabled_ || finished_) {
    return;
  }
  const auto sinceDraw = Clock::now() - lastDraw_;
  if ((dirty_ && sinceDraw >= RedrawInterval) || sinceDraw >= ClockInterval) {
    Draw();
  }
}

void TerminalProgress::Finish() {
  const std::lock_guard lock(mutex_);
  if (shown_) {
    WriteAll(fd_, EraseLine);
    shown_ = false;
  }
  finished_ = true;
}

void TerminalProgress::Changed() {
  dirty_ = true;
  // A full bar is drawn at once: the run may end before the next redraw, and
  // the line is to show that the phase was completed.
  const bool filled = Percent() == 100 && drawnPercent_ != 100;
  if (enabled_ && !finished_ && (filled || Clock::now() - lastDraw_ >= RedrawInterval)) {
    Draw();
  }
}

void TerminalProgress::Draw() {
  const auto elapsed =
      std::chrono::duration_cast<std::chrono::seconds>(Clock::now() - start_).count();
  drawnPercent_ = Percent();
  WriteAll(fd_, EraseLine + FormatLine(phase_, status_, drawnPercent_, elapsed, Width()));
  shown_ = true;
  dirty_ = false;
  lastDraw_ = Clock::now();
}

int TerminalProgress::Percent() const {
  if (high_ <= low_) {
    return 0;
  }
  const long long share = 100LL * (position_ - low_) / (high_ - low_);
  return static_cast<int>(share < 0 ? 0 : share > 100 ? 100 : share);
}

int TerminalProgress::Width() const {
  winsize size{};
  if (::ioctl(fd_, TIOCGWINSZ, &size) == 0 && size.ws_col > 0) {
    return size.ws_col;
  }
  if (const char* columns = std::getenv("COLUMNS")) {
    const int value = std::atoi(columns);
    if (value > 0) {
      return value;
    }
  }
  return 80;
}
