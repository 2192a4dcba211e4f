// The report's content in the core: the text of the report with its colour and
// underline runs and a line index. Runs append to it on the worker thread; the
// window only shows it, catching up from TakeUpdate. Every member takes the one
// mutex, so the model may be used from any thread.
//
// Line semantics are those of a rich edit: lines end with "\r\n" (a lone "\n"
// also ends a line), Line(i) returns line i with its line break, a text ending
// in a line break has an empty last line and an empty report has one empty line.
#pragma once

#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ReportCharFormat.h"
#include "engine/ReportColour.h"

// A piece of text in one colour, underlined or not.
struct TextRun {
  std::string text;
  ReportColour colour;
  bool underline;

  friend bool operator==(const TextRun&, const TextRun&) = default;
};

class ReportModel {
 public:
  // What changed since the previous TakeUpdate: a view applies, in this order,
  // the clear, the format (to all its text and as the default) and the runs.
  struct Update {
    bool cleared = false;
    std::optional<ReportCharFormat> format;
    std::vector<TextRun> runs;

    bool IsEmpty() const { return !cleared && !format && runs.empty(); }
  };

  ReportModel();

  // Appends text at the end of the report, whatever a view's caret says.
  void Append(std::string_view text, ReportColour colour, bool underline);
  void Clear();

  int LineCount() const;
  // Line i with its line break; empty when i is out of range.
  std::string Line(int i) const;
  std::string Text() const;
  std::size_t Length() const;
  bool IsEmpty() const;
  // The whole report as runs, for saving with its colours.
  std::vector<TextRun> Runs() const;

  ReportCharFormat CharFormat() const;
  void SetCharFormat(const ReportCharFormat& format);

  // The changes since the previous call, with at most maxLength characters of
  // text; the rest comes with the next call.
  Update TakeUpdate(std::size_t maxLength = static_cast<std::size_t>(-1));

 private:
  struct RunSpan {
    std::size_t start;
    ReportColour colour;
    bool underline;
  };

  std::vector<TextRun> RunsBetween(std::size_t begin, std::size_t end) const;

  mutable std::mutex mutex_;
  std::string text_;
  std::vector<std::size_t> lineStarts_;  // offset of each line; the first is 0
  std::vector<RunSpan> spans_;           // each run lasts until the next one starts
  ReportCharFormat format_;
  // What the view has seen: the text up to shownLength_, after a clear when
  // clearPending_ is false, and the format unless formatPending_.
  std::size_t shownLength_ = 0;
  bool clearPending_ = false;
  bool formatPending_ = false;
};
