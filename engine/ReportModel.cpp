// The report's content: text, colour runs and line index behind one mutex.
#include "engine/ReportModel.h"

#include <algorithm>

ReportModel::ReportModel() : lineStarts_{0} {}

void ReportModel::Append(std::string_view text, ReportColour colour, bool underline) {
  if (text.empty()) {
    return;
  }
  std::lock_guard lock(mutex_);
  const std::size_t start = text_.size();
  text_.append(text);
  for (std::size_t i = text.find('\n'); i != std::string_view::npos; i = text.find('\n', i + 1)) {
    lineStarts_.push_back(start + i + 1);
  }
  if (spans_.empty() || spans_.back().colour != colour || spans_.back().underline != underline) {
    spans_.push_back({start, colour, underline});
  }
}

void ReportModel::Clear() {
  std::lock_guard lock(mutex_);
  text_.clear();
  lineStarts_.assign(1, 0);
  spans_.clear();
  shownLength_ = 0;
  clearPending_ = true;
}

int ReportModel::LineCount() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(lineStarts_.size());
}

std::string ReportModel::Line(int i) const {
  std::lock_guard lock(mutex_);
  if (i < 0 || static_cast<std::size_t>(i) >= lineStarts_.size()) {
    return {};
  }
  const std::size_t index = static_cast<std::size_t>(i);
  const std::size_t begin = lineStarts_[index];
  const std::size_t end = index + 1 < lineStarts_.size() ? lineStarts_[index + 1] : text_.size();
  return text_.substr(begin, end - begin);
}

std::string ReportModel::Text() const {
  std::lock_guard lock(mutex_);
  return text_;
}

std::size_t ReportModel::Length() const {
  std::lock_guard lock(mutex_);
  return text_.size();
}

bool ReportModel::IsEmpty() const {
  std::lock_guard lock(mutex_);
  return text_.empty();
}

std::vector<TextRun> ReportModel::Runs() const {
  std::lock_guard lock(mutex_);
  return RunsBetween(0, text_.size());
}

ReportCharFormat ReportModel::CharFormat() const {
  std::lock_guard lock(mutex_);
  return format_;
}

void ReportModel::SetCharFormat(const ReportCharFormat& format) {
  std::lock_guard lock(mutex_);
  format_ = format;
  formatPending_ = true;
}

ReportModel::Update ReportModel::TakeUpdate(std::size_t maxLength) {
  std::lock_guard lock(mutex_);
  Update update;
  update.cleared = clearPending_;
  if (formatPending_) {
    update.format = format_;
  }
  const std::size_t end = shownLength_ + std::min(maxLength, text_.size() - shownLength_);
  update.runs = RunsBetween(shownLength_, end);
  shownLength_ = end;
  clearPending_ = false;
  formatPending_ = false;
  return update;
}

// Caller holds the mutex.
std::vector<TextRun> ReportModel::RunsBetween(std::size_t begin, std::size_t end) const {
  std::vector<TextRun> runs;
  if (begin >= end) {
    return runs;
  }
  auto span =
      std::upper_bound(spans_.begin(), spans_.end(), begin,
                       [](std::size_t position, const RunSpan& s) { return position < s.start; });
  --span;  // spans_ starts at 0 whenever there is text
  for (; span != spans_.end() && span->start < end; ++span) {
    const std::size_t from = std::max(span->start, begin);
    const auto next = span + 1;
    const std::size_t to = std::min(next == spans_.end() ? text_.size() : next->start, end);
    runs.push_back({text_.substr(from, to - from), span->colour, span->underline});
  }
  return runs;
}
