// Column patterns page: add, remove and store the ignored column patterns.
#include "ui/ColumnPatternsPage.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "ui/UserPrompts.h"

ColumnPatternsPage::ColumnPatternsPage(std::vector<std::string>& patterns, UserPrompts& prompts,
                                       QWidget* parent)
    : QWidget(parent), patterns_(patterns), prompts_(prompts) {
  edit_ = new QLineEdit(this);
  auto* editLabel = new QLabel("Ignore columns &named:", this);
  editLabel->setBuddy(edit_);
  list_ = new QListWidget(this);
  list_->setSortingEnabled(true);
  for (const std::string& pattern : patterns) {
    list_->addItem(QString::fromStdString(pattern));
  }
  add_ = new QPushButton("&Add", this);
  remove_ = new QPushButton("&Remove", this);
  connect(add_, &QPushButton::clicked, this, &ColumnPatternsPage::Add);
  connect(edit_, &QLineEdit::returnPressed, this, &ColumnPatternsPage::Add);
  connect(remove_, &QPushButton::clicked, this, &ColumnPatternsPage::Remove);

  auto* layout = new QGridLayout(this);
  layout->addWidget(editLabel, 0, 0, 1, 2);
  layout->addWidget(edit_, 1, 0);
  layout->addWidget(add_, 1, 1);
  layout->addWidget(list_, 2, 0);
  layout->addWidget(remove_, 2, 1, Qt::AlignTop);
}

void ColumnPatternsPage::Add() {
  const QString text = edit_->text();
  if (text.isEmpty()) {
    return;
  }
  const qsizetype first = text.indexOf('%');
  if (first >= 0 && text.indexOf('%', first + 1) >= 0) {
    prompts_.ShowMessage(this, "You can have only one expander ('%') per string",
                         MessageButtons::Ok, MessageIcon::Warning);
    return;
  }
  list_->addItem(text);
  edit_->clear();
}

void ColumnPatternsPage::Remove() {
  delete list_->currentItem();
}

bool ColumnPatternsPage::Apply() {
  if (!edit_->text().isEmpty()) {
    Add();
    return false;
  }
  patterns_.clear();
  for (int i = 0; i < list_->count(); ++i) {
    patterns_.push_back(list_->item(i)->text().toStdString());
  }
  return true;
}
