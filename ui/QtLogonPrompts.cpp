// The logon dialogs behind the connect procedure.
#include "ui/QtLogonPrompts.h"

#include "ui/LoginDialog.h"
#include "ui/PasswordDialog.h"

std::optional<std::string> QtLogonPrompts::AskPassword(const std::string& user,
                                                       const std::string& database) {
  PasswordDialog dialog(user, database, prompts_, parent_);
  if (dialog.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  return dialog.Password();
}

std::unique_ptr<SessionHolder> QtLogonPrompts::AskLogon() {
  LoginDialog dialog(store_, messages_, prompts_, parent_);
  if (dialog.exec() != QDialog::Accepted) {
    return nullptr;
  }
  return dialog.TakeHolder();
}
