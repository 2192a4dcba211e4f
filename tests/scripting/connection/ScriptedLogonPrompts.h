// ScriptedLogonPrompts: answers the connect procedure's questions in place of
// a user and records what was asked, for the connection tests.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "scripting/connection/LogonPrompts.h"
#include "scripting/connection/SessionHolder.h"

class ScriptedLogonPrompts : public LogonPrompts {
 public:
  // The password to give; nothing cancels the password dialog.
  std::optional<std::string> password;
  std::vector<std::string> passwordQuestions;  // "user@database" per question
  int logonQuestions = 0;

  std::optional<std::string> AskPassword(const std::string& user,
                                         const std::string& database) override {
    passwordQuestions.push_back(user + "@" + database);
    return password;
  }
  std::unique_ptr<SessionHolder> AskLogon() override {
    ++logonQuestions;
    return nullptr;
  }
};
