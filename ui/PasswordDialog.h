// PasswordDialog: the small "Login" dialog that asks only for the password of
// a user and database that are already known (a connect string without one).
#pragma once

#include <QDialog>
#include <string>

class QLineEdit;
class UserPrompts;

class PasswordDialog : public QDialog {
  Q_OBJECT

 public:
  PasswordDialog(const std::string& user, const std::string& database, UserPrompts& prompts,
                 QWidget* parent);

  // The password as typed, once the dialog was accepted.
  std::string Password() const;

  QLineEdit* PasswordField() const { return password_; }

  // OK: refuses a password that is empty or only white space.
  void accept() override;

 private:
  UserPrompts& prompts_;
  QLineEdit* password_;
};
