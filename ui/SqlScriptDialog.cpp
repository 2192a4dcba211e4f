// SQL script dialog: database row, statement editor and the General button.
#include "ui/SqlScriptDialog.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "engine/RunSettings.h"
#include "scripting/connection/DatabaseConnection.h"
#include "scripting/data/RowSource.h"
#include "ui/DatabaseChoice.h"
#include "ui/DatabaseSchemaRow.h"
#include "ui/GeneralOptionsDialog.h"
#include "ui/HelpPages.h"
#include "ui/UserPrompts.h"

SqlScriptDialog::SqlScriptDialog(const std::string& statement, RunSettings& settings,
                                 SettingsStore& store, DatabaseChoice& database,
                                 UserPrompts& prompts, QWidget* parent)
    : QDialog(parent), settings_(settings), store_(store), database_(database), prompts_(prompts) {
  setWindowTitle("Sql Script");
  databaseRow_ = new DatabaseSchemaRow(database, "Press to select Database", this);

  auto* frame = new QGroupBox("S&tatement to be executed:", this);
  statement_ = new QPlainTextEdit(QString::fromStdString(statement), frame);
  QFont font("Courier New");
  font.setStyleHint(QFont::TypeWriter);
  font.setPointSizeF(8.5);
  statement_->setFont(font);
  statement_->setLineWrapMode(QPlainTextEdit::NoWrap);
  statement_->setTabChangesFocus(true);
  statement_->setMinimumSize(480, 200);
  auto* frameLayout = new QVBoxLayout(frame);
  frameLayout->addWidget(statement_);

  auto* buttons = new QDialogButtonBox(this);
  AddHelp(*this, *buttons, "sql-script");
  generalButton_ = buttons->addButton("&General...", QDialogButtonBox::ActionRole);
  generalButton_->setAutoDefault(false);
  startButton_ = buttons->addButton("Start", QDialogButtonBox::AcceptRole);
  buttons->addButton(QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(generalButton_, &QPushButton::clicked, this, &SqlScriptDialog::EditGeneralOptions);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(databaseRow_);
  layout->addWidget(frame, 1);
  layout->addWidget(buttons);
  statement_->setFocus();
}

std::string SqlScriptDialog::Statement() const {
  return statement_->toPlainText().toStdString();
}

void SqlScriptDialog::EditGeneralOptions() {
  GeneralOptionsDialog dialog(GeneralOptions::From(settings_), store_, database_, prompts_, this);
  if (dialog.exec() == QDialog::Accepted) {
    dialog.Options().CopyTo(settings_);
  }
}

void SqlScriptDialog::accept() {
  if (statement_->toPlainText().trimmed().isEmpty()) {
    statement_->setFocus();
    prompts_.ShowMessage(this, "Please enter a statement to be executed on the database.",
                         MessageButtons::Ok, MessageIcon::Warning);
    return;
  }
  if (const std::optional<QString> refusal = Refusal()) {
    statement_->setFocus();
    prompts_.ShowMessage(this, *refusal, MessageButtons::Ok, MessageIcon::Warning);
    return;
  }
  QDialog::accept();
}

std::optional<QString> SqlScriptDialog::Refusal() const {
  // Without a session the run itself refuses a statement that is no query.
  const DatabaseConnection* connection = database_.ViewConnection();
  if (connection == nullptr || connection->NotConnected() || connection->Session() == nullptr) {
    return std::nullopt;
  }
  if (const std::optional<std::string> refusal =
          RowSource::RefusalOf(*connection->Session(), Statement())) {
    return QString::fromStdString(*refusal);
  }
  return std::nullopt;
}
