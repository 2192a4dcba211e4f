// QtRunHost: the run host of the desktop program. Every call is carried out on
// the user-interface thread; a call from the worker waits for it there, so a
// message box returns the user's answer to the worker. It owns the control
// panel of the current scripting run and the "Saving..." dialog.
#pragma once

#include <QObject>
#include <QPointer>
#include <atomic>
#include <functional>
#include <memory>
#include <type_traits>

#include "engine/RunHost.h"

class CSavingDialog;
class CTallyfoldView;
class ControlPanelDialog;
class QMainWindow;
class UserPrompts;

class QtRunHost : public QObject, public RunHost {
  Q_OBJECT

 public:
  // isRunning decides whether the control panel may be closed.
  QtRunHost(QMainWindow& window, UserPrompts& prompts, std::function<bool()> isRunning);
  ~QtRunHost() override;

  void SetView(CTallyfoldView* view);
  ControlPanelDialog* ControlPanel() const { return controlPanel_.get(); }

  void SetCaption(const std::string& fullCaption) override;
  std::string Caption() override;
  bool CreateControlPanel() override;
  void DestroyControlPanel() override;
  void SetStatusText(const std::string& text) override;
  void SetProgressRange(int low, int high) override;
  void SetProgressPosition(int position) override;
  void SetProgressStep(int step) override;
  void StepProgress() override;
  MessageAnswer ShowMessage(const std::string& text, MessageButtons buttons,
                            MessageIcon icon) override;
  void BeginSaving(int lineCount) override;
  void StepSaving() override;
  void EndSaving() override;
  void RestoreMainWindow() override;
  void EndProcess(int exitCode) override;
  void MoveCaretToEnd() override;

 private:
  // Runs call on the user-interface thread and returns its result.
  template <typename Call>
  std::invoke_result_t<Call> OnUiThread(Call call);

  QMainWindow& window_;
  UserPrompts& prompts_;
  std::function<bool()> isRunning_;
  QPointer<CTallyfoldView> view_;
  std::unique_ptr<ControlPanelDialog> controlPanel_;
  int progressStep_ = 1;
  std::unique_ptr<CSavingDialog> savingDialog_;
  // Saving steps not yet shown: the dialog is updated in batches so that saving
  // a long report does not wait on the window for every line.
  std::atomic<int> unshownSavingSteps_{0};
};
