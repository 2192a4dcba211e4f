// QtLogonPrompts: the desktop program's answers to the connect procedure's
// questions, with the password dialog and the login dialog.
#pragma once

#include "scripting/connection/LogonPrompts.h"
#include "scripting/connection/SessionHolder.h"

class ClientMessages;
class QWidget;
class SettingsStore;
class UserPrompts;

class QtLogonPrompts : public LogonPrompts {
 public:
  QtLogonPrompts(SettingsStore& store, ClientMessages& messages, UserPrompts& prompts,
                 QWidget* parent)
      : store_(store), messages_(messages), prompts_(prompts), parent_(parent) {}

  std::optional<std::string> AskPassword(const std::string& user,
                                         const std::string& database) override;
  std::unique_ptr<SessionHolder> AskLogon() override;

 private:
  SettingsStore& store_;
  ClientMessages& messages_;
  UserPrompts& prompts_;
  QWidget* parent_;
};
