// Listing the SQL library directory and reading its statement files.
#include "ui/SqlLibrary.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace fs = std::filesystem;

namespace {

struct Listed {
  std::string name;
  bool folder = false;
};

// The names of directory in name order; errors give what was read so far.
std::vector<Listed> NamesIn(const fs::path& directory) {
  std::vector<Listed> names;
  std::error_code error;
  for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
    std::error_code typeError;
    names.push_back({it->path().filename().string(), it->is_directory(typeError)});
  }
  std::sort(names.begin(), names.end(),
            [](const Listed& a, const Listed& b) { return a.name < b.name; });
  return names;
}

// Only statement files are offered: a note or a backup beside them would be
// sent to the server as a statement.
bool IsSqlFile(const std::string& name) {
  std::string suffix = fs::path(name).extension().string();
  std::transform(suffix.begin(), suffix.end(), suffix.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return suffix == ".sql";
}

}  // namespace

SqlLibraryListing ListSqlLibrary(const std::string& directory) {
  SqlLibraryListing listing;
  int nextId = FirstLibraryCommandId;
  const auto number = [&](LibraryEntry& file) {
    if (nextId > LastLibraryCommandId) {
      ++listing.FilesNotListed;
      return false;
    }
    file.CommandId = nextId++;
    return true;
  };
  for (const Listed& top : NamesIn(directory)) {
    LibraryEntry entry;
    entry.Name = top.name;
    if (top.folder) {
      entry.IsFolder = true;
      for (const Listed& inner : NamesIn(fs::path(directory) / top.name)) {
        LibraryEntry file;
        file.Name = inner.name;
        if (!inner.folder && IsSqlFile(inner.name) && number(file)) {
          entry.Children.push_back(std::move(file));
        }
      }
      listing.Entries.push_back(std::move(entry));
    } else if (IsSqlFile(top.name) && number(entry)) {
      listing.Entries.push_back(std::move(entry));
    }
  }
  return listing;
}

std::optional<std::string> LibraryFilePath(const SqlLibraryListing& listing,
                                           const std::string& directory, int commandId) {
  for (const LibraryEntry& entry : listing.Entries) {
    if (!entry.IsFolder && entry.CommandId == commandId) {
      return (fs::path(directory) / entry.Name).string();
    }
    for (const LibraryEntry& child : entry.Children) {
      if (child.CommandId == commandId) {
        return (fs::path(directory) / entry.Name / child.Name).string();
      }
    }
  }
  return std::nullopt;
}

std::optional<std::string> ReadLibraryStatement(const std::string& path) {
  std::error_code error;
  if (!fs::is_regular_file(path, error)) {
    return std::nullopt;
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    return std::nullopt;
  }
  std::string text;
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    text += line + "\n";
  }
  if (file.bad()) {
    return std::nullopt;
  }
  return text;
}
