// Selection page: a multiple-selection name list storing the names left out.
#include "ui/SelectionPage.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

SelectionPage::SelectionPage(const QString& listLabel, const QString& notProcessedText,
                             NameSource names, std::vector<std::string>& excluded,
                             int& notProcessed, QWidget* parent)
    : QWidget(parent), names_(std::move(names)), excluded_(excluded), notProcessed_(notProcessed) {
  list_ = new QListWidget(this);
  list_->setSortingEnabled(true);
  list_->setSelectionMode(QAbstractItemView::MultiSelection);
  auto* label = new QLabel(listLabel, this);
  label->setBuddy(list_);
  selectAll_ = new QPushButton("Select &All", this);
  unselectAll_ = new QPushButton("&UnSelect All", this);
  notProcessedBox_ = new QCheckBox(notProcessedText, this);
  notProcessedBox_->setChecked(notProcessed != 0);
  connect(selectAll_, &QPushButton::clicked, list_, &QListWidget::selectAll);
  connect(unselectAll_, &QPushButton::clicked, list_, &QListWidget::clearSelection);

  auto* layout = new QGridLayout(this);
  layout->addWidget(label, 0, 0, 1, 2);
  layout->addWidget(list_, 1, 0, 3, 1);
  layout->addWidget(selectAll_, 1, 1);
  layout->addWidget(unselectAll_, 2, 1);
  layout->setRowStretch(3, 1);
  layout->addWidget(notProcessedBox_, 4, 0, 1, 2);
}

void SelectionPage::showEvent(QShowEvent* event) {
  if (!filled_) {
    Fill();
  }
  QWidget::showEvent(event);
}

void SelectionPage::Fill() {
  filled_ = true;
  for (const std::string& name : names_()) {
    const QString shown = QString::fromStdString(name);
    if (list_->findItems(shown, Qt::MatchFixedString).isEmpty()) {
      list_->addItem(shown);
    }
  }
  list_->selectAll();
  for (const std::string& name : excluded_) {
    for (QListWidgetItem* item : list_->findItems(QString::fromStdString(name),
                                                  Qt::MatchExactly | Qt::MatchCaseSensitive)) {
      item->setSelected(false);
    }
  }
}

void SelectionPage::Apply() {
  if (!filled_) {
    return;
  }
  notProcessed_ = notProcessedBox_->isChecked() ? 1 : 0;
  excluded_.clear();
  for (int i = 0; i < list_->count(); ++i) {
    if (!list_->item(i)->isSelected()) {
      excluded_.push_back(list_->item(i)->text().toStdString());
    }
  }
}
