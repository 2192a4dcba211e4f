// Password of a connect string without one, for the headless front end.
#include "app/ConsoleLogonPrompts.h"

#include <cstdlib>
#include <ostream>

#include "app/TerminalPassword.h"

std::optional<std::string> ConsoleLogonPrompts::AskPassword(const std::string& user,
                                                            const std::string& database) {
  std::optional<std::string> password;
  if (const char* fromEnvironment = std::getenv("QUILLMARK_PASSWORD")) {
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
