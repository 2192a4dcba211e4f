// Find dialog widgets and their wiring.
#include "ui/CFindDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/HelpPages.h"

CFindDialog::CFindDialog(QWidget* parent)
    : QDialog(parent),
      text_(new QLineEdit(this)),
      wholeWord_(new QCheckBox(tr("Match &whole word only"), this)),
      matchCase_(new QCheckBox(tr("Match &case"), this)),
      findNext_(new QPushButton(tr("&Find Next"), this)) {
  setWindowTitle(tr("Find"));
  AddHelpKey(*this, "menus");
  setModal(false);

  auto* textRow = new QHBoxLayout;
  auto* label = new QLabel(tr("Fi&nd what:"), this);
  label->setBuddy(text_);
  textRow->addWidget(label);
  textRow->addWidget(text_);

  auto* buttons = new QDialogButtonBox(Qt::Vertical, this);
  buttons->addButton(findNext_, QDialogButtonBox::ActionRole);
  buttons->addButton(QDialogButtonBox::Cancel);
  findNext_->setDefault(true);
  findNext_->setEnabled(false);

  auto* options = new QVBoxLayout;
  options->addLayout(textRow);
  options->addWidget(wholeWord_);
  options->addWidget(matchCase_);
  options->addStretch();

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(options);
  layout->addWidget(buttons);

  connect(text_, &QLineEdit::textChanged, this,
          [this](const QString& text) { findNext_->setEnabled(!text.isEmpty()); });
  connect(findNext_, &QPushButton::clicked, this,
          [this] { emit FindNextRequested(Text(), Flags()); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void CFindDialog::Open() {
  if (!isVisible()) {
    text_->clear();
  }
  show();
  raise();
  activateWindow();
  text_->setFocus();
}

QString CFindDialog::Text() const {
  return text_->text();
}

QTextDocument::FindFlags CFindDialog::Flags() const {
  QTextDocument::FindFlags flags;
  if (wholeWord_->isChecked()) {
    flags |= QTextDocument::FindWholeWords;
  }
  if (matchCase_->isChecked()) {
    flags |= QTextDocument::FindCaseSensitively;
  }
  return flags;
}
