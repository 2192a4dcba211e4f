// ConsoleLogonPrompts: the headless answers to the logon questions. A
// password comes from the first line of a password file when one is given,
// else from QUILLMARK_PASSWORD, else from the terminal; the full login dialog
// does not exist without a window, so that question is declined.
#pragma once

#include <iosfwd>
#include <string>
#include <utility>

#include "scripting/connection/LogonPrompts.h"
#include "scripting/connection/SessionHolder.h"

class ConsoleLogonPrompts : public LogonPrompts {
 public:
  // passwordFile: empty for none.
  ConsoleLogonPrompts(std::ostream& errors, std::string passwordFile = {})
      : errors_(errors), passwordFile_(std::move(passwordFile)) {}

  std::optional<std::string> AskPassword(const std::string& user,
                                         const std::string& database) override;
  std::unique_ptr<SessionHolder> AskLogon() override { return nullptr; }

 private:
  std::optional<std::string> ReadPasswordFile();

  std::ostream& errors_;
  std::string passwordFile_;
};
