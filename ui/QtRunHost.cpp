// Run host calls, marshalled to the user-interface thread.
#include "ui/QtRunHost.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QThread>

#include "ui/CSavingDialog.h"
#include "ui/CTallyfoldView.h"
#include "ui/ControlPanelDialog.h"
#include "ui/UserPrompts.h"

namespace {

constexpr int SavingStepsPerUpdate = 64;

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtRunHost::QtRunHost(QMainWindow& window, UserPrompts& prompts, std::function<bool()> isRunning)
    : window_(window), prompts_(prompts), isRunning_(std::move(isRunning)) {}

QtRunHost::~QtRunHost() = default;

void QtRunHost::SetView(CTallyfoldView* view) {
  view_ = view;
}

template <typename Call>
std::invoke_result_t<Call> QtRunHost::OnUiThread(Call call) {
  using Result = std::invoke_result_t<Call>;
  if (QThread::currentThread() == thread()) {
    return call();
  }
  if constexpr (std::is_void_v<Result>) {
    QMetaObject::invokeMethod(this, call, Qt::BlockingQueuedConnection);
  } else {
    Result result{};
    QMetaObject::invokeMethod(
        this, [&result, &call] { result = call(); }, Qt::BlockingQueuedConnection);
    return result;
  }
}

void QtRunHost::SetCaption(const std::string& fullCaption) {
  OnUiThread([this, &fullCaption] { window_.setWindowTitle(FromUtf8(fullCaption)); });
}

std::string QtRunHost::Caption() {
  return OnUiThread([this] { return window_.windowTitle().toStdString(); });
}

bool QtRunHost::CreateControlPanel() {
  return OnUiThread([this] {
    controlPanel_ =
        std::make_unique<ControlPanelDialog>(&window_, isRunning_, [this](const QString& text) {
          prompts_.ShowMessage(controlPanel_.get(), text, MessageButtons::Ok,
                               MessageIcon::Information);
        });
    progressStep_ = 1;
    controlPanel_->show();
    // The main window keeps the focus, and with it the run's keys.
    window_.activateWindow();
    return true;
  });
}

void QtRunHost::DestroyControlPanel() {
  OnUiThread([this] { controlPanel_.reset(); });
}

void QtRunHost::SetStatusText(const std::string& text) {
  OnUiThread([this, &text] {
    if (controlPanel_) {
      controlPanel_->StatusText()->setText(FromUtf8(text));
    }
  });
}

void QtRunHost::SetProgressRange(int low, int high) {
  OnUiThread([this, low, high] {
    if (controlPanel_) {
      controlPanel_->ProgressBar()->setRange(low, std::max(low, high));
    }
  });
}

void QtRunHost::SetProgressPosition(int position) {
  OnUiThread([this, position] {
    if (controlPanel_) {
      controlPanel_->ProgressBar()->setValue(position);
    }
  });
}

void QtRunHost::SetProgressStep(int step) {
  OnUiThread([this, step] { progressStep_ = step; });
}

void QtRunHost::StepProgress() {
  OnUiThread([this] {
    if (controlPanel_) {
      QProgressBar* bar = controlPanel_->ProgressBar();
      bar->setValue(std::min(bar->maximum(), bar->value() + progressStep_));
    }
  });
}

MessageAnswer QtRunHost::ShowMessage(const std::string& text, MessageButtons buttons,
                                     MessageIcon icon) {
  return OnUiThread([this, &text, buttons, icon] {
    return prompts_.ShowMessage(&window_, FromUtf8(text), buttons, icon);
  });
}

void QtRunHost::BeginSaving(int lineCount) {
  unshownSavingSteps_ = 0;
  OnUiThread(
      [this, lineCount] { savingDialog_ = std::make_unique<CSavingDialog>(&window_, lineCount); });
}

void QtRunHost::StepSaving() {
  if (unshownSavingSteps_.fetch_add(1) + 1 < SavingStepsPerUpdate) {
    return;
  }
  const int steps = unshownSavingSteps_.exchange(0);
  OnUiThread([this, steps] {
    for (int i = 0; savingDialog_ && i < steps; ++i) {
      savingDialog_->Step();
    }
  });
}

void QtRunHost::EndSaving() {
  OnUiThread([this] { savingDialog_.reset(); });
}

void QtRunHost::RestoreMainWindow() {
  OnUiThread([this] {
    window_.setWindowState(window_.windowState() & ~Qt::WindowMinimized);
    window_.show();
  });
}

void QtRunHost::EndProcess(int exitCode) {
  OnUiThread([this, exitCode] {
    controlPanel_.reset();
    QCoreApplication::exit(exitCode);
  });
}

void QtRunHost::MoveCaretToEnd() {
  OnUiThread([this] {
    if (view_) {
      view_->MoveCaretToEnd();
    }
  });
}
