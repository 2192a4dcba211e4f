// SplitReport: writes a stable scripting report, fed line by line, as one
// file per object under a folder (see SplitStatementRoute for the layout)
// and install.sql, which runs every file with "@@" lines in the order the
// report held them, the order a server can replay them in. A file whose bytes
// would not change is not written again, so a second run over an unchanged
// schema leaves every file as it was. The files of objects that are gone
// (written by an earlier run, not by this one) are removed when the run was
// complete. Remarks ("-- ") before a statement go with it; banners, blank
// lines between statements and the closing line are left out.
#pragma once

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "engine/SplitStatementRoute.h"

class SplitReport {
 public:
  // lineBreak ends every line of the files written: "\n" or "\r\n".
  SplitReport(std::filesystem::path folder, std::string lineBreak);
  ~SplitReport();
  SplitReport(const SplitReport&) = delete;
  SplitReport& operator=(const SplitReport&) = delete;

  // One line of the report without its line feed.
  void AddLine(std::string_view line);
  // Ends the last file, writes install.sql and, with removeGone, removes the
  // files of objects this report no longer holds. False with error set when a
  // file could not be written; what was written stays.
  bool Finish(bool removeGone, std::string& error);

  // The files written, relative to the folder, in install order.
  const std::vector<std::string>& Files() const { return files_; }
  // The files removed by Finish, relative to the folder.
  const std::vector<std::string>& Removed() const { return removed_; }

 private:
  void StartStatement(std::string_view line);
  void ContinueStatement(std::string_view line);
  void TrackQuotes(std::string_view line);
  void EndStatement();
  void WriteToFile(const std::string& path, const std::string& text);
  void CloseFile();
  void CommitFile(const std::filesystem::path& written, const std::string& path);
  void Fail(const std::string& what);

  std::filesystem::path folder_;
  std::string lineBreak_;
  SplitStatementRoute route_;

  bool inBanner_ = false;
  bool inStatement_ = false;
  bool endsWithSemicolon_ = false;
  bool holdsLiterals_ = false;
  bool inLiteral_ = false;
  std::string remarks_;
  std::string statement_;

  // The file the last statement went to, and the part of it being written.
  std::string currentKey_;
  std::string currentPath_;
  std::ofstream current_;
  std::map<std::string, int> segments_;
  std::vector<std::string> files_;
  std::set<std::string> written_;
  std::vector<std::string> removed_;
  std::string error_;
};
