// The full logon dialog and its list of recent connections.
#include "ui/LoginDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <set>

#include "config/SettingsStore.h"
#include "engine/RunSettings.h"
#include "scripting/connection/ConnectStringParts.h"
#include "scripting/connection/DatabaseConnection.h"
#include "ui/HelpPages.h"
#include "ui/UserPrompts.h"

namespace {

constexpr const char* SavePasswordKey = "Savepass";
constexpr const char* SavePasswordTip =
    "Keeps the password, as plain text, with the recent connections in the settings file "
    "~/.config/Velmora/Quillmark for Oracle.conf, which only you can read";
// Item data roles of a row's RecentConnection.
constexpr int UserRole = Qt::UserRole;
constexpr int PasswordRole = Qt::UserRole + 1;
constexpr int DatabaseRole = Qt::UserRole + 2;

// Shows the wait cursor for its lifetime.
class WaitCursor {
 public:
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

QComboBox* SortedEditableCombo(QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::InsertAlphabetically);
  return combo;
}

// Adds text in sorted place unless the combo holds it already (any case).
void AddSortedOnce(QComboBox* combo, const QString& text) {
  if (text.isEmpty() || combo->findText(text, Qt::MatchFixedString) >= 0) {
    return;
  }
  int position = 0;
  while (position < combo->count() &&
         QString::compare(combo->itemText(position), text, Qt::CaseInsensitive) < 0) {
    ++position;
  }
  combo->insertItem(position, text);
}

std::string RecentText(const std::string& user, const std::string& password, bool withPassword,
                       const std::string& database) {
  return user + (withPassword ? "/" + password : std::string()) + "@" + database;
}

// The server's answer to a wrong user name or password.
constexpr int WrongPasswordCode = 1017;

std::string Text(const QTreeWidgetItem* row, int role) {
  return row->data(0, role).toString().toStdString();
}

}  // namespace

LoginDialog::LoginDialog(SettingsStore& store, ClientMessages& messages, UserPrompts& prompts,
                         QWidget* parent)
    : QDialog(parent),
      store_(store),
      messages_(messages),
      prompts_(prompts),
      user_(SortedEditableCombo(this)),
      password_(new QLineEdit(this)),
      database_(SortedEditableCombo(this)),
      savePassword_(new QCheckBox("&Save Password", this)),
      recent_(new QTreeWidget(this)) {
  setWindowTitle("Login");
  password_->setEchoMode(QLineEdit::Password);
  // A password is kept only when the user asks for it.
  savePassword_->setChecked(store_.GetInt(SettingsSection, SavePasswordKey, 0) != 0);
  savePassword_->setToolTip(SavePasswordTip);
  connect(savePassword_, &QCheckBox::clicked, this, [this](bool checked) {
    store_.SetInt(SettingsSection, SavePasswordKey, checked ? 1 : 0);
  });

  recent_->setColumnCount(1);
  recent_->setHeaderLabels({"Recent Connections"});
  recent_->setRootIsDecorated(false);
  recent_->setSelectionMode(QAbstractItemView::SingleSelection);
  recent_->setSelectionBehavior(QAbstractItemView::SelectRows);
  recent_->header()->setSectionsClickable(false);
  recent_->header()->setStretchLastSection(true);
  recent_->installEventFilter(this);
  connect(recent_, &QTreeWidget::currentItemChanged, this,
          [this](QTreeWidgetItem* row) { ShowRow(row); });
  connect(recent_, &QTreeWidget::itemDoubleClicked, this, [this] { accept(); });

  auto* form = new QFormLayout;
  form->addRow("&Username:", user_);
  form->addRow("&Password:", password_);
  form->addRow("&Database:", database_);
  form->addRow(QString(), savePassword_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &LoginDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &LoginDialog::reject);
  AddHelp(*this, *buttons, "connect");
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(recent_);
  layout->addWidget(buttons);

  FillRecentList();
  if (recent_->topLevelItemCount() > 0) {
    ShowRow(recent_->topLevelItem(0));
  }
}

LoginDialog::~LoginDialog() = default;

void LoginDialog::FillRecentList() {
  for (int i = 0;; ++i) {
    const std::string value = store_.GetString(RecentSection, std::to_string(i), "");
    const std::size_t at = value.find('@');
    if (value.empty() || at == std::string::npos || at == 0) {
      return;
    }
    const ConnectStringParts parts = SplitLogonText(value);
    const std::string shown = parts.Password.empty() ? parts.User + "@" + parts.Database
                                                     : parts.User + "/*****@" + parts.Database;
    auto* row = new QTreeWidgetItem(recent_, {QString::fromStdString(shown)});
    row->setData(0, UserRole, QString::fromStdString(parts.User));
    row->setData(0, PasswordRole, QString::fromStdString(parts.Password));
    row->setData(0, DatabaseRole, QString::fromStdString(parts.Database));
    AddSortedOnce(user_, QString::fromStdString(parts.User));
    AddSortedOnce(database_, QString::fromStdString(parts.Database));
  }
}

void LoginDialog::ShowRow(QTreeWidgetItem* row) {
  if (row == nullptr) {
    return;
  }
  user_->setEditText(row->data(0, UserRole).toString());
  password_->setText(row->data(0, PasswordRole).toString());
  database_->setEditText(row->data(0, DatabaseRole).toString());
}

bool LoginDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == recent_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
    delete recent_->currentItem();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void LoginDialog::accept() {
  const WaitCursor wait;
  const std::string typed = user_->currentText().toStdString();
  if (typed.empty()) {
    prompts_.ShowMessage(this, "Please enter a username to connect to the database",
                         MessageButtons::Ok, MessageIcon::Warning);
    user_->setFocus();
    return;
  }
  ConnectStringParts parts = SplitLogonText(typed);
  if (parts.Password.empty()) {
    parts.Password = password_->text().toStdString();
  }
  if (parts.Password.empty()) {
    prompts_.ShowMessage(
        this, QString::fromStdString("Please enter a password to connect to '" + parts.User + "'"),
        MessageButtons::Ok, MessageIcon::Warning);
    password_->setFocus();
    return;
  }
  if (parts.Database.empty()) {
    parts.Database = database_->currentText().toStdString();
  }
  int errorCode = 0;
  std::unique_ptr<OracleSession> session = DatabaseConnection::LogOn(
      store_, messages_, parts.User, parts.Password, parts.Database, &errorCode);
  if (!session) {
    // A refused password is retyped; anything else may lie in the user name.
    if (errorCode == WrongPasswordCode) {
      password_->setFocus();
      password_->selectAll();
    } else {
      user_->setFocus();
      user_->lineEdit()->selectAll();
    }
    return;
  }
  // Only a logon that worked is remembered, so a mistyped password is not.
  WriteRecentList(parts.User, parts.Password, parts.Database);
  holder_ = std::make_unique<SessionHolder>();
  holder_->Session = std::move(session);
  holder_->PasswordSaved = savePassword_->isChecked();
  QDialog::accept();
}

void LoginDialog::WriteRecentList(const std::string& user, const std::string& password,
                                  const std::string& database) {
  // One entry per user and database: the new logon replaces an older one.
  std::set<std::string> written;
  int next = 0;
  const auto write = [&](const std::string& rowUser, const std::string& text,
                         const std::string& rowDatabase) {
    const std::string identity =
        QString::fromStdString(rowUser + "@" + rowDatabase).toUpper().toStdString();
    if (written.insert(identity).second) {
      store_.SetString(RecentSection, std::to_string(next++), text);
    }
  };
  write(user, RecentText(user, password, savePassword_->isChecked(), database), database);
  for (int i = 0; i < recent_->topLevelItemCount(); ++i) {
    const QTreeWidgetItem* row = recent_->topLevelItem(i);
    const std::string rowUser = Text(row, UserRole);
    const std::string rowPassword = Text(row, PasswordRole);
    const std::string rowDatabase = Text(row, DatabaseRole);
    write(rowUser, RecentText(rowUser, rowPassword, !rowPassword.empty(), rowDatabase),
          rowDatabase);
  }
  // Entries of a longer list written before would show again: the list ends here.
  for (int stale = next; store_.Contains(RecentSection, std::to_string(stale)); ++stale) {
    store_.Remove(RecentSection, std::to_string(stale));
  }
}
