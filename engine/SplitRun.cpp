// A scripting run written as one file per object.
#include "engine/SplitRun.h"

#include <filesystem>
#include <fstream>

#include "engine/RunSettings.h"
#include "engine/SplitReport.h"

namespace fs = std::filesystem;

std::string SplitRun::ReportFileIn(const std::string& folder) {
  return (fs::path(folder) / ".quillmark-report.sql").string();
}

std::optional<std::string> SplitRun::PrepareFolder(const std::string& folder) {
  std::error_code error;
  fs::create_directories(folder, error);
  if (error || !fs::is_directory(folder, error)) {
    return "the split folder " + folder +
           " cannot be used: " + (error ? error.message() : std::string("it is not a folder"));
  }
  return std::nullopt;
}

std::optional<std::string> SplitRun::Begin(RunSettings& settings) {
  if (std::optional<std::string> problem = PrepareFolder(settings.SplitFolder)) {
    return problem;
  }
  settings_ = &settings;
  folder_ = settings.SplitFolder;
  crlf_ = settings.SplitCrLf != 0;
  reportToFile_ = settings.ReportToFile;
  autoSave_ = settings.AutoSave;
  stableOutput_ = settings.StableOutput;
  lfLineBreaks_ = settings.LfLineBreaks;
  reportFileName_ = settings.ReportFileName;
  // The report is read back line by line: LF until the files are written.
  settings.ReportToFile = 1;
  settings.AutoSave = 0;
  settings.StableOutput = 1;
  settings.LfLineBreaks = 1;
  settings.ReportFileName = ReportFileIn(folder_);
  return std::nullopt;
}

std::optional<std::string> SplitRun::Finish(bool complete) {
  std::ifstream report(ReportFileIn(folder_), std::ios::binary);
  if (!report) {
    return "the report " + ReportFileIn(folder_) + " could not be read back";
  }
  SplitReport files(folder_, crlf_ ? "\r\n" : "\n");
  for (std::string line; std::getline(report, line);) {
    files.AddLine(line);
  }
  std::string error;
  if (!files.Finish(complete, error)) {
    return error;
  }
  removed_ = files.Removed();
  return std::nullopt;
}

void SplitRun::End() {
  if (settings_ == nullptr) {
    return;
  }
  // A report that could not be written went to the report window instead:
  // file mode stays off then, as after any failed file.
  if (settings_->ReportToFile) {
    settings_->ReportToFile = reportToFile_;
  }
  settings_->AutoSave = autoSave_;
  settings_->StableOutput = stableOutput_;
  settings_->LfLineBreaks = lfLineBreaks_;
  settings_->ReportFileName = reportFileName_;
  settings_ = nullptr;
  std::error_code ignored;
  fs::remove(ReportFileIn(folder_), ignored);
}

SplitRun::~SplitRun() {
  End();
}
