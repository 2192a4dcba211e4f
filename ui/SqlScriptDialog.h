// SqlScriptDialog: asks for the database, schema and the statement whose rows
// a statement run scripts. The general options it opens are edited in the
// run settings themselves, so they stay changed even if this dialog is then
// cancelled.
#pragma once

#include <QDialog>
#include <QString>
#include <optional>
#include <string>

struct RunSettings;
class DatabaseChoice;
class DatabaseSchemaRow;
class QPlainTextEdit;
class QPushButton;
class SettingsStore;
class UserPrompts;

class SqlScriptDialog : public QDialog {
  Q_OBJECT

 public:
  SqlScriptDialog(const std::string& statement, RunSettings& settings, SettingsStore& store,
                  DatabaseChoice& database, UserPrompts& prompts, QWidget* parent = nullptr);

  // The statement as typed; meaningful after Start.
  std::string Statement() const;

  DatabaseSchemaRow* DatabaseRow() const { return databaseRow_; }
  QPlainTextEdit* StatementEdit() const { return statement_; }
  QPushButton* StartButton() const { return startButton_; }
  QPushButton* GeneralButton() const { return generalButton_; }

  void accept() override;

 private:
  void EditGeneralOptions();
  // Why the view's session refuses the statement (it is no query), if it does.
  std::optional<QString> Refusal() const;

  RunSettings& settings_;
  SettingsStore& store_;
  DatabaseChoice& database_;
  UserPrompts& prompts_;
  DatabaseSchemaRow* databaseRow_ = nullptr;
  QPlainTextEdit* statement_ = nullptr;
  QPushButton* startButton_ = nullptr;
  QPushButton* generalButton_ = nullptr;
};
