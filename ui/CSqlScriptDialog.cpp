// The SQL script dialog.
#include "ui/CSqlScriptDialog.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

CSqlScriptDialog::CSqlScriptDialog(const std::string& statement, QWidget* parent)
    : QDialog(parent), statement_(new QPlainTextEdit(this)) {
  setWindowTitle("SQL Script");
  statement_->setPlainText(QString::fromStdString(statement));
  statement_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  statement_->setMinimumSize(480, 200);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CSqlScriptDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CSqlScriptDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("Query whose rows are scripted as INSERT statements:", this));
  layout->addWidget(statement_);
  layout->addWidget(buttons);
  statement_->setFocus();
}

std::string CSqlScriptDialog::Statement() const {
  return statement_->toPlainText().toStdString();
}

void CSqlScriptDialog::accept() {
  if (statement_->toPlainText().trimmed().isEmpty()) {
    statement_->setFocus();
    return;
  }
  QDialog::accept();
}
