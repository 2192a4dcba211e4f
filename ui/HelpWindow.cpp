// Help window: a text browser with a small toolbar, one for the whole program.
#include "ui/HelpWindow.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

QPointer<HelpWindow>& TheHelpWindow() {
  static QPointer<HelpWindow> window;
  return window;
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), browser_(new QTextBrowser(this)) {
  setWindowTitle(TitleText);
  setAttribute(Qt::WA_DeleteOnClose);
  browser_->setOpenExternalLinks(true);
  auto* back = new QPushButton("&Back", this);
  auto* forward = new QPushButton("&Forward", this);
  auto* contents = new QPushButton("&Contents", this);
  auto* close = new QPushButton("C&lose", this);
  back->setEnabled(false);
  forward->setEnabled(false);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
  connect(contents, &QPushButton::clicked, this, [this] { browser_->setSource(contents_); });
  connect(close, &QPushButton::clicked, this, &QWidget::close);
  connect(browser_, &QTextBrowser::sourceChanged, this, [this] {
    const QString title = browser_->documentTitle();
    setWindowTitle(title.isEmpty() ? QString(TitleText) : title + " - " + TitleText);
  });

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(back);
  buttons->addWidget(forward);
  buttons->addWidget(contents);
  buttons->addStretch();
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(browser_);
  resize(640, 560);
}

void HelpWindow::ShowPage(const QUrl& page) {
  if (contents_.isEmpty()) {
    contents_ = page.resolved(QUrl("index.html"));
  }
  browser_->setSource(page);
}

void ShowHelpWindow(const QUrl& page) {
  QPointer<HelpWindow>& window = TheHelpWindow();
  // A modal dialog blocks every window but its own: the help of a dialog
  // belongs to the dialog while it is open.
  QWidget* owner = QApplication::activeModalWidget();
  if (window.isNull()) {
    window = new HelpWindow(owner);
  } else if (window->parentWidget() != owner) {
    window->setParent(owner, Qt::Window);
  }
  window->ShowPage(page);
  window->show();
  window->raise();
  window->activateWindow();
}

HelpWindow* CurrentHelpWindow() {
  return TheHelpWindow().data();
}
