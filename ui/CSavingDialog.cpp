// Saving dialog and its wait cursor.
#include "ui/CSavingDialog.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

CSavingDialog::CSavingDialog(QWidget* parent, int lineCount)
    : QDialog(parent), progress_(new QProgressBar(this)) {
  setWindowTitle(tr("Saving..."));
  setModal(false);
  setMinimumWidth(300);
  progress_->setRange(0, std::max(0, lineCount));
  progress_->setValue(0);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(tr("Saving report to file..."), this));
  layout->addWidget(progress_);
  show();
  QApplication::setOverrideCursor(Qt::WaitCursor);
}

CSavingDialog::~CSavingDialog() {
  QApplication::restoreOverrideCursor();
}

void CSavingDialog::Step() {
  if (progress_->value() < progress_->maximum()) {
    progress_->setValue(progress_->value() + 1);
  }
}

void CSavingDialog::Finish() {
  progress_->setValue(progress_->maximum());
}
