// CSqlScriptDialog: the SQL script dialog of a statement run: one multi-line
// box holding the query whose rows are scripted, with OK and Cancel.
#pragma once

#include <QDialog>
#include <string>

class QPlainTextEdit;

class CSqlScriptDialog : public QDialog {
  Q_OBJECT

 public:
  CSqlScriptDialog(const std::string& statement, QWidget* parent);

  // The statement as typed, line breaks as "\n".
  std::string Statement() const;
  QPlainTextEdit* StatementBox() const { return statement_; }

  // OK: refuses an empty statement.
  void accept() override;

 private:
  QPlainTextEdit* statement_;
};
