// Forward search with the continue-from-top question.
#include "ui/ReportFinder.h"

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

ReportFinder::ReportFinder(QPlainTextEdit& report, int& findFromTop,
                           std::function<bool(const QString&)> askYesNo,
                           std::function<void(const QString&)> notify)
    : report_(report),
      findFromTop_(findFromTop),
      askYesNo_(std::move(askYesNo)),
      notify_(std::move(notify)) {}

void ReportFinder::Begin() {
  findFromTop_ = 1;
}

bool ReportFinder::FindAndShow(const QString& text, QTextDocument::FindFlags flags) {
  if (!report_.find(text, flags)) {
    return false;
  }
  // A hit scrolled just inside the window's edge is easy to miss: centre it.
  report_.centerCursor();
  return true;
}

bool ReportFinder::FindNext(const QString& text, QTextDocument::FindFlags flags) {
  if (text.isEmpty()) {
    return false;
  }
  flags &= ~QTextDocument::FindBackward;
  // Text found nowhere is said once, and the caret stays where it was.
  if (report_.document()->find(text, 0, flags).isNull()) {
    notify_(NotFoundText);
    return false;
  }
  if (!findFromTop_) {
    if (FindAndShow(text, flags)) {
      return true;
    }
    if (!askYesNo_(ContinueQuestion)) {
      return false;
    }
    findFromTop_ = 1;
  }
  report_.moveCursor(QTextCursor::Start);
  if (FindAndShow(text, flags)) {
    findFromTop_ = 0;
    return true;
  }
  notify_(NotFoundText);
  return false;
}
