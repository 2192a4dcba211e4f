// The modeless find dialog of the report: a text, "Match whole word only",
// "Match case" and Find Next; it searches down only.
#pragma once

#include <QDialog>
#include <QTextDocument>

class QCheckBox;
class QLineEdit;
class QPushButton;

class CFindDialog : public QDialog {
  Q_OBJECT

 public:
  explicit CFindDialog(QWidget* parent);

  // Opens the dialog with an empty text, or raises it when already shown.
  void Open();
  QString Text() const;
  QTextDocument::FindFlags Flags() const;

 signals:
  void FindNextRequested(const QString& text, QTextDocument::FindFlags flags);

 private:
  QLineEdit* text_;
  QCheckBox* wholeWord_;
  QCheckBox* matchCase_;
  QPushButton* findNext_;
};
