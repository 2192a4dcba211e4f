// Control panel widgets and the close rule.
#include "ui/ControlPanelDialog.h"

#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

ControlPanelDialog::ControlPanelDialog(QWidget* parent, std::function<bool()> isRunning,
                                       std::function<void(const QString&)> refuse)
    : QDialog(parent),
      progress_(new QProgressBar(this)),
      status_(new QLabel(InitialStatusText, this)),
      paused_(new QLabel(PausedLineText, this)),
      isRunning_(std::move(isRunning)),
      refuse_(std::move(refuse)) {
  setWindowTitle(TitleText);
  setModal(false);
  setAttribute(Qt::WA_ShowWithoutActivating);
  paused_->setVisible(false);
  setMinimumWidth(360);
  progress_->setRange(0, 100);
  progress_->setValue(0);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* close = buttons->addButton(tr("Close"), QDialogButtonBox::RejectRole);
  connect(close, &QPushButton::clicked, this, [this] { RequestClose(); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(status_);
  layout->addWidget(progress_);
  layout->addWidget(paused_);
  layout->addWidget(buttons);
}

void ControlPanelDialog::ShowPaused(bool paused) {
  const QString title = paused ? QString(PausedTitleText) : QString(TitleText);
  if (windowTitle() != title) {
    setWindowTitle(title);
  }
  paused_->setVisible(paused);
}

bool ControlPanelDialog::MayClose() {
  if (isRunning_()) {
    refuse_(CloseRefusedText);
    return false;
  }
  return true;
}

bool ControlPanelDialog::RequestClose() {
  if (!MayClose()) {
    return false;
  }
  hide();
  return true;
}

void ControlPanelDialog::closeEvent(QCloseEvent* event) {
  if (!MayClose()) {
    event->ignore();
    return;
  }
  event->accept();
}

// Escape goes through the same rule as the Close button.
void ControlPanelDialog::reject() {
  RequestClose();
}
