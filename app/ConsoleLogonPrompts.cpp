// Password of a connect string without one, for the headless front end.
#include "app/ConsoleLogonPrompts.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <ostream>

#include "app/TerminalPassword.h"

std::optional<std::string> ConsoleLogonPrompts::AskPassword(const std::string& user,
                                                            const std::string& database) {
  std::optional<std::string> password;
  if (!passwordFile_.empty()) {
    password = ReadPasswordFile();
    if (!password) {
      return std::nullopt;
    }
  } else if (const char* fromEnvironment = std::getenv("QUILLMARK_PASSWORD")) {
    password = fromEnvironment;
  } else {
    password = ReadPasswordWithoutEcho("Password for " + user + "@" + database + ": ");
  }
  if (!password || password->find_first_not_of(" \t\r\n") == std::string::npos) {
    errors_ << "Please enter a password.\n";
    return std::nullopt;
  }
  return password;
}

std::optional<std::string> ConsoleLogonPrompts::ReadPasswordFile() {
  std::ifstream file(passwordFile_, std::ios::binary);
  std::string line;
  // A directory opens but cannot be read.
  if (!file || (!std::getline(file, line) && !file.eof())) {
    errors_ << "quillmark: cannot read the password file " << passwordFile_ << ": "
            << std::strerror(errno != 0 ? errno : EISDIR) << "\n";
    return std::nullopt;
  }
  if (!line.empty() && line.back() == '\r') {
    line.pop_back();
  }
  return line;
}
