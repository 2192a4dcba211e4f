// The modeless "Saving..." dialog shown while a report is written line by
// line, with the wait cursor for as long as it exists.
#pragma once

#include <QDialog>

class QProgressBar;

class CSavingDialog : public QDialog {
  Q_OBJECT

 public:
  CSavingDialog(QWidget* parent, int lineCount);
  ~CSavingDialog() override;

  void Step();
  void Finish();

 private:
  QProgressBar* progress_;
};
