// The single path of run text into the report, the report file and auto-save.
#include "engine/ReportOutput.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "engine/ReportCharFormat.h"
#include "engine/RunFlags.h"
#include "engine/RunHost.h"
#include "engine/RunSettings.h"

namespace {

// File mode hands its text to the file in pieces of about this size.
constexpr std::size_t PendingFileTextLimit = 64 * 1024;

}  // namespace

ReportOutput::ReportOutput(ReportModel& model, RunSettings& settings, RunFlags& flags,
                           RunHost& host, SettingsStore& store)
    : model_(model), settings_(settings), flags_(flags), host_(host), store_(store) {}

void ReportOutput::OutputLine(std::string_view text, ReportColour colour, bool underline,
                              bool countForAutoSave, TextOrigin origin) {
  text = lineBreaks_.Convert(text, origin);
  if (settings_.ReportToFile && WriteLineToFile(text, colour, underline)) {
    return;
  }
  model_.Append(text, colour, underline);
  if (settings_.AutoSave && countForAutoSave && model_.LineCount() > settings_.AutoSaveLines &&
      AutoSaveReport()) {
    model_.Clear();
  }
}

void ReportOutput::PrepareReport() {
  model_.Clear();
  lineBreaks_.Reset(settings_.LfLineBreaks ? LineBreakStyle::Lf : LineBreakStyle::CrLf);
  ReportCharFormat format = ReportCharFormat::Load(store_);
  format.size = ReportCharFormat::RecordSize;
  model_.SetCharFormat(format);
}

bool ReportOutput::OpenReportFile() {
  pendingText_.clear();
  pendingMarks_.clear();
  if (!reportFile_.Create(settings_.ReportFileName)) {
    host_.ShowMessage("Could not open file " + settings_.ReportFileName + ": " +
                          std::strerror(reportFile_.LastError()) +
                          ". Output will be sent to the screen.",
                      MessageButtons::Ok, MessageIcon::Warning);
    settings_.ReportToFile = 0;
    return false;
  }
  pendingStart_ = 0;
  settings_.AutoSave = 0;
  return true;
}

bool ReportOutput::WriteLineToFile(std::string_view text, ReportColour colour, bool underline) {
  // Between runs the file is closed while the user's choice of file mode stays.
  if (!reportFile_.IsOpen()) {
    return false;
  }
  if (pendingText_.size() + text.size() > PendingFileTextLimit && !FlushPendingFileText()) {
    return false;
  }
  if (pendingMarks_.empty() || pendingMarks_.back().colour != colour ||
      pendingMarks_.back().underline != underline) {
    pendingMarks_.push_back({pendingText_.size(), colour, underline});
  }
  pendingText_.append(text);
  return true;
}

bool ReportOutput::CloseReportFile() {
  if (!reportFile_.IsOpen()) {
    return true;
  }
  if (!FlushPendingFileText()) {
    return false;
  }
  if (!reportFile_.Close()) {
    pendingText_.clear();
    pendingMarks_.clear();
    LeaveFileMode();
    return false;
  }
  return true;
}

// Writes file mode's pending text; on failure puts what did not reach the file
// into the report and leaves file mode.
bool ReportOutput::FlushPendingFileText() {
  if (reportFile_.Write(pendingText_) && reportFile_.Flush()) {
    pendingStart_ = reportFile_.Position();
    pendingText_.clear();
    pendingMarks_.clear();
    return true;
  }
  const std::size_t written = static_cast<std::size_t>(reportFile_.Position() - pendingStart_);
  const std::string unwritten = std::move(pendingText_);
  const std::vector<RunMark> marks = std::move(pendingMarks_);
  pendingText_.clear();
  pendingMarks_.clear();
  LeaveFileMode();
  for (std::size_t i = 0; i < marks.size(); ++i) {
    const std::size_t end = i + 1 < marks.size() ? marks[i + 1].offset : unwritten.size();
    const std::size_t begin = std::max(marks[i].offset, written);
    if (begin < end) {
      model_.Append(std::string_view(unwritten).substr(begin, end - begin), marks[i].colour,
                    marks[i].underline);
    }
  }
  return false;
}

void ReportOutput::LeaveFileMode() {
  host_.ShowMessage("Could not save line to file. Output will continue on the screen.",
                    MessageButtons::Ok, MessageIcon::Warning);
  settings_.ReportToFile = 0;
  reportFile_.Close();
  flags_.ReportSaved = 0;
}

bool ReportOutput::AutoSaveReport() {
  if (model_.IsEmpty()) {
    flags_.ReportSaved = 1;
    return true;
  }
  ReportFile file;
  if (!OpenAutoSaveFile(file)) {
    return false;
  }
  host_.BeginSaving(model_.LineCount());
  const bool saved = WriteAutoSaveLines(file);
  host_.EndSaving();
  if (saved) {
    flags_.ReportSaved = 1;
  }
  return saved;
}

bool ReportOutput::OpenAutoSaveFile(ReportFile& file) {
  if (autoSaveFileStarted_) {
    if (!file.OpenExisting(settings_.ReportFileName)) {
      ReportAutoSaveFailure("open");
      return false;
    }
    if (!file.SeekToEnd()) {
      ReportAutoSaveFailure("seek");
      return false;
    }
    return true;
  }
  if (!file.Create(settings_.ReportFileName)) {
    ReportAutoSaveFailure("create");
    return false;
  }
  autoSaveFileStarted_ = true;
  return true;
}

// Appends every line of the report, each whole however long it is. The
// model's last line never ends in a line break, so each screenful reaches the
// file exactly as the report holds it. A failed save is cut back out of the
// file: the retry writes the whole report again, which would otherwise repeat
// the lines that did reach the file.
bool ReportOutput::WriteAutoSaveLines(ReportFile& file) {
  const long long start = file.Position();
  const int lineCount = model_.LineCount();
  bool ok = true;
  try {
    for (int i = 0; i < lineCount && ok; ++i) {
      ok = file.Write(model_.Line(i));
      host_.StepSaving();
    }
  } catch (const std::bad_alloc&) {
    file.Truncate(start);
    OutputLine("\r\n\r\nCould not allocate memory to save to file: " + settings_.ReportFileName +
                   "\r\n\r\n",
               AlertColour, false, false);
    return false;
  }
  ok = ok && file.Flush();
  if (ok && file.Close()) {
    return true;
  }
  file.Truncate(start);
  const bool diskFull = file.DiskFull();
  file.Close();
  if (diskFull) {
    ReportAutoSaveFailure("write", ": Disk is full.");
    host_.ShowMessage(
        "The file could not be saved, the disk is full.\nPlease make some space and press OK to "
        "continue.",
        MessageButtons::Ok, MessageIcon::Warning);
  } else {
    ReportAutoSaveFailure("write");
    host_.ShowMessage("Could not auto save to file (write): " + settings_.ReportFileName,
                      MessageButtons::Ok, MessageIcon::Warning);
  }
  return false;
}

// Writes an auto-save failure into the report; such lines never trigger an
// auto-save themselves.
void ReportOutput::ReportAutoSaveFailure(std::string_view step, std::string_view detail) {
  std::string text = "\r\n\r\nCould not auto save to file (";
  text += step;
  text += "): ";
  text += settings_.ReportFileName;
  text += detail;
  text += "\r\n\r\n";
  OutputLine(text, AlertColour, false, false);
}
