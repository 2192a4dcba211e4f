// The modeless progress dialog of a scripting run: a status text, a progress
// bar and a Close button that is refused while the run goes on.
#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QProgressBar;

class ControlPanelDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char* InitialStatusText = "Retrieving Database Information ...";
  static constexpr const char* CloseRefusedText =
      "Please wait until Quillmark is finished to close the control panel.";

  // isRunning tells whether closing must be refused; refuse shows the message.
  ControlPanelDialog(QWidget* parent, std::function<bool()> isRunning,
                     std::function<void(const QString&)> refuse);

  QProgressBar* ProgressBar() const { return progress_; }
  QLabel* StatusText() const { return status_; }

  // Asks to close, as the Close button does; false when refused.
  bool RequestClose();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  bool MayClose();

  QProgressBar* progress_;
  QLabel* status_;
  std::function<bool()> isRunning_;
  std::function<void(const QString&)> refuse_;
};
