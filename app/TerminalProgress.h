// TerminalProgress: the headless run's stand-in for the desktop control panel.
// When its stream is a terminal it keeps one line at the bottom, rewritten in
// place, with the phase (the caption's state), the status text, the share of
// the progress bar and the elapsed time; messages are printed above it. On
// anything else (a pipe, a file, cron's mail) it writes nothing at all, so
// that logs hold the messages only.
#pragma once

#include <chrono>
#include <mutex>
#include <string>

class TerminalProgress {
 public:
  using Clock = std::chrono::steady_clock;

  // fd: where the line goes (standard error). Enabled only when fd is a
  // terminal and the run is not quiet.
  TerminalProgress(int fd, bool quiet);

  bool Enabled() const { return enabled_; }

  void SetPhase(const std::string& fullCaption);
  void SetStatus(const std::string& text);
  void SetRange(int low, int high);
  void SetPosition(int position);
  void SetStep(int step);
  void Step();

  // Removes the line before a message is written to the same terminal; the
  // next update or Tick draws it again below the message.
  void ClearLine();
  // Called every few milliseconds while the run goes on: redraws a changed
  // line at most every 50 ms and the elapsed time once a second.
  void Tick();
  // The run has ended: the line is removed for good.
  void Finish();

  // The line as drawn for a terminal of width columns: at most width - 1
  // columns (the last one would wrap), cut between UTF-8 characters, wide
  // East Asian characters counted as two.
  static std::string FormatLine(const std::string& phase, const std::string& status, int percent,
                                long long elapsedSeconds, int width);

 private:
  void Changed();
  void Draw();
  int Percent() const;
  int Width() const;

  const int fd_;
  const bool enabled_;
  const Clock::time_point start_ = Clock::now();
  std::mutex mutex_;
  std::string phase_;
  std::string status_;
  int low_ = 0;
  int high_ = 0;
  int position_ = 0;
  int step_ = 1;
  bool finished_ = false;
  bool dirty_ = false;
  bool shown_ = false;
  int drawnPercent_ = -1;
  Clock::time_point lastDraw_{};
};
