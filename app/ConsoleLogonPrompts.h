// ConsoleLogonPrompts: the headless answers to the logon questions. A
// password comes from QUILLMARK_PASSWORD or from the terminal; the full login
// dialog does not exist without a window, so that question is declined.
#pragma once

#include <iosfwd>

#include "scripting/connection/LogonPrompts.h"
#include "scripting/connection/SessionHolder.h"

class ConsoleLogonPrompts : public LogonPrompts {
 public:
  explicit ConsoleLogonPrompts(std::ostream& errors) : errors_(errors) {}

  std::optional<std::string> AskPassword(const std::string& user,
                                         const std::string& database) override;
  std::unique_ptr<SessionHolder> AskLogon() override { return nullptr; }

 private:
  std::ostream& errors_;
};
