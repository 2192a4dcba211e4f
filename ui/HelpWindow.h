// HelpWindow: the program's one help window, a text browser over the help
// pages with Back, Forward and Contents. Links between pages stay in it;
// links out of the help go to the desktop's browser.
#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;

class HelpWindow : public QWidget {
  Q_OBJECT

 public:
  static constexpr const char* TitleText = "Quillmark for Oracle Help";

  explicit HelpWindow(QWidget* parent = nullptr);

  QTextBrowser* Browser() const { return browser_; }
  void ShowPage(const QUrl& page);

 private:
  QTextBrowser* browser_;
  QUrl contents_;
};

// Shows page in the help window, making the window on first use. Opened from
// a modal dialog, the window belongs to that dialog, so that it takes input.
void ShowHelpWindow(const QUrl& page);
// The help window, or null before the first page was shown.
HelpWindow* CurrentHelpWindow();
