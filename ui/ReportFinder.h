// Find over the report view: the first search after the find dialog opens
// starts at the top, later ones continue after the last match, and reaching
// the end asks whether to continue from the top.
#pragma once

#include <QString>
#include <QTextDocument>
#include <functional>

class QPlainTextEdit;

class ReportFinder {
 public:
  static constexpr const char* ContinueQuestion =
      "Quillmark for Oracle has reached the end of the report. Do you wish to continue from the "
      "top?";
  static constexpr const char* NotFoundText = "Could not find specified text";

  // askYesNo returns true for Yes; notify shows a message with an OK button.
  ReportFinder(QPlainTextEdit& report, int& findFromTop,
               std::function<bool(const QString&)> askYesNo,
               std::function<void(const QString&)> notify);

  // Called when the find dialog opens.
  void Begin();
  // One find-next request; true when the text was found and selected.
  bool FindNext(const QString& text, QTextDocument::FindFlags flags);

 private:
  bool FindAndShow(const QString& text, QTextDocument::FindFlags flags);
  QPlainTextEdit& report_;
  int& findFromTop_;
  std::function<bool(const QString&)> askYesNo_;
  std::function<void(const QString&)> notify_;
};
