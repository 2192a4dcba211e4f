// LoginDialog: the "Login" dialog of the Connect command. The user types or
// picks user, password and database (the Username field may carry all three
// as user/password@database), chooses whether the password is kept, and on OK
// the dialog logs on; it stays open after a failed logon. The "Recent
// Connections" list is kept in the settings store's section "Recent DB".
#pragma once

#include <QDialog>
#include <memory>
#include <string>

#include "scripting/connection/SessionHolder.h"

class ClientMessages;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;
class SettingsStore;
class UserPrompts;

class LoginDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char* RecentSection = "Recent DB";

  LoginDialog(SettingsStore& store, ClientMessages& messages, UserPrompts& prompts,
              QWidget* parent);
  ~LoginDialog() override;

  // The logged-on session of an accepted dialog; null otherwise.
  std::unique_ptr<SessionHolder> TakeHolder() { return std::move(holder_); }

  QComboBox* UserField() const { return user_; }
  QLineEdit* PasswordField() const { return password_; }
  QComboBox* DatabaseField() const { return database_; }
  QCheckBox* SavePasswordBox() const { return savePassword_; }
  QTreeWidget* RecentList() const { return recent_; }

  // OK: checks the fields, records the logon in the recent list and logs on.
  void accept() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FillRecentList();
  void ShowRow(QTreeWidgetItem* row);
  void WriteRecentList(const std::string& user, const std::string& password,
                       const std::string& database);

  SettingsStore& store_;
  ClientMessages& messages_;
  UserPrompts& prompts_;
  QComboBox* user_;
  QLineEdit* password_;
  QComboBox* database_;
  QCheckBox* savePassword_;
  QTreeWidget* recent_;
  std::unique_ptr<SessionHolder> holder_;
};
