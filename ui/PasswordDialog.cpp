// The password-only logon dialog.
#include "ui/PasswordDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "ui/UserPrompts.h"

PasswordDialog::PasswordDialog(const std::string& user, const std::string& database,
                               UserPrompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts), password_(new QLineEdit(this)) {
  setWindowTitle("Login");
  auto* userField = new QLineEdit(QString::fromStdString(user), this);
  userField->setReadOnly(true);
  auto* databaseField = new QLineEdit(QString::fromStdString(database), this);
  databaseField->setReadOnly(true);
  password_->setEchoMode(QLineEdit::Password);

  auto* form = new QFormLayout;
  form->addRow("Username:", userField);
  form->addRow("Password:", password_);
  form->addRow("Database:", databaseField);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &PasswordDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &PasswordDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  password_->setFocus();
}

std::string PasswordDialog::Password() const {
  return password_->text().toStdString();
}

void PasswordDialog::accept() {
  if (password_->text().trimmed().isEmpty()) {
    prompts_.ShowMessage(this, "Please enter a password.", MessageButtons::Ok,
                         MessageIcon::Warning);
    password_->setFocus();
    return;
  }
  QDialog::accept();
}
