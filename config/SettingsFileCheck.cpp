// Checks of the settings file before it is read (see SettingsFileCheck.h).
#include "config/SettingsFileCheck.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

std::string Trimmed(const std::string& line) {
  const std::size_t first = line.find_first_not_of(" \t\r");
  if (first == std::string::npos) {
    return {};
  }
  return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

bool LooksLikeSettings(const std::string& text) {
  if (text.find('\0') != std::string::npos) {
    return false;
  }
  std::istringstream lines(text);
  std::string line;
  bool continued = false;
  while (std::getline(lines, line)) {
    const std::string trimmed = Trimmed(line);
    const bool wasContinued = continued;
    continued = !trimmed.empty() && trimmed.back() == '\\';
    if (wasContinued || trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#' ||
        (trimmed.front() == '[' && trimmed.back() == ']') ||
        trimmed.find('=') != std::string::npos) {
      continue;
    }
    return false;
  }
  return true;
}

}  // namespace

bool CreatePrivateFile(const std::string& path) {
  std::error_code error;
  if (std::filesystem::exists(path, error)) {
    return true;
  }
  const std::filesystem::path parent = std::filesystem::path(path).parent_path();
  if (!parent.empty()) {
    std::filesystem::create_directories(parent, error);
  }
#ifndef _WIN32
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd >= 0) {
    ::close(fd);
  }
#else
  std::ofstream(path, std::ios::app);
#endif
  return std::filesystem::exists(path, error);
}

std::string SettingsFileProblem(const std::string& path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (std::filesystem::is_directory(status)) {
    return "The settings file " + path +
           " is a directory: the program starts with its default settings and cannot save "
           "them.";
  }
  if (!std::filesystem::exists(status)) {
    CreatePrivateFile(path);
    return {};
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    return "The settings file " + path + " cannot be read (" + std::strerror(errno) +
           "): the program starts with its default settings.";
  }
  const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (LooksLikeSettings(text)) {
    return {};
  }
  const std::string aside = path + ".unusable";
  std::filesystem::rename(path, aside, error);
  if (error) {
    return "The settings file " + path +
           " is not a settings file and cannot be moved aside: the program starts with its "
           "default settings.";
  }
  CreatePrivateFile(path);
  return "The settings file " + path + " is not a settings file; it was kept as " + aside +
         " and the program starts with its default settings.";
}

std::string SettingsDirectoryProblem(const std::string& directory) {
  if (directory.empty()) {
    return "no folder is named";
  }
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(directory, error);
  if (error && error != std::errc::no_such_file_or_directory) {
    return error.message();
  }
  if (std::filesystem::exists(status) && !std::filesystem::is_directory(status)) {
    return "it is a file, not a folder";
  }
  if (!std::filesystem::exists(status) && !std::filesystem::create_directories(directory, error)) {
    return "it cannot be created: " + error.message();
  }
#ifndef _WIN32
  if (::access(directory.c_str(), R_OK | W_OK | X_OK) != 0) {
    return std::string("it cannot be used: ") + std::strerror(errno);
  }
#endif
  return {};
}
