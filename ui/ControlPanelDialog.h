// The modeless progress dialog of a run: a status text, a progress bar, a
// line that shows a paused run and a Close button that is refused while the
// run goes on. It opens without taking the focus from the main window, whose
// keys control the run.
#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QProgressBar;

class ControlPanelDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr const char* InitialStatusText = "Retrieving Database Information ...";
  static constexpr const char* TitleText = "Control Panel";
  static constexpr const char* PausedTitleText = "Control Panel - Paused";
  static constexpr const char* PausedLineText = "Paused: choose Resume (Ctrl+R) to go on.";
  static constexpr const char* CloseRefusedText =
      "Please wait until Quillmark is finished to close the control panel.";

  // isRunning tells whether closing must be refused; refuse shows the message.
  ControlPanelDialog(QWidget* parent, std::function<bool()> isRunning,
                     std::function<void(const QString&)> refuse);

  QProgressBar* ProgressBar() const { return progress_; }
  QLabel* StatusText() const { return status_; }
  QLabel* PausedText() const { return paused_; }

  // Shows whether the run waits for Resume, in the title and a line of its own.
  void ShowPaused(bool paused);

  // Asks to close, as the Close button does; false when refused.
  bool RequestClose();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;

 private:
  bool MayClose();

  QProgressBar* progress_;
  QLabel* status_;
  QLabel* paused_;
  std::function<bool()> isRunning_;
  std::function<void(const QString&)> refuse_;
};
