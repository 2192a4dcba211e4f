// A stable report as one file per object and an install script.
#include "engine/SplitReport.h"

#include <algorithm>
#include <cstring>
#include <system_error>

namespace fs = std::filesystem;

namespace {

constexpr const char* InstallFile = "install.sql";
// Where a file is written before it replaces the one of an earlier run.
constexpr const char* PendingSuffix = ".quillmark-new";

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

std::string_view WithoutTrailingBlanks(std::string_view line) {
  const std::size_t end = line.find_last_not_of(" \t\r");
  return end == std::string_view::npos ? std::string_view() : line.substr(0, end + 1);
}

bool SameBytes(const fs::path& a, const fs::path& b) {
  std::error_code error;
  if (!fs::is_regular_file(b, error) || fs::file_size(a, error) != fs::file_size(b, error)) {
    return false;
  }
  std::ifstream first(a, std::ios::binary);
  std::ifstream second(b, std::ios::binary);
  char left[65536];
  char right[65536];
  while (first && second) {
    first.read(left, sizeof left);
    second.read(right, sizeof right);
    if (first.gcount() != second.gcount() ||
        std::memcmp(left, right, static_cast<std::size_t>(first.gcount())) != 0) {
      return false;
    }
  }
  return first.eof() && second.eof();
}

// The name of the n-th part of a file whose object's statements are not all
// next to each other in the report.
std::string SegmentPath(const std::string& path, int segment) {
  if (segment == 1) {
    return path;
  }
  const std::size_t dot = path.rfind('.');
  return path.substr(0, dot) + "~" + std::to_string(segment) + path.substr(dot);
}

}  // namespace

SplitReport::SplitReport(fs::path folder, std::string lineBreak)
    : folder_(std::move(folder)), lineBreak_(std::move(lineBreak)) {}

SplitReport::~SplitReport() {
  if (current_.is_open()) {
    current_.close();
    std::error_code ignored;
    fs::remove(folder_ / (currentPath_ + PendingSuffix), ignored);
  }
}

void SplitReport::AddLine(std::string_view line) {
  if (inStatement_) {
    ContinueStatement(line);
    return;
  }
  const std::string_view text = WithoutTrailingBlanks(line);
  if (inBanner_) {
    inBanner_ = text.size() < 2 || text.substr(text.size() - 2) != "*/";
    return;
  }
  if (text.empty() || text == "/" || text == "SET DEFINE OFF") {
    return;
  }
  if (StartsWith(text, "/*")) {
    inBanner_ = text.size() < 4 || text.substr(text.size() - 2) != "*/";
    return;
  }
  if (StartsWith(text, "--")) {
    remarks_.append(line).append("\n");
    return;
  }
  StartStatement(line);
}

void SplitReport::StartStatement(std::string_view line) {
  inStatement_ = true;
  endsWithSemicolon_ = SplitStatementRoute::EndsWithSemicolon(line);
  holdsLiterals_ = SplitStatementRoute::HoldsDataLiterals(line);
  inLiteral_ = false;
  statement_.clear();
  statement_.append(line).append("\n");
  TrackQuotes(line);
  const std::string_view text = WithoutTrailingBlanks(line);
  if (endsWithSemicolon_ && !inLiteral_ && !text.empty() && text.back() == ';') {
    EndStatement();
  }
}

void SplitReport::ContinueStatement(std::string_view line) {
  statement_.append(line).append("\n");
  const std::string_view text = WithoutTrailingBlanks(line);
  if (!inLiteral_ && text == "/") {
    EndStatement();
    return;
  }
  TrackQuotes(line);
  if (endsWithSemicolon_ && !inLiteral_ && !text.empty() && text.back() == ';') {
    EndStatement();
  }
}

void SplitReport::TrackQuotes(std::string_view line) {
  if (!holdsLiterals_) {
    return;
  }
  for (const char c : line) {
    if (c == '\'') {
      inLiteral_ = !inLiteral_;  // a doubled quote leaves and enters again
    }
  }
}

void SplitReport::EndStatement() {
  inStatement_ = false;
  std::string path = route_.FileOf(statement_);
  if (path.empty()) {
    path = currentKey_.empty() ? std::string("other.sql") : currentKey_;
  }
  WriteToFile(path, remarks_ + statement_);
  remarks_.clear();
  statement_.clear();
}

void SplitReport::WriteToFile(const std::string& path, const std::string& text) {
  if (!error_.empty()) {
    return;
  }
  if (!current_.is_open() || currentKey_ != path) {
    CloseFile();
    currentKey_ = path;
    currentPath_ = SegmentPath(path, ++segments_[path]);
    const fs::path target = folder_ / currentPath_;
    std::error_code error;
    fs::create_directories(target.parent_path(), error);
    current_.open(folder_ / (currentPath_ + PendingSuffix), std::ios::binary | std::ios::trunc);
    if (!current_) {
      Fail("could not create " + target.string());
      return;
    }
    files_.push_back(currentPath_);
  } else {
    current_ << lineBreak_;  // a blank line between the statements of one file
  }
  if (lineBreak_ == "\n") {
    current_ << text;
  } else {
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
        current_ << lineBreak_;
      } else {
        current_ << text[i];
      }
    }
  }
  if (!current_) {
    Fail("could not write " + (folder_ / currentPath_).string());
  }
}

void SplitReport::CloseFile() {
  if (!current_.is_open()) {
    return;
  }
  current_.close();
  if (!current_) {
    Fail("could not write " + (folder_ / currentPath_).string());
    return;
  }
  CommitFile(folder_ / (currentPath_ + PendingSuffix), currentPath_);
}

// Replaces the file at path by the one just written unless their bytes are
// the same, so that an unchanged object keeps its file untouched.
void SplitReport::CommitFile(const fs::path& written, const std::string& path) {
  const fs::path target = folder_ / path;
  std::error_code error;
  if (SameBytes(written, target)) {
    fs::remove(written, error);
  } else {
    fs::rename(written, target, error);
    if (error) {
      Fail("could not write " + target.string() + ": " + error.message());
      fs::remove(written, error);
      return;
    }
  }
  written_.insert(path);
}

void SplitReport::Fail(const std::string& what) {
  if (error_.empty()) {
    error_ = what;
  }
}

bool SplitReport::Finish(bool removeGone, std::string& error) {
  CloseFile();
  if (error_.empty()) {
    const fs::path pending = folder_ / (std::string(InstallFile) + PendingSuffix);
    {
      std::ofstream install(pending, std::ios::binary | std::ios::trunc);
      install << "-- Every file of this folder, in the order a server can replay them."
              << lineBreak_ << "SET DEFINE OFF" << lineBreak_;
      for (const std::string& file : files_) {
        install << "@@" << file << lineBreak_;
      }
      install.close();
      if (!install) {
        Fail("could not write " + (folder_ / InstallFile).string());
      }
    }
    if (error_.empty()) {
      CommitFile(pending, InstallFile);
    }
  }
  if (error_.empty() && removeGone) {
    std::vector<fs::path> candidates = {folder_ / PrivilegesFile, folder_ / "other.sql"};
    for (const std::string& name : SplitFolders()) {
      std::error_code listError;
      for (const fs::directory_entry& entry : fs::directory_iterator(folder_ / name, listError)) {
        if (entry.path().extension() == ".sql") {
          candidates.push_back(entry.path());
        }
      }
    }
    for (const fs::path& candidate : candidates) {
      const std::string relative = candidate.lexically_relative(folder_).generic_string();
      std::error_code removeError;
      if (written_.count(relative) == 0 && fs::remove(candidate, removeError)) {
        removed_.push_back(relative);
      }
    }
    std::sort(removed_.begin(), removed_.end());
    for (const std::string& name : SplitFolders()) {
      std::error_code ignored;
      if (fs::is_empty(folder_ / name, ignored)) {
        fs::remove(folder_ / name, ignored);
      }
    }
  }
  error = error_;
  return error_.empty();
}
