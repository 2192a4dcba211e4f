// SqlLibrary: the statement files of the SQL library directory as the entries
// of the "SQL Library" menu. Top-level files and folders (one level: a
// folder's own subfolders are not shown) are numbered with consecutive
// command ids in menu order, so that a chosen id leads back to its file.
// There are only so many ids; the entries that did not get one are counted,
// so that the menu can say that more files exist instead of hiding them.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct LibraryEntry {
  std::string Name;      // file or folder name as listed, extension included
  int CommandId = -999;  // the menu command of a file; -999 for a folder
  bool IsFolder = false;
  std::vector<LibraryEntry> Children;  // a folder's files
};

struct SqlLibraryListing {
  std::vector<LibraryEntry> Entries;
  // Files that got no command id because the ids ran out.
  int FilesNotListed = 0;
};

inline constexpr int FirstLibraryCommandId = 48001;
inline constexpr int LastLibraryCommandId = 48050;

// Lists directory in name order; an empty or missing directory gives no entries.
SqlLibraryListing ListSqlLibrary(const std::string& directory);

// The path of the file bound to commandId, if any.
std::optional<std::string> LibraryFilePath(const SqlLibraryListing& listing,
                                           const std::string& directory, int commandId);

// The statement of a library file: each of its lines followed by "\n" (a CR
// before a line end is dropped). Nothing when it cannot be read.
std::optional<std::string> ReadLibraryStatement(const std::string& path);
